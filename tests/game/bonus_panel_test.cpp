// The one-shot bonuses fired from the bonus panel, the panel itself, the
// boosters and the end-of-level run, played through the headless board
// with its rules on.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "animationeditor/scene_node.h"
#include "board_sim_fixture.h"
#include "board_tasks.h"
#include "chip.h"
#include "chip_manager.h"
#include "chip_prototype.h"
#include "dialogs/buy_bonus_window.h"
#include "game_field.h"
#include "game_helpers/bonus.h"
#include "game_helpers/bonus_chip_helper.h"
#include "game_helpers/bonus_gold_helper.h"
#include "game_helpers/goals_helper.h"
#include "game_helpers/level_end_helper.h"
#include "game_helpers/limit_helper.h"
#include "game_helpers/passive_bonus.h"
#include "game_helpers/progress_helper.h"
#include "game_level.h"
#include "planted_level.h"
#include "player_profile.h"
#include "task.h"
#include "task_manager.h"

using BoardSimFixture::BoardSimTest;

namespace {

class BonusTest : public BoardSimTest {
protected:
    // The level under its rules with that stock and those boosters armed;
    // with `settle`, until the limit has landed and the level is free.
    void begin(const std::string& level, std::array<int, 4> stock = {3, 3, 3, 3},
               std::array<int, 3> boosters = {0, 0, 0}, bool settle = true, uint32_t seed = 1)
    {
        mSim.reset();
        BoardSim::useSeed(seed);
        mSim = std::make_unique<BoardSim>(mOut);
        mSim->enableRules();
        mSim->setBonusStock(stock);
        mSim->setBoosters(boosters);
        mSim->start("media", level);
        ASSERT_NO_FATAL_FAILURE(finishEntry());
        if (!settle)
            return;
        for (int i = 0; i < 900 && (busy() > 0 || !mSim->isIdle()); ++i)
            mSim->frame();
        ASSERT_EQ(busy(), 0);
    }
    void beginPlanted(const std::vector<std::string>& plants, const std::string& fields = std::string(),
                      uint32_t seed = 1)
    {
        const std::string name = "planted" + std::to_string(mBoards++) + "_lua";
        addLevel(name, plantedLevel(plants, fields));
        begin(name, {3, 3, 3, 3}, {0, 0, 0}, true, seed);
    }
    BonusRules& bonus() { return *mSim->mode().bonusRules; }
    BonusGoldHelper& panel() { return *bonus().panel(); }
    PlayerProfile& profile() { return bonus().profile(); }
    int busy() { return mSim->level().busyCount; }
    void frames(int count)
    {
        for (int i = 0; i < count; ++i)
            mSim->frame();
    }
    // Frames until the bonus's scene has played and its tasks are queued.
    void untilTasks()
    {
        for (int i = 0; i < 300 && field().taskManager->tasks.empty(); ++i)
            mSim->frame();
        ASSERT_FALSE(field().taskManager->tasks.empty());
    }
    // The queued destructions, cell "C,R" to delay.
    std::map<std::string, float> destructions()
    {
        std::map<std::string, float> cells;
        for (Task* task : field().taskManager->tasks)
            if (auto* destroy = dynamic_cast<DestroyChipInCellTask*>(task))
                cells[std::to_string(destroy->column) + "," + std::to_string(destroy->row)] = destroy->delay;
        return cells;
    }
    // Fires the comet; the columns it takes.
    std::set<int> cometColumns()
    {
        mSim->execute("bonus 0");
        std::set<int> columns;
        untilTasks();
        for (const auto& [cell, delay] : destructions())
            columns.insert(std::stoi(cell.substr(0, cell.find(','))));
        return columns;
    }
    float unlockDelay()
    {
        for (Task* task : field().taskManager->tasks)
            if (dynamic_cast<UnlockerTask*>(task))
                return task->delay;
        return -1.0f;
    }
    int liveNamed(const std::string& prefix)
    {
        int count = 0;
        for (const auto& chip : field().chipManager->chips)
            if (!chip->released && chip->prototype && chip->prototype->name.rfind(prefix, 0) == 0)
                ++count;
        return count;
    }
    int liveBonusChips()
    {
        int count = 0;
        for (const auto& chip : field().chipManager->chips)
            if (!chip->released && hasBonusLayer(chip.get()))
                ++count;
        return count;
    }

    int mBoards = 0;
};

TEST_F(BonusTest, LightningClearsEveryOtherRowFromTheCentreAndFreesTheBoardAfterTheFirstRow)
{
    beginPlanted({});
    mSim->execute("bonus 1");
    EXPECT_EQ(profile().bonusCounts[1], 2);
    EXPECT_EQ(busy(), 1);
    EXPECT_FALSE(field().gravityEnabled);
    EXPECT_FALSE(panel().enabled);
    ASSERT_NO_FATAL_FAILURE(untilTasks());
    const std::map<std::string, float> cells = destructions();
    // Rows 1, 3, 5, 7 and 9, whole; row r starts at r * 0.125 s from column 4.
    EXPECT_EQ(cells.size(), 5u * 9u);
    for (int column = 0; column < 9; ++column) {
        ASSERT_TRUE(cells.count(std::to_string(column) + ",1"));
        EXPECT_NEAR(cells.at(std::to_string(column) + ",1"), 0.125f + std::abs(column - 4) * 0.05f, 0.02f);
        EXPECT_FALSE(cells.count(std::to_string(column) + ",2"));
    }
    EXPECT_NEAR(unlockDelay(), 0.325f, 0.02f);
    frames(21);  // 0.35 s
    EXPECT_EQ(busy(), 0);
    EXPECT_TRUE(field().gravityEnabled);
    EXPECT_TRUE(panel().enabled);
    // Later rows are still on their way.
    EXPECT_FALSE(destructions().empty());
}

TEST_F(BonusTest, TheCometTakesThreeColumnsOneOfThemAGoalColumnWhenThereIsOne)
{
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE(seed);
        // The only wall of a walls goal stands in column 8.
        beginPlanted({"8 5 Wall"}, "LevelGoals = { 1, 0 },", seed);
        const std::set<int> columns = cometColumns();
        EXPECT_EQ(columns.size(), 3u);
        EXPECT_TRUE(columns.count(8));
        // Taken left to right, 0.3 s apart: the same row goes later in each
        // column further right.
        std::vector<float> firstRow;
        for (int column : columns)
            firstRow.push_back(destructions()[std::to_string(column) + ",1"]);
        ASSERT_EQ(firstRow.size(), 3u);
        EXPECT_NEAR(firstRow[1] - firstRow[0], 0.3f, 0.001f);
        EXPECT_NEAR(firstRow[2] - firstRow[1], 0.3f, 0.001f);
        // The comet falls for (height + 5) * 0.125 s.
        EXPECT_NEAR(unlockDelay(), 14 * 0.125f, 0.02f);
    }
    beginPlanted({});
    EXPECT_EQ(cometColumns().size(), 3u);
}

TEST_F(BonusTest, ArrowsHitTheGoalChipsFirstAndNeverAFallingGoal)
{
    beginPlanted({"2 2 Wall", "6 7 Wall", "4 4 FallingLevelGoal"}, "LevelGoals = { 1, 0 },");
    mSim->execute("bonus 2");
    ASSERT_NO_FATAL_FAILURE(untilTasks());
    std::map<float, std::string> byDelay;
    for (const auto& [cell, delay] : destructions())
        byDelay[delay] = cell;
    ASSERT_EQ(byDelay.size(), 5u);
    auto it = byDelay.begin();
    const std::set<std::string> firstTwo{it->second, std::next(it)->second};
    EXPECT_EQ(firstTwo, (std::set<std::string>{"2,2", "6,7"}));
    EXPECT_NEAR(it->first, 0.6f, 0.02f);
    for (const auto& [delay, cell] : byDelay)
        EXPECT_NE(cell, "4,4");
    EXPECT_NEAR(unlockDelay(), 1.6f, 0.02f);
}

TEST_F(BonusTest, TheDetonatorSetsTheBonusChipsOffOneAtATimeOnceTheBoardIsStill)
{
    beginPlanted({"2 2 Bomb_R", "5 5 WaveHor_R", "7 8 WaveVer_R"});
    ASSERT_EQ(panel().slotOfKind(3), 3);
    Bonus& detonator = *panel().bonuses[3];
    EXPECT_TRUE(detonator.canActivate());
    mSim->execute("bonus 3");
    EXPECT_EQ(busy(), 1);
    // The detonator leaves the board's flow on.
    EXPECT_TRUE(field().gravityEnabled);
    ASSERT_NO_FATAL_FAILURE(untilTasks());
    int homing = 0;
    for (GameFieldEffect* effect : renderer().effectList().effects)
        homing += dynamic_cast<ChipSceneEffect*>(effect) != nullptr;
    EXPECT_EQ(homing, 3);
    EXPECT_EQ(liveBonusChips(), 3);
    frames(58);  // just under a second
    EXPECT_EQ(liveBonusChips(), 3);
    // One goes at a time: the next waits for the board to settle again.
    std::vector<int> drops;
    bool settledSinceDrop = true;
    for (int i = 0; i < 1200 && busy() > 0; ++i) {
        const int before = liveBonusChips();
        mSim->frame();
        if (liveBonusChips() < before) {
            EXPECT_EQ(before - liveBonusChips(), 1);
            EXPECT_TRUE(settledSinceDrop);
            drops.push_back(i);
            settledSinceDrop = false;
        }
        if (!field().isUnsettled())
            settledSinceDrop = true;
    }
    EXPECT_EQ(drops.size(), 3u);
    EXPECT_EQ(busy(), 0);
    EXPECT_EQ(liveBonusChips(), 0);
    EXPECT_TRUE(panel().enabled);
    EXPECT_FALSE(detonator.canActivate());
    // Once the board is still without a bonus chip the button disables.
    frames(120);
    EXPECT_FALSE(panel().buttons[3]->enabled);
}

TEST_F(BonusTest, ThePanelShowsOneButtonPerUnlockedKindAndOpensTheShopWithoutStock)
{
    beginPlanted({});
    profile().unlockedBonuses = {2, 0};
    profile().bonusCounts = {1, 0, 0, 0};
    panel().reset();
    EXPECT_EQ(panel().buttonCount, 2);
    EXPECT_EQ(panel().slotOfKind(2), 0);
    EXPECT_EQ(panel().slotOfKind(0), 1);
    auto lockShown = [&](int slot) { return panel().slots[static_cast<size_t>(slot)]->findNode("#lock_icon")->enabled; };
    EXPECT_FALSE(lockShown(0));
    EXPECT_FALSE(lockShown(1));
    EXPECT_TRUE(lockShown(2));
    // Slot 0 (the arrows) has none: "#buy" instead of "#count".
    EXPECT_TRUE(panel().slots[0]->findNode("#buy")->enabled);
    EXPECT_FALSE(panel().slots[0]->findNode("#count")->enabled);
    EXPECT_TRUE(panel().slots[1]->findNode("#count")->enabled);

    // A scripted mouse over the first button: hover, press, release.
    panel().update(0.0f);
    const VQ::Vector2f over = panel().buttons[0]->scene->worldPosition;
    panel().updateButtons(over, false, false);
    EXPECT_EQ(panel().buttons[0]->state, 1);
    panel().updateButtons(over, true, false);
    EXPECT_EQ(panel().buttons[0]->state, 2);
    panel().updateButtons(over, false, true);
    EXPECT_EQ(panel().buttons[0]->state, 0);
    EXPECT_EQ(panel().buyWindow->name, "bonus0");
    EXPECT_EQ(panel().buyWindow->kind, 2);
    // The shop closed without a purchase: the level is given back.
    EXPECT_EQ(busy(), 0);
    EXPECT_EQ(panel().buttons[0]->state, 0);

    // A press while the level is busy does nothing.
    ++mSim->level().busyCount;
    panel().press(1);
    EXPECT_EQ(profile().bonusCounts[0], 1);
    mSim->level().releaseBusy();
    panel().press(1);
    EXPECT_EQ(profile().bonusCounts[0], 0);

    // The tutorial's bonus without stock leaves the stock at 0; a kind
    // without a button does nothing.
    frames(300);
    panel().activateBonus(0);
    EXPECT_EQ(profile().bonusCounts[0], 0);
    frames(300);
    panel().activateBonus(3);
    EXPECT_EQ(busy(), 0);
}

TEST_F(BonusTest, TheHintPlaysOnceWhenTheLimitWarnsAndNotWithoutALimit)
{
    beginPlanted({});
    frames(10);
    EXPECT_FALSE(panel().hintShown);
    auto* moves = dynamic_cast<MoveLimitHelper*>(mSim->rules()->limit());
    ASSERT_NE(moves, nullptr);
    moves->setMoves(3, true);
    frames(1);
    EXPECT_TRUE(panel().hintShown);
    AE::Marker* panelHint = panel().panelScene->getMarker("hotspot");
    AE::Marker* buttonHint = panel().buttons[0]->scene->getMarker("hotspot");
    ASSERT_NE(panelHint, nullptr);
    ASSERT_NE(buttonHint, nullptr);
    EXPECT_EQ(panelHint->getState(), AE::Marker::PLAYING);
    EXPECT_EQ(buttonHint->getState(), AE::Marker::PLAYING);
    // Once a level: still warning, it does not play again.
    panelHint->setState(AE::Marker::STOPPED);
    buttonHint->setState(AE::Marker::STOPPED);
    frames(10);
    EXPECT_EQ(panelHint->getState(), AE::Marker::STOPPED);
    EXPECT_EQ(buttonHint->getState(), AE::Marker::STOPPED);

    begin("rules_no_limit_lua");
    frames(600);
    EXPECT_FALSE(panel().hintShown);
    EXPECT_EQ(panel().buttonCount, 4);
}

TEST_F(BonusTest, TheButtonsAreWeighedOnlyOnceTheLevelHasBegun)
{
    mSim.reset();
    BoardSim::useSeed(1);
    mSim = std::make_unique<BoardSim>(mOut);
    mSim->enableRules();
    mSim->setBonusStock({3, 3, 3, 3});
    mSim->start("media", "rules_moves_lua");
    ASSERT_FALSE(mSim->level().mode->hasLevelBegun());
    // A button out of step with its bonus stays so until the level begins.
    panel().buttons[0]->enabled = false;
    panel().refreshPending = true;
    panel().update(0.0f);
    EXPECT_FALSE(panel().buttons[0]->enabled);
    ASSERT_NO_FATAL_FAILURE(finishEntry());
    for (int i = 0; i < 900 && (busy() > 0 || !mSim->isIdle()); ++i)
        mSim->frame();
    EXPECT_TRUE(panel().buttons[0]->enabled);
}

TEST_F(BonusTest, ALimitsFlightHoldsThePanelAndItsButtonsUntilItLands)
{
    beginPlanted({});
    auto* moves = dynamic_cast<MoveLimitHelper*>(mSim->rules()->limit());
    ASSERT_NE(moves, nullptr);
    panel().update(0.0f);
    const VQ::Vector2f over = panel().buttons[0]->scene->worldPosition;
    panel().updateButtons(over, false, false);
    ASSERT_EQ(panel().buttons[0]->state, 1);

    moves->addMoves(5);
    EXPECT_FALSE(panel().enabled);
    EXPECT_EQ(panel().buttons[0]->state, 0);
    // No hover while the "+5" flies in.
    panel().updateButtons(over, false, false);
    EXPECT_EQ(panel().buttons[0]->state, 0);
    for (int i = 0; i < 300 && moves->state != FlyingLimitHelper::PREVIEW_LANDED; ++i) {
        EXPECT_FALSE(panel().enabled);
        mSim->frame();
    }
    ASSERT_EQ(moves->state, FlyingLimitHelper::PREVIEW_LANDED);
    EXPECT_TRUE(panel().enabled);
    panel().updateButtons(over, false, false);
    EXPECT_EQ(panel().buttons[0]->state, 1);
}

TEST_F(BonusTest, TheBoostersRunOneAfterAnotherAndClearTheirFlags)
{
    begin("rules_moves_lua", {0, 0, 0, 0}, {1, 1, 1}, false);
    PassiveBonusHelper& boosters = *bonus().boosters();
    ASSERT_EQ(boosters.boosters.size(), 3u);
    std::vector<int> order;
    int colourChips = -1, bombChips = -1;
    for (int i = 0; i < 3000 && order.size() < 3; ++i) {
        for (const auto& booster : boosters.boosters)
            if (booster->started && booster->used && std::find(order.begin(), order.end(), booster->getType()) == order.end()) {
                order.push_back(booster->getType());
                if (booster->getType() == BOOSTER_COLOR)
                    colourChips = liveNamed("DestroyColor");
                if (booster->getType() == BOOSTER_BOMB)
                    bombChips = liveNamed("Bomb_");
            }
        // Never two at once.
        int running = 0;
        for (const auto& booster : boosters.boosters)
            running += booster->started && !booster->used;
        EXPECT_LE(running, 1);
        mSim->frame();
    }
    EXPECT_EQ(order, (std::vector<int>{BOOSTER_COLOR, BOOSTER_MOVES, BOOSTER_BOMB}));
    EXPECT_EQ(colourChips, 3);
    EXPECT_EQ(bombChips, 3);
    frames(120);
    EXPECT_EQ(dynamic_cast<MoveLimitHelper*>(mSim->rules()->limit())->moves, 20);
    EXPECT_EQ(profile().passiveBonusArmed, (std::array<uint8_t, 3>{0, 0, 0}));

    // On a timed level the moves booster brings 15 seconds.
    begin("rules_time_lua", {0, 0, 0, 0}, {0, 1, 0}, false);
    auto* timer = dynamic_cast<TimerHelper*>(mSim->rules()->limit());
    ASSERT_NE(timer, nullptr);
    ASSERT_EQ(bonus().boosters()->boosters.size(), 1u);
    EXPECT_TRUE(static_cast<MovesPassiveBonus&>(*bonus().boosters()->boosters[0]).timed);
    frames(600);
    EXPECT_TRUE(bonus().boosters()->boosters[0]->used);
    EXPECT_NEAR(timer->timeLeft, 30.0f + 15.0f, 0.01f);
}

TEST_F(BonusTest, TheEndRunPaysEachMoveLeftAsABonusChipThenSetsThemOffHalfASecondApart)
{
    beginPlanted({});
    auto* moves = dynamic_cast<MoveLimitHelper*>(mSim->rules()->limit());
    ASSERT_NE(moves, nullptr);
    moves->setMoves(3, true);
    LevelEndHelper& end = *bonus().levelEnd();
    mSim->execute("levelend");
    EXPECT_TRUE(end.started);
    std::vector<std::string> made;
    std::vector<double> detonations;
    int conversions = 0;
    for (int i = 0; i < 60 * 60 && !end.done; ++i) {
        const int before = liveBonusChips();
        const int state = end.state;
        mSim->frame();
        if (end.conversions > conversions) {
            conversions = end.conversions;
            for (const char* kind : {"Bomb_", "WaveHor_", "WaveVer_"})
                if (liveNamed(kind) > static_cast<int>(std::count(made.begin(), made.end(), kind)))
                    made.push_back(kind);
        }
        if (state == LevelEndHelper::DETONATING && liveBonusChips() < before)
            detonations.push_back(mSim->gameTime());
    }
    EXPECT_TRUE(end.done);
    EXPECT_EQ(end.state, LevelEndHelper::FINISHED);
    EXPECT_EQ(made, (std::vector<std::string>{"Bomb_", "WaveHor_", "WaveVer_"}));
    EXPECT_EQ(moves->moves, 0);
    ASSERT_GE(detonations.size(), 1u);
    for (size_t i = 1; i < detonations.size(); ++i)
        EXPECT_GE(detonations[i] - detonations[i - 1], 0.49);
    EXPECT_EQ(liveBonusChips(), 0);
}

TEST_F(BonusTest, TheEndRunClearsTheLinesOnTheBoardBeforeItsFirstConversion)
{
    beginPlanted({"2 1 R", "2 2 R", "3 3 R"});
    LevelEndHelper& end = *bonus().levelEnd();
    mSim->execute("levelend");
    for (int i = 0; i < 60 * 20 && end.state != LevelEndHelper::SETTLING; ++i)
        mSim->frame();
    ASSERT_EQ(end.state, LevelEndHelper::SETTLING);
    // A line of reds in column 2 made in the model, just before the pass.
    FieldCell* left = field().cellAt(2, 3);
    FieldCell* right = field().cellAt(3, 3);
    std::swap(left->chip, right->chip);
    for (Chip* chip : {left->chip, right->chip}) {
        chip->x += chip == left->chip ? -1.0f : 1.0f;
        chip->targetX = chip->x;
    }
    ASSERT_TRUE(anyReadyLine());
    end.timer = 0.001f;
    mSim->frame();
    EXPECT_EQ(end.state, LevelEndHelper::SETTLING) << "lines found: the board settles again";
    for (int i = 0; i < 60 * 20 && end.conversions == 0; ++i)
        mSim->frame();
    EXPECT_EQ(end.conversions, 1);
    EXPECT_EQ(liveNamed("Simple_R"), 0);
}

TEST_F(BonusTest, TheEndRunOfATimedLevelTakesThreeSecondsAConversion)
{
    begin("rules_time_lua");
    auto* timer = dynamic_cast<TimerHelper*>(mSim->rules()->limit());
    ASSERT_NE(timer, nullptr);
    timer->timeLeft = 10.0f;
    LevelEndHelper& end = *bonus().levelEnd();
    mSim->execute("levelend");
    for (int i = 0; i < 60 * 60 && !end.done; ++i)
        mSim->frame();
    EXPECT_TRUE(end.done);
    EXPECT_EQ(end.conversions, 4);
    EXPECT_EQ(timer->timeLeft, 0.0f);

    // A level without a limit has nothing to pay: straight to the
    // detonations.
    begin("rules_no_limit_lua");
    mSim->execute("levelend");
    for (int i = 0; i < 60 * 60 && !bonus().levelEnd()->done; ++i)
        mSim->frame();
    EXPECT_TRUE(bonus().levelEnd()->done);
    EXPECT_EQ(bonus().levelEnd()->conversions, 0);
}

TEST_F(BonusTest, TheEndRunLevelIsWonAndFinishes)
{
    begin("bonus_end_run_lua");
    // Its score goal, the first star score.
    const int goal = mSim->rules()->goals()->counters[2].target;
    ASSERT_GT(goal, 0);
    for (int i = 0; i < 60 && mSim->rules()->progress()->score < goal; ++i) {
        ASSERT_TRUE(mSim->playRandomUsefulSwap());
        float taken = 0.0f;
        mSim->settle(taken);
    }
    ASSERT_GE(mSim->rules()->progress()->score, goal);
    mSim->execute("levelend");
    for (int i = 0; i < 60 * 120 && !bonus().levelEnd()->done; ++i)
        mSim->frame();
    EXPECT_TRUE(bonus().levelEnd()->done);
    EXPECT_GT(bonus().levelEnd()->conversions, 0);
}

}  // namespace
