#pragma once
// The help page ("help_window_ui"): swapping, special chips and goals. Shown
// at once above the menu that opens it; "btnClose" closes it.

#include "dialogs/dialog_window.h"

class HelpWindow : public DialogWindow {
public:
    HelpWindow();

    // Shown at once, not queued.
    void open();
    void close() { hide(); }
};
