#pragma once
// The player's swap of two neighbouring chips: both slide to the other cell
// in 0.18 s; a swap that makes no line (and involves no colour destroyer)
// slides back over another 0.18 s.

#include "task.h"

class GameField;
struct FieldCell;

class FieldSwapChipsTask : public Task {
public:
    static constexpr float SWAP_TIME = 0.18f;

    // `a` holds the chip selected first, `b` the clicked neighbour.
    FieldSwapChipsTask(FieldCell* a, FieldCell* b, GameField* field);
    bool run(float dt) override;

    FieldCell* cellA;
    FieldCell* cellB;
    float duration = SWAP_TIME;
    float timeLeft = SWAP_TIME;
    bool returning = false;
    GameField* field;

private:
    void placeChips(float k);
    void settleSwappedChips();
    void decide();
};
