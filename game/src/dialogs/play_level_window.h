#pragma once
// The level start window ("play_level_window_ui"): the preview of a level
// before it starts. "btnPlay" closes it with `result` 1 (play), "btnClose"
// with 0. The goals, boosters and friends' results arrive with the window
// itself; until then it shows its frame and buttons.

#include "dialogs/dialog_window.h"

class MainMode;
struct LevelInfo;

class PlayLevelWindow : public DialogWindow, public DialogWindowListener {
public:
    static constexpr int32_t PLAY = 1;
    static constexpr int32_t CLOSED = 0;

    PlayLevelWindow();

    // Previews `level` and opens queued; nothing for no level.
    // `showCurrencyPanel` when a lost level is offered again.
    void open(LevelInfo* level, bool showCurrencyPanel);

    // The buttons.
    void play();
    void close();

    MainMode* mode = nullptr;      // set by the owner
    LevelInfo* level = nullptr;    // the mode's
    bool showCurrencyPanel = false;
};
