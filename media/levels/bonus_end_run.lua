-- The end-of-level run: a small board (5 columns, 6 rows) with 40 moves and
-- a score goal met in a few swaps; the moves left are paid out as bonus
-- chips that go off one by one.
local layout = {
    "G B Y M O",
    "Y M O G B",
    "O G B Y M",
    "B Y M O G",
    "M O G B Y",
    "G B Y M O",
}

GameField = {
    -- Read by the mode: 40 moves, won by score.
    LevelLimit = 40,
    LevelLimitType = 0,
    stars = { 150, 1500, 3000 },

    AvailableChips = { "Simple_G", "Simple_B", "Simple_Y", "Simple_M", "Simple_O" },
    Grid = { Cells = {} },
    Chips = {},
}

for row, line in ipairs(layout) do
    local column = 0
    for name in string.gmatch(line, "%S+") do
        table.insert(GameField.Chips, { Type = "Simple_" .. name, PosX = column, PosY = row })
        column = column + 1
    end
end
