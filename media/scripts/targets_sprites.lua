-- The icons of the level goals.
-- Written by tools/sprite_art; its XML twin is targets_sprites.xml.

s_walls_ui_p_psd = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 80, 480, 160, 560 },
}

s_tiles_ui_p_psd = {
    Image0 = "rules_png",
    Package0 = "default",
    SrcRect0 = { 64, 352, 128, 416 },
}

s_falling_ui_p_psd = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 320, 480, 400, 560 },
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

s_Layer_3_panel_valuta_psd = {
    Image0 = "shop_png",
    Package0 = "default",
    SrcRect0 = { 0, 88, 80, 168 },
}

s_Layer_4_panel_valuta_psd = {
    Image0 = "shop_png",
    Package0 = "default",
    SrcRect0 = { 88, 88, 168, 168 },
}

s_Layer_5_panel_valuta_psd = {
    Image0 = "shop_png",
    Package0 = "default",
    SrcRect0 = { 176, 88, 256, 168 },
}

