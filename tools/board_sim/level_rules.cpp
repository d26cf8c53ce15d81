#include "level_rules.h"

#include <lua.hpp>

#include <cmath>

#include "behavior.h"
#include "chip.h"
#include "game_field.h"
#include "game_helpers/chain_bomb_helper.h"
#include "game_helpers/chip_generator_helper.h"
#include "game_helpers/chip_up_helper.h"
#include "game_helpers/goals_helper.h"
#include "game_helpers/ice_helper.h"
#include "game_helpers/progress_helper.h"
#include "game_helpers/score_text_helper.h"
#include "game_level.h"
#include "game_state_manager.h"
#include "log_system.h"
#include "lua_context.h"
#include "task_manager.h"

namespace {

// A number, or a string holding one; 0 otherwise.
float numberField(lua_State* state, int table, const char* key, bool& present)
{
    lua_getfield(state, table, key);
    present = !lua_isnil(state, -1);
    const float value = lua_isnumber(state, -1) ? static_cast<float>(lua_tonumber(state, -1)) : 0.0f;
    lua_pop(state, 1);
    return value;
}

}  // namespace

LevelRules::LevelRules(std::ostream& out, GameLevel& level) : mOut(out), mLevel(level) {}

LevelRules::~LevelRules()
{
    // The mode's order of leaving a level.
    mGoals.reset();
    mProgress.reset();
    mScoreText.reset();
    mLimit.reset();
    mIce.reset();
    mChainBombs.reset();
    mGenerators.reset();
    mChipUp.reset();
}

void LevelRules::setupLevelRules(VQ::LuaContext& script)
{
    lua_State* state = script.state();
    VQ::LuaStackGuard guard(state);
    lua_getglobal(state, "GameField");
    const int table = lua_gettop(state);
    const bool hasTable = lua_istable(state, table);
    if (hasTable) {
        lua_getfield(state, table, "stars");
        if (lua_istable(state, -1))
            for (int i = 0; i < 3; ++i) {
                lua_rawgeti(state, -1, i + 1);
                mStars[i] = lua_isnumber(state, -1) ? static_cast<int>(lua_tonumber(state, -1)) : 0;
                lua_pop(state, 1);
            }
        lua_pop(state, 1);
    }

    if (!mGoals) {
        mGoals = std::make_unique<GoalsHelper>("goals_dial_scene_xml");
        mLevel.addHelper(mGoals.get());
        mProgress = std::make_unique<ProgressHelper>("score_scene_xml");
        mLevel.addHelper(mProgress.get());
        mScoreText = std::make_unique<ScoreTextHelper>();
        mLevel.addHelper(mScoreText.get());
        mIce = std::make_unique<IceHelper>();
        mLevel.addHelper(mIce.get());
        mChainBombs = std::make_unique<ChainBombHelper>();
        mLevel.addHelper(mChainBombs.get());
        mGenerators = std::make_unique<ChipGeneratorHelper>();
        mLevel.addHelper(mGenerators.get());
        mChipUp = std::make_unique<ChipUpHelper>();
        mLevel.addHelper(mChipUp.get());
    }
    mProgress->setThresholds(mStars[0], mStars[1] - mStars[0], mStars[2] - mStars[1]);
    setScoreGoal();
    mGoals->update(0.0f);
    mGoals->readLevelGoals(script);
    mIce->readLevelSettings(script);

    float value = 0.0f;
    int kind = 0;
    if (hasTable) {
        bool present = false;
        value = numberField(state, table, "LevelLimit", present);
        if (!present)
            value = numberField(state, table, "LevelTime", present);
        kind = static_cast<int>(numberField(state, table, "LevelLimitType", present));
    }
    mLimit.reset();
    if (value == 0.0f) {
        mOut << "limit none\n";
        return;
    }
    if (kind == 0) {
        mLimit = std::make_unique<MoveLimitHelper>("LimitHelper", "limit_helper_ui", static_cast<int>(value), 0.6f);
        mOut << "limit moves " << static_cast<int>(value) << '\n';
    } else {
        mLimit = std::make_unique<TimerHelper>("LimitHelper", "limit_helper_ui", value, 1.0f);
        mOut << VQ::formatString("limit time %g", value) << '\n';
        mLimit->addListener(mIce.get());
    }
    mLimit->addListener(this);
    mLevel.addHelper(mLimit.get());
    // The "+N" previews start at the middle of the board, as the level's
    // layout has them.
    const VQ::Vector2f size = GameStateManager::instance()->getSceneSize();
    const float centre[2] = {size.x / 2.0f, size.y / 2.0f};
    mLimit->setPosition(centre);
}

void LevelRules::setScoreGoal()
{
    GoalsHelper::Counter& score = mGoals->counters[2];
    score.kind = GOAL_SCORE;
    score.target = mStars[0];
    score.count = 0;
    score.shown = 0;
    score.timer = -1.0f;
}

void LevelRules::prepareLevel()
{
    mProgress->reset();
    mGoals->reset();
    setScoreGoal();
    mGoalsMet = false;
    mChainBombs->collectChainBombs();
    mGenerators->collectGenerators();
}

void LevelRules::onLevelBegin()
{
    mChipUp->collectChips();
    if (auto* timer = dynamic_cast<TimerHelper*>(mLimit.get()))
        timer->running = false;
    if (mLimit)
        mLimit->start();
}

void LevelRules::onPlayerMove(FieldCell* b)
{
    if (auto* timer = dynamic_cast<TimerHelper*>(mLimit.get())) {
        if (!timer->running) {
            timer->running = true;
            timer->tellListeners([](LimitHelperListener& listener) { listener.onTimerStarted(); });
        }
    } else {
        mChainBombs->stepPending = true;
        mGenerators->stepPending = true;
    }
    if (mLimit)
        mLimit->consume();
    if (!mIce->timed)
        mIce->spreadPending = true;
    GameField* field = currentGameField();
    mChipUp->raisePending = field && field->taskManager->count > 0;
    if (!mChipUp->raisePending)
        mChipUp->raiseChips();
    mScoreText->setPosition(b->column, b->row);
}

void LevelRules::addPoints(int points)
{
    mProgress->setScore(mProgress->score + points);
    GoalsHelper::Counter& score = mGoals->counters[2];
    score.count += points;
    if (score.timer == 0.0f)
        score.timer = mGoals->countDuration;
    mScoreText->addScore(points);
}

void LevelRules::addScore(const DestroyResult& result, Chip* chip)
{
    if (result.type == 0)
        return;
    addPoints(result.score);
    mScoreText->setPosition(static_cast<int>(chip->x), static_cast<int>(chip->y));
}

void LevelRules::onTileHit(FieldCell* cell)
{
    const int kind = cell->solidity;
    addPoints(kind == 1 || kind == 2 ? 500 : 0);
    if (kind == 1) {
        if (mGoals->counters[0].kind == GOAL_TILES)
            mGoals->addGoalProgress(0);
        else if (mGoals->counters[1].kind == GOAL_TILES)
            mGoals->addGoalProgress(1);
    }
    checkGoals();
}

void LevelRules::onChipDestroyed(const ChipSnapshot& snapshot)
{
    mGoals->onChipDestroyed(snapshot);
    checkGoals();
    mChipUp->forget(snapshot.chip);
    mChainBombs->onChipDestroyed(snapshot.chip);
}

bool LevelRules::onNeighbourDestroyed(Chip* destroyed, Chip* neighbour)
{
    return (mIce && mIce->onNeighbourDestroyed(neighbour, destroyed)) ||
           (mGenerators && mGenerators->onNeighbourDestroyed(neighbour));
}

void LevelRules::checkGoals()
{
    // The win that follows holds the board from here on.
    if (!mGoalsMet && mGoals->isComplete() && !mGoals->hasNoGoals()) {
        mGoalsMet = true;
        ++mLevel.busyCount;
    }
}

void LevelRules::onLimitShown()
{
    mOut << "limit shown\n";
}

void LevelRules::onLimitReached()
{
    mOut << "limit reached\n";
}

void LevelRules::onLimitChanged(int previous, int current)
{
    mOut << "limit changed " << previous << ' ' << current << '\n';
    // The chain bombs count the seconds down.
    if (current < previous && dynamic_cast<TimerHelper*>(mLimit.get()))
        mChainBombs->stepPending = true;
}

void LevelRules::onTimerStarted()
{
    mOut << "timer started\n";
}

void LevelRules::updateComponents(float dt)
{
    for (GameHelper* helper : std::vector<GameHelper*>(mLevel.helpers))
        helper->update(dt);
}

std::string LevelRules::goalLine(int index) const
{
    const GoalsHelper::Counter& counter = mGoals->counters[index];
    return VQ::formatString("goal %d %d %d/%d", index, counter.kind, counter.count, counter.target);
}

std::string LevelRules::scoreLine() const
{
    return VQ::formatString("score %d stars %d", mProgress->score, mProgress->starsShown);
}

void LevelRules::reportChanges()
{
    if (!mGoals)
        return;
    for (int i = 0; i < 3; ++i) {
        const std::string line = goalLine(i);
        if (line != mShownGoals[i]) {
            mShownGoals[i] = line;
            mOut << line << '\n';
        }
    }
    if (!mCompleteReported && mGoalsMet) {
        mCompleteReported = true;
        mOut << "goals complete\n";
    }
    const std::string score = scoreLine();
    if (score != mShownScore) {
        mShownScore = score;
        mOut << score << '\n';
    }
    if (mLevel.busyCount != mShownBusy) {
        mShownBusy = mLevel.busyCount;
        mOut << "busy " << mShownBusy << '\n';
    }
}

void LevelRules::printState()
{
    if (auto* moves = dynamic_cast<MoveLimitHelper*>(mLimit.get()))
        mOut << VQ::formatString("limit moves %d pending %d warning %d", moves->moves, moves->pendingMoves,
                                 moves->isWarning() ? 1 : 0)
             << '\n';
    else if (auto* timer = dynamic_cast<TimerHelper*>(mLimit.get()))
        mOut << VQ::formatString("limit time %.2f pending %.2f running %d warning %d", timer->timeLeft,
                                 timer->pendingSeconds, timer->running ? 1 : 0, timer->isWarning() ? 1 : 0)
             << '\n';
    else
        mOut << "limit none\n";
    if (mGoals) {
        for (int i = 0; i < 3; ++i)
            mOut << goalLine(i) << '\n';
        mOut << scoreLine() << '\n';
    }
    mOut << "busy " << mLevel.busyCount << '\n';
    if (mChainBombs)
        for (Chip* bomb : mChainBombs->chainBombs)
            mOut << VQ::formatString("chainbomb %d,%d left %d", static_cast<int>(bomb->x), static_cast<int>(bomb->y),
                                     bomb->getIntData("left"))
                 << '\n';
    if (mGenerators)
        for (Chip* generator : mGenerators->generators) {
            if (generator->released || !generator->hasBehavior(BEHAVIOR_CHIP_GENERATOR))
                continue;
            mOut << VQ::formatString("generator %d,%d left %d", static_cast<int>(generator->x),
                                     static_cast<int>(generator->y), generator->getIntData("limitLeft", generator->getIntData("limit")))
                 << '\n';
        }
    if (mIce)
        mOut << VQ::formatString("ice radius %d timed %d next %d", mIce->radius, mIce->timed ? 1 : 0,
                                 mIce->timed ? mIce->spreadCounter : 0)
             << '\n';
}
