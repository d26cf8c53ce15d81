-- Goal: bring four lanterns down, one placed and three to come, at most two on the board at once.
-- One letter is the plain chip of that colour, "#" a hole; longer names are
-- prototypes. No line is ready at the start and a swap makes one.
local layout = {
    "R R M Y G Y Y M M",
    "Y M R M FallingLevelGoal G G B Y",
    "R Y G Y B B M B B",
    "G B M R Y B B R G",
    "M B M G Y M R Y G",
    "R R G B G R R G R",
    "Y Y G R Y G Y G R",
    "M G B Y G R B R M",
    "G B B R R Y B G Y",
}

GameField = {
    -- Read by the mode: 40 moves; the goal is the falling target chips (3):
    -- the one placed and three more, two on the board at a time.
    LevelLimit = 40,
    LevelLimitType = 0,
    LevelGoals = { 3, 0 },
    TargetChips = 3,
    TargetsInField = 2,
    stars = { 2000, 4000, 7000 },

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
