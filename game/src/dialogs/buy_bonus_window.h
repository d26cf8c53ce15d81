#pragma once
// The bonus shop the bonus panel opens at a button when the bonus's stock
// is gone (or as the tutorial's free offer). The shop windows are not part
// of the game yet: this one keeps what it was opened for and never shows;
// its listeners hear at once that it closed with nothing bought, so that
// whoever held the level for it lets go again.

#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/dialog_window.h"

class BuyBonusWindow : public DialogWindow {
public:
    // Result of a purchase.
    static constexpr int32_t BOUGHT = 1;

    // Where it opens, in workspace units.
    void setPosition(float x, float y) { position[0] = x, position[1] = y; }
    // Nothing shows: closed at once, nothing bought.
    void open(int bonusKind, bool free)
    {
        kind = bonusKind;
        freeOffer = free;
        result = 0;
        for (DialogWindowListener* listener : std::vector<DialogWindowListener*>(listeners))
            listener->onHidden(this);
    }

    std::string name;
    int32_t kind = 0;
    bool freeOffer = false;
    float position[2] = {0.0f, 0.0f};
};
