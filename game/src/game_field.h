#pragma once
// The board: a grid of cells, each holding at most one chip. Columns run
// 0 .. gridWidth - 1 left to right, rows 0 .. gridHeight top to bottom; row
// 0 is the spawn row above the play area. A chip resting in cell (c, r) sits
// at (c + 0.5, r + 0.5) in cell units.
//
// This holds the grid and the values the chips, their layers and selectors
// read; level loading, the frame update and the click and destroy
// operations build on it.

#include <cstdint>
#include <vector>

class Chip;
class TaskManager;

struct FieldCell {
    Chip* chip = nullptr;  // not owned
    bool reserved = false;
    uint8_t column = 0;
    uint8_t row = 0;
    // 0 a hole, 1 a plain cell, n > 1 a tile with n - 1 layers to break.
    int solidity = 1;
};

class GameField {
public:
    GameField() = default;
    GameField(const GameField&) = delete;
    GameField& operator=(const GameField&) = delete;

    // Replaces the cells with gridHeight + 1 rows of gridWidth default cells.
    void buildGrid();
    // The cell at (column, row), or null outside the grid.
    FieldCell* cellAt(int column, int row);

    std::vector<std::vector<FieldCell>> rows;
    int gridWidth = 0;
    int gridHeight = 0;
    int cellSize = 0;
    TaskManager* taskManager = nullptr;
    float chipHotspotAnimationSpeed = 1.0f;
    float hotspotTime = 0.0f;
    float chipHotspotDelayCoeff = 1.0f;
};
