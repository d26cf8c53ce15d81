-- Test level "test_specials": a fixed layout. Every kind of special chip
-- stands where one swap of two plain chips puts it into a line (the colour
-- destroyer can be swapped with any neighbour, and stands beside a bomb and a
-- wave); a wall and a chained chip stand beside the small bomb. No line is
-- ready at the start.
--
-- One letter is the plain chip of that colour; longer names are prototypes.
local layout = {
    "Y B M Y Y G Y R R",
    "M M R Y R M R Y B",
    "Wall SimpleBomb_R Chain_Y B G Bomb_G M G G",
    "G R Y SuperWaveDSide_B Y B G B SuperWaveVer_G",
    "M G B G M G Y Y M",
    "R WaveHor_B G M M WaveVer_Y G DestroyColor Bomb_G",
    "Y B R Y R G Y WaveHor_Y G",
    "M G Y M M R Y Star_R R",
    "Y M SuperBomb_M G M Y B R B",
}

GameField = {
    -- Read by the mode: 20 moves, won by score.
    LevelLimit = 20,
    LevelLimitType = 0,
    stars = { 2000, 5000, 9000 },

    AvailableChips = { "Simple_R", "Simple_G", "Simple_B", "Simple_Y", "Simple_M" },
    Grid = { Cells = {} },
    Chips = {},
}

for row, line in ipairs(layout) do
    local column = 0
    for name in string.gmatch(line, "%S+") do
        if #name == 1 then
            name = "Simple_" .. name
        end
        table.insert(GameField.Chips, { Type = name, PosX = column, PosY = row })
        column = column + 1
    end
end
