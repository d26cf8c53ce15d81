-- The wood and brass strips along the screen's left and top edges.
-- Written by tools/sprite_art; its XML twin is screen_borders_sprites.xml.

screen_leftborder = {
    Image0 = "screen_borders_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 24, 256 },
}

screen_topborder = {
    Image0 = "screen_borders_png",
    Package0 = "default",
    SrcRect0 = { 0, 264, 256, 288 },
}

