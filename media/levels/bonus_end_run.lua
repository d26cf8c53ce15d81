-- The end-of-level run: a small board of 5 columns and 6 rows in the middle
-- of the grid (every other cell a hole), won by score; the moves left when
-- the goal is met are paid out as bonus chips that go off one by one, so a
-- quicker win earns more.
local layout = {
    "B O B G Y",
    "G G O B O",
    "G B O G M",
    "O Y M M O",
    "M O B G Y",
    "M B O G B",
}
local left, top, columns = 2, 2, 5
local width, height = 9, 9

GameField = {
    -- Read by the mode: a move limit, won by score.
    LevelLimit = 11,
    LevelLimitType = 0,
    stars = { 1600, 1950, 2350 },

    AvailableChips = { "Simple_G", "Simple_B", "Simple_Y", "Simple_M", "Simple_O" },
    Grid = { Cells = {} },
    Chips = {},
}

for row = 1, height do
    for column = 0, width - 1 do
        local inside = column >= left and column < left + columns and row >= top and row < top + #layout
        if not inside then
            table.insert(GameField.Grid.Cells, { PosX = column, PosY = row, Solidity = 0 })
        end
    end
end

for i, line in ipairs(layout) do
    local column = left
    for name in string.gmatch(line, "%S+") do
        table.insert(GameField.Chips, { Type = "Simple_" .. name, PosX = column, PosY = top + i - 1 })
        column = column + 1
    end
end
