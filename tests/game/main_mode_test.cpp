// The campaign mode over catalogues given as Lua text: star scores, titles,
// ids, locks, the player's position, the friends' ranking, and the
// "MainMode" section of every layout against the golden fixtures.

#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "animationeditor/vector_stream.h"
#include "main_mode.h"
#include "platform_config.h"
#include "remote_storage.h"
#include "support/save_fixture.h"

using namespace TestSupport;
using SaveFixtures::MainModeValues;

namespace {

using Bytes = std::vector<uint8_t>;

class MainModeTest : public SaveFolderTest {
protected:
    // Registers "main_mode_lua" with `episodes` as its table "episodes".
    void useCatalogue(const std::string& episodes)
    {
        addScript("main_mode_lua", "main_mode.lua", "episodes = " + episodes + "\n");
    }
    // A level script "NAME_lua" whose GameField holds `fields`.
    void addLevel(const std::string& name, const std::string& fields)
    {
        addScript(name + "_lua", "levels/" + name + ".lua", "GameField = { " + fields + " }\n");
    }
    void addScript(const std::string& name, const std::string& file, const std::string& text)
    {
        writeContent(file, text);
        mFileSystem->filesOfPackage("default")[name] = file;
    }
    // A catalogue of `episodes` x `parts` x `levels` without level scripts.
    void useGrid(int episodes, int parts, int levels)
    {
        std::string text = "{";
        for (int e = 0; e < episodes; ++e) {
            text += "{ mapScene = 'map_" + std::to_string(e) + "', parts = {";
            for (int p = 0; p < parts; ++p) {
                text += "{ openMarker = 'open_" + std::to_string(p) + "', levels = {";
                for (int l = 0; l < levels; ++l)
                    text += "{ file = 'e" + std::to_string(e) + "p" + std::to_string(p) + "l" + std::to_string(l) + "' },";
                text += "} },";
            }
            text += "} },";
        }
        useCatalogue(text + "}");
    }

    static void completeAll(MainMode& mode)
    {
        for (EpisodeInfo* episode : mode.episodes)
            for (PartInfo* part : episode->parts) {
                part->locked = false;
                for (LevelInfo* level : part->levels)
                    level->completed = true;
            }
    }

    static MainModeValues valuesOf(const MainMode& mode)
    {
        MainModeValues v;
        v.lives = mode.lives;
        v.lastLifeChange = mode.lastLifeChange;
        v.hasProgress = mode.hasProgress;
        v.extraMoves = mode.extraMoves;
        v.episodeIndex = mode.episodeIndex;
        v.partIndex = mode.partIndex;
        v.levelIndex = mode.levelIndex;
        for (const EpisodeInfo* episode : mode.episodes) {
            std::vector<SaveFixtures::PartValues> parts;
            for (const PartInfo* part : episode->parts) {
                SaveFixtures::PartValues values;
                values.locked = part->locked;
                for (const LevelInfo* level : part->levels)
                    values.levels.push_back({uint8_t(level->completed), level->bestScore});
                parts.push_back(values);
            }
            v.episodes.push_back(parts);
        }
        return v;
    }

    static void assign(MainMode& mode, const MainModeValues& v)
    {
        mode.lives = v.lives;
        mode.lastLifeChange = v.lastLifeChange;
        mode.hasProgress = v.hasProgress;
        mode.extraMoves = v.extraMoves;
        mode.episodeIndex = v.episodeIndex;
        mode.partIndex = v.partIndex;
        mode.levelIndex = v.levelIndex;
        for (size_t e = 0; e < v.episodes.size(); ++e)
            for (size_t p = 0; p < v.episodes[e].size(); ++p) {
                PartInfo* part = mode.episodes[e]->parts[p];
                part->locked = v.episodes[e][p].locked;
                for (size_t l = 0; l < v.episodes[e][p].levels.size(); ++l) {
                    part->levels[l]->completed = v.episodes[e][p].levels[l].completed;
                    part->levels[l]->bestScore = v.episodes[e][p].levels[l].bestScore;
                }
            }
    }

    static Bytes saved(MainMode& mode)
    {
        Bytes bytes;
        AE::VectorStream stream(bytes);
        mode.save(stream);
        return bytes;
    }
    static void load(MainMode& mode, Bytes bytes)
    {
        AE::VectorStream stream(bytes);
        mode.load(stream);
    }

    int warnings() const
    {
        int count = 0;
        for (const std::string& line : logLines())
            count += line.rfind("WARNING: ", 0) == 0;
        return count;
    }
};

std::vector<int> scoresOf(const LevelInfo& level)
{
    return {level.starScores[0], level.starScores[1], level.starScores[2]};
}

}  // namespace

TEST_F(MainModeTest, StarScoresAreReadFromEachLevelScript)
{
    addLevel("plain", "LevelLimit = 20");
    addLevel("partial", "stars = { 300 }");
    addLevel("falling", "stars = { 300, 200, 2000 }");
    addLevel("four", "stars = { 100, 200, 300, 400 }");
    addLevel("odd", "stars = { '150', true, 700 }");
    addLevel("plain_hard", "stars = { 1, 2, 3 }");
    useCatalogue("{ { parts = { { levels = { { file = 'plain' }, { file = 'partial' }, { file = 'falling' }, "
                 "{ file = 'four' }, { file = 'odd' }, { file = 'missing' } } } } } }");
    {
        MainMode mode("");
        const std::vector<LevelInfo*>& levels = mode.episodes.at(0)->parts.at(0)->levels;
        ASSERT_EQ(levels.size(), 6u);
        EXPECT_EQ(scoresOf(*levels[0]), (std::vector<int>{500, 1000, 2000}));
        EXPECT_EQ(scoresOf(*levels[1]), (std::vector<int>{300, 1000, 2000}));
        EXPECT_EQ(scoresOf(*levels[2]), (std::vector<int>{300, 200, 2000}));
        // A fourth score has no star to give: it is left unread.
        EXPECT_EQ(scoresOf(*levels[3]), (std::vector<int>{100, 200, 300}));
        EXPECT_EQ(scoresOf(*levels[4]), (std::vector<int>{150, 0, 700}));
        EXPECT_EQ(scoresOf(*levels[5]), (std::vector<int>{500, 1000, 2000}));

        const struct {
            int level;
            int best;
            int stars;
        } cases[] = {{0, 0, 0},    {0, 499, 0},   {0, 999, 1},  {0, 1000, 2}, {0, 5000, 3},
                     {2, 250, 0},  {2, 300, 2},   {2, 1999, 2}, {2, 2000, 3}, {1, 300, 1}};
        for (const auto& c : cases) {
            levels[c.level]->bestScore = c.best;
            EXPECT_EQ(levels[c.level]->stars(), c.stars) << "level " << c.level << " best " << c.best;
        }
    }
    // The suffix names the scripts read.
    MainMode suffixed("_hard");
    EXPECT_EQ(scoresOf(*suffixed.episodes[0]->parts[0]->levels[0]), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(scoresOf(*suffixed.episodes[0]->parts[0]->levels[1]), (std::vector<int>{500, 1000, 2000}));
}

TEST_F(MainModeTest, TitlesBackgroundsAndIdsFollowTheCatalogue)
{
    useCatalogue("{"
                 "  { mapScene = 'map_a', parts = {"
                 "    { openMarker = 'open_a', levels = {"
                 "      { file = 'a1', title = '#LEVEL_A', back1 = 'sky', back2 = 'field', movieScene = 'intro' },"
                 "      { file = 'a2', back2 = 'meadow' },"
                 "      { file = 'a3', title = '3' } } },"
                 "    { levels = { { file = 'b1', title = '' } } },"
                 "    { levels = {} } } },"
                 "  { mapScene = 'map_b', parts = { { levels = { { file = 'c1' } } } } },"
                 "  'not an episode',"
                 "}");
    MainMode mode("");
    ASSERT_EQ(mode.episodes.size(), 2u);
    const EpisodeInfo& first = *mode.episodes[0];
    EXPECT_EQ(first.mapScene, "map_a");
    ASSERT_EQ(first.parts.size(), 3u);
    EXPECT_EQ(first.parts[0]->openMarker, "open_a");
    const std::vector<LevelInfo*>& a = first.parts[0]->levels;
    EXPECT_TRUE(a[0]->titleIsKey);
    EXPECT_EQ(a[0]->title, "LEVEL_A");
    EXPECT_EQ(a[0]->movieScene, "intro");
    EXPECT_FALSE(a[1]->titleIsKey);
    EXPECT_EQ(a[1]->title, "a2");
    EXPECT_EQ(a[1]->back1, "sky");
    EXPECT_EQ(a[1]->back2, "meadow");
    EXPECT_EQ(a[2]->title, "3");
    EXPECT_EQ(a[2]->back2, "meadow");
    EXPECT_EQ(a[2]->movieScene, "");
    // Backgrounds carry over within a part only; an empty title stays empty.
    const LevelInfo& b1 = *first.parts[1]->levels[0];
    EXPECT_EQ(b1.back1, "");
    EXPECT_EQ(b1.title, "");

    // Ids run over the whole catalogue.
    EXPECT_EQ(mode.episodes[1]->id, 1);
    EXPECT_EQ(mode.episodes[1]->parts[0]->id, 3);
    EXPECT_EQ(mode.episodes[1]->parts[0]->levels[0]->id, 4);
    EXPECT_EQ(b1.id, 3);

    // Only the very first part is open; a new mode counts from 0 again.
    EXPECT_FALSE(first.parts[0]->locked);
    EXPECT_TRUE(first.parts[1]->locked);
    EXPECT_TRUE(mode.episodes[1]->parts[0]->locked);
    MainMode again("");
    EXPECT_EQ(again.episodes[1]->parts[0]->levels[0]->id, 4);
}

TEST_F(MainModeTest, AMissingCatalogueGivesNoEpisodes)
{
    for (const std::string text : {"", "episodes = 5\n", "error('broken')\n"}) {
        SCOPED_TRACE(text);
        if (!text.empty())
            addScript("main_mode_lua", "main_mode.lua", text);
        MainMode mode("");
        EXPECT_TRUE(mode.episodes.empty());
        mode.resetProgress(true);
        EXPECT_FALSE(mode.updatePosition());
        EXPECT_FALSE(mode.selectLevel(0, 0, 0));
        EXPECT_EQ(saved(mode).size(), 37u);
        load(mode, saved(mode));
        EXPECT_EQ(mode.lives, 5);
    }
}

TEST_F(MainModeTest, ResetAndPositionWalkThePartsInOrder)
{
    useGrid(2, 3, 4);
    MainMode mode("");
    completeAll(mode);
    mode.lives = 1;
    // Everything completed: the last level of the last part of the last
    // episode, and every episode completed.
    EXPECT_TRUE(mode.updatePosition());
    EXPECT_EQ(std::vector<int>({mode.episodeIndex, mode.partIndex, mode.levelIndex}), std::vector<int>({1, 2, 3}));
    for (const EpisodeInfo* episode : mode.episodes)
        EXPECT_TRUE(MainMode::isEpisodeCompleted(*episode));

    // The first episode done, the second one's first part half way.
    for (PartInfo* part : mode.episodes[1]->parts)
        for (LevelInfo* level : part->levels)
            level->completed = false;
    mode.episodes[1]->parts[1]->locked = true;
    mode.episodes[1]->parts[2]->locked = true;
    mode.episodes[1]->parts[0]->levels[0]->completed = true;
    mode.episodes[1]->parts[0]->levels[1]->completed = true;
    EXPECT_TRUE(mode.updatePosition());
    EXPECT_EQ(std::vector<int>({mode.episodeIndex, mode.partIndex, mode.levelIndex}), std::vector<int>({1, 0, 2}));
    EXPECT_FALSE(MainMode::isEpisodeCompleted(*mode.episodes[1]));
    // A part completed but still locked stops the walk.
    EXPECT_TRUE(MainMode::isPartCompleted(*mode.episodes[0]->parts[0]));
    mode.episodes[0]->parts[1]->locked = true;
    EXPECT_FALSE(MainMode::isEpisodeCompleted(*mode.episodes[0]));
    mode.updatePosition();
    EXPECT_EQ(std::vector<int>({mode.episodeIndex, mode.partIndex, mode.levelIndex}), std::vector<int>({0, 1, 3}));

    mode.resetProgress(false);
    EXPECT_FALSE(mode.hasProgress);
    EXPECT_EQ(mode.lives, 5);
    EXPECT_EQ(std::vector<int>({mode.episodeIndex, mode.partIndex, mode.levelIndex}), std::vector<int>({0, 0, 0}));
    int open = 0;
    for (const EpisodeInfo* episode : mode.episodes)
        for (const PartInfo* part : episode->parts) {
            open += !part->locked;
            for (const LevelInfo* level : part->levels)
                EXPECT_TRUE(!level->completed && level->bestScore == 0);
        }
    EXPECT_EQ(open, 1);
    EXPECT_FALSE(mode.episodes[0]->parts[0]->locked);
}

TEST_F(MainModeTest, APartWithoutLevelsNeverGivesANegativeLevel)
{
    useCatalogue("{ { parts = { { levels = { { file = 'a' } } }, { levels = {} } } } }");
    MainMode mode("");
    mode.episodes[0]->parts[0]->levels[0]->completed = true;
    mode.episodes[0]->parts[1]->locked = true;
    EXPECT_TRUE(MainMode::isPartCompleted(*mode.episodes[0]->parts[1]));
    EXPECT_TRUE(mode.updatePosition());
    EXPECT_EQ(std::vector<int>({mode.episodeIndex, mode.partIndex, mode.levelIndex}), std::vector<int>({0, 1, 0}));
    mode.episodes[0]->parts[1]->locked = false;
    EXPECT_TRUE(MainMode::isEpisodeCompleted(*mode.episodes[0]));
    mode.updatePosition();
    EXPECT_EQ(std::vector<int>({mode.episodeIndex, mode.partIndex, mode.levelIndex}), std::vector<int>({0, 1, 0}));
}

TEST_F(MainModeTest, LivesAndLevelChoice)
{
    useGrid(1, 2, 2);
    MainMode mode("_x");
    mode.lives = 3;
    mode.addLife();
    EXPECT_EQ(mode.lives, 4);
    mode.addLife();
    mode.addLife();
    EXPECT_EQ(mode.lives, 5);

    mode.levelBegun = true;
    EXPECT_TRUE(mode.selectLevel(0, 1, 1));
    EXPECT_EQ(mode.currentLevel, mode.episodes[0]->parts[1]->levels[1]);
    EXPECT_EQ(mode.levelScript, "e0p1l1_x_lua");
    EXPECT_FALSE(mode.hasLevelBegun());
    for (const auto& [e, p, l] : {std::tuple{9, 9, 9}, {0, 2, 0}, {0, 0, 2}, {-1, 0, 0}, {1, 0, 0}}) {
        EXPECT_FALSE(mode.selectLevel(e, p, l)) << e << " " << p << " " << l;
        EXPECT_EQ(mode.levelScript, "e0p1l1_x_lua");
    }
}

TEST_F(MainModeTest, CreateModeMakesTheCampaignOnlyForItsName)
{
    useGrid(1, 1, 1);
    ModeDescriptor descriptor;
    descriptor.className = "MainMode";
    descriptor.params["suffix"] = "_s";
    std::unique_ptr<Mode> mode = createMode(descriptor);
    ASSERT_NE(dynamic_cast<MainMode*>(mode.get()), nullptr);
    EXPECT_EQ(static_cast<MainMode*>(mode.get())->suffix, "_s");
    descriptor.params.clear();
    EXPECT_EQ(static_cast<MainMode*>(createMode(descriptor).get())->suffix, "");
    descriptor.className = "mainmode";
    EXPECT_EQ(createMode(descriptor), nullptr);
}

TEST_F(MainModeTest, FriendsRankingKeepsThePlayerAsideAndSortsByValue)
{
    useGrid(1, 1, 1);
    createSavers();
    MainMode mode("");
    EXPECT_TRUE(mode.friendsRanking().empty());
    EXPECT_TRUE(mode.friendsWithoutValue().empty());

    profile().profileId = 77;
    std::map<uint64_t, int>& values = mRemote->friendValues;
    values = {{1, 10}, {2, 0}, {3, 30}, {4, 20}, {5, 50}, {6, 60}, {7, 0}, {8, 5}};
    // Not the player: five friends at most, the first five with a value.
    EXPECT_EQ(mode.friendsRanking(),
              (std::vector<FriendValue>{{6, 60}, {5, 50}, {3, 30}, {4, 20}, {1, 10}}));
    EXPECT_EQ(mode.friendsWithoutValue(), (std::vector<uint64_t>{2, 7}));

    // With the player's own entry: four friends, then the player, sorted.
    values[77] = 25;
    EXPECT_EQ(mode.friendsRanking(), (std::vector<FriendValue>{{5, 50}, {3, 30}, {77, 25}, {4, 20}, {1, 10}}));
    values[77] = 0;
    EXPECT_EQ(mode.friendsRanking(), (std::vector<FriendValue>{{5, 50}, {3, 30}, {4, 20}, {1, 10}, {77, 0}}));
    EXPECT_EQ(mode.friendsWithoutValue(), (std::vector<uint64_t>{2, 7}));
}

// The section of each layout, as the golden fixtures lay it out.
TEST_F(MainModeTest, SectionsOfEveryLayoutMatchTheFixtures)
{
    useGrid(2, 3, 4);
    const MainModeValues values = SaveFixtures::mainModeValues(2, 3, 4);
    MainMode mode("");
    assign(mode, values);
    const Bytes v12 = saveFixture("main_mode_v12.hex");
    EXPECT_EQ(v12.size(), 171u);
    EXPECT_EQ(mode.sectionBytes(), 171u);
    EXPECT_EQ(saved(mode), v12);

    // Every field comes back.
    MainMode fresh("");
    load(fresh, v12);
    EXPECT_EQ(valuesOf(fresh), values);
    EXPECT_EQ(warnings(), 0);

    // Version 11 leaves episodeIndex and fills the first episode only.
    MainMode older("");
    older.episodeIndex = 1;
    older.lives = 1;
    const MainModeValues before = valuesOf(older);
    load(older, saveFixture("main_mode_v11.hex"));
    MainModeValues expected = values;
    expected.episodeIndex = 1;
    expected.episodes[1] = before.episodes[1];
    EXPECT_EQ(valuesOf(older), expected);

    // Older than 11: the first word is the lives.
    MainMode oldest("");
    oldest.episodeIndex = 0;
    load(oldest, saveFixture("main_mode_v10.hex"));
    expected.lives = 4;
    expected.episodeIndex = 0;
    EXPECT_EQ(valuesOf(oldest), expected);
    EXPECT_EQ(warnings(), 0);
}

TEST_F(MainModeTest, LoadingNormalisesTheLocks)
{
    useGrid(2, 3, 4);
    MainModeValues values = SaveFixtures::mainModeValues(2, 3, 4);
    // A locked first part opens; a part behind a locked one is locked and
    // loses its progress.
    values.episodes[0][0].locked = 1;
    values.episodes[0][2].locked = 1;
    MainMode mode("");
    load(mode, SaveFixtures::mainModeSection(12, values).bytes());
    EXPECT_FALSE(mode.episodes[0]->parts[0]->locked);
    EXPECT_FALSE(mode.episodes[0]->parts[1]->locked);
    EXPECT_TRUE(mode.episodes[0]->parts[2]->locked);
    EXPECT_TRUE(mode.episodes[1]->parts[0]->locked);
    for (const LevelInfo* level : mode.episodes[1]->parts[0]->levels)
        EXPECT_TRUE(!level->completed && level->bestScore == 0);
    EXPECT_TRUE(mode.episodes[0]->parts[2]->levels[0]->completed);

    // A first word of 3 is an old section with 3 lives.
    values = SaveFixtures::mainModeValues(2, 3, 4);
    values.lives = 3;
    MainMode old("");
    load(old, SaveFixtures::mainModeSection(3, values).bytes());
    EXPECT_EQ(old.lives, 3);
    EXPECT_EQ(old.levelIndex, 2);
    EXPECT_TRUE(old.episodes[0]->parts[2]->levels[3]->completed);
}

TEST_F(MainModeTest, ASectionThatDoesNotFitTheCatalogue)
{
    useGrid(2, 3, 4);
    const MainModeValues values = SaveFixtures::mainModeValues(2, 3, 4);
    const Bytes whole = SaveFixtures::mainModeSection(12, values).bytes();
    const std::string refused = "WARNING: Save section 'MainMode' holds 130 bytes whose part records do not fit the "
                                "campaign's parts and levels; it is not read";

    // Cut inside episode 1: the records cannot be laid on the catalogue, so
    // nothing of the section is taken, with one warning naming it.
    MainMode mode("");
    const MainModeValues before = valuesOf(mode);
    load(mode, Bytes(whole.begin(), whole.begin() + 130));
    EXPECT_EQ(valuesOf(mode), before);
    EXPECT_EQ(countLogLines(refused), 1);
    EXPECT_EQ(warnings(), 1);

    // Cut inside the header: the fields before the cut are read, the rest
    // keep their values.
    MainMode header("");
    header.extraMoves = 9;
    load(header, Bytes(whole.begin(), whole.begin() + 18));
    EXPECT_EQ(header.lives, 3);
    EXPECT_EQ(header.lastLifeChange, values.lastLifeChange);
    EXPECT_EQ(header.extraMoves, 9);
    load(header, {});
    EXPECT_EQ(header.lives, 3);

    // More episodes and parts than the catalogue holds: the surplus stays
    // unread.
    MainModeValues more = values;
    more.episodes[1].push_back(more.episodes[1][0]);
    more.episodes.push_back(more.episodes[0]);
    MainMode surplus("");
    load(surplus, SaveFixtures::mainModeSection(12, more).bytes());
    EXPECT_EQ(valuesOf(surplus), values);
}

// The section stores no level count per part: parts and episodes appended
// to the campaign leave every saved record in place, while a part that
// gained or lost levels would shift every record after it.
TEST_F(MainModeTest, ASectionWrittenBeforeTheCampaignChangedIsReadOnlyWhenItsRecordsStillFit)
{
    const MainModeValues values = SaveFixtures::mainModeValues(2, 3, 4);
    const struct {
        const char* change;
        int episodes, parts, levels;
        bool read;
    } cases[] = {
        {"an episode appended", 3, 3, 4, true},
        {"a part appended to each episode", 2, 4, 4, true},
        {"a level more in every part", 2, 3, 5, false},
        {"a level less in every part", 2, 3, 3, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        useGrid(c.episodes, c.parts, c.levels);
        MainMode mode("");
        const MainModeValues before = valuesOf(mode);
        const int warned = warnings();
        for (const int32_t version : {12, 11}) {
            SCOPED_TRACE(version);
            MainMode loaded("");
            load(loaded, SaveFixtures::mainModeSection(version, values).bytes());
            if (!c.read) {
                EXPECT_EQ(valuesOf(loaded), before);
                continue;
            }
            EXPECT_EQ(loaded.lives, values.lives);
            EXPECT_EQ(loaded.partIndex, values.partIndex);
            // A part appended to the first episode locks the second one
            // behind it (lock normalisation), so only the first is compared.
            const size_t compared = version == 12 && c.parts == 3 ? 2 : 1;
            for (size_t e = 0; e < compared; ++e)
                for (size_t p = 0; p < 3; ++p)
                    for (size_t l = 0; l < 4; ++l)
                        EXPECT_EQ(loaded.episodes[e]->parts[p]->levels[l]->bestScore,
                                  values.episodes[e][p].levels[l].bestScore)
                            << e << " " << p << " " << l;
        }
        // One refusal a version, nothing else to warn of.
        EXPECT_EQ(warnings() - warned, c.read ? 0 : 2);
    }
}
