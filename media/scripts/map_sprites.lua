-- The level map's pieces: medallion rim and faces, stars, coins, the lantern-bearer, gates, lamps, signposts, the top panel and its icons.
-- Written by tools/sprite_art; its XML twin is map_sprites.xml.

LevelRim = {
    Image0 = "map_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 128, 128 },
}

LevelLocked = {
    Image0 = "map_png",
    Package0 = "default",
    SrcRect0 = { 128, 0, 256, 128 },
}

LevelOpen = {
    Image0 = "map_png",
    Package0 = "default",
    SrcRect0 = { 256, 0, 384, 128 },
}

LevelWon = {
    Image0 = "map_png",
    Package0 = "default",
    SrcRect0 = { 384, 0, 512, 128 },
}

SelectGlow = {
    Image0 = "map_png",
    Package0 = "default",
    SrcRect0 = { 512, 0, 704, 192 },
}

Player = {
    Image0 = "map_png",
    Package0 = "default",
    SrcRect0 = { 704, 0, 800, 128 },
}

Gate = {
    Image0 = "map_png",
    Package0 = "default",
    SrcRect0 = { 816, 0, 1008, 176 },
}

Star = {
    Image0 = "map_png",
    Package0 = "default",
    SrcRect0 = { 0, 192, 48, 240 },
}

StarDim = {
    Image0 = "map_png",
    Package0 = "default",
    SrcRect0 = { 48, 192, 96, 240 },
}

Coin = {
    Image0 = "map_png",
    Package0 = "default",
    SrcRect0 = { 96, 192, 144, 240 },
}

SilverIcon = {
    Image0 = "map_png",
    Package0 = "default",
    SrcRect0 = { 144, 192, 200, 248 },
}

StarIcon = {
    Image0 = "map_png",
    Package0 = "default",
    SrcRect0 = { 200, 192, 256, 248 },
}

GoldIcon = {
    Image0 = "map_png",
    Package0 = "default",
    SrcRect0 = { 256, 192, 312, 248 },
}

HeartIcon = {
    Image0 = "map_png",
    Package0 = "default",
    SrcRect0 = { 312, 192, 368, 248 },
}

MenuButton = {
    Image0 = "map_png",
    Package0 = "default",
    SrcRect0 = { 368, 192, 440, 264 },
}

MailScroll = {
    Image0 = "map_png",
    Package0 = "default",
    SrcRect0 = { 440, 192, 512, 264 },
}

PlusButton = {
    Image0 = "map_png",
    Package0 = "default",
    SrcRect0 = { 512, 192, 556, 236 },
}

LampPost = {
    Image0 = "map_png",
    Package0 = "default",
    SrcRect0 = { 560, 192, 600, 272 },
}

LampFlame = {
    Image0 = "map_png",
    Package0 = "default",
    SrcRect0 = { 600, 192, 696, 288 },
}

SignUp = {
    Image0 = "map_png",
    Package0 = "default",
    SrcRect0 = { 704, 192, 832, 320 },
}

SignDown = {
    Image0 = "map_png",
    Package0 = "default",
    SrcRect0 = { 832, 192, 960, 320 },
}

TopPanel = {
    Image0 = "map_png",
    Package0 = "default",
    SrcRect0 = { 0, 336, 640, 440 },
}

Portrait = {
    Image0 = "map_png",
    Package0 = "default",
    SrcRect0 = { 0, 448, 64, 512 },
}

s_present_heart_window_pochta_psd = {
    Image0 = "social_png",
    Package0 = "default",
    SrcRect0 = { 256, 0, 312, 56 },
}

s_present_steps_window_pochta_psd = {
    Image0 = "social_png",
    Package0 = "default",
    SrcRect0 = { 312, 0, 368, 56 },
}

s_star_valuta_sale_1 = {
    Image0 = "shop_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 80, 80 },
}

s_star_valuta_sale_2 = {
    Image0 = "shop_png",
    Package0 = "default",
    SrcRect0 = { 80, 0, 160, 80 },
}

s_star_valuta_sale_3 = {
    Image0 = "shop_png",
    Package0 = "default",
    SrcRect0 = { 160, 0, 240, 80 },
}

s_star_valuta_sale_4 = {
    Image0 = "shop_png",
    Package0 = "default",
    SrcRect0 = { 240, 0, 320, 80 },
}

s_star_valuta_sale_5 = {
    Image0 = "shop_png",
    Package0 = "default",
    SrcRect0 = { 320, 0, 400, 80 },
}

s_star_valuta_sale_6 = {
    Image0 = "shop_png",
    Package0 = "default",
    SrcRect0 = { 400, 0, 480, 80 },
}

