#pragma once
// The level state as the board sees it: the mode that plays the level and
// the busy counter with which the rest of the level holds the board's
// matching and the player's input back. The full state (scenes, interface,
// input) is built around these two.

class Mode;

class GameLevel {
public:
    // Lowers the busy counter by one, never below 0.
    void releaseBusy()
    {
        if (busyCount > 0)
            --busyCount;
    }

    Mode* mode = nullptr;  // not owned
    // Above 0: the level is busy.
    int busyCount = 0;
};
