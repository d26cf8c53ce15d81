-- Level 4: a band of ten tiles across the middle, one layer each, to clear.
--
-- The map: "." a chip drawn at random, "#" a hole, a letter the chip its
-- kind names; the tiles give each cell's layers to break (0 none).
local map = {
    ".........",
    ".........",
    ".........",
    ".........",
    ".........",
    ".........",
    ".........",
    ".........",
    ".........",
}
local tiles = {
    "000000000",
    "000000000",
    "000000000",
    "000000000",
    "001111100",
    "001111100",
    "000000000",
    "000000000",
    "000000000",
}
local kinds = {}

GameField = {
    LevelLimit = 11,
    LevelLimitType = 0,
    LevelGoals = { 2 },
    stars = { 5300, 7300, 8850 },

    AvailableChips = { "Simple_R", "Simple_G", "Simple_B", "Simple_Y", "Simple_M" },
    Grid = { Cells = {} },
    Chips = {},
}

for row, line in ipairs(map) do
    for column = 0, #line - 1 do
        local mark = line:sub(column + 1, column + 1)
        local layers = tiles and tonumber(tiles[row]:sub(column + 1, column + 1)) or 0
        if mark == "#" then
            table.insert(GameField.Grid.Cells, { PosX = column, PosY = row, Solidity = 0 })
        else
            if layers > 0 then
                table.insert(GameField.Grid.Cells, { PosX = column, PosY = row, Solidity = layers + 1 })
            end
            table.insert(GameField.Chips, { Type = kinds[mark] or "Random", PosX = column, PosY = row })
        end
    end
end
