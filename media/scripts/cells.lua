-- The board's cell art by solidity: group 1 the plain cells (two shades,
-- alternating into a checkerboard on a board of odd width), groups 2 to 4
-- the tiles of one, two and three layers. A cell's variant is (column +
-- row x board width) modulo the size of its group.
local function entry(name)
    return { file = "cells_sprites", table = name }
end

CellSprites = {
    { entry("cell_a"), entry("cell_b") },
    { entry("tile1_a"), entry("tile1_b") },
    { entry("tile2_a"), entry("tile2_b") },
    { entry("tile3_a"), entry("tile3_b") },
}
