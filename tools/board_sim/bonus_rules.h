#pragma once
// The bonus rules in the headless board (--rules), beside the level's
// limit and goals: long runs and swapped bonus chips fuse as in the game,
// the bonus panel fires the one-shot bonuses, the armed boosters act when
// the level begins and the end-of-level run pays the limit out. They play
// over a profile of their own: the stock of the four bonuses (--stock,
// all four unlocked) and the three boosters' flags (--boosters). Commands:
//   bonus K            a press of the button holding bonus kind K (as the
//                      mouse would press it): "bonus K" or "bonus K none"
//   levelend           starts the end-of-level run with the level's limit
// and "rules" appends
//   bonus SLOT KIND stock N enabled E   per button
//   booster TYPE used U                 per booster
//   levelend STATE done D               once the end run has started

#include <array>
#include <memory>
#include <ostream>
#include <string>

#include "game_helpers/limit_helper.h"

class BonusChipHelper;
class BonusGoldHelper;
class Chip;
class GameLevel;
class LevelEndHelper;
class LevelRules;
class Mode;
class PassiveBonusHelper;
class PlayerProfile;
struct ChipSelection;

class BonusRules : public LimitHelperListener {
public:
    BonusRules(std::ostream& out, GameLevel& level, Mode& mode, LevelRules& rules);
    ~BonusRules() override;
    BonusRules(const BonusRules&) = delete;
    BonusRules& operator=(const BonusRules&) = delete;

    // Before the level loads: the profile's stock and booster flags.
    void setStock(const std::array<int, 4>& stock);
    void setBoosters(const std::array<int, 3>& armed);

    // The mode's hooks.
    void setupLevelRules();
    void prepareLevel();
    void onLevelBegin();
    bool onMatch(const ChipSelection& selection);
    bool onBonusSwap(Chip* a, Chip* b);
    void onLimitShown() override;

    // The commands "bonus" and "levelend"; false for any other.
    bool execute(const std::string& command, std::istream& arguments);
    // The lines "rules" appends.
    void printState();

    // Something of theirs still plays on the board.
    bool isBusy() const;
    BonusChipHelper* fusion() const { return mFusion.get(); }
    BonusGoldHelper* panel() const { return mPanel.get(); }
    PassiveBonusHelper* boosters() const { return mBoosters.get(); }
    LevelEndHelper* levelEnd() const { return mLevelEnd.get(); }
    PlayerProfile& profile() { return *mProfile; }

private:
    std::ostream& mOut;
    GameLevel& mLevel;
    Mode& mMode;
    LevelRules& mRules;
    std::unique_ptr<PlayerProfile> mProfile;
    std::unique_ptr<BonusChipHelper> mFusion;
    std::unique_ptr<BonusGoldHelper> mPanel;
    std::unique_ptr<PassiveBonusHelper> mBoosters;
    std::unique_ptr<LevelEndHelper> mLevelEnd;
    bool mBoostersStarted = false;
};
