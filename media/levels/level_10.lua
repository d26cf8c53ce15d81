-- Level 10: six colours; colour walls and chained chips in the way, won by
-- score.
--
-- The map: "." a chip drawn at random, "#" a hole, a letter the chip its
-- kind names.
local map = {
    ".........",
    ".........",
    "..r...b..",
    ".........",
    "m..g.o..y",
    ".........",
    "..y...g..",
    ".........",
    ".........",
}
local tiles = nil
local kinds = { r = "CWall_R", b = "CWall_B", m = "Chain_M", g = "Chain_G", o = "Chain_O", y = "CWall_Y" }

GameField = {
    LevelLimit = 12,
    LevelLimitType = 0,
    stars = { 1600, 3050, 3500 },

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
