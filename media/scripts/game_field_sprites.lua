-- The board's glare over tiles and the shadows under its edges.
-- Written by tools/sprite_art; its XML twin is game_field_sprites.xml.

s_blind_tile = {
    Image0 = "cells_png",
    Package0 = "default",
    SrcRect0 = { 240, 80, 320, 160 },
    BlendMode = "add",
    Animation = {
        Frames = {
            { duration = 0.05, SrcRect0 = { 240, 80, 320, 160 } },
            { duration = 0.05, SrcRect0 = { 260, 80, 340, 160 } },
            { duration = 0.05, SrcRect0 = { 280, 80, 360, 160 } },
            { duration = 0.05, SrcRect0 = { 300, 80, 380, 160 } },
            { duration = 0.05, SrcRect0 = { 320, 80, 400, 160 } },
            { duration = 0.05, SrcRect0 = { 340, 80, 420, 160 } },
            { duration = 0.05, SrcRect0 = { 360, 80, 440, 160 } },
            { duration = 0.05, SrcRect0 = { 380, 80, 460, 160 } },
            { duration = 0.05, SrcRect0 = { 400, 80, 480, 160 } },
        },
    },
}

s_p_0_shadows_psd = {
    Image0 = "cells_png",
    Package0 = "default",
    SrcRect0 = { 160, 80, 240, 160 },
}

s_p_1_shadows_psd = {
    Image0 = "cells_png",
    Package0 = "default",
    SrcRect0 = { 160, 80, 240, 160 },
}

s_p_2_shadows_psd = {
    Image0 = "cells_png",
    Package0 = "default",
    SrcRect0 = { 160, 80, 240, 160 },
}

s_p_3_shadows_psd = {
    Image0 = "cells_png",
    Package0 = "default",
    SrcRect0 = { 160, 80, 240, 160 },
}

s_p_4_shadows_psd = {
    Image0 = "cells_png",
    Package0 = "default",
    SrcRect0 = { 160, 80, 240, 160 },
}

s_p_5_shadows_psd = {
    Image0 = "cells_png",
    Package0 = "default",
    SrcRect0 = { 160, 80, 240, 160 },
}

s_p_6_shadows_psd = {
    Image0 = "cells_png",
    Package0 = "default",
    SrcRect0 = { 160, 80, 240, 160 },
}

s_p_7_shadows_psd = {
    Image0 = "cells_png",
    Package0 = "default",
    SrcRect0 = { 160, 80, 240, 160 },
}

s_p_8_shadows_psd = {
    Image0 = "cells_png",
    Package0 = "default",
    SrcRect0 = { 160, 80, 240, 160 },
}

s_steps_levels_times_steps_psd = {
    Image0 = "rules_png",
    Package0 = "default",
    SrcRect0 = { 208, 0, 272, 64 },
}

s_time_levels_times_steps_psd = {
    Image0 = "rules_png",
    Package0 = "default",
    SrcRect0 = { 272, 0, 336, 64 },
}

