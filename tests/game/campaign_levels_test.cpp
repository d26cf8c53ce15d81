// Every level of the shipped campaign on the headless board: it loads
// cleanly, starts without a ready line, settles and leaves the player a
// move; the campaign reads the star scores its script writes.

#include <gtest/gtest.h>

#include "board_sim_fixture.h"
#include "lua_script_2.h"
#include "main_mode.h"
#include "move_hint.h"

namespace {

class CampaignLevelsTest : public BoardSimFixture::BoardSimTest {};

// The "stars" a level script writes, as the script holds them.
std::vector<int> writtenStars(const std::string& script)
{
    VQ::LuaScript2 lua;
    std::vector<int> stars;
    if (!lua.load(script, "default") || !lua.openTable("GameField") || !lua.openTable("stars"))
        return stars;
    int value = 0;
    for (int index = 1; lua.getIntAt(index, value); ++index)
        stars.push_back(value);
    lua.closeTable();
    lua.closeTable();
    return stars;
}

}  // namespace

TEST_F(CampaignLevelsTest, EveryLevelLoadsStartsWithoutALineSettlesAndHasAMove)
{
    // The catalogue is read over the engine the first board brings up.
    start("test_random_lua");
    const MainMode campaign("");
    ASSERT_EQ(campaign.episodes.size(), 2u);
    EXPECT_EQ(campaign.episodes[0]->mapScene, "map_ep1_xml");
    EXPECT_EQ(campaign.episodes[1]->mapScene, "map_ep2_xml");
    const std::vector<LevelInfo*>& first = campaign.episodes[0]->parts.at(0)->levels;
    ASSERT_EQ(first.size(), 15u);
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i]->file, "level_" + std::to_string(i + 1));
        EXPECT_EQ(first[i]->title, std::to_string(i + 1));
        EXPECT_FALSE(first[i]->titleIsKey);
        EXPECT_EQ(first[i]->back1, "level_back_1_xml");
        EXPECT_EQ(first[i]->back2, "level_field_xml");
    }
    // The second episode's pass has the harbour by night behind it.
    for (const LevelInfo* level : campaign.episodes[1]->parts.at(0)->levels) {
        EXPECT_EQ(level->back1, "level_back_2_xml") << level->file;
        EXPECT_EQ(level->back2, "level_field_xml") << level->file;
    }

    std::vector<std::pair<std::string, std::vector<int>>> levels;
    for (const EpisodeInfo* episode : campaign.episodes)
        for (const PartInfo* part : episode->parts)
            for (const LevelInfo* level : part->levels)
                levels.push_back({level->file + "_lua", {level->starScores[0], level->starScores[1],
                                                         level->starScores[2]}});
    for (const auto& [script, stars] : levels) {
        SCOPED_TRACE(script);
        EXPECT_EQ(stars, writtenStars(script));
        for (uint32_t seed : {1u, 7u}) {
            SCOPED_TRACE(seed);
            start(script, seed);
            EXPECT_EQ(field().levelName, script);
            EXPECT_FALSE(anyReadyLine());
            float seconds = 0.0f;
            EXPECT_TRUE(mSim->settle(seconds));
            FieldCell* move[2] = {nullptr, nullptr};
            field().moveHint->findMove(move);
            EXPECT_NE(move[0], nullptr);
            // From the level's loading on (the test's copy of the content
            // has no archive, which the engine reports before).
            const std::vector<std::string> log = logLines();
            size_t from = log.size();
            for (size_t i = 0; i < log.size(); ++i)
                if (log[i] == "Loading level '" + script + "'")
                    from = i;
            ASSERT_LT(from, log.size());
            for (size_t i = from; i < log.size(); ++i)
                EXPECT_EQ(log[i].find("ERROR: "), std::string::npos) << log[i];
        }
    }
}

// The first level's listed swaps each make their line, top rows first,
// and together pass its first star score.
TEST_F(CampaignLevelsTest, TheFirstLevelsReadySwapsPassItsFirstStar)
{
    const int swaps[][4] = {{2, 2, 3, 2}, {6, 3, 7, 3}, {3, 5, 4, 5}, {7, 7, 8, 7}, {2, 8, 3, 8}, {5, 9, 6, 9}};
    for (uint32_t seed : {1u, 5u, 42u}) {
        SCOPED_TRACE(seed);
        start("level_1_lua", seed);
        float seconds = 0.0f;
        ASSERT_TRUE(mSim->settle(seconds));
        int score = 0;
        for (const auto& swap : swaps) {
            const size_t mark = outputLines().size();
            mSim->execute("swap " + std::to_string(swap[0]) + " " + std::to_string(swap[1]) + " " +
                          std::to_string(swap[2]) + " " + std::to_string(swap[3]));
            ASSERT_TRUE(mSim->settle(seconds));
            const std::vector<std::string> lines = outputLines();
            int matches = 0;
            for (size_t i = mark; i < lines.size(); ++i) {
                int kind = 0, points = 0;
                if (std::sscanf(lines[i].c_str(), "mode addScore %d %d", &kind, &points) == 2)
                    score += points;
                matches += lines[i].rfind("mode onMatch", 0) == 0;
            }
            EXPECT_GE(matches, 1) << "swap " << swap[0] << "," << swap[1];
        }
        EXPECT_GE(score, writtenStars("level_1_lua").at(0));
    }
}
