#pragma once
// Shows the dialog windows one at a time over every game state; while one is
// shown or waiting to be shown the level, the board and the map ignore input.

#include <vector>

#include "singleton.h"

class DialogWindow;

class DialogWindowManager : public VQ::Singleton<DialogWindowManager> {
public:
    DialogWindowManager() = default;

    // Once per game frame.
    void update(float dt) { (void)dt; }

    // True while a window is shown or waiting to be shown.
    bool hasActiveWindow() const { return false; }

    // Called by the window's constructor: appended unless listed.
    void registerWindow(DialogWindow* window);
    // Called by the window's destructor.
    void unregisterWindow(DialogWindow* window);

    // Every constructed window, in construction order; not owned.
    std::vector<DialogWindow*> windows;
};
