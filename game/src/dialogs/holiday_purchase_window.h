#pragma once
// The time-limited offer of the map's top panel ("holiday_purchase_window_ui").
// Its offer comes with the store's offers; until then it is built and never
// shown.

#include "dialogs/dialog_window.h"

class HolidayPurchaseWindow : public DialogWindow {
public:
    // Built hidden.
    HolidayPurchaseWindow();
};
