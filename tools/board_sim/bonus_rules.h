#pragma once
// The bonus rules in the headless board (--rules), beside the level's
// limit and goals, through the campaign mode's components: long runs and
// swapped bonus chips fuse, the bonus panel fires the one-shot bonuses, the
// armed boosters act when the level begins and the end-of-level run pays
// the limit out. They play over a profile of their own: the stock of the
// four bonuses (--stock, all four unlocked) and the three boosters' flags
// (--boosters). Commands:
//   bonus K            a press of the button holding bonus kind K (as the
//                      mouse would press it): "bonus K" or "bonus K none"
//   levelend           starts the end-of-level run with the level's limit
// and "rules" appends
//   bonus SLOT KIND stock N enabled E   per button
//   booster TYPE used U                 per booster
//   levelend STATE done D               once the end run has started

#include <array>
#include <istream>
#include <memory>
#include <ostream>
#include <string>

class BonusChipHelper;
class BonusGoldHelper;
class LevelEndHelper;
class MainMode;
class PassiveBonusHelper;
class PlayerProfile;

class BonusRules {
public:
    BonusRules(std::ostream& out, MainMode& mode);
    ~BonusRules();
    BonusRules(const BonusRules&) = delete;
    BonusRules& operator=(const BonusRules&) = delete;

    // Before the level loads: the profile's stock and booster flags.
    void setStock(const std::array<int, 4>& stock);
    void setBoosters(const std::array<int, 3>& armed);
    // Once the mode has set the level up, before it prepares it: the
    // components play over this profile; the panel is placed.
    void onSetUp();

    // The commands "bonus" and "levelend"; false for any other.
    bool execute(const std::string& command, std::istream& arguments);
    // The lines "rules" appends.
    void printState();

    // Something of theirs still plays on the board.
    bool isBusy() const;
    BonusChipHelper* fusion() const;
    BonusGoldHelper* panel() const;
    PassiveBonusHelper* boosters() const;
    LevelEndHelper* levelEnd() const;
    PlayerProfile& profile() { return *mProfile; }

private:
    std::ostream& mOut;
    MainMode& mMode;
    std::unique_ptr<PlayerProfile> mProfile;
};
