-- Ice: a source with a frozen chip beside it; the cold carries 2 cells; 8 moves, won by score.
-- One letter is the plain chip of that colour, "#" a hole; longer names are
-- prototypes, or the special chips below with their data. No line is ready
-- at the start and a swap makes one.
local layout = {
    "R G R Y Y M R B G",
    "R B M G Y G B M B",
    "G B B Y B G Y R Y",
    "B G Y G Ice IceChip3_R R G M",
    "B M M R M G M B G",
    "M B G B R G Y Y B",
    "Y B G B G M Y R M",
    "Y M R R M Y R M G",
    "M G B G R Y B G M",
}

local special = {}

GameField = {
    LevelLimit = 8,
    LevelLimitType = 0,
    radius = 2,
    stars = { 2300, 3300, 4000 },

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
            local chip = { Type = name, PosX = column, PosY = row }
            if #name == 1 then
                chip.Type = "Simple_" .. name
            elseif special[name] then
                chip.Type = special[name].Type
                chip.data = special[name].data
            end
            table.insert(GameField.Chips, chip)
        end
        column = column + 1
    end
end
