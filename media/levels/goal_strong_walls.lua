-- Goal: break the three iron walls; only the blasts of the bombs beside them do.
-- One letter is the plain chip of that colour, "#" a hole; longer names are
-- prototypes. No line is ready at the start and a swap makes one.
local layout = {
    "M R M Y Y G M B G",
    "G B M Y Y M G B M",
    "Y G Y B R B R M B",
    "G M R G B Y M R R",
    "Y B R B R R Y M G",
    "M G G R M Y M Y R",
    "Y G R B R M M R B",
    "R R M B R M Y B M",
    "G Bomb_B StrongWall SuperBomb_R StrongWall Bomb_G StrongWall Bomb_Y Y",
}

GameField = {
    -- Read by the mode: 25 moves; the goal is the strong walls (5).
    LevelLimit = 25,
    LevelLimitType = 0,
    LevelGoals = { 5, 0 },
    stars = { 1500, 3000, 5000 },

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
