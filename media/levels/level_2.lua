-- Level 2: a random start of five colours on the full board, won by score.
-- A red bomb waits beside a broken red line in column 5: swapping it with
-- the green gem at (5, 5) completes the line and sets it off. The gems
-- about the bomb are fixed so that the swap makes no other line.
--
-- The map: "." a chip drawn at random, "#" a hole, a letter the chip its
-- kind names.
local map = {
    ".........",
    ".........",
    ".........",
    "....YR...",
    "...MbG...",
    "....BR...",
    ".........",
    ".........",
    ".........",
}
local tiles = nil
local kinds = {
    R = "Simple_R", G = "Simple_G", B = "Simple_B", Y = "Simple_Y", M = "Simple_M",
    b = "Bomb_R",
}

GameField = {
    LevelLimit = 6,
    LevelLimitType = 0,
    stars = { 1400, 3050, 3800 },

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
