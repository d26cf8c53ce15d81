#pragma once
// The everyday bonus overview ("everyday_bonus_window_ui"): the store's
// rewards of days 1 to 5. Kept by the map state, which grants the due
// day's reward when it closes; "btnOk" closes it.

#include "dialogs/dialog_window.h"

class EverydayBonusWindow : public DialogWindow {
public:
    // Fills "#day_1" to "#day_5" from the store.
    EverydayBonusWindow();

    void close() { hide(); }
};
