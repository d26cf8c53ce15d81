-- The distortion maps of blasts and torches.
-- Written by tools/sprite_art; its XML twin is normalmaps_sprites.xml.

explosion_normalmap = {
    Image0 = "board_fx_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 128, 128 },
}

fire_normalmap = {
    Image0 = "board_fx_png",
    Package0 = "default",
    SrcRect0 = { 128, 0, 256, 128 },
}

