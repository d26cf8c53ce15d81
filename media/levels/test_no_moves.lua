-- Test level "test_no_moves": a small board of 4 x 4 cells in the middle of
-- the grid, every other cell a hole, laid out so that no swap makes a line:
-- the board has to be reshuffled before it can be played.
local layout = {
    "Y G G Y",
    "B R Y B",
    "B G R G",
    "R Y Y G",
}
local left, top = 2, 3
local width, height = 9, 9

GameField = {
    -- Read by the mode: 10 moves, won by score.
    LevelLimit = 10,
    LevelLimitType = 0,
    stars = { 500, 1000, 2000 },

    AvailableChips = { "Simple_R", "Simple_G", "Simple_B", "Simple_Y" },
    Grid = { Cells = {} },
    Chips = {},
}

for row = 1, height do
    for column = 0, width - 1 do
        local inside = column >= left and column < left + 4 and row >= top and row < top + 4
        if not inside then
            table.insert(GameField.Grid.Cells, { PosX = column, PosY = row, Solidity = 0 })
        end
    end
end

for i, line in ipairs(layout) do
    local column = left
    for letter in string.gmatch(line, "%S+") do
        table.insert(GameField.Chips, { Type = "Simple_" .. letter, PosX = column, PosY = top + i - 1 })
        column = column + 1
    end
end
