-- The loading screen's gems, one sheet frame per chip colour: R round, G square, B rhombus, M hexagon, Y triangle, O teardrop.
-- Written by tools/sprite_art; its XML twin is loading_gems_sprites.xml.

Gems = {
    Image0 = "loading_gems_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 64, 64 },
    Animation = {
        Frames = {
            { duration = 0.1, SrcRect0 = { 0, 0, 64, 64 } },
            { duration = 0.1, SrcRect0 = { 64, 0, 128, 64 } },
            { duration = 0.1, SrcRect0 = { 128, 0, 192, 64 } },
            { duration = 0.1, SrcRect0 = { 192, 0, 256, 64 } },
            { duration = 0.1, SrcRect0 = { 256, 0, 320, 64 } },
            { duration = 0.1, SrcRect0 = { 320, 0, 384, 64 } },
        },
    },
}

