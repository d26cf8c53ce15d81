// The bonus rules over a board played through the headless board with its
// rules on: long runs fusing into bonus chips and swapped bonus chips
// fusing into super chips.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "board_sim_fixture.h"
#include "planted_level.h"
#include "chip.h"
#include "chip_manager.h"
#include "chip_prototype.h"
#include "chip_selector.h"
#include "game_field.h"
#include "game_helpers/bonus_chip_helper.h"
#include "game_helpers/bonus_gold_helper.h"
#include "game_level.h"
#include "task.h"
#include "task_manager.h"

using BoardSimFixture::BoardSimTest;

namespace {

class FusionTest : public BoardSimTest {
protected:
    // Each board of a test under a name of its own.
    void play(const std::vector<std::string>& plants)
    {
        const std::string name = "planted" + std::to_string(mBoards++) + "_lua";
        addLevel(name, plantedLevel(plants));
        mSim.reset();
        start(name, 3, true);
        finishEntry();
        // The moves limit flies in holding the level.
        for (int i = 0; i < 900 && mSim->level().busyCount > 0; ++i)
            mSim->frame();
        ASSERT_EQ(mSim->level().busyCount, 0);
        ASSERT_FALSE(anyReadyLine());
        ASSERT_NE(fusion(), nullptr);
    }
    BonusChipHelper* fusion() { return mSim->rules() ? bonusRules()->fusion() : nullptr; }
    BonusRules* bonusRules() { return mSim->mode().bonusRules.get(); }
    // The live chips of that prototype, by their cells.
    std::vector<std::string> chipsNamed(const std::string& name)
    {
        std::vector<std::string> cells;
        for (const auto& chip : field().chipManager->chips)
            if (!chip->released && chip->prototype && chip->prototype->name == name)
                cells.push_back(std::to_string(static_cast<int>(chip->x)) + "," +
                                std::to_string(static_cast<int>(chip->y)));
        return cells;
    }
    void frames(int count)
    {
        for (int i = 0; i < count; ++i)
            mSim->frame();
    }

    int mBoards = 0;
};

TEST_F(FusionTest, RunsOfFourFiveAndCrossingRunsMakeTheirBonusChipsAndThreeIsLeftToTheBoard)
{
    struct Case {
        const char* name;
        std::vector<std::string> plants;
        int swap[4];
        const char* made;
        const char* where;
    };
    const Case cases[] = {
        // Column 2 rows 1 .. 4 once (3,3) comes in from the side.
        {"four by a horizontal swap", {"2 1 R", "2 2 R", "3 3 R", "2 4 R"}, {2, 3, 3, 3}, "WaveHor_R", "2,4"},
        // Row 5 columns 1 .. 5 once (3,6) comes up.
        {"five", {"1 5 R", "2 5 R", "3 6 R", "4 5 R", "5 5 R"}, {3, 5, 3, 6}, "DestroyColor", "3,5"},
        // Row 5 columns 1 .. 3 and column 3 rows 5 .. 7: an L.
        {"L", {"1 5 R", "2 5 R", "4 5 R", "3 6 R", "3 7 R"}, {3, 5, 4, 5}, "Bomb_R", "3,7"},
        // Row 5 columns 2 .. 4 and column 3 rows 5 .. 7: a T.
        {"T", {"2 5 R", "4 5 R", "3 4 R", "3 6 R", "3 7 R"}, {3, 5, 3, 4}, "Bomb_R", "3,7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        play(c.plants);
        mSim->execute("swap " + std::to_string(c.swap[0]) + " " + std::to_string(c.swap[1]) + " " +
                      std::to_string(c.swap[2]) + " " + std::to_string(c.swap[3]));
        for (int i = 0; i < 120 && chipsNamed(c.made).empty(); ++i)
            mSim->frame();
        ASSERT_EQ(chipsNamed(c.made).size(), 1u);
        float taken = 0.0f;
        mSim->settle(taken);
        EXPECT_EQ(chipsNamed(c.made), std::vector<std::string>{c.where});
        EXPECT_TRUE(chipsNamed("Simple_R").empty());
    }

    // A run of three goes as the board destroys it.
    play({"2 1 R", "2 2 R", "3 3 R"});
    mSim->execute("swap 2 3 3 3");
    frames(120);
    EXPECT_TRUE(chipsNamed("Simple_R").empty());
    EXPECT_EQ(fusion()->slideTimer, 0.0f);
    for (const char* name : {"WaveHor_R", "WaveVer_R", "Bomb_R", "DestroyColor"})
        EXPECT_TRUE(chipsNamed(name).empty()) << name;
}

TEST_F(FusionTest, AFourWithoutASwapMakesAVerticalWaveAndOnlyBonusChipsTakeNothing)
{
    play({"2 1 R", "2 2 R", "5 8 Bomb_B", "6 8 WaveHor_G", "7 8 Bomb_Y", "2 6 R", "2 7 R"});
    // Not a swap: the run as the match pass hands it over.
    ChipSelection four;
    for (int row = 1; row <= 2; ++row)
        four.columnRun.push_back(chipAt(2, row));
    four.columnRun.push_back(chipAt(2, 6));
    four.columnRun.push_back(chipAt(2, 7));
    ChipSelection bonusOnly;
    for (int column = 5; column <= 7; ++column)
        bonusOnly.rowRun.push_back(chipAt(column, 8));
    EXPECT_FALSE(fusion()->onMatch(bonusOnly));
    EXPECT_EQ(fusion()->slideTimer, 0.0f);
    ASSERT_TRUE(fusion()->onMatch(four));
    EXPECT_EQ(fusion()->kind, "WaveVer");
    EXPECT_TRUE(fusion()->coloured);
    EXPECT_EQ(mSim->level().busyCount, 1);
    EXPECT_FALSE(field().gravityEnabled);
    // The landing asks the bonus panel to weigh its buttons again, before
    // the panel's own update sees the board move.
    BonusGoldHelper* panel = bonusRules()->panel();
    ASSERT_NE(panel, nullptr);
    panel->refreshPending = false;
    fusion()->update(BonusChipHelper::SLIDE_TIME);
    EXPECT_EQ(fusion()->slideTimer, 0.0f);
    EXPECT_TRUE(panel->refreshPending);
    frames(30);
    EXPECT_EQ(chipsNamed("WaveVer_R").size(), 1u);
    EXPECT_EQ(mSim->level().busyCount, 0);
    EXPECT_TRUE(field().gravityEnabled);
}

TEST_F(FusionTest, AChainedChipLosesItsChainFirstAndASecondRunWaitsForTheSlide)
{
    play({"2 1 R", "2 2 Chain_R", "3 3 R", "2 4 R", "6 1 R", "6 2 R", "7 3 R", "6 4 R"});
    ChipSelection chained;
    for (int row = 1; row <= 4; ++row)
        chained.columnRun.push_back(chipAt(row == 3 ? 3 : 2, row));
    ChipSelection second;
    for (int row = 1; row <= 4; ++row)
        second.columnRun.push_back(chipAt(row == 3 ? 7 : 6, row));
    ASSERT_TRUE(fusion()->onMatch(chained));
    // The chain goes at 0.13 s, the fusion starts 0.13 s later.
    EXPECT_EQ(fusion()->slideTimer, 0.0f);
    ASSERT_EQ(field().taskManager->tasks.size(), 2u);
    EXPECT_FLOAT_EQ(field().taskManager->tasks.front()->delay, 0.13f);
    EXPECT_FLOAT_EQ(field().taskManager->tasks.back()->delay, 0.26f);
    EXPECT_EQ(field().taskManager->tasks.back()->getType(), 2);
    frames(9);  // 0.15 s
    EXPECT_EQ(chipAt(2, 2)->layers.size(), 1u);
    EXPECT_EQ(fusion()->slideTimer, 0.0f);
    frames(8);  // 0.283 s
    EXPECT_GT(fusion()->slideTimer, 0.0f);

    // A run that comes while the first slides waits for it.
    ASSERT_TRUE(fusion()->onMatch(second));
    ASSERT_EQ(field().taskManager->tasks.size(), 1u);
    EXPECT_EQ(field().taskManager->tasks.front()->getType(), 2);
    EXPECT_EQ(chipsNamed("WaveVer_R").size(), 0u);
    frames(20);
    EXPECT_EQ(chipsNamed("WaveVer_R").size(), 1u);
    EXPECT_GT(fusion()->slideTimer, 0.0f);
    frames(30);
    EXPECT_EQ(chipsNamed("WaveVer_R").size(), 2u);
    EXPECT_EQ(mSim->level().busyCount, 0);
}

TEST_F(FusionTest, FusedChipsAreReportedWithTheirLayersAndScored)
{
    play({"2 1 R", "2 2 R", "3 3 R", "2 4 R"});
    mOut.str("");
    mSim->execute("swap 2 3 3 3");
    frames(60);
    // Four plain chips, each reported with its one Simple layer and scored.
    int destroyed = 0;
    for (const std::string& line : outputLines())
        if (line.rfind("mode onChipDestroyed", 0) == 0 && line.find(" 0 1") != std::string::npos)
            ++destroyed;
    EXPECT_GE(destroyed, 4);
    EXPECT_GE(countOutput("mode addScore 1 "), 4);
}

TEST_F(FusionTest, ABombSwappedWithAWaveBecomesASuperWaveThatGoesOffLater)
{
    play({"3 4 Bomb_R", "4 4 WaveHor_B"});
    mOut.str("");
    mSim->execute("swap 3 4 4 4");
    EXPECT_EQ(countOutput("mode onBonusSwap"), 1);
    EXPECT_EQ(countOutput("mode onPlayerMove 3,4 4,4"), 1);
    frames(18);  // 0.3 s: the slide is over
    EXPECT_EQ(chipsNamed("SuperWaveDSide_B"), std::vector<std::string>{"4,4"});
    Chip* super = chipAt(4, 4);
    ASSERT_NE(super, nullptr);
    EXPECT_EQ(super->detonateCounter, 1);
    frames(66);  // 1.4 s after the swap
    EXPECT_EQ(chipsNamed("SuperWaveDSide_B").size(), 1u);
    frames(6);  // 1.5 s: 1.2 s after the slide
    EXPECT_TRUE(chipsNamed("SuperWaveDSide_B").empty());
}

}  // namespace

namespace {

// The bonus level: every planted case fuses by the swap its header names.
TEST_F(FusionTest, EachCaseOfTheBonusLevelFusesByItsSwap)
{
    struct Case {
        const char* swap;
        const char* made;
    };
    const Case cases[] = {
        {"swap 1 3 2 3", "WaveHor_R"}, {"swap 5 4 5 5", "WaveVer_R"}, {"swap 3 6 3 7", "DestroyColor"},
        {"swap 8 1 8 2", "Bomb_R"},    {"swap 4 9 5 9", "SuperWaveDSide_R"}, {"swap 0 9 1 9", "Star_R"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.swap);
        mSim.reset();
        start("bonus_fusion_lua", 1, true);
        ASSERT_NO_FATAL_FAILURE(finishEntry());
        for (int i = 0; i < 900 && mSim->level().busyCount > 0; ++i)
            mSim->frame();
        ASSERT_FALSE(anyReadyLine());
        const size_t before = chipsNamed(c.made).size();
        mSim->execute(c.swap);
        for (int i = 0; i < 120 && chipsNamed(c.made).size() == before; ++i)
            mSim->frame();
        EXPECT_EQ(chipsNamed(c.made).size(), before + 1);
    }
}

}  // namespace
