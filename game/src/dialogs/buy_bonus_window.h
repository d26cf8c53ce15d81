#pragma once
// The bonus shop: a bubble beside the bonus button of the level's panel
// that sells one more of that bonus for silver, or hands one out free for
// the tutorial (then it cannot be closed). Short of silver, the currency
// shop opens over it.

#include <cstdint>
#include <string>

#include "dialogs/offer_window.h"

class BuyBonusWindow : public OfferWindow {
public:
    // The price of each bonus kind, in silver.
    static int priceOf(int bonusKind);

    BuyBonusWindow();

    // Where the bubble points, in workspace units.
    void setPosition(float x, float y)
    {
        position[0] = x, position[1] = y;
        placeRoot(x, y);
    }
    // Opens queued for bonus `bonusKind` beside the button whose layout
    // prefix is `name` ("bonus<slot>"); `result` := 0.
    void open(int bonusKind, bool free);
    void open(int bonusKind, const std::string& layoutPrefix, bool free)
    {
        name = layoutPrefix;
        open(bonusKind, free);
    }
    // The prefix's marker for the orientation: 'h' landscape, 'v' portrait.
    void refreshScene() override;

    // Buttons.
    void buy();
    void close();

    // The layout marker prefix.
    std::string name;
    int32_t kind = 0;
    bool freeOffer = false;
    float position[2] = {0.0f, 0.0f};
};
