-- The level's panels, score flask and stars, and the one-shot bonuses.
-- Written by tools/sprite_art; its XML twin is ui_sprites.xml.

LimitPanel = {
    Image0 = "rules_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 200, 120 },
}

GoalsPanel = {
    Image0 = "rules_png",
    Package0 = "default",
    SrcRect0 = { 0, 128, 300, 248 },
}

FlaskFrame = {
    Image0 = "rules_png",
    Package0 = "default",
    SrcRect0 = { 0, 256, 420, 300 },
}

FlaskFill = {
    Image0 = "rules_png",
    Package0 = "default",
    SrcRect0 = { 0, 304, 420, 348 },
}

Star = {
    Image0 = "rules_png",
    Package0 = "default",
    SrcRect0 = { 432, 256, 480, 304 },
}

StarSlot = {
    Image0 = "rules_png",
    Package0 = "default",
    SrcRect0 = { 432, 304, 480, 352 },
}

s_buster_gefest_busters_psd = {
    Image0 = "rules_png",
    Package0 = "default",
    SrcRect0 = { 0, 416, 64, 480 },
}

s_buster_zeus_busters_psd = {
    Image0 = "rules_png",
    Package0 = "default",
    SrcRect0 = { 64, 416, 128, 480 },
}

s_buster_artem_busters_psd = {
    Image0 = "rules_png",
    Package0 = "default",
    SrcRect0 = { 128, 416, 192, 480 },
}

s_buster_ares_busters_psd = {
    Image0 = "rules_png",
    Package0 = "default",
    SrcRect0 = { 192, 416, 256, 480 },
}

s_plus_15_time_icon_select_ui_p_psd = {
    Image0 = "shop_png",
    Package0 = "default",
    SrcRect0 = { 264, 88, 344, 168 },
}

