#include "level_rules.h"

#include "behavior.h"
#include "chip.h"
#include "game_helpers/chain_bomb_helper.h"
#include "game_helpers/chip_generator_helper.h"
#include "game_helpers/chip_up_helper.h"
#include "game_helpers/goals_helper.h"
#include "game_helpers/ice_helper.h"
#include "game_helpers/progress_helper.h"
#include "game_level.h"
#include "log_system.h"
#include "main_mode.h"

LevelRules::LevelRules(std::ostream& out, GameLevel& level, MainMode& mode) : mOut(out), mLevel(level), mMode(mode)
{
}

LevelRules::~LevelRules()
{
    if (mMode.limit)
        mMode.limit->removeListener(this);
}

GoalsHelper* LevelRules::goals() const
{
    return mMode.goals;
}

ProgressHelper* LevelRules::progress() const
{
    return mMode.progress;
}

LimitHelper* LevelRules::limit() const
{
    return mMode.limit;
}

IceHelper* LevelRules::ice() const
{
    return mMode.ice;
}

ChainBombHelper* LevelRules::chainBombs() const
{
    return mMode.chainBombs;
}

ChipGeneratorHelper* LevelRules::generators() const
{
    return mMode.generators;
}

ChipUpHelper* LevelRules::chipUp() const
{
    return mMode.chipUp;
}

void LevelRules::onSetUp()
{
    LimitHelper* current = mMode.limit;
    if (auto* moves = dynamic_cast<MoveLimitHelper*>(current))
        mOut << "limit moves " << moves->moves + moves->pendingMoves << '\n';
    else if (auto* timer = dynamic_cast<TimerHelper*>(current))
        mOut << VQ::formatString("limit time %g", timer->timeLeft + timer->pendingSeconds) << '\n';
    else
        mOut << "limit none\n";
    if (current && !current->hasListener(this))
        current->addListener(this);
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
    const GoalsHelper::Counter& counter = mMode.goals->counters[index];
    return VQ::formatString("goal %d %d %d/%d", index, counter.kind, counter.count, counter.target);
}

std::string LevelRules::scoreLine() const
{
    return VQ::formatString("score %d stars %d", mMode.progress->score, mMode.progress->starsShown);
}

void LevelRules::reportChanges()
{
    if (!mMode.goals)
        return;
    for (int i = 0; i < 3; ++i) {
        const std::string line = goalLine(i);
        if (line != mShownGoals[i]) {
            mShownGoals[i] = line;
            mOut << line << '\n';
        }
    }
    if (!mCompleteReported && mMode.goalsMet) {
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
    if (auto* moves = dynamic_cast<MoveLimitHelper*>(mMode.limit))
        mOut << VQ::formatString("limit moves %d pending %d warning %d", moves->moves, moves->pendingMoves,
                                 moves->isWarning() ? 1 : 0)
             << '\n';
    else if (auto* timer = dynamic_cast<TimerHelper*>(mMode.limit))
        mOut << VQ::formatString("limit time %.2f pending %.2f running %d warning %d", timer->timeLeft,
                                 timer->pendingSeconds, timer->running ? 1 : 0, timer->isWarning() ? 1 : 0)
             << '\n';
    else
        mOut << "limit none\n";
    if (mMode.goals) {
        for (int i = 0; i < 3; ++i)
            mOut << goalLine(i) << '\n';
        mOut << scoreLine() << '\n';
    }
    mOut << "busy " << mLevel.busyCount << '\n';
    if (mMode.chainBombs)
        for (Chip* bomb : mMode.chainBombs->chainBombs)
            mOut << VQ::formatString("chainbomb %d,%d left %d", static_cast<int>(bomb->x), static_cast<int>(bomb->y),
                                     bomb->getIntData("left"))
                 << '\n';
    if (mMode.generators)
        for (Chip* generator : mMode.generators->generators) {
            if (generator->released || !generator->hasBehavior(BEHAVIOR_CHIP_GENERATOR))
                continue;
            mOut << VQ::formatString("generator %d,%d left %d", static_cast<int>(generator->x),
                                     static_cast<int>(generator->y), generator->getIntData("limitLeft", generator->getIntData("limit")))
                 << '\n';
        }
    if (mMode.ice)
        mOut << VQ::formatString("ice radius %d timed %d next %d", mMode.ice->radius, mMode.ice->timed ? 1 : 0,
                                 mMode.ice->timed ? mMode.ice->spreadCounter : 0)
             << '\n';
}
