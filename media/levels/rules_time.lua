-- Rules: 30 seconds from the first move, won by score.
-- One letter is the plain chip of that colour, "#" a hole; longer names are
-- prototypes. No line is ready at the start and a swap makes one.
local layout = {
    "B B G B M G R B B",
    "G B B Y Y G R G Y",
    "M R G R R M M B Y",
    "G B B M G M G Y M",
    "R G Y G R G R G R",
    "Y Y B M Y R B G M",
    "R B M M Y Y G M R",
    "R R Y Y M M B Y R",
    "Y B G G M G R R M",
}

GameField = {
    -- Read by the mode: 30 seconds, counted from the first move.
    LevelTime = 30,
    LevelLimitType = 1,
    stars = { 800, 2000, 4000 },

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
