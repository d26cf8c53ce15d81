// The living blockers over the sample levels played with their rules: chain
// bombs, chip generators, rising chips and ice.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "animationeditor/scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "board_sim_fixture.h"
#include "chip.h"
#include "chip_manager.h"
#include "field_tasks.h"
#include "game_field.h"
#include "game_helpers/chain_bomb_helper.h"
#include "game_helpers/chip_generator_helper.h"
#include "game_helpers/chip_up_helper.h"
#include "game_helpers/goals_helper.h"
#include "game_helpers/ice_helper.h"
#include "game_level.h"
#include "level_rules.h"
#include "move_hint.h"
#include "task_manager.h"

using BoardSimFixture::BoardSimTest;

namespace {

class BlockersTest : public BoardSimTest {
protected:
    void play(const std::string& level, uint32_t seed = 3)
    {
        start(level, seed, true);
        finishEntry();
        // The limit's first addition flies in holding the level.
        for (int i = 0; i < 600 && field().level->busyCount > 0; ++i)
            mSim->frame();
        settle();
    }
    LevelRules& rules() { return *mSim->rules(); }
    void settle() { mSim->execute("settle"); }
    // A kept swap of the player, away from every chip that is not plain
    // (from the bottom up, far from the blockers of the sample levels), and
    // the board settled after it.
    bool move()
    {
        GameField& board = field();
        for (int row = board.gridHeight; row >= 1; --row)
            for (int column = 0; column < board.gridWidth; ++column) {
                FieldCell* a = board.cellAt(column, row);
                for (FieldCell* b : {board.cellAt(column + 1, row), board.cellAt(column, row + 1)}) {
                    if (!b || !plain(a->chip) || !plain(b->chip) || !board.moveHint->isUsefulSwap(a, b))
                        continue;
                    mSim->execute("swap " + std::to_string(a->column) + ' ' + std::to_string(a->row) + ' ' +
                                  std::to_string(b->column) + ' ' + std::to_string(b->row));
                    settle();
                    return true;
                }
            }
        return false;
    }
    static bool plain(const Chip* chip)
    {
        return chip && chip->layers.size() == 1 && chip->hasBehavior(BEHAVIOR_SIMPLE);
    }
    // Chips whose layers are exactly these types, bottom first.
    int countChips(const std::vector<int>& types)
    {
        int count = 0;
        for (const auto& chip : field().chipManager->chips) {
            if (chip->released || chip->layers.size() != types.size())
                continue;
            std::vector<int> have;
            for (const Behavior* layer : chip->layers.objects)
                have.push_back(layer->type);
            count += have == types;
        }
        return count;
    }
    Chip* findChip(int type)
    {
        for (const auto& chip : field().chipManager->chips)
            if (!chip->released && chip->hasBehavior(type))
                return chip.get();
        return nullptr;
    }
    std::string rulesLine(const std::string& prefix)
    {
        mOut.str("");
        mSim->execute("rules");
        for (const std::string& line : outputLines())
            if (line.rfind(prefix, 0) == 0)
                return line;
        return std::string();
    }
};

// --- Chain bombs ---

std::string limitText(Chip* bomb)
{
    for (const Behavior* layer : bomb->layers.objects)
        for (AE::ISceneNode* root : layer->idleSceneRoots())
            if (auto* text = dynamic_cast<AE::TextSceneNode*>(root->findNode("#limit")))
                return std::string(text->rawText.begin(), text->rawText.end());
    return "none";
}

TEST_F(BlockersTest, AChainBombCountsThreeMovesThenChainsTwoPlainChipsAndCountsAgain)
{
    play("blocker_chain_bomb_lua");
    Chip* bomb = findChip(BEHAVIOR_CHAIN_BOMB);
    ASSERT_NE(bomb, nullptr);
    EXPECT_EQ(limitText(bomb), "3");
    EXPECT_EQ(rulesLine("chainbomb"), "chainbomb 4,4 left 3");
    std::vector<std::string> shown;
    std::vector<int> chained;
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(move());
        mSim->step(1.0f);
        settle();
        shown.push_back(limitText(bomb));
        chained.push_back(countChips({BEHAVIOR_SIMPLE, BEHAVIOR_CHAIN}));
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"2", "1", "3", "2", "1", "3"}));
    // Two chains land on each burst; the lines that follow may take a
    // chained chip again.
    EXPECT_EQ(chained[0], 0);
    EXPECT_EQ(chained[1], 0);
    EXPECT_GE(chained[2], 1);
    EXPECT_LE(chained[2], 2);
    EXPECT_GT(chained[5], chained[4]);
    EXPECT_EQ(field().level->busyCount, 0);
    EXPECT_TRUE(field().gravityEnabled && field().spawnEnabled);
}

TEST_F(BlockersTest, AChainBombWithOnePlainChipLeftChainsThatChipOnce)
{
    play("blocker_chain_bomb_lua");
    Chip* only = nullptr;
    for (const auto& chip : field().chipManager->chips)
        if (!chip->released && plain(chip.get())) {
            if (!only)
                only = chip.get();
            else
                chip->layers.add(createBehavior(BEHAVIOR_CHAIN, chip->colour));
        }
    ChainBombHelper& bombs = *rules().chainBombs();
    bombs.chainBombs.front()->setUserData("left", DataSlot(1));
    bombs.stepPending = true;
    mSim->frame();
    EXPECT_EQ(bombs.flights.size(), 1u);
    EXPECT_FALSE(field().gravityEnabled);
    mSim->step(1.0f);
    EXPECT_EQ(only->layers.size(), 2u);
}

TEST_F(BlockersTest, AChainBombStepWaitsForTasksAndReadyLines)
{
    play("blocker_chain_bomb_lua");
    ChainBombHelper& bombs = *rules().chainBombs();
    Chip* bomb = bombs.chainBombs.front();
    // A task on the board holds the step.
    auto* task = new DestroyChipTask(chipAt(0, 1), &field(), true);
    task->delay = 0.5f;
    field().taskManager->addTask(task);
    bombs.stepPending = true;
    bombs.update(0.0f);
    EXPECT_TRUE(bombs.stepPending);
    settle();
    EXPECT_FALSE(bombs.stepPending);
    EXPECT_EQ(bomb->getIntData("left"), 2);
    // A ready line is cleared first (the scan queues it) and the step waits.
    Chip* a = chipAt(0, 9);
    for (int column = 1; column < 3; ++column)
        chipAt(column, 9)->colour = a->colour;
    bombs.stepPending = true;
    bombs.update(0.0f);
    EXPECT_TRUE(bombs.stepPending);
    EXPECT_GT(field().taskManager->count, 0);
    EXPECT_EQ(bomb->getIntData("left"), 2);
}

// The lines of a move may leave chips falling into more lines: the step
// waits until they have landed, so that the chains go to chips that stay.
TEST_F(BlockersTest, AChainBombStepWaitsForFallingChips)
{
    play("blocker_chain_bomb_lua");
    ChainBombHelper& bombs = *rules().chainBombs();
    Chip* bomb = bombs.chainBombs.front();
    Chip* chip = chipAt(0, 1);
    chip->falling = 1;
    bombs.stepPending = true;
    bombs.update(0.0f);
    EXPECT_TRUE(bombs.stepPending);
    chip->falling = 0;
    bombs.update(0.0f);
    EXPECT_FALSE(bombs.stepPending);
    EXPECT_EQ(bomb->getIntData("left"), 2);
}

TEST_F(BlockersTest, OnATimedLevelEachWholeSecondIsAChainBombStep)
{
    std::string text = TestSupport::readFile((media() / "levels/blocker_chain_bomb.lua").string());
    text.replace(text.find("LevelLimitType = 0"), 18, "LevelLimitType = 1");
    addLevel("timed_chain_bomb", text);
    play("timed_chain_bomb");
    Chip* bomb = rules().chainBombs()->chainBombs.front();
    mOut.str("");
    ASSERT_TRUE(move());
    mSim->step(2.05f);
    settle();
    int seconds = 0;
    for (const std::string& line : outputLines()) {
        int previous = 0, current = 0;
        if (std::sscanf(line.c_str(), "limit changed %d %d", &previous, &current) == 2 && current < previous)
            ++seconds;
    }
    ASSERT_GE(seconds, 2);
    EXPECT_EQ(bomb->getIntData("left"), seconds % 3 == 0 ? 3 : 3 - seconds % 3);
}

TEST_F(BlockersTest, AChainTargetDestroyedInFlightGetsNoChain)
{
    play("blocker_chain_bomb_lua");
    ChainBombHelper& bombs = *rules().chainBombs();
    bombs.chainBombs.front()->setUserData("left", DataSlot(1));
    bombs.stepPending = true;
    mSim->frame();
    ASSERT_EQ(bombs.flights.size(), 2u);
    Chip* target = bombs.flights.begin()->second;
    const int column = static_cast<int>(target->x), row = static_cast<int>(target->y);
    field().destroyChipAt(column, row);
    EXPECT_TRUE(target->released);
    mSim->step(1.0f);
    EXPECT_EQ(countChips({BEHAVIOR_SIMPLE, BEHAVIOR_CHAIN}), 1);
    EXPECT_EQ(field().level->busyCount, 0);
}

// --- Chip generators ---

TEST_F(BlockersTest, AGeneratorMakesMossEverySecondCountedMoveAndSkipsAHitMove)
{
    play("blocker_generator_lua");
    ChipGeneratorHelper& generators = *rules().generators();
    ASSERT_EQ(generators.generators.size(), 1u);
    EXPECT_EQ(rulesLine("generator"), "generator 4,4 left 2");
    ASSERT_TRUE(move());
    EXPECT_EQ(rulesLine("generator"), "generator 4,4 left 1");
    EXPECT_EQ(countChips({BEHAVIOR_STUFF_CHIP}), 0);
    ASSERT_TRUE(move());
    EXPECT_EQ(countChips({BEHAVIOR_STUFF_CHIP}), 1);
    EXPECT_EQ(rulesLine("generator"), "generator 4,4 left 2");
    // A move that hit the generator is not counted.
    generators.onNeighbourDestroyed(generators.generators.front());
    ASSERT_TRUE(move());
    EXPECT_EQ(rulesLine("generator"), "generator 4,4 left 2");
    EXPECT_FALSE(generators.hitThisTurn);
}

TEST_F(BlockersTest, AGeneratorListsNearerChipsMoreOften)
{
    play("blocker_generator_lua");
    Chip* generator = rules().generators()->generators.front();
    const std::vector<FieldCell*> cells = ChipGeneratorHelper::candidateCells(generator);
    auto times = [&](int column, int row) {
        return std::count(cells.begin(), cells.end(), field().cellAt(column, row));
    };
    EXPECT_EQ(times(5, 4), 2);
    EXPECT_EQ(times(3, 3), 2);
    EXPECT_EQ(times(6, 6), 1);
    EXPECT_EQ(times(4, 2), 1);
    EXPECT_EQ(times(7, 4), 0);
    EXPECT_EQ(cells.size(), 8u * 2 + 16u);
}

TEST_F(BlockersTest, MossGoesWithItsNeighbourAndADestroyedGeneratorStops)
{
    play("blocker_generator_lua");
    ChipGeneratorHelper& generators = *rules().generators();
    Chip* generator = generators.generators.front();
    generator->setUserData("radius", DataSlot(1));
    generators.generate(generator);
    settle();
    Chip* stuff = findChip(BEHAVIOR_STUFF_CHIP);
    ASSERT_NE(stuff, nullptr);
    const int column = static_cast<int>(stuff->x), row = static_cast<int>(stuff->y);
    // A plain neighbour of the moss that is not the generator.
    int nc = column, nr = row;
    for (auto [dc, dr] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}})
        if (plain(chipAt(column + dc, row + dr))) {
            nc = column + dc;
            nr = row + dr;
            break;
        }
    ASSERT_NE(nc * 100 + nr, column * 100 + row);
    // Destroyed as a line destroys it, telling its neighbours.
    chipAt(nc, nr)->destroyInField(&field(), true, false);
    EXPECT_TRUE(stuff->released);
    settle();
    field().destroyChipAt(4, 4);
    settle();
    EXPECT_TRUE(generator->released || !generator->hasBehavior(BEHAVIOR_CHIP_GENERATOR));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(move());
    EXPECT_EQ(countChips({BEHAVIOR_STUFF_CHIP}), 0);
    EXPECT_EQ(rulesLine("generator"), "");
}

// --- Rising chips ---

TEST_F(BlockersTest, RisingChipsClimbOneRowInASecondExceptUnderAWall)
{
    play("blocker_rising_lua");
    ChipUpHelper& chipUp = *rules().chipUp();
    EXPECT_EQ(chipUp.chips.size(), 6u);
    Chip* rising = chipAt(0, 9);
    Chip* walled = chipAt(7, 9);
    Chip* above = chipAt(0, 8);
    chipUp.raiseChips();
    EXPECT_EQ(field().taskManager->count, 5);
    EXPECT_TRUE(walled->hasUserData("swap_process") == false);
    mSim->step(0.5f);
    EXPECT_NEAR(rising->y, 9.0f, 0.05f);
    EXPECT_NEAR(above->y, 9.0f, 0.05f);
    mSim->step(0.55f);
    settle();
    EXPECT_EQ(chipAt(0, 8), rising);
    EXPECT_EQ(chipAt(0, 9), above);
    EXPECT_EQ(chipAt(7, 9), walled);
    EXPECT_FALSE(rising->hasUserData("swap_process"));
}

TEST_F(BlockersTest, ARisingChipWaitsForAnEmptyCellBelowAndNeverSharesACell)
{
    play("blocker_rising_lua");
    ChipUpHelper& chipUp = *rules().chipUp();
    chipUp.raiseChips();
    mSim->step(1.05f);
    settle();
    Chip* rising = chipAt(0, 8);
    ASSERT_TRUE(rising->hasBehavior(BEHAVIOR_CHIP_UP));
    // The cell below empties: the rising chip waits.
    FieldCell* below = field().cellAt(0, 9);
    Chip* kept = below->chip;
    below->chip = nullptr;
    chipUp.raiseChips();
    for (const auto& task : field().taskManager->tasks)
        if (auto* swap = dynamic_cast<SwapChipsTask*>(task)) {
            EXPECT_NE(swap->lower->column, 0);
        }
    below->chip = kept;
    // Every cell is in at most one exchange.
    std::vector<FieldCell*> cells;
    for (const auto& task : field().taskManager->tasks)
        if (auto* swap = dynamic_cast<SwapChipsTask*>(task)) {
            EXPECT_EQ(std::count(cells.begin(), cells.end(), swap->upper), 0);
            EXPECT_EQ(std::count(cells.begin(), cells.end(), swap->lower), 0);
            cells.push_back(swap->upper);
            cells.push_back(swap->lower);
        }
}

// Under a goal chip a rising chip waits; while the others climb the board
// is held: a line made meanwhile is cleared only after the exchange.
TEST_F(BlockersTest, ARisingChipWaitsUnderAGoalChipAndTheClimbHoldsTheBoard)
{
    play("blocker_rising_lua");
    ChipUpHelper& chipUp = *rules().chipUp();
    Chip* rising = chipAt(0, 9);
    chipAt(0, 8)->layers.add(createBehavior(BEHAVIOR_CHIP_UP, chipAt(0, 8)->colour));
    chipUp.raiseChips();
    EXPECT_EQ(field().taskManager->count, 4);
    for (const Task* task : field().taskManager->tasks)
        if (auto* swap = dynamic_cast<const SwapChipsTask*>(task)) {
            EXPECT_NE(swap->lower->column, 0);
        }
    mSim->step(0.3f);
    Chip* a = chipAt(0, 1);
    for (int column = 1; column < 3; ++column)
        chipAt(column, 1)->colour = a->colour;
    mSim->step(0.3f);
    EXPECT_FALSE(a->released);
    EXPECT_EQ(chipAt(0, 1), a);
    mSim->step(0.5f);
    settle();
    EXPECT_NE(chipAt(0, 1), a);
    EXPECT_EQ(chipAt(0, 9), rising);
}

TEST_F(BlockersTest, TheRisingChipsGoalCountsThem)
{
    play("blocker_rising_lua");
    EXPECT_EQ(rulesLine("goal 0"), "goal 0 6 0/6");
    field().destroyChipAt(0, 9);
    settle();
    EXPECT_EQ(rulesLine("goal 0"), "goal 0 6 1/6");
}

// --- Ice ---

TEST_F(BlockersTest, TheColdCarriesThroughAFrozenChipOnlyWithRadiusTwo)
{
    for (int radius : {2, 1}) {
        play("blocker_ice_lua");
        IceHelper& ice = *rules().ice();
        EXPECT_EQ(rulesLine("ice"), "ice radius 2 timed 0 next 0");
        ice.radius = radius;
        // The chip the player holds is never frozen under the cursor; the
        // next spread takes it.
        field().selectedChip = chipAt(3, 4);
        ice.spread();
        field().selectedChip = nullptr;
        EXPECT_FALSE(chipAt(3, 4)->hasBehavior(BEHAVIOR_ICE_CHIP1));
        EXPECT_TRUE(chipAt(4, 5)->hasBehavior(BEHAVIOR_ICE_CHIP1));
        EXPECT_EQ(chipAt(6, 4)->hasBehavior(BEHAVIOR_ICE_CHIP1), radius == 2) << radius;
        EXPECT_EQ(chipAt(5, 3)->hasBehavior(BEHAVIOR_ICE_CHIP1), radius == 2) << radius;
        // The frozen chip is not frozen further.
        EXPECT_EQ(chipAt(5, 4)->layers.size(), 2u);
        ice.spread();
        EXPECT_TRUE(chipAt(3, 4)->hasBehavior(BEHAVIOR_ICE_CHIP1));
        ice.spread();
        ice.spread();
        EXPECT_TRUE(chipAt(3, 4)->hasBehavior(BEHAVIOR_ICE_CHIP3));
        EXPECT_EQ(chipAt(3, 4)->layers.size(), 2u);
        mSim.reset();
    }
}

TEST_F(BlockersTest, AMoveSpreadsTheIceOnAMovesLevel)
{
    play("blocker_ice_lua");
    ASSERT_TRUE(move());
    EXPECT_FALSE(rules().ice()->spreadPending);
    EXPECT_GT(countChips({BEHAVIOR_SIMPLE, BEHAVIOR_ICE_CHIP1}), 0);
}

TEST_F(BlockersTest, TimedIceSpreadsEveryThreeSecondsAndAfterBoughtTime)
{
    play("blocker_ice_timed_lua");
    IceHelper& ice = *rules().ice();
    EXPECT_EQ(rulesLine("ice"), "ice radius 1 timed 1 next 35");
    std::vector<int> spreads;
    for (int second = 37; second >= 28; --second) {
        const int before = ice.spreadCounter;
        ice.onLimitChanged(second + 1, second);
        if (ice.spreadCounter != before)
            spreads.push_back(second);
    }
    EXPECT_EQ(spreads, (std::vector<int>{35, 32, 29}));
    // Radius 1, three spreads: the four neighbours of the source are at the
    // third stage.
    EXPECT_EQ(countChips({BEHAVIOR_SIMPLE, BEHAVIOR_ICE_CHIP3}), 4);
    ice.onLimitChanged(50, 65);
    EXPECT_EQ(ice.spreadCounter, 62);
}

TEST_F(BlockersTest, APlainChipCracksTheIceBesideItAWallDoesNot)
{
    play("blocker_ice_lua");
    IceHelper& ice = *rules().ice();
    ice.spread();
    ice.spread();
    Chip* frozen = chipAt(3, 4);
    ASSERT_TRUE(frozen->hasBehavior(BEHAVIOR_ICE_CHIP2));
    Chip wall;
    wall.layers.add(createBehavior(BEHAVIOR_WALL, -1));
    EXPECT_FALSE(ice.onNeighbourDestroyed(frozen, &wall));
    EXPECT_TRUE(ice.onNeighbourDestroyed(frozen, chipAt(2, 4)));
    EXPECT_FALSE(frozen->hasBehavior(BEHAVIOR_ICE_CHIP2));
    EXPECT_TRUE(frozen->hasBehavior(BEHAVIOR_SIMPLE));
}

TEST_F(BlockersTest, AHugeIceRadiusSpreadsAtOnce)
{
    play("blocker_ice_lua");
    IceHelper& ice = *rules().ice();
    // Everything frozen solid but one far corner: the cold must travel the
    // whole board.
    for (const auto& chip : field().chipManager->chips)
        if (!chip->released && plain(chip.get()) && !(chip->x < 1 && chip->y > 9))
            chip->layers.add(createBehavior(BEHAVIOR_ICE_CHIP3, -1));
    ice.radius = 40;
    ice.spread();
    EXPECT_TRUE(chipAt(0, 9)->hasBehavior(BEHAVIOR_ICE_CHIP1));
}

}  // namespace
