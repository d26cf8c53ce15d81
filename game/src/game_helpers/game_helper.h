#pragma once
// A rule that one level adds to the board (its limit, its goals, the score
// bar, ...). The mode creates the components a level needs and hands them to
// the level state, which keeps them in ascending priority and drives them
// every frame; whoever deletes a component, it leaves the level's list.

#include <cstdint>

class GameField;
class GameLevel;

// The level being played and its board; null without them.
GameLevel* currentGameLevel();
GameField* currentGameField();
// A tutorial lesson is on screen.
bool tutorialLessonActive();
// A dialog window is shown or waiting to be shown.
bool dialogWindowActive();
// A pending step of a blocker rule, taken once the board is quiet: nothing
// while a task waits or a chip falls or a play cell is empty, and while the
// settling scan still finds lines to clear. True (with `pending` cleared) when the step is to run now.
bool takeSettledStep(bool& pending);

class GameHelper {
public:
    GameHelper() = default;
    GameHelper(const GameHelper&) = delete;
    GameHelper& operator=(const GameHelper&) = delete;
    // Leaves the list of the level being played, when there is one.
    virtual ~GameHelper();

    // Per frame, after the mode's update and before the board's.
    virtual void update(float dt) { (void)dt; }
    virtual void drawUnderField() {}
    // After the board, before the level's widgets.
    virtual void drawOverField() {}
    // Forgets the level played before.
    virtual void reset() {}
    // 1 a moves limit, 2 a time limit, 5 ice, 6 boosters, 7 goals; else 0.
    virtual int getType() { return 0; }

    // The level keeps its list in ascending priority, ties in the order
    // the components were added.
    int32_t priority = 0;
};
