#pragma once
// The time-limited offer of the map's top panel
// ("holiday_purchase_window_ui"): the items of the store's running offer,
// its price and picture. Nothing in the game adds an offer, and buying one
// only closes the window: the store has no purchase for it.

#include "dialogs/dialog_window.h"

struct TimedOffer;

class HolidayPurchaseWindow : public DialogWindow {
public:
    // Built hidden.
    HolidayPurchaseWindow();

    // The store's first offer with time left; null when none runs.
    static TimedOffer* runningOffer();

    // Shows the running offer; without one nothing opens.
    void show(bool queued) override;

    // Buttons.
    void buy();
    void close() { hide(); }
};
