#pragma once
// The bonus rules in the headless board (--rules), beside the level's
// limit and goals: long runs and swapped bonus chips fuse as in the game.

#include <memory>
#include <ostream>

class BonusChipHelper;
class Chip;
class GameLevel;
class LevelRules;
class Mode;
struct ChipSelection;

class BonusRules {
public:
    BonusRules(std::ostream& out, GameLevel& level, Mode& mode, LevelRules& rules);
    ~BonusRules();
    BonusRules(const BonusRules&) = delete;
    BonusRules& operator=(const BonusRules&) = delete;

    // The mode's hooks.
    void setupLevelRules();
    bool onMatch(const ChipSelection& selection);
    bool onBonusSwap(Chip* a, Chip* b);

    // Something of theirs still plays on the board.
    bool isBusy() const;
    BonusChipHelper* fusion() const { return mFusion.get(); }

private:
    std::ostream& mOut;
    GameLevel& mLevel;
    Mode& mMode;
    LevelRules& mRules;
    std::unique_ptr<BonusChipHelper> mFusion;
};
