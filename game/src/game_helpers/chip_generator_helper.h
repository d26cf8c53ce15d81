#pragma once
// The level's chip generators: every "limit" counted moves each one turns a
// plain chip within its "radius" into a stuff chip. A stuff chip goes with
// any chip destroyed next to it, and a move that hit a stuff chip or a
// generator is not counted.

#include <vector>

#include "game_helpers/game_helper.h"

class Chip;
struct FieldCell;

class ChipGeneratorHelper : public GameHelper {
public:
    void collectGenerators();
    void reset() override;
    void update(float dt) override;
    // True when the chip was a stuff chip and went with its neighbour.
    bool onNeighbourDestroyed(Chip* chip);
    // Turns one plain chip near the generator into a stuff chip.
    void generate(Chip* generator);
    // The cells a generator may turn, each as often as the squares around
    // the generator that hold it, so that nearer chips are likelier.
    static std::vector<FieldCell*> candidateCells(Chip* generator);

    std::vector<Chip*> generators;  // chip manager order
    bool hitThisTurn = false;
    bool stepPending = false;
};
