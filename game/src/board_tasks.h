#pragma once
// Further timed steps of the board: holding it for an action, showing a wave
// in a cell, destroying the chip that rests in a cell, and the blast's way
// of queueing a chip's destruction.

#include <memory>

#include "task.h"

class Chip;
class GameField;
struct FieldCell;

// Shared by a lock task and the action that holds it, so that neither
// outlives the other's knowledge of it: the task reads it, the action sets
// it (also when the action goes away with its layer).
struct LockState {
    bool unlocked = false;
};

// Keeps the board's task count above 0 (no click, no match pass) until
// unlocked.
class LockTask : public Task {
public:
    explicit LockTask(std::shared_ptr<LockState> lockState) : state(std::move(lockState)) {}
    bool run(float) override { return state->unlocked; }

    std::shared_ptr<LockState> state;
};

// Shows one of the board's wave effects in a cell.
class SpawnEffectTask : public Task {
public:
    SpawnEffectTask(FieldCell* cell, int effectIndex, GameField* field);
    bool run(float dt) override;

    FieldCell* cell;
    int effectIndex;
    GameField* field;
};

// Destroys the chip that rests in (column, row) when due; a chip that fell
// away meanwhile is left alone.
class DestroyChipInCellTask : public Task {
public:
    DestroyChipInCellTask(GameField* field, int column, int row);
    bool run(float dt) override;

    GameField* field;
    int column;
    int row;
};

// Queues the destruction of a cell's chip by a blast from `destroyer`; a cell
// without a live chip gets a tile hit instead. A lone bonus chip first shows
// its detonation for a further second.
void destroyChipInCell(GameField* field, FieldCell* cell, Chip* destroyer, float delay, float specialDelay);
