#pragma once
// Hand-built chips and boards for the board model tests.

#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include "behavior.h"
#include "chip.h"
#include "chip_selector.h"
#include "game_field.h"

namespace BoardFixture {

inline Behavior* makeLayer(int type, bool canFall = true, bool canIterate = true)
{
    auto* layer = new Behavior();
    layer->type = type;
    layer->CanFalling = canFall;
    layer->CanIterateWithGroup = canIterate;
    return layer;
}

// A board drawn as text, row 0 first: a letter is a resting chip of that
// colour ('R' 0 .. 'O' 5), '.' an empty cell; a lower-case letter is the
// same colour falling; '*' a chip of colour 0 whose selector never starts a
// line.
class Board {
public:
    explicit Board(const std::vector<std::string>& picture)
    {
        field.gridHeight = static_cast<int>(picture.size()) - 1;
        field.gridWidth = static_cast<int>(picture[0].size());
        field.buildGrid();
        for (int row = 0; row <= field.gridHeight; ++row)
            for (int column = 0; column < field.gridWidth; ++column)
                place(picture[row][column], column, row);
    }

    Chip* at(int column, int row) { return field.cellAt(column, row)->chip; }

    GameField field;
    std::vector<std::unique_ptr<Chip>> chips;

private:
    void place(char symbol, int column, int row)
    {
        static const std::string colours = "RGBMYO";
        if (symbol == '.')
            return;
        auto chip = std::make_unique<Chip>();
        const char upper = static_cast<char>(symbol == '*' ? 'R' : std::toupper(symbol));
        chip->colour = static_cast<int>(colours.find(upper));
        chip->layers.add(makeLayer(BEHAVIOR_SIMPLE));
        chip->x = column + 0.5f;
        chip->y = row + 0.5f;
        chip->falling = std::islower(static_cast<unsigned char>(symbol)) ? 1 : 0;
        chip->selector = createChipSelector(symbol == '*' ? "AllChipsSameGroupSelector" : "NearestChipSameGroupSelector");
        field.cellAt(column, row)->chip = chip.get();
        chips.push_back(std::move(chip));
    }
};

}  // namespace BoardFixture
