-- Pieces of a frame around the screen.
-- Written by tools/sprite_art; its XML twin is screen_border_sprites.xml.

TopLeft = {
    Image0 = "screen_border_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 16, 16 },
}

Top = {
    Image0 = "screen_border_png",
    Package0 = "default",
    SrcRect0 = { 16, 0, 32, 16 },
}

TopRight = {
    Image0 = "screen_border_png",
    Package0 = "default",
    SrcRect0 = { 32, 0, 48, 16 },
}

Left = {
    Image0 = "screen_border_png",
    Package0 = "default",
    SrcRect0 = { 0, 16, 16, 32 },
}

Right = {
    Image0 = "screen_border_png",
    Package0 = "default",
    SrcRect0 = { 32, 16, 48, 32 },
}

BottomLeft = {
    Image0 = "screen_border_png",
    Package0 = "default",
    SrcRect0 = { 0, 32, 16, 48 },
}

Bottom = {
    Image0 = "screen_border_png",
    Package0 = "default",
    SrcRect0 = { 16, 32, 32, 48 },
}

BottomRight = {
    Image0 = "screen_border_png",
    Package0 = "default",
    SrcRect0 = { 32, 32, 48, 48 },
}

