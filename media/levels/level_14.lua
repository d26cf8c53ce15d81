-- Level 14: six colours; two stone pillars of holes, double walls and tiles
-- of two layers between them.
--
-- The map: "." a chip drawn at random, "#" a hole, a letter the chip its
-- kind names; the tiles give each cell's layers to break (0 none).
local map = {
    ".........",
    ".........",
    "..#...#..",
    "..#...#..",
    "d.#...#.d",
    "..#...#..",
    ".........",
    "...d.d...",
    ".........",
}
local tiles = {
    "000000000",
    "000000000",
    "000000000",
    "000000000",
    "000222000",
    "000000000",
    "000000000",
    "000000000",
    "000000000",
}
local kinds = { d = "DWall" }

GameField = {
    LevelLimit = 10,
    LevelLimitType = 0,
    LevelGoals = { 2 },
    stars = { 2950, 3750, 5300 },

    AvailableChips = { "Simple_R", "Simple_G", "Simple_B", "Simple_Y", "Simple_M", "Simple_O" },
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
