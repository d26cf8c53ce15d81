#pragma once
// The heart shop ("buy_heart_window_ui"), opened from the map when the
// player has no heart left to start a level. Its shop comes with the heart
// shop itself; until then it is built and never shown.

#include "dialogs/dialog_window.h"

class MainMode;

class BuyHeartWindow : public DialogWindow {
public:
    // Built hidden, for the mode whose hearts it sells.
    explicit BuyHeartWindow(MainMode* mode);

    MainMode* mode;  // not owned
};
