-- Goal: break the six walls (one of them twice) within 7 moves.
-- One letter is the plain chip of that colour, "#" a hole; longer names are
-- prototypes. No line is ready at the start and a swap makes one.
local layout = {
    "Y M B G R B B R M",
    "Y G Y M B B Y B B",
    "B G B Y B R B B R",
    "B R M G M Y R G M",
    "G G M G R B G M B",
    "M Wall B Wall Y DWall M Wall R",
    "G G R Y G G Y Y M",
    "G M Wall R R G Wall R M",
    "R B B M M B Y M R",
}

GameField = {
    -- Read by the mode: 30 moves; the goal is the walls (1).
    LevelLimit = 7,
    LevelLimitType = 0,
    LevelGoals = { 1, 0 },
    stars = { 600, 1850, 3050 },

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
