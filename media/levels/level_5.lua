-- Level 5: a broken row of walls halfway down, to break; the chips fall past
-- them.
--
-- The map: "." a chip drawn at random, "#" a hole, a letter the chip its
-- kind names.
local map = {
    ".........",
    ".........",
    ".........",
    ".........",
    ".w.w.w.w.",
    ".........",
    ".........",
    ".........",
    ".........",
}
local tiles = nil
local kinds = { w = "Wall" }

GameField = {
    LevelLimit = 5,
    LevelLimitType = 0,
    LevelGoals = { 1 },
    stars = { 250, 600, 2150 },

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
