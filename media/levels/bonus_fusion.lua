-- Bonus chips: the runs and pairs that fuse, planted on a board of plain
-- chips in which no two neighbours share a colour (none of them red).
--   a run of four by a horizontal swap: swap 1 3 2 3 (a horizontal wave)
--   a run of four by a fall: swap 5 4 5 5 (the yellows of column 5 go and
--     the red above them lands in row 4: a vertical wave)
--   a run of five: swap 3 6 3 7 (a colour destroyer)
--   an L: swap 8 1 8 2 (a bomb)
--   a chained chip inside a run: swap 6 7 7 7 (the chain goes first)
--   a bomb beside a wave chip: swap 4 9 5 9 (a super chip)
--   two wave chips side by side: swap 0 9 1 9
local colours = { "G", "B", "Y", "M", "O" }
local planted = {
    ["1,1"] = "R", ["1,2"] = "R", ["2,3"] = "R", ["1,4"] = "R",
    ["1,6"] = "R", ["2,6"] = "R", ["4,6"] = "R", ["5,6"] = "R", ["3,7"] = "R",
    ["5,1"] = "R", ["5,2"] = "Y", ["5,3"] = "Y", ["5,5"] = "Y", ["3,4"] = "R", ["4,4"] = "R", ["6,4"] = "R",
    ["6,2"] = "R", ["7,2"] = "R", ["8,1"] = "R", ["8,3"] = "R", ["8,4"] = "R",
    ["7,5"] = "Chain_R", ["7,6"] = "R", ["6,7"] = "R",
    ["4,9"] = "Bomb_R", ["5,9"] = "WaveHor_R",
    ["0,9"] = "WaveHor_R", ["1,9"] = "WaveVer_R",
}

GameField = {
    -- Read by the mode: 30 moves, won by score.
    LevelLimit = 9,
    LevelLimitType = 0,
    stars = { 3500, 4500, 5050 },

    AvailableChips = { "Simple_G", "Simple_B", "Simple_Y", "Simple_M", "Simple_O" },
    Grid = { Cells = {} },
    Chips = {},
}

for row = 1, 9 do
    for column = 0, 8 do
        local name = planted[column .. "," .. row] or colours[(column + 2 * row) % 5 + 1]
        if #name == 1 then
            name = "Simple_" .. name
        end
        table.insert(GameField.Chips, { Type = name, PosX = column, PosY = row })
    end
end
