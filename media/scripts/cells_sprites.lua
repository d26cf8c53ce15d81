-- The board's cells and tiles.
-- Written by tools/sprite_art; its XML twin is cells_sprites.xml.

cell_a = {
    Image0 = "cells_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 80, 80 },
}

cell_b = {
    Image0 = "cells_png",
    Package0 = "default",
    SrcRect0 = { 80, 0, 160, 80 },
}

tile1_a = {
    Image0 = "cells_png",
    Package0 = "default",
    SrcRect0 = { 160, 0, 240, 80 },
}

tile1_b = {
    Image0 = "cells_png",
    Package0 = "default",
    SrcRect0 = { 240, 0, 320, 80 },
}

tile2_a = {
    Image0 = "cells_png",
    Package0 = "default",
    SrcRect0 = { 320, 0, 400, 80 },
}

tile2_b = {
    Image0 = "cells_png",
    Package0 = "default",
    SrcRect0 = { 400, 0, 480, 80 },
}

tile3_a = {
    Image0 = "cells_png",
    Package0 = "default",
    SrcRect0 = { 0, 80, 80, 160 },
}

tile3_b = {
    Image0 = "cells_png",
    Package0 = "default",
    SrcRect0 = { 80, 80, 160, 160 },
}

