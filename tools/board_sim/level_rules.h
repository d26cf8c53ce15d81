#pragma once
// The level's rules in the headless board (--rules): the limit, the goals,
// the score bar and the floating scores, created as the campaign mode
// creates them when a level is set up and prepared, and fed the board's and
// the limit's calls as the mode feeds them. It prints what they do:
//   limit moves N | limit time S | limit none     once, at set-up
//   limit shown | limit changed P C | limit reached | timer started
//                                                 as the limit tells them
//   goal I KIND COUNT/TARGET, goals complete (once), score S stars N,
//   busy N                                        after a frame, as changed
// and answers the command "rules" with the whole state, ending with
//   chainbomb C,R left N | generator C,R left N   per chain bomb, generator
//   ice radius R timed T next S                   (S 0 unless timed)

#include <memory>
#include <ostream>
#include <string>

#include "game_helpers/limit_helper.h"

namespace VQ {
class LuaContext;
}
class Chip;
class GameLevel;
class ChainBombHelper;
class ChipGeneratorHelper;
class ChipUpHelper;
class GoalsHelper;
class IceHelper;
class ProgressHelper;
class ScoreTextHelper;
struct ChipSnapshot;
struct DestroyResult;
struct FieldCell;

class LevelRules : public LimitHelperListener {
public:
    LevelRules(std::ostream& out, GameLevel& level);
    ~LevelRules() override;
    LevelRules(const LevelRules&) = delete;
    LevelRules& operator=(const LevelRules&) = delete;

    // The mode's hooks.
    void setupLevelRules(VQ::LuaContext& script);
    void prepareLevel();
    void onLevelBegin();
    void onPlayerMove(FieldCell* b);
    void addScore(const DestroyResult& result, Chip* chip);
    void onTileHit(FieldCell* cell);
    void onChipDestroyed(const ChipSnapshot& snapshot);
    // The ice first, then the generators; true when one of them took it.
    bool onNeighbourDestroyed(Chip* destroyed, Chip* neighbour);

    void onLimitShown() override;
    void onLimitReached() override;
    void onLimitChanged(int previous, int current) override;
    void onTimerStarted() override;

    // The components' step, in the level's list order.
    void updateComponents(float dt);
    // The lines of what changed in the frame.
    void reportChanges();
    // The command "rules".
    void printState();

    GoalsHelper* goals() const { return mGoals.get(); }
    ProgressHelper* progress() const { return mProgress.get(); }
    LimitHelper* limit() const { return mLimit.get(); }
    IceHelper* ice() const { return mIce.get(); }
    ChainBombHelper* chainBombs() const { return mChainBombs.get(); }
    ChipGeneratorHelper* generators() const { return mGenerators.get(); }
    ChipUpHelper* chipUp() const { return mChipUp.get(); }

private:
    void setScoreGoal();
    void addPoints(int points);
    void checkGoals();
    std::string goalLine(int index) const;
    std::string scoreLine() const;

    std::ostream& mOut;
    GameLevel& mLevel;
    int mStars[3] = {0, 0, 0};
    std::unique_ptr<GoalsHelper> mGoals;
    std::unique_ptr<ProgressHelper> mProgress;
    std::unique_ptr<ScoreTextHelper> mScoreText;
    std::unique_ptr<IceHelper> mIce;
    std::unique_ptr<ChainBombHelper> mChainBombs;
    std::unique_ptr<ChipGeneratorHelper> mGenerators;
    std::unique_ptr<ChipUpHelper> mChipUp;
    std::unique_ptr<LimitHelper> mLimit;
    bool mGoalsMet = false;
    bool mCompleteReported = false;
    std::string mShownGoals[3];
    std::string mShownScore;
    int mShownBusy = 0;
};
