#pragma once
// The board's own timed steps that destroy chips and hit tiles.

#include "task.h"

class Chip;
class GameField;
struct FieldCell;

// Destroys the top layer of a chip when due. The chip carries the user data
// "lock" meanwhile, which keeps it from falling away from its line.
class DestroyChipTask : public Task {
public:
    DestroyChipTask(Chip* chip, GameField* field, bool notifyNeighbours);
    bool run(float dt) override;

    GameField* field;
    Chip* chip;
    bool notifyNeighbours;
};

// One hit on a tile whose chip is already gone.
class ReduceCellTask : public Task {
public:
    ReduceCellTask(GameField* field, FieldCell* cell);
    bool run(float dt) override;

    GameField* field;
    FieldCell* cell;
};
