#pragma once
// The authors' window ("authors_window_ui"): the credits. Kept by the game
// mode; "btnClose" closes it.

#include "dialogs/dialog_window.h"

class CutscenesWindow : public DialogWindow {
public:
    CutscenesWindow();

    void close() { hide(); }
};
