-- Rules: no limit of moves or time; the goal is the five walls.
-- One letter is the plain chip of that colour, "#" a hole; longer names are
-- prototypes. No line is ready at the start and a swap makes one.
local layout = {
    "M Y G M R R Y M M",
    "B R M B M Y B B G",
    "G G R R B G G B G",
    "M Y Y R R Y B R M",
    "G B Wall B R G Wall Y Y",
    "Y Y G B G G M M G",
    "M Y M Y Wall B B Y M",
    "B R R G R Y Y B R",
    "R Wall R R Y B Y Wall G",
}

GameField = {
    -- Read by the mode: no limit; the goal is the walls (1).
    LevelGoals = { 1, 0 },
    stars = { 1000, 2500, 4000 },

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
