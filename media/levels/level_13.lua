-- Level 13: six colours; the lantern to bring down past chained chips,
-- and the tiles of the floor to clear on the way.
--
-- The map: "." a chip drawn at random, "#" a hole, a letter the chip its
-- kind names; the tiles give each cell's layers to break (0 none).
local map = {
    ".........",
    ".........",
    "..r...b..",
    "....f....",
    ".g.....o.",
    ".........",
    "..y...m..",
    ".........",
    ".........",
}
local tiles = {
    "000000000",
    "000000000",
    "000000000",
    "000000000",
    "000000000",
    "000000000",
    "000111000",
    "000000000",
    "000000000",
}
local kinds = {
    f = "FallingLevelGoal", r = "Chain_R", b = "Chain_B", g = "Chain_G", o = "Chain_O", y = "Chain_Y",
    m = "Chain_M",
}

GameField = {
    LevelLimit = 14,
    LevelLimitType = 0,
    LevelGoals = { 3, 2 },
    TargetChips = 0,
    TargetsInField = 1,
    stars = { 2950, 4000, 6000 },

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
