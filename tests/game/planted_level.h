#pragma once
// Boards planted for the bonus rules' tests.

#include <string>
#include <vector>

namespace {

// A 9 x 9 board of plain chips in which no two neighbours share a colour
// (none of them red), with the chips of `plants` ("C R NAME" each, a letter
// standing for the plain chip of that colour) put over it;
// `fields`: more keys of the level's table (goals, ...).
inline std::string plantedLevel(const std::vector<std::string>& plants, const std::string& fields = std::string())
{
    std::string list;
    for (const std::string& plant : plants)
        list += "\"" + plant + "\", ";
    return R"lua(
local colours = { "G", "B", "Y", "M", "O" }
local planted = {}
for _, plant in ipairs({ )lua" + list + R"lua( }) do
    local column, row, name = string.match(plant, "(%d+) (%d+) (%S+)")
    planted[column .. "," .. row] = name
end
GameField = {
    LevelLimit = 30, LevelLimitType = 0, stars = { 100000, 200000, 300000 },
)lua" + fields + R"lua(
    AvailableChips = { "Simple_G", "Simple_B", "Simple_Y", "Simple_M", "Simple_O" },
    Grid = { Cells = {} },
    Chips = {},
}
for row = 1, 9 do
    for column = 0, 8 do
        local name = planted[column .. "," .. row] or colours[(column + 2 * row) % 5 + 1]
        if #name == 1 then
            name = "Simple_" .. name
        end
        table.insert(GameField.Chips, { Type = name, PosX = column, PosY = row })
    end
end
)lua";
}

}  // namespace
