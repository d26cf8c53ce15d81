#pragma once
// The bonus rules in the headless board (--rules), beside the level's
// limit and goals: long runs and swapped bonus chips fuse as in the game,
// through the campaign mode's fusion component.

class BonusChipHelper;
class MainMode;

class BonusRules {
public:
    explicit BonusRules(MainMode& mode) : mMode(mode) {}

    // Something of theirs still plays on the board.
    bool isBusy() const;
    BonusChipHelper* fusion() const;

private:
    MainMode& mMode;
};
