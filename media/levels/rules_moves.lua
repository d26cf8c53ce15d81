-- Rules: 15 moves, won by score.
-- One letter is the plain chip of that colour, "#" a hole; longer names are
-- prototypes. No line is ready at the start and a swap makes one.
local layout = {
    "R G R Y Y M R B G",
    "R B M G Y G B M B",
    "G B B Y B G Y R Y",
    "B G Y G R Y R G M",
    "B M M R M G M B G",
    "M B G B R G Y Y B",
    "Y B G B G M Y R M",
    "Y M R R M Y R M G",
    "M G B G R Y B G M",
}

GameField = {
    -- Read by the mode: 15 moves, won by score.
    LevelLimit = 15,
    LevelLimitType = 0,
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
