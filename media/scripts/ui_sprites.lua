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

LockIcon = {
    Image0 = "rules_png",
    Package0 = "default",
    SrcRect0 = { 320, 352, 384, 416 },
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

s_plus_5_icon_ui_p_psd = {
    Image0 = "limit_icons_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 64, 64 },
}

s_plus_5_time_icon_ui_p_psd = {
    Image0 = "limit_icons_png",
    Package0 = "default",
    SrcRect0 = { 64, 0, 128, 64 },
}

s_bonus_minus_tsvet_ui_p_psd = {
    Image0 = "boosters_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 80, 80 },
}

s_bonus_minus_tsvet_pass_window_bonus_aktiv_psd = {
    Image0 = "boosters_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 80, 80 },
}

s_bonus_plus_step_ui_p_psd = {
    Image0 = "boosters_png",
    Package0 = "default",
    SrcRect0 = { 80, 0, 160, 80 },
}

s_bonus_plus_step_pass_window_bonus_aktiv_psd = {
    Image0 = "boosters_png",
    Package0 = "default",
    SrcRect0 = { 80, 0, 160, 80 },
}

s_bonus_plus_time_ui_p_psd = {
    Image0 = "boosters_png",
    Package0 = "default",
    SrcRect0 = { 160, 0, 240, 80 },
}

s_bonus_plus_time_pass_window_bonus_aktiv_psd = {
    Image0 = "boosters_png",
    Package0 = "default",
    SrcRect0 = { 160, 0, 240, 80 },
}

s_bonus_plus_bonus_ui_p_psd = {
    Image0 = "boosters_png",
    Package0 = "default",
    SrcRect0 = { 240, 0, 320, 80 },
}

s_bonus_plus_bonus_pass_window_bonus_aktiv_psd = {
    Image0 = "boosters_png",
    Package0 = "default",
    SrcRect0 = { 240, 0, 320, 80 },
}

s_bonus_valuta_silver_ui_p_psd = {
    Image0 = "boosters_png",
    Package0 = "default",
    SrcRect0 = { 320, 0, 400, 80 },
}

s_bonus_valuta_gold_ui_p_psd = {
    Image0 = "boosters_png",
    Package0 = "default",
    SrcRect0 = { 400, 0, 480, 80 },
}

BoosterSocket = {
    Image0 = "boosters_png",
    Package0 = "default",
    SrcRect0 = { 0, 80, 80, 160 },
}

BoosterArmed = {
    Image0 = "boosters_png",
    Package0 = "default",
    SrcRect0 = { 80, 80, 160, 160 },
}

TimeLimitIcon = {
    Image0 = "boosters_png",
    Package0 = "default",
    SrcRect0 = { 160, 80, 240, 160 },
}

s_plus_15_time_icon_select_ui_p_psd = {
    Image0 = "shop_png",
    Package0 = "default",
    SrcRect0 = { 264, 88, 344, 168 },
}

