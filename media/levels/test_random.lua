-- Test level "test_random": a random start on a 9 x 9 board with holes in the
-- top corners, tiles along the bottom, a row of walls, two chained chips and
-- a falling goal to bring down.
local width, height = 9, 9

GameField = {
    -- Read by the mode: 25 moves; the goals are the tiles (2) and the
    -- falling target chips (3), two more of which come after the one placed.
    LevelLimit = 25,
    LevelLimitType = 0,
    LevelGoals = { 2, 3 },
    TargetChips = 2,
    TargetsInField = 1,
    stars = { 1500, 4000, 8000 },

    AvailableChips = { "Simple_R", "Simple_G", "Simple_B", "Simple_Y", "Simple_M" },

    Grid = { Cells = {} },
    Chips = {},
}

local cells = GameField.Grid.Cells
local chips = GameField.Chips

-- Holes in the two top corners.
local holes = { [0] = true, [width - 1] = true }
for column in pairs(holes) do
    table.insert(cells, { PosX = column, PosY = 1, Solidity = 0 })
end

-- Tiles: the two bottom rows need one hit, two cells above them two hits.
for column = 2, 6 do
    table.insert(cells, { PosX = column, PosY = height, Solidity = 2 })
    table.insert(cells, { PosX = column, PosY = height - 1, Solidity = 2 })
end
table.insert(cells, { PosX = 3, PosY = height - 2, Solidity = 3 })
table.insert(cells, { PosX = 5, PosY = height - 2, Solidity = 3 })

-- Fixed chips: walls of one and two strengths and a red colour wall across
-- row 5, two chained chips and the falling goal above the middle column.
local fixed = {
    { Type = "Wall", PosX = 1, PosY = 5 },
    { Type = "DWall", PosX = 2, PosY = 5 },
    { Type = "CWall_R", PosX = 6, PosY = 5 },
    { Type = "Wall", PosX = 7, PosY = 5 },
    { Type = "Chain_B", PosX = 3, PosY = 3 },
    { Type = "Chain_G", PosX = 5, PosY = 3 },
    { Type = "FallingLevelGoal", PosX = 4, PosY = 1 },
}
local taken = {}
for _, chip in ipairs(fixed) do
    table.insert(chips, chip)
    taken[chip.PosY * width + chip.PosX] = true
end

-- Every other cell starts with a random chip.
for row = 1, height do
    for column = 0, width - 1 do
        local hole = row == 1 and holes[column]
        if not hole and not taken[row * width + column] then
            table.insert(chips, { Type = "Random", PosX = column, PosY = row })
        end
    end
end
