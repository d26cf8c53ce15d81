-- Small pieces of the game's screens: the game's own mouse cursor.
-- Written by tools/sprite_art; its XML twin is other_sprites.xml.

s_cursor = {
    Image0 = "other_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 40, 44 },
    rotCenter = { 2, 2 },
}

