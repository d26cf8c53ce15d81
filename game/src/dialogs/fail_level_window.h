#pragma once
// The lost level's window ("fail_level_window_ui"): "btnReplay" closes it
// with `result` 0 (try again), "btnClose" with 1. The score and the
// friends' panels arrive with the window itself.

#include "dialogs/dialog_window.h"

class MainMode;
struct LevelInfo;

class FailLevelWindow : public DialogWindow {
public:
    static constexpr int32_t REPLAY = 0;
    static constexpr int32_t CLOSED = 1;

    FailLevelWindow();

    // Opens queued for `level` with its score.
    void open(LevelInfo* level, int score);

    // The buttons.
    void replay();
    void close();

    MainMode* mode = nullptr;    // set by the owner
    LevelInfo* level = nullptr;  // the mode's
    int score = 0;
};
