// The level's rule components over a board loaded from a level and its level
// state: the list they live in, the limits, the goals, the score bar and the
// floating scores.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "animationeditor/scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "board_sim_fixture.h"
#include "chip.h"
#include "chip_manager.h"
#include "dialogs/buy_moves_time_window.h"
#include "dialogs/dialog_window_manager.h"
#include "game_field.h"
#include "game_helpers/goals_helper.h"
#include "game_helpers/limit_helper.h"
#include "game_helpers/progress_helper.h"
#include "game_helpers/score_text_helper.h"
#include "game_level.h"
#include "game_state_manager.h"
#include "move_hint.h"
#include "task.h"
#include "task_manager.h"
#include "tutorial/tutorial_lesson.h"
#include "tutorial/tutorial_registry.h"
#include "tutorial/tutorial_sequence.h"

using BoardSimFixture::BoardSimTest;

namespace {

// --- The level's list ---

class CountingHelper : public GameHelper {
public:
    CountingHelper(std::vector<std::string>& log, std::string name) : mLog(log), mName(std::move(name)) {}
    void update(float) override { mLog.push_back(mName); }

private:
    std::vector<std::string>& mLog;
    std::string mName;
};

TEST(GameHelperList, KeepsPriorityThenAdditionOrderAndEachComponentOnce)
{
    GameLevel level;
    GameStateManager states{&level};
    std::vector<std::string> log;
    CountingHelper a(log, "A"), b(log, "B"), c(log, "C");
    c.priority = -1;
    level.addHelper(&a);
    level.addHelper(&b);
    level.addHelper(&a);
    level.addHelper(&c);
    ASSERT_EQ(level.helpers.size(), 3u);
    for (int frame = 0; frame < 2; ++frame)
        for (GameHelper* helper : level.helpers)
            helper->update(0.0f);
    EXPECT_EQ(log, (std::vector<std::string>{"C", "A", "B", "C", "A", "B"}));
}

TEST(GameHelperList, ADeletedComponentLeavesTheLevelOfTheStateManager)
{
    GameLevel level;
    GameStateManager states{&level};
    std::vector<std::string> log;
    CountingHelper kept(log, "kept");
    level.addHelper(&kept);
    auto gone = std::make_unique<CountingHelper>(log, "gone");
    level.addHelper(gone.get());
    auto later = std::make_unique<CountingHelper>(log, "later");
    level.addHelper(later.get());
    gone.reset();
    EXPECT_EQ(level.helpers, (std::vector<GameHelper*>{&kept, later.get()}));
    // Never added, or removed already: the list stays as it is.
    { CountingHelper stranger(log, "stranger"); }
    level.removeHelper(later.get());
    later.reset();
    EXPECT_EQ(level.helpers, (std::vector<GameHelper*>{&kept}));
    // No level is played: nothing to leave.
    states.level = nullptr;
    { CountingHelper alone(log, "alone"); }
    EXPECT_EQ(level.helpers.size(), 1u);
}

// --- Limits ---

// What a test level draws its chips from, on the whole grid.
const char* const CHIPS =
    "AvailableChips = { 'Simple_R', 'Simple_G', 'Simple_B', 'Simple_Y', 'Simple_M' }, Grid = { Cells = {} }";

class Listener : public LimitHelperListener {
public:
    void onLimitShown() override { calls.push_back("shown"); }
    void onLimitReached() override { calls.push_back("reached"); }
    void onLimitChanged(int previous, int current) override
    {
        calls.push_back("changed " + std::to_string(previous) + " " + std::to_string(current));
    }
    void onTimerStarted() override { calls.push_back("timer"); }
    std::vector<std::string> calls;
};

class RulesTest : public BoardSimTest {
protected:
    BoardSim& play(const std::string& level, uint32_t seed = 3) { return start(level, seed, true); }
    LevelRules& rules() { return *mSim->rules(); }
    GameLevel& level() { return mSim->level(); }
    // Frames until the limit's first addition has landed.
    void untilShown(LimitHelper& limit)
    {
        auto* flying = dynamic_cast<FlyingLimitHelper*>(&limit);
        ASSERT_NE(flying, nullptr);
        for (int i = 0; i < 900 && (flying->state != FlyingLimitHelper::PREVIEW_LANDED); ++i)
            mSim->frame();
        ASSERT_EQ(flying->state, FlyingLimitHelper::PREVIEW_LANDED);
    }
    std::string counterText(LimitHelper& limit)
    {
        std::string text;
        for (char16_t c : limit.counterText->rawText)
            text += static_cast<char>(c);
        return text;
    }
    AE::Marker::State panelMarker(LimitHelper& limit, const std::string& name)
    {
        return limit.panelScene->getMarker(name)->getState();
    }
};

TEST_F(RulesTest, AMovesLimitFliesInHoldingTheLevelAndCountsEveryMoveDownToReached)
{
    play("rules_moves_lua");
    auto* moves = dynamic_cast<MoveLimitHelper*>(rules().limit());
    ASSERT_NE(moves, nullptr);
    EXPECT_EQ(moves->getType(), 1);
    Listener listener;
    moves->addListener(&listener);
    finishEntry();
    // The entry has started the flight: the level and the board wait.
    EXPECT_EQ(level().busyCount, 1);
    EXPECT_FALSE(field().taskManager->enabled);
    EXPECT_EQ(moves->pendingMoves, 15);
    EXPECT_FALSE(moves->isLimitReached());
    untilShown(*moves);
    EXPECT_EQ(level().busyCount, 0);
    EXPECT_TRUE(field().taskManager->enabled);
    EXPECT_EQ(moves->moves, 15);
    EXPECT_EQ(counterText(*moves), "15");
    EXPECT_EQ(listener.calls, (std::vector<std::string>{"shown"}));

    moves->setMoves(1, true);
    listener.calls.clear();
    moves->consume();
    mSim->step(1.0f);
    EXPECT_EQ(counterText(*moves), "0");
    moves->consume();
    EXPECT_EQ(moves->moves, 0);
    EXPECT_EQ(listener.calls, (std::vector<std::string>{"changed 1 0", "reached", "changed 0 0", "reached"}));
    EXPECT_TRUE(moves->isLimitReached());
    EXPECT_TRUE(moves->isWarning());
    moves->removeListener(&listener);
}

TEST_F(RulesTest, MovesInFlightCountAndAdditionsDuringAFlightJoinIt)
{
    play("rules_moves_lua");
    auto* moves = dynamic_cast<MoveLimitHelper*>(rules().limit());
    finishEntry();
    untilShown(*moves);
    // The warning starts below four moves.
    moves->setMoves(4, true);
    EXPECT_FALSE(moves->isWarning());
    moves->setMoves(3, true);
    EXPECT_TRUE(moves->isWarning());
    moves->setMoves(0, true);
    moves->addMoves(5);
    EXPECT_FALSE(moves->isLimitReached());
    EXPECT_FALSE(moves->isWarning());
    EXPECT_EQ(level().busyCount, 1);
    mSim->frame();
    moves->addMoves(2);
    EXPECT_EQ(moves->pendingMoves, 7);
    EXPECT_EQ(level().busyCount, 1);
    untilShown(*moves);
    EXPECT_EQ(moves->moves, 7);
    EXPECT_EQ(moves->pendingMoves, 0);
    EXPECT_EQ(level().busyCount, 0);
    // A purchase lands as an addition.
    moves->buyWindow->result = BuyMovesTimeWindow::BOUGHT;
    moves->onHidden(moves->buyWindow.get());
    EXPECT_EQ(moves->pendingMoves, 5);
}

TEST(LimitTime, IsShownInWholeMinutesAndSeconds)
{
    EXPECT_EQ(formatLimitTime(65.9f), "01:05");
    EXPECT_EQ(formatLimitTime(0.4f), "00:00");
    EXPECT_EQ(formatLimitTime(600.0f), "10:00");
}

// A lesson that only sits on screen.
class SilentLesson : public TutorialLesson {
public:
    SilentLesson() : TutorialLesson(nullptr) {}
    void onEvent(GameEvent*) override {}
};

// A task that holds the board while it waits.
class WaitingTask : public Task {
public:
    WaitingTask() { delay = 1000.0f; }
    bool run(float) override { return false; }
};

TEST_F(RulesTest, ATimerRunsOnlyAfterTheFirstMoveAndWhileNothingHoldsTheLevel)
{
    play("rules_time_lua");
    auto* timer = dynamic_cast<TimerHelper*>(rules().limit());
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->getType(), 2);
    finishEntry();
    untilShown(*timer);
    EXPECT_FLOAT_EQ(timer->timeLeft, 30.0f);
    mSim->step(2.0f);
    EXPECT_FLOAT_EQ(timer->timeLeft, 30.0f);

    timer->running = true;
    mSim->step(1.0f);
    EXPECT_NEAR(timer->timeLeft, 29.0f, 0.02f);
    ++level().busyCount;
    mSim->step(1.0f);
    EXPECT_NEAR(timer->timeLeft, 29.0f, 0.02f);
    level().releaseBusy();
    // A queued dialog holds it as a shown one does.
    {
        DialogWindowManager dialogs;
        dialogs.pendingWindow = timer->buyWindow.get();
        mSim->step(1.0f);
        dialogs.pendingWindow = nullptr;
    }
    EXPECT_NEAR(timer->timeLeft, 29.0f, 0.02f);
    {
        std::vector<std::unique_ptr<TutorialLesson>> lessons;
        lessons.push_back(std::make_unique<SilentLesson>());
        auto* sequence = new TutorialSequence("held", std::move(lessons));
        TutorialRegistry::instance()->add(sequence);
        ASSERT_NE(sequence->current, nullptr);
        sequence->current->state = TutorialLesson::ACTIVE;
        mSim->step(1.0f);
        TutorialRegistry::destroy();
    }
    EXPECT_NEAR(timer->timeLeft, 29.0f, 0.02f);
    mSim->step(0.5f);
    EXPECT_NEAR(timer->timeLeft, 28.5f, 0.02f);
    field().taskManager->addTask(new WaitingTask());
    mSim->step(1.0f);
    EXPECT_NEAR(timer->timeLeft, 28.5f, 0.02f);
}

TEST_F(RulesTest, TheMovesPanelGoesBackToNormalAsADialogOpens)
{
    play("rules_moves_lua");
    auto* moves = dynamic_cast<MoveLimitHelper*>(rules().limit());
    finishEntry();
    untilShown(*moves);
    AE::Marker* normal = moves->panelScene->getMarker("normal");
    normal->setState(AE::Marker::STOPPED);
    DialogWindowManager dialogs;
    dialogs.pendingWindow = moves->buyWindow.get();
    mSim->frame();
    EXPECT_NE(normal->getState(), AE::Marker::STOPPED);
    // Once as it opens, not every frame it stays open.
    normal->setState(AE::Marker::STOPPED);
    mSim->frame();
    EXPECT_EQ(normal->getState(), AE::Marker::STOPPED);
    dialogs.pendingWindow = nullptr;
}

TEST_F(RulesTest, ATimerWarnsBelowTenSecondsAndBoughtTimeLiftsItOut)
{
    play("rules_time_lua");
    auto* timer = dynamic_cast<TimerHelper*>(rules().limit());
    finishEntry();
    untilShown(*timer);
    Listener listener;
    timer->addListener(&listener);
    timer->running = true;
    timer->timeLeft = 10.4f;
    mSim->step(0.5f);
    EXPECT_NEAR(timer->timeLeft, 9.9f, 0.02f);
    EXPECT_EQ(panelMarker(*timer, "warning"), AE::Marker::PLAYING);
    EXPECT_EQ(listener.calls, (std::vector<std::string>{"changed 10 9"}));
    EXPECT_TRUE(timer->isWarning());

    timer->panelScene->getMarker("normal")->setState(AE::Marker::STOPPED);
    timer->buyWindow->result = BuyMovesTimeWindow::BOUGHT;
    timer->onHidden(timer->buyWindow.get());
    untilShown(*timer);
    EXPECT_NEAR(timer->timeLeft, 24.9f, 0.02f);
    EXPECT_NE(panelMarker(*timer, "normal"), AE::Marker::STOPPED) << "the landing lifts the panel out of the warning";
    EXPECT_EQ(counterText(*timer), "00:24");

    // Run out: reached once, when the last whole second goes.
    timer->timeLeft = 1.5f;
    listener.calls.clear();
    mSim->step(2.0f);
    EXPECT_EQ(listener.calls, (std::vector<std::string>{"changed 1 0", "reached"}));
    EXPECT_EQ(timer->timeLeft, 0.0f);
    EXPECT_TRUE(timer->isLimitReached());
    timer->removeListener(&listener);
}

// --- The rule levels ---

TEST_F(RulesTest, EveryRuleLevelStartsWithoutAReadyLineAndWithAMove)
{
    for (const char* name : {"rules_moves_lua", "rules_time_lua", "goal_walls_lua", "goal_tiles_lua",
                             "goal_falling_lua", "goal_strong_walls_lua", "rules_no_limit_lua",
                             "blocker_chain_bomb_lua", "blocker_generator_lua", "blocker_rising_lua",
                             "blocker_ice_lua", "blocker_ice_timed_lua"}) {
        SCOPED_TRACE(name);
        start(name);
        ASSERT_TRUE(field().active);
        EXPECT_FALSE(anyReadyLine());
        mOut.str("");
        finishEntry();
        mSim->frame();
        EXPECT_EQ(countOutput("mode onMatch"), 0);
        FieldCell* move[2] = {nullptr, nullptr};
        field().moveHint->findMove(move);
        EXPECT_NE(move[0], nullptr);
        mSim.reset();
    }
}

// --- Goals ---

TEST_F(RulesTest, FallingTargetsAreReleasedAsTheOnesOnTheBoardComeDown)
{
    addLevel("falling_five", std::string("GameField = { LevelLimit = 10, LevelGoals = { 3, 0 }, TargetChips = 5, "
                                         "TargetsInField = 2, stars = { 100, 200, 300 }, ") +
                                 CHIPS + ",\n  Chips = { { Type = 'FallingLevelGoal', PosX = 4, PosY = 1 } } }\n");
    play("falling_five");
    GoalsHelper& goals = *rules().goals();
    const GoalsHelper::Counter& counter = goals.counters[0];
    EXPECT_EQ(counter.kind, GOAL_FALLING);
    EXPECT_EQ(counter.target, 6);
    EXPECT_EQ(goals.targetChips, 4);
    EXPECT_EQ(goals.fallingChipsOnBoard, 2);
    const auto queued = [] {
        const auto& next = ChipManager::instance()->nextChips;
        return std::count(next.begin(), next.end(), "FallingLevelGoal");
    };
    EXPECT_EQ(queued(), 1);
    for (int collected = 1; collected <= 5; ++collected)
        goals.addGoalProgress(0);
    EXPECT_EQ(goals.targetChips, 0);
    EXPECT_EQ(goals.fallingChipsOnBoard, 1);
    EXPECT_FALSE(goals.isComplete());
    goals.addGoalProgress(0);
    EXPECT_TRUE(goals.isComplete());
    goals.addGoalProgress(0);
    EXPECT_FALSE(goals.isComplete()) << "a count above its target is not complete";
}

TEST_F(RulesTest, AScoreKindEndsTheGoalListSoTheScoreWins)
{
    int index = 0;
    for (const char* goalsText : {"{ 4, 1 }", "{ 0, 1 }", "{ }"}) {
        SCOPED_TRACE(goalsText);
        const std::string name = "score_only_" + std::to_string(index++);
        addLevel(name, std::string("GameField = { LevelLimit = 10, LevelGoals = ") + goalsText +
                           ", stars = { 100, 200, 300 }, " + CHIPS + " }\n");
        play(name);
        GoalsHelper& goals = *rules().goals();
        EXPECT_TRUE(goals.hasNoGoals());
        EXPECT_EQ(goals.counters[0].kind, GOAL_NONE);
        EXPECT_EQ(goals.counters[1].kind, GOAL_NONE);
        EXPECT_FALSE(goals.isComplete());
        goals.counters[2].count = 100;
        EXPECT_TRUE(goals.isComplete());
        mSim.reset();
    }
}

TEST_F(RulesTest, ChipsAreCountedAndCreditedByOneOrderOfTheirLayers)
{
    EXPECT_EQ(goalKindOfLayers(true, true, true), GOAL_FALLING);
    EXPECT_EQ(goalKindOfLayers(false, true, true), GOAL_STRONG_WALLS);
    EXPECT_EQ(goalKindOfLayers(false, false, true), GOAL_CHIP_UP);
    EXPECT_EQ(goalKindOfLayers(false, false, false), GOAL_WALLS);

    play("goal_walls_lua");
    GoalsHelper& goals = *rules().goals();
    EXPECT_EQ(goals.counters[0].kind, GOAL_WALLS);
    EXPECT_EQ(goals.counters[0].target, 6);
    Chip* wall = nullptr;
    for (auto& row : field().rows)
        for (FieldCell& cell : row)
            if (cell.chip && cell.chip->hasBehavior(BEHAVIOR_WALL) && !wall)
                wall = cell.chip;
    ASSERT_NE(wall, nullptr);
    goals.onChipDestroyed(ChipSnapshot(*wall));
    EXPECT_EQ(goals.counters[0].count, 1);
    // A chip without a goal layer counts for nothing.
    goals.onChipDestroyed(ChipSnapshot(*chipAt(0, 1)));
    EXPECT_EQ(goals.counters[0].count, 1);
}

TEST_F(RulesTest, AGoalCounterCountsSmoothlyToItsLastValue)
{
    play("goal_walls_lua");
    GoalsHelper& goals = *rules().goals();
    goals.update(1.0f);
    goals.addGoalProgress(0);
    goals.update(0.1f);
    goals.addGoalProgress(0);
    goals.update(0.1f);
    goals.addGoalProgress(0);
    EXPECT_NEAR(goals.counters[0].timer, 0.3f, 1e-4f) << "one timer for the three steps";
    goals.update(0.2f);
    const std::u16string shown = goals.counters[0].text->rawText;
    EXPECT_NE(shown, u"3/6");
    goals.update(0.2f);
    EXPECT_EQ(goals.counters[0].text->rawText, u"3/6");
    EXPECT_EQ(goals.counters[0].shown, 3);
}

TEST_F(RulesTest, AMissingGoalMarkerIsLogged)
{
    addResource("goals_missing_xml", "scenes/goals_missing.xml",
                "<?xml version=\"1.0\"?>\n<Scene><markers><marker><name>goals0</name><playList/></marker>"
                "</markers></Scene>\n");
    addLevel("two_goals", std::string("GameField = { LevelGoals = { 1, 2 }, stars = { 1, 2, 3 }, ") + CHIPS + " }\n");
    play("two_goals");
    GoalsHelper goals("goals_missing_xml");
    goals.goalKinds[0] = GOAL_WALLS;
    goals.goalKinds[1] = GOAL_TILES;
    goals.reset();
    const std::vector<std::string> log = logLines();
    EXPECT_NE(std::find_if(log.begin(), log.end(),
                           [](const std::string& line) {
                               return line.find("ERROR: Can't find marker 'goals2'") != std::string::npos;
                           }),
              log.end());
    EXPECT_EQ(goals.goalCount(), 2);
}

// --- Score bar and floating scores ---

TEST_F(RulesTest, TheBarFillsItsSegmentsAndLightsEachStarOnce)
{
    play("rules_moves_lua");
    ProgressHelper& bar = *rules().progress();
    ASSERT_NE(bar.thumb, nullptr);
    EXPECT_FLOAT_EQ(bar.segmentTimes[0], 1.0f);
    EXPECT_FLOAT_EQ(bar.segmentTimes[1], 1.0f);
    EXPECT_FLOAT_EQ(bar.segmentTimes[2], 1.0f);
    bar.setThresholds(1000, 1000, 1000);
    bar.setScore(1500);
    bar.update(0.5f);
    EXPECT_GT(bar.shownScore, 0);
    EXPECT_LT(bar.shownScore, 1500);
    bar.update(0.5f);
    EXPECT_EQ(bar.shownScore, 1500);
    EXPECT_FLOAT_EQ(bar.barPosition, 1.5f);
    EXPECT_EQ(bar.starsShown, 1);
    EXPECT_NE(bar.scene->getMarker("#star1")->getState(), AE::Marker::STOPPED);

    bar.setScore(9000);
    bar.update(1.0f);
    EXPECT_FLOAT_EQ(bar.barPosition, 3.0f);
    EXPECT_EQ(bar.starsShown, 3);
    bar.scene->getMarker("#star3")->setState(AE::Marker::STOPPED);
    bar.update(0.1f);
    EXPECT_EQ(bar.scene->getMarker("#star3")->getState(), AE::Marker::STOPPED) << "played once";

    // Equal thresholds: a segment without a span is full.
    bar.setThresholds(1000, 0, 0);
    bar.setScore(1000);
    EXPECT_FLOAT_EQ(bar.barTarget, 3.0f);
    bar.reset();
    EXPECT_EQ(bar.starsShown, 0);
    EXPECT_FLOAT_EQ(bar.barPosition, 0.0f);
}

TEST(ScoreMarkers, TheLimitIsTheNumberAfterThePrefix)
{
    EXPECT_EQ(scoreMarkerLimit("limit:100"), 100);
    EXPECT_EQ(scoreMarkerLimit("limit:-5x"), -5);
    EXPECT_EQ(scoreMarkerLimit("limit:"), 0);
    EXPECT_EQ(scoreMarkerLimit("xlimit:12"), 0);
}

TEST_F(RulesTest, AFrameOfPointsFloatsAsOneTextWithTheMarkerOfItsSize)
{
    play("rules_moves_lua");
    ScoreTextHelper text;
    ASSERT_EQ(text.texts.size(), 2u);
    ASSERT_EQ(text.scoreMarkers.size(), 4u);
    EXPECT_EQ(text.markerFor(120), "limit:100");
    EXPECT_EQ(text.markerFor(800), "limit:300");
    EXPECT_EQ(text.markerFor(5000), "limit:1000");
    EXPECT_EQ(text.markerFor(20), "limit:0");
    EXPECT_EQ(text.markerFor(-5), "limit:0") << "below every limit: the smallest";

    GameFieldEffectList& effects = renderer().effectList();
    effects.clear();
    text.setPosition(2, 3);
    text.addScore(20);
    text.addScore(40);
    text.update(0.0f);
    ASSERT_EQ(effects.effects.size(), 1u);
    auto* floating = dynamic_cast<TextScoreEffect*>(effects.effects.front());
    ASSERT_NE(floating, nullptr);
    EXPECT_EQ(floating->layer, 2000);
    EXPECT_EQ(dynamic_cast<AE::TextSceneNode*>(floating->scene->findNode("#text[1]"))->rawText, u"+60");
    EXPECT_FLOAT_EQ(floating->scene->posX, field().cellSize * 2.5f);
    text.update(0.0f);
    EXPECT_EQ(effects.effects.size(), 1u) << "nothing pending, nothing more";
    for (int i = 0; i < 120 && !effects.effects.empty(); ++i)
        effects.update(1.0f / 60.0f);
    EXPECT_TRUE(effects.effects.empty()) << "the text ends with its marker";
}

TEST_F(RulesTest, AScoreTextWithoutMarkersFinishesAtOnce)
{
    play("rules_moves_lua");
    auto* empty = new AE::ISceneNode();
    TextScoreEffect effect(empty, "");
    EXPECT_TRUE(effect.finished);
}

}  // namespace
