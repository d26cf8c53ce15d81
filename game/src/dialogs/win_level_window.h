#pragma once
// The won level's window ("win_level_window_ui"): "btnNext" closes it with
// `result` 1, "btnClose" with 0. The stars, the counted score and coins and
// the friends' panels arrive with the window itself.

#include "dialogs/dialog_window.h"

class MainMode;
struct LevelInfo;

class WinLevelWindow : public DialogWindow {
public:
    static constexpr int32_t NEXT = 1;
    static constexpr int32_t CLOSED = 0;

    WinLevelWindow();

    // Opens queued for `level` with its score and the coins won.
    void open(LevelInfo* level, int score, int coins);

    // The buttons.
    void next();
    void close();

    MainMode* mode = nullptr;    // set by the owner
    LevelInfo* level = nullptr;  // the mode's
    int score = 0;
    int coins = 0;
};
