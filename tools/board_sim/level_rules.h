#pragma once
// What the level's rules do in the headless board (--rules), as the lines
// the campaign mode's components give: the real MainMode sets them up and
// feeds them (RecordingMode hands it the board's calls); this listens to
// its limit and prints
//   limit moves N | limit time S | limit none     once, at set-up
//   limit shown | limit changed P C | limit reached | timer started
//                                                 as the limit tells them
//   goal I KIND COUNT/TARGET, goals complete (once), score S stars N,
//   busy N                                        after a frame, as changed
// and answers the command "rules" with the whole state, ending with
//   chainbomb C,R left N | generator C,R left N   per chain bomb, generator
//   ice radius R timed T next S                   (S 0 unless timed)

#include <ostream>
#include <string>

#include "game_helpers/limit_helper.h"

class ChainBombHelper;
class ChipGeneratorHelper;
class ChipUpHelper;
class GameLevel;
class GoalsHelper;
class IceHelper;
class MainMode;
class ProgressHelper;

class LevelRules : public LimitHelperListener {
public:
    LevelRules(std::ostream& out, GameLevel& level, MainMode& mode);
    ~LevelRules() override;
    LevelRules(const LevelRules&) = delete;
    LevelRules& operator=(const LevelRules&) = delete;

    // After the mode set the level up: the limit line, and this joins the
    // limit's listeners.
    void onSetUp();

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

    GoalsHelper* goals() const;
    ProgressHelper* progress() const;
    LimitHelper* limit() const;
    IceHelper* ice() const;
    ChainBombHelper* chainBombs() const;
    ChipGeneratorHelper* generators() const;
    ChipUpHelper* chipUp() const;

private:
    std::string goalLine(int index) const;
    std::string scoreLine() const;

    std::ostream& mOut;
    GameLevel& mLevel;
    MainMode& mMode;
    bool mCompleteReported = false;
    std::string mShownGoals[3];
    std::string mShownScore;
    int mShownBusy = 0;
};
