#pragma once
// The offer of extra moves or extra seconds that a level's limit opens from
// its buy button, in the middle of the screen, for gold. The owner sets the
// price and adds the moves or seconds when `result` is BOUGHT.

#include "dialogs/offer_window.h"

class BuyMovesTimeWindow : public OfferWindow {
public:
    BuyMovesTimeWindow();

    // Both pay in gold.
    void setupForMoves();
    void setupForTime();
    // The bubble in the middle of the scene.
    void refreshScene() override;
    // At once or queued; an offer without a bubble closes at once.
    void show(bool queued) override;

    // Buttons.
    void buy();
    void close();

    // Set by the last setup.
    bool forTime = false;
};
