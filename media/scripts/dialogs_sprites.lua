-- The dialog windows' pieces: the parchment panel under a title ribbon, the silver and gold coins and the star.
-- Written by tools/sprite_art; its XML twin is dialogs_sprites.xml.

ParchmentPanel = {
    Image0 = "dialogs_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 420, 280 },
}

SilverCoin = {
    Image0 = "dialogs_png",
    Package0 = "default",
    SrcRect0 = { 0, 288, 80, 368 },
}

GoldCoin = {
    Image0 = "dialogs_png",
    Package0 = "default",
    SrcRect0 = { 88, 288, 168, 368 },
}

StarIcon = {
    Image0 = "dialogs_png",
    Package0 = "default",
    SrcRect0 = { 176, 288, 256, 368 },
}

BubbleTailLeft = {
    Image0 = "shop_png",
    Package0 = "default",
    SrcRect0 = { 352, 88, 392, 152 },
}

BubbleTailDown = {
    Image0 = "shop_png",
    Package0 = "default",
    SrcRect0 = { 400, 88, 464, 128 },
}

