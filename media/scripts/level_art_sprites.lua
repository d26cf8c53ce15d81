-- The level screen's small pieces: a firefly, a harbour light, the menu button's faces, the
-- effect banner, the move warning banner and the win burst.
-- Written by tools/level_art.

Firefly = {
    Image0 = "level_art_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 32, 32 },
}

HarbourLight = {
    Image0 = "level_art_png",
    Package0 = "default",
    SrcRect0 = { 32, 0, 96, 64 },
}

MenuButton = {
    Image0 = "level_art_png",
    Package0 = "default",
    SrcRect0 = { 96, 0, 192, 96 },
}

MenuButtonHighlighted = {
    Image0 = "level_art_png",
    Package0 = "default",
    SrcRect0 = { 192, 0, 288, 96 },
}

Banner = {
    Image0 = "level_art_png",
    Package0 = "default",
    SrcRect0 = { 0, 96, 600, 224 },
}

WarningBanner = {
    Image0 = "level_art_png",
    Package0 = "default",
    SrcRect0 = { 0, 232, 400, 316 },
}

Burst = {
    Image0 = "level_art_png",
    Package0 = "default",
    SrcRect0 = { 600, 96, 856, 352 },
}

