#include "game_field.h"

#include <cstddef>

void GameField::buildGrid()
{
    rows.clear();
    for (int row = 0; row <= gridHeight; ++row) {
        std::vector<FieldCell> cells(static_cast<std::size_t>(gridWidth));
        for (int column = 0; column < gridWidth; ++column) {
            cells[column].column = static_cast<uint8_t>(column);
            cells[column].row = static_cast<uint8_t>(row);
        }
        rows.push_back(std::move(cells));
    }
}

FieldCell* GameField::cellAt(int column, int row)
{
    if (column < 0 || row < 0 || row >= static_cast<int>(rows.size()) ||
        column >= static_cast<int>(rows[row].size()))
        return nullptr;
    return &rows[row][column];
}
