-- The chips: six cut gems, their special forms, walls and overlays.
-- Written by tools/sprite_art; its XML twin is chips_sprites.xml.

gem_R = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 80, 80 },
}

bomb_R = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 80, 0, 160, 80 },
}

bomb2_R = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 160, 0, 240, 80 },
}

simple_bomb_R = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 240, 0, 320, 80 },
}

wave_hor_R = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 320, 0, 400, 80 },
}

wave_ver_R = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 400, 0, 480, 80 },
}

super_bomb_R = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 480, 0, 560, 80 },
}

super_wave_ver_R = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 560, 0, 640, 80 },
}

super_wave_dside_R = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 640, 0, 720, 80 },
}

star_R = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 720, 0, 800, 80 },
}

gem_G = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 0, 80, 80, 160 },
}

bomb_G = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 80, 80, 160, 160 },
}

bomb2_G = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 160, 80, 240, 160 },
}

simple_bomb_G = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 240, 80, 320, 160 },
}

wave_hor_G = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 320, 80, 400, 160 },
}

wave_ver_G = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 400, 80, 480, 160 },
}

super_bomb_G = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 480, 80, 560, 160 },
}

super_wave_ver_G = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 560, 80, 640, 160 },
}

super_wave_dside_G = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 640, 80, 720, 160 },
}

star_G = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 720, 80, 800, 160 },
}

gem_B = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 0, 160, 80, 240 },
}

bomb_B = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 80, 160, 160, 240 },
}

bomb2_B = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 160, 160, 240, 240 },
}

simple_bomb_B = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 240, 160, 320, 240 },
}

wave_hor_B = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 320, 160, 400, 240 },
}

wave_ver_B = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 400, 160, 480, 240 },
}

super_bomb_B = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 480, 160, 560, 240 },
}

super_wave_ver_B = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 560, 160, 640, 240 },
}

super_wave_dside_B = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 640, 160, 720, 240 },
}

star_B = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 720, 160, 800, 240 },
}

gem_M = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 0, 240, 80, 320 },
}

bomb_M = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 80, 240, 160, 320 },
}

bomb2_M = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 160, 240, 240, 320 },
}

simple_bomb_M = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 240, 240, 320, 320 },
}

wave_hor_M = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 320, 240, 400, 320 },
}

wave_ver_M = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 400, 240, 480, 320 },
}

super_bomb_M = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 480, 240, 560, 320 },
}

super_wave_ver_M = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 560, 240, 640, 320 },
}

super_wave_dside_M = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 640, 240, 720, 320 },
}

star_M = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 720, 240, 800, 320 },
}

gem_Y = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 0, 320, 80, 400 },
}

bomb_Y = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 80, 320, 160, 400 },
}

bomb2_Y = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 160, 320, 240, 400 },
}

simple_bomb_Y = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 240, 320, 320, 400 },
}

wave_hor_Y = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 320, 320, 400, 400 },
}

wave_ver_Y = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 400, 320, 480, 400 },
}

super_bomb_Y = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 480, 320, 560, 400 },
}

super_wave_ver_Y = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 560, 320, 640, 400 },
}

super_wave_dside_Y = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 640, 320, 720, 400 },
}

star_Y = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 720, 320, 800, 400 },
}

gem_O = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 0, 400, 80, 480 },
}

bomb_O = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 80, 400, 160, 480 },
}

bomb2_O = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 160, 400, 240, 480 },
}

simple_bomb_O = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 240, 400, 320, 480 },
}

wave_hor_O = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 320, 400, 400, 480 },
}

wave_ver_O = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 400, 400, 480, 480 },
}

super_bomb_O = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 480, 400, 560, 480 },
}

super_wave_ver_O = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 560, 400, 640, 480 },
}

super_wave_dside_O = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 640, 400, 720, 480 },
}

star_O = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 720, 400, 800, 480 },
}

destroy_color = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 0, 480, 80, 560 },
}

wall = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 80, 480, 160, 560 },
}

dwall = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 160, 480, 240, 560 },
}

chain = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 240, 480, 320, 560 },
}

lantern = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 320, 480, 400, 560 },
}

selection = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 400, 480, 480, 560 },
}

glint = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 480, 480, 560, 560 },
}

detonate = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 560, 480, 640, 560 },
}

hint_mark = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 640, 480, 720, 560 },
}

cwall_R = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 0, 560, 80, 640 },
}

cwall_G = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 80, 560, 160, 640 },
}

cwall_B = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 160, 560, 240, 640 },
}

cwall_M = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 240, 560, 320, 640 },
}

cwall_Y = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 320, 560, 400, 640 },
}

cwall_O = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 400, 560, 480, 640 },
}

chain_bomb = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 0, 640, 80, 720 },
}

generator = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 80, 640, 160, 720 },
}

stuff = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 160, 640, 240, 720 },
}

ice = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 240, 640, 320, 720 },
}

ice1 = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 320, 640, 400, 720 },
}

ice2 = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 400, 640, 480, 720 },
}

ice3 = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 480, 640, 560, 720 },
}

up_arrow = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 560, 640, 640, 720 },
}

chip_up_R = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 0, 720, 80, 800 },
}

chip_up_G = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 80, 720, 160, 800 },
}

chip_up_B = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 160, 720, 240, 800 },
}

chip_up_M = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 240, 720, 320, 800 },
}

chip_up_Y = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 320, 720, 400, 800 },
}

chip_up_O = {
    Image0 = "chips_png",
    Package0 = "default",
    SrcRect0 = { 400, 720, 480, 800 },
}

