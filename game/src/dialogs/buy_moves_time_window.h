#pragma once
// The offer of extra moves or extra seconds that a level's limit opens from
// its buy button. The shop windows are not part of the game yet: this one
// takes its price and its kind and never shows, so nothing is ever bought.

#include <cstdint>

#include "dialogs/dialog_window.h"

class BuyMovesTimeWindow : public DialogWindow, public DialogWindowListener {
public:
    // Result of a purchase.
    static constexpr int32_t BOUGHT = 1;

    // Both pay in gold.
    void setupForMoves() { priceCurrency = 2; forTime = false; }
    void setupForTime() { priceCurrency = 2; forTime = true; }
    void refreshScene() override {}
    // Nothing shows.
    void show(bool queued) { (void)queued; }

    int32_t price = 0;
    int32_t priceCurrency = 2;  // 1 silver, 2 gold
    bool forTime = false;
};
