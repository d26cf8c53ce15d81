-- Level 1: a fixed layout of five colours, won by score. Six swaps are
-- ready, each making one line of three; played top rows first, each leaves
-- the next in place (a line only moves the chips above it), and the first
-- four of them, as many as the move limit allows, pass the first star score
-- (the goal):
--   swap 2 2 3 2    red
--   swap 6 3 7 3    blue
--   swap 3 5 4 5    yellow
--   swap 7 7 8 7    green
--   swap 2 8 3 8    magenta
--   swap 5 9 6 9    red
local layout = {
    "B R G B G G R M R",
    "R R G R B B G R Y",
    "M G Y R B B Y B Y",
    "Y Y M B R M G G R",
    "G Y Y M Y G B G Y",
    "M G G Y G R M B Y",
    "Y R G B Y G G R G",
    "M M B M R R G M B",
    "B G B R R Y R R B",
}

GameField = {
    LevelLimit = 4,
    LevelLimitType = 0,
    stars = { 240, 1350, 1600 },

    AvailableChips = { "Simple_R", "Simple_G", "Simple_B", "Simple_Y", "Simple_M" },
    Grid = { Cells = {} },
    Chips = {},
}

for row, line in ipairs(layout) do
    local column = 0
    for letter in string.gmatch(line, "%S+") do
        table.insert(GameField.Chips, { Type = "Simple_" .. letter, PosX = column, PosY = row })
        column = column + 1
    end
end
