// The campaign mode's rules of a level, played through the headless board:
// the limit read from the level script, the points and goals of tile hits,
// the goals check, the panels' order by their anchors, and the move warning.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "animationeditor/marker.h"
#include "animationeditor/scene_node.h"
#include "board_sim_fixture.h"
#include "game_event.h"
#include "game_field.h"
#include "game_helpers/goals_helper.h"
#include "game_helpers/ice_helper.h"
#include "game_helpers/limit_helper.h"
#include "game_helpers/progress_helper.h"
#include "game_level.h"
#include "main_mode.h"
#include "support/test_support.h"
#include "task_manager.h"
#include "tutorial/tutorial_registry.h"

using BoardSimFixture::BoardSimTest;

namespace {

const char* const CHIPS = "AvailableChips = { 'Simple_R', 'Simple_G', 'Simple_B', 'Simple_Y', 'Simple_M' }";
const char* const PLAIN = "Grid = { Cells = {} }";
// Two tiles of two layers.
const char* const TILES =
    "Grid = { Cells = { { PosX = 4, PosY = 4, Solidity = 3 }, { PosX = 5, PosY = 4, Solidity = 3 } } }";

class MainModeRulesTest : public BoardSimTest {
protected:
    void TearDown() override
    {
        if (mSim)
            mSim->level().loadFieldScene("");
        TutorialRegistry::destroy();
        BoardSimTest::TearDown();
    }
    // A level of the given keys in its GameField table, played under the
    // campaign mode.
    MainMode& play(const std::string& keys, const char* grid = PLAIN)
    {
        addLevel("case_lua", "GameField = { " + keys + ", " + CHIPS + ", " + grid + " }\n");
        start("case_lua", 3, true);
        return mode();
    }
    MainMode& mode() { return *mSim->mode().campaign; }
    GameLevel& level() { return mSim->level(); }
};

// --- The limit ---

TEST_F(MainModeRulesTest, TheLimitComesFromTheLevelScriptWithTheMovesBoughtBefore)
{
    struct Case {
        const char* keys;
        int extraMoves;
        int kind;  // 0 none, 1 moves, 2 time
        float value;
        int extraMovesAfter;
    };
    const Case cases[] = {
        {"LevelLimit = 25, LevelLimitType = 0", 5, 1, 30, 0},
        {"LevelLimit = 25, LevelLimitType = 1", 5, 2, 25, 5},
        {"LevelTime = 90, LevelLimitType = 1", 0, 2, 90, 0},
        // Without a kind the limit counts moves.
        {"LevelTime = 40", 0, 1, 40, 0},
        {"LevelLimit = '12'", 0, 1, 12, 0},
        // "LevelLimit" wins over "LevelTime", even when it gives nothing.
        {"LevelLimit = 0, LevelTime = 50, LevelLimitType = 1", 3, 0, 0, 3},
        {"LevelLimit = 'many', LevelTime = 50", 0, 0, 0, 0},
        {"LevelLimitType = 0", 2, 0, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        MainMode& campaign = play(c.keys);
        // The level entered again with moves bought before it.
        campaign.extraMoves = c.extraMoves;
        field().loadLevel("case_lua");
        EXPECT_EQ(campaign.extraMoves, c.extraMovesAfter);
        auto* moves = dynamic_cast<MoveLimitHelper*>(campaign.limit);
        auto* timer = dynamic_cast<TimerHelper*>(campaign.limit);
        EXPECT_EQ(campaign.getHelper(1), moves);
        EXPECT_EQ(campaign.getHelper(2), timer);
        switch (c.kind) {
        case 0:
            EXPECT_EQ(campaign.limit, nullptr);
            break;
        case 1:
            ASSERT_NE(moves, nullptr);
            EXPECT_EQ(moves->moves + moves->pendingMoves, static_cast<int>(c.value));
            EXPECT_TRUE(moves->hasListener(&campaign));
            break;
        default:
            ASSERT_NE(timer, nullptr);
            EXPECT_FLOAT_EQ(timer->timeLeft + timer->pendingSeconds, c.value);
            EXPECT_TRUE(timer->hasListener(&campaign));
            EXPECT_TRUE(timer->hasListener(campaign.ice));
            break;
        }
        if (campaign.limit) {
            const auto& list = level().helpers;
            EXPECT_EQ(std::count(list.begin(), list.end(), campaign.limit), 1);
        }
        mSim.reset();
    }
}

namespace {

// Notes the level scripts of the level starts it is told about.
class LevelStartProbe : public TutorialLesson {
public:
    LevelStartProbe() : TutorialLesson(nullptr) {}
    void onEvent(GameEvent* event) override
    {
        if (event->type == GameEvent::BEGIN_LEVEL)
            started.push_back(static_cast<BeginLevelGameEvent*>(event)->levelScript);
    }
    std::vector<std::string> started;
};

}  // namespace

TEST_F(MainModeRulesTest, ALevelWithoutALimitTellsTheTutorialAtItsBeginningAndOneWithALimitOnceItsPanelShows)
{
    for (const bool limited : {false, true}) {
        SCOPED_TRACE(limited ? "moves" : "no limit");
        MainMode& campaign = play(limited ? "LevelLimit = 20" : "LevelLimitType = 0");
        campaign.levelScript = "case_lua";
        std::vector<std::unique_ptr<TutorialLesson>> lessons;
        auto* probe = new LevelStartProbe();
        lessons.emplace_back(probe);
        TutorialRegistry::instance()->add(new TutorialSequence("probe", std::move(lessons)));

        campaign.onLevelBegin();
        if (limited) {
            EXPECT_EQ(probe->started, std::vector<std::string>{});
            campaign.onLimitShown();
        }
        EXPECT_EQ(probe->started, std::vector<std::string>{"case_lua"});
        TutorialRegistry::destroy();
        mSim.reset();
    }
}

// --- Tile hits and the goals check ---

TEST_F(MainModeRulesTest, ATileHitScoresByTheSolidityLeftAndOnlyAClearedTileCountsForTheTileGoal)
{
    struct Case {
        int solidityLeft;
        int points;
        int tileGoalCount;
    };
    const Case cases[] = {{2, 500, 0}, {1, 500, 1}, {0, 0, 0}, {3, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.solidityLeft);
        MainMode& campaign = play("LevelLimit = 20, LevelGoals = { 2, 0 }", TILES);
        const int tileGoal = campaign.goals->counters[0].kind == GOAL_TILES ? 0 : 1;
        ASSERT_EQ(campaign.goals->counters[tileGoal].kind, GOAL_TILES);
        FieldCell* cell = field().cellAt(4, 4);
        ASSERT_NE(cell, nullptr);
        cell->solidity = c.solidityLeft;
        campaign.onTileHit(cell);
        EXPECT_EQ(campaign.progress->score, c.points);
        EXPECT_EQ(campaign.goals->counters[2].count, c.points);
        EXPECT_EQ(campaign.goals->counters[tileGoal].count, c.tileGoalCount);
        mSim.reset();
    }
}

TEST_F(MainModeRulesTest, MetGoalsHoldTheLevelOnceAndAScoreOnlyLevelNever)
{
    {
        MainMode& campaign = play("LevelLimit = 20, stars = { 100, 200, 300 }");
        ASSERT_TRUE(campaign.goals->hasNoGoals());
        const int before = level().busyCount;
        FieldCell* cell = field().cellAt(4, 4);
        for (int i = 0; i < 3; ++i) {
            cell->solidity = 1;
            campaign.onTileHit(cell);
        }
        EXPECT_GE(campaign.progress->score, 1500);
        EXPECT_EQ(level().busyCount, before);
        mSim.reset();
    }
    MainMode& campaign = play("LevelLimit = 20, LevelGoals = { 2, 0 }", TILES);
    const int before = level().busyCount;
    const int target = campaign.goals->counters[0].target;
    ASSERT_GT(target, 0);
    FieldCell* cell = field().cellAt(4, 4);
    for (int i = 0; i < target; ++i) {
        cell->solidity = 1;
        campaign.onTileHit(cell);
    }
    EXPECT_TRUE(campaign.goals->isComplete());
    EXPECT_EQ(level().busyCount, before + 1);
    // A later check finds them met again and holds nothing more.
    cell->solidity = 2;
    campaign.onTileHit(cell);
    EXPECT_EQ(level().busyCount, before + 1);
}

// --- Layout ---

TEST_F(MainModeRulesTest, ThePanelsTakeTheirAnchorsDepthsAsPrioritiesAndTheListFollows)
{
    MainMode& campaign = play("LevelLimit = 20");
    level().loadFieldScene("level_field_xml");
    campaign.layoutLevelUi(false);
    const GameLevel::Anchor score = level().anchor("score");
    const GameLevel::Anchor goals = level().anchor("goals");
    const GameLevel::Anchor moves = level().anchor("moves");
    EXPECT_EQ(campaign.progress->priority, score.depth);
    EXPECT_EQ(campaign.goals->priority, goals.depth);
    EXPECT_EQ(campaign.limit->priority, moves.depth);
    // The shipped frame orders the goal panel (1), the limit (2), the score
    // bar (3).
    ASSERT_LT(goals.depth, score.depth);
    const auto& list = level().helpers;
    const auto at = [&](const GameHelper* helper) { return std::find(list.begin(), list.end(), helper) - list.begin(); };
    EXPECT_LT(at(campaign.goals), at(campaign.progress));
    EXPECT_LT(at(campaign.limit), at(campaign.progress));
    for (size_t i = 1; i < list.size(); ++i)
        EXPECT_LE(list[i - 1]->priority, list[i]->priority);
    // The panels stand at their anchors.
    EXPECT_FLOAT_EQ(campaign.goals->scene->posX, goals.x);
    EXPECT_FLOAT_EQ(campaign.progress->scene->posY, score.y);
}

// --- The move warning ---

TEST_F(MainModeRulesTest, TheMoveWarningShowsEachOfTheLastFiveCountsOnce)
{
    MainMode& campaign = play("LevelLimit = 7, stars = { 100, 200, 300 }");
    auto* moves = dynamic_cast<MoveLimitHelper*>(campaign.limit);
    ASSERT_NE(moves, nullptr);
    MoveWarning warning(false);
    ASSERT_NE(warning.scene, nullptr);
    warning.limit = moves;
    warning.goals = campaign.goals;
    warning.lastShown = -1;
    const auto playing = [&](int n) {
        return warning.scene->getMarker(std::to_string(n))->getState() == AE::Marker::PLAYING;
    };
    struct Step {
        int moves;
        int pending;
        int shown;  // the marker started by this step, -1 none
    };
    // 7 left plays nothing; 5, 4, ... each once; 5 bought at 2 (7) plays
    // nothing until the count is 5 again.
    const Step steps[] = {{7, 0, -1}, {5, 0, 5}, {5, 0, -1}, {4, 0, 4}, {2, 0, 2}, {2, 5, -1}, {6, 0, -1},
                          {5, 0, 5},  {1, 0, 1}, {0, 0, 0}};
    for (const Step& step : steps) {
        SCOPED_TRACE(std::to_string(step.moves) + "+" + std::to_string(step.pending));
        warning.scene->stopMarkers(true, true);
        moves->moves = step.moves;
        moves->pendingMoves = step.pending;
        warning.update();
        for (int n = 0; n <= 5; ++n)
            EXPECT_EQ(playing(n), n == step.shown) << n;
    }
    // Met goals silence it.
    warning.lastShown = -1;
    warning.scene->stopMarkers(true, true);
    campaign.goals->counters[2].count = campaign.goals->counters[2].target;
    ASSERT_TRUE(campaign.goals->isComplete());
    moves->moves = 3;
    warning.update();
    EXPECT_FALSE(playing(3));
    // Without a moves limit (a timed level) there is nothing to warn of.
    warning.goals = nullptr;
    warning.limit = nullptr;
    warning.update();
    EXPECT_FALSE(playing(3));
}

// --- The reshuffle and the level's content ---

TEST_F(MainModeRulesTest, TheReshuffleAfterTheNoMovesEffectResumesTheTimerThroughABoardTask)
{
    MainMode& campaign = play("LevelLimit = 60, LevelLimitType = 1");
    auto* timer = dynamic_cast<TimerHelper*>(campaign.limit);
    ASSERT_NE(timer, nullptr);
    finishEntry();
    // The timer's seconds land first (the board waits meanwhile).
    for (int i = 0; i < 900 && timer->state != FlyingLimitHelper::PREVIEW_LANDED; ++i)
        mSim->frame();
    ASSERT_EQ(timer->state, FlyingLimitHelper::PREVIEW_LANDED);
    timer->running = true;
    campaign.onNoPossibleMoves();
    EXPECT_TRUE(campaign.shuffling);
    EXPECT_FALSE(timer->running);
    // A second report while shuffling changes nothing.
    campaign.onNoPossibleMoves();
    EXPECT_TRUE(campaign.shuffling);
    campaign.onEffectPlayed(EFFECT_NO_POSSIBLE_MOVES);
    EXPECT_FALSE(campaign.shuffling);
    EXPECT_FALSE(timer->running);
    // The task waits its tenth of a second on the board, which first plays
    // the shuffle.
    mSim->step(0.05f);
    EXPECT_FALSE(timer->running);
    EXPECT_EQ(field().taskManager->count, 1);
    for (int i = 0; i < 600 && !timer->running; ++i)
        mSim->frame();
    EXPECT_TRUE(timer->running);
    EXPECT_EQ(field().taskManager->count, 0);
    EXPECT_TRUE(campaign.levelStarted);
}

TEST_F(MainModeRulesTest, AFieldSceneWithoutItsBoardNodeOrAnAnchorIsAFatalReportNamingIt)
{
    play("LevelLimit = 20");
    addResource("bare_field_xml", "scenes/bare_field.xml",
                "<Scene><Object name=\"#shaker\"><Parameters X=\"0\" Y=\"0\" scaleX=\"1\" scaleY=\"1\" "
                "A=\"1\" Enable=\"1\"/></Object></Scene>\n");
    start("case_lua", 3, true);
    const VQ::FatalReport missingBoard =
        TestSupport::catchFatal([&] { level().loadFieldScene("bare_field_xml"); });
    EXPECT_NE(missingBoard.description.find("#game_field"), std::string::npos) << missingBoard.description;
    EXPECT_NE(missingBoard.description.find("bare_field_xml"), std::string::npos) << missingBoard.description;
    level().loadFieldScene("");
    const VQ::FatalReport missingScene = TestSupport::catchFatal([&] { level().loadFieldScene("no_such_xml"); });
    EXPECT_NE(missingScene.description.find("no_such_xml"), std::string::npos) << missingScene.description;
    level().loadFieldScene("level_field_xml");
    const VQ::FatalReport missingAnchor = TestSupport::catchFatal([&] { level().anchor("nowhere"); });
    EXPECT_NE(missingAnchor.description.find("@h:nowhere"), std::string::npos) << missingAnchor.description;
}

}  // namespace
