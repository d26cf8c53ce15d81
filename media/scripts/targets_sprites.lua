-- The icons of the level goals.
-- Written by tools/sprite_art; its XML twin is targets_sprites.xml.

s_walls_ui_p_psd = {
    Image0 = "rules_png",
    Package0 = "default",
    SrcRect0 = { 0, 352, 64, 416 },
}

s_tiles_ui_p_psd = {
    Image0 = "rules_png",
    Package0 = "default",
    SrcRect0 = { 64, 352, 128, 416 },
}

s_falling_ui_p_psd = {
    Image0 = "rules_png",
    Package0 = "default",
    SrcRect0 = { 128, 352, 192, 416 },
}

s_strong_wall_ui_p_psd = {
    Image0 = "rules_png",
    Package0 = "default",
    SrcRect0 = { 192, 352, 256, 416 },
}

s_chip_up_ui_p_psd = {
    Image0 = "rules_png",
    Package0 = "default",
    SrcRect0 = { 256, 352, 320, 416 },
}

