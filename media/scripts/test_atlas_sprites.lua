-- Sprites over one atlas that show the description keys: mirroring, rotation, blending, colour, clipping, two textures and a mesh.
-- Written by tools/sprite_art; its XML twin is test_atlas_sprites.xml.

Arrow = {
    Image0 = "test_atlas_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 64, 64 },
}

ArrowMirrored = {
    Image0 = "test_atlas_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 64, 64 },
    Pos = { 100, 20 },
    MirrorH = 1,
}

EllTurned = {
    Image0 = "test_atlas_png",
    Package0 = "default",
    SrcRect0 = { 64, 0, 128, 64 },
    Size = { 96, 96 },
    rotCenter = { 16, 80 },
    Angle = 30,
    BlendMode = "add",
    Color = { 255, 200, 160, 220 },
}

CheckerClipped = {
    Image0 = "test_atlas_png",
    Package0 = "default",
    SrcRect0 = { 0, 64, 64, 128 },
    ClipRect = { 8, 8, 40, 56 },
    MirrorV = 1,
}

RingTwoTextures = {
    Image0 = "test_atlas_png",
    Package0 = "default",
    SrcRect0 = { 64, 64, 128, 128 },
    Image1 = "screen_border_png",
    Package1 = "default",
    BlendMode = "color",
}

WaveMesh = {
    Image0 = "test_atlas_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 128, 128 },
    Size = { 128, 128 },
    Mesh = {
        sizeX = 2,
        sizeY = 2,
        Vertecies = {
            { x = 0, y = 0, Color = { 255, 255, 255, 255 }, uv = { 0, 0 }, Pos = { 0, 0 } },
            { x = 1, y = 0, Color = { 255, 255, 255, 255 }, uv = { 64, 0 }, Pos = { 64, 10 } },
            { x = 2, y = 0, Color = { 255, 255, 255, 255 }, uv = { 128, 0 }, Pos = { 128, 0 } },
            { x = 0, y = 1, Color = { 215, 215, 255, 255 }, uv = { 0, 64 }, Pos = { 0, 64 } },
            { x = 1, y = 1, Color = { 215, 215, 255, 255 }, uv = { 64, 64 }, Pos = { 64, 74 } },
            { x = 2, y = 1, Color = { 215, 215, 255, 255 }, uv = { 128, 64 }, Pos = { 128, 64 } },
            { x = 0, y = 2, Color = { 175, 175, 255, 255 }, uv = { 0, 128 }, Pos = { 0, 128 } },
            { x = 1, y = 2, Color = { 175, 175, 255, 255 }, uv = { 64, 128 }, Pos = { 64, 138 } },
            { x = 2, y = 2, Color = { 175, 175, 255, 255 }, uv = { 128, 128 }, Pos = { 128, 128 } },
        },
    },
}

