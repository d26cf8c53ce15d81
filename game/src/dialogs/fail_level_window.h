#pragma once
// The lost level's window ("fail_level_window_ui"): the level's title and
// the score reached. "btnReplay" closes it with `result` 0 (try again),
// "btnClose" with 1.

#include "dialogs/dialog_window.h"

class MainMode;
struct LevelInfo;

#include "dialogs/friend_panels.h"

class FailLevelWindow : public DialogWindow {
public:
    static constexpr int32_t REPLAY = 0;
    static constexpr int32_t CLOSED = 1;

    FailLevelWindow();
    ~FailLevelWindow() override;

    // Opens queued for `level` with its score; `result` is left to the
    // buttons.
    void open(LevelInfo* level, int score);

    // The buttons.
    void replay();
    void close();

    AE::Marker* leftPanel = nullptr;    // the scene's
    AE::Marker* bottomPanel = nullptr;  // the scene's
    LevelInfo* level = nullptr;  // the mode's
    MainMode* mode = nullptr;    // set by the owner
    FriendPanels friendPanels;
};
