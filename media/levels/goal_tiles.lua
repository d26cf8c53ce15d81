-- Goal: break the tiles (two to four layers each) within 35 moves; holes in the corners.
-- One letter is the plain chip of that colour, "#" a hole; longer names are
-- prototypes. No line is ready at the start and a swap makes one.
local layout = {
    "G B B G Y R Y Y M",
    "# R M M B R G Y #",
    "B G R M M G G M G",
    "G B G R B M M G G",
    "B G M M R M B R Y",
    "Y R R B R G B M B",
    "G B B M M B Y R R",
    "R M G R B G G M M",
    "# M G G M R B Y #",
}

GameField = {
    -- Read by the mode: 35 moves; the goal is the tiles (2).
    LevelLimit = 35,
    LevelLimitType = 0,
    LevelGoals = { 2, 0 },
    stars = { 3000, 6000, 10000 },

    AvailableChips = { "Simple_R", "Simple_G", "Simple_B", "Simple_Y", "Simple_M" },
    Grid = { Cells = {} },
    Chips = {},
}

for row, line in ipairs(layout) do
    local column = 0
    for name in string.gmatch(line, "%S+") do
        if name == "#" then
            table.insert(GameField.Grid.Cells, { PosX = column, PosY = row, Solidity = 0 })
        else
            if #name == 1 then
                name = "Simple_" .. name
            end
            table.insert(GameField.Chips, { Type = name, PosX = column, PosY = row })
        end
        column = column + 1
    end
end

-- Tiles of two to four layers in the middle rows: solidity 2 to 4.
local strengths = {
    "2 3 4 3 2",
    "3 4 2 4 3",
}
for i, line in ipairs(strengths) do
    local column = 2
    for value in string.gmatch(line, "%S+") do
        table.insert(GameField.Grid.Cells, { PosX = column, PosY = 5 + i, Solidity = tonumber(value) })
        column = column + 1
    end
end
