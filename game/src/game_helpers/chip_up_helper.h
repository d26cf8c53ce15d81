#pragma once
// Rising chips: after each kept move every rising chip climbs one row by
// trading places with the chip above it, over a second, while the board
// waits.

#include <map>

#include "game_helpers/game_helper.h"
#include "task.h"

class Chip;
struct FieldCell;

// Slides the chips of two cells one above the other into each other's
// place; both carry "swap_process" meanwhile.
class SwapChipsTask : public Task {
public:
    static constexpr float DURATION = 1.0f;

    SwapChipsTask(FieldCell* upperCell, FieldCell* lowerCell, float seconds = DURATION);
    bool run(float dt) override;

    FieldCell* upper;
    FieldCell* lower;
    float duration;
    float timeLeft;
};

class ChipUpHelper : public GameHelper {
public:
    void collectChips();
    void reset() override;
    void update(float dt) override;
    void raiseChips();
    // The chip has left the board.
    void forget(Chip* chip) { chips.erase(chip); }

    // Each rising chip and its column.
    std::map<Chip*, int> chips;
    bool raisePending = false;
};
