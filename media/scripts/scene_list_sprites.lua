-- The scene lists' pieces: window, item card, masks, scroll bar, page dots, page buttons, book page and the buy button's faces.
-- Written by tools/sprite_art; its XML twin is scene_list_sprites.xml.

ListWindow = {
    Image0 = "scene_list_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 480, 640 },
}

ItemCard = {
    Image0 = "scene_list_png",
    Package0 = "default",
    SrcRect0 = { 488, 0, 888, 96 },
}

StripMask = {
    Image0 = "scene_list_png",
    Package0 = "default",
    SrcRect0 = { 896, 0, 912, 16 },
    Size = { 420, 500 },
}

BookMask = {
    Image0 = "scene_list_png",
    Package0 = "default",
    SrcRect0 = { 896, 0, 912, 16 },
    Size = { 400, 440 },
}

ScrollTrack = {
    Image0 = "scene_list_png",
    Package0 = "default",
    SrcRect0 = { 920, 0, 940, 400 },
}

ScrollThumb = {
    Image0 = "scene_list_png",
    Package0 = "default",
    SrcRect0 = { 948, 0, 976, 72 },
}

PageDot = {
    Image0 = "scene_list_png",
    Package0 = "default",
    SrcRect0 = { 488, 104, 512, 128 },
}

PageDotLit = {
    Image0 = "scene_list_png",
    Package0 = "default",
    SrcRect0 = { 516, 104, 540, 128 },
}

ButtonPrev = {
    Image0 = "scene_list_png",
    Package0 = "default",
    SrcRect0 = { 488, 136, 544, 192 },
}

ButtonNext = {
    Image0 = "scene_list_png",
    Package0 = "default",
    SrcRect0 = { 548, 136, 604, 192 },
}

ButtonBegin = {
    Image0 = "scene_list_png",
    Package0 = "default",
    SrcRect0 = { 608, 136, 664, 192 },
}

ButtonEnd = {
    Image0 = "scene_list_png",
    Package0 = "default",
    SrcRect0 = { 668, 136, 724, 192 },
}

BookPage = {
    Image0 = "scene_list_png",
    Package0 = "default",
    SrcRect0 = { 488, 200, 888, 640 },
}

BuyButton = {
    Image0 = "widget_png",
    Package0 = "default",
    SrcRect0 = { 0, 288, 160, 336 },
    Animation = {
        Frames = {
            { duration = 0.1, SrcRect0 = { 0, 288, 160, 336 } },
            { duration = 0.1, SrcRect0 = { 0, 340, 160, 388 } },
            { duration = 0.1, SrcRect0 = { 0, 392, 160, 440 } },
        },
    },
}

