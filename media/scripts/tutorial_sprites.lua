-- The tutorial's hint pieces: the arrow in eight directions, the blackout masks (two cells side by side, one cell, a round hole, a booster slot), the glow at the point and the parchment bubble.
-- Written by tools/sprite_art; its XML twin is tutorial_sprites.xml.

Arrow0 = {
    Image0 = "tutorial_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 128, 128 },
}

Arrow45 = {
    Image0 = "tutorial_png",
    Package0 = "default",
    SrcRect0 = { 128, 0, 256, 128 },
}

Arrow90 = {
    Image0 = "tutorial_png",
    Package0 = "default",
    SrcRect0 = { 256, 0, 384, 128 },
}

Arrow135 = {
    Image0 = "tutorial_png",
    Package0 = "default",
    SrcRect0 = { 384, 0, 512, 128 },
}

Arrow180 = {
    Image0 = "tutorial_png",
    Package0 = "default",
    SrcRect0 = { 512, 0, 640, 128 },
}

Arrow225 = {
    Image0 = "tutorial_png",
    Package0 = "default",
    SrcRect0 = { 640, 0, 768, 128 },
}

Arrow270 = {
    Image0 = "tutorial_png",
    Package0 = "default",
    SrcRect0 = { 768, 0, 896, 128 },
}

Arrow315 = {
    Image0 = "tutorial_png",
    Package0 = "default",
    SrcRect0 = { 896, 0, 1024, 128 },
}

MaskPair = {
    Image0 = "tutorial_png",
    Package0 = "default",
    SrcRect0 = { 8, 136, 216, 264 },
}

MaskCell = {
    Image0 = "tutorial_png",
    Package0 = "default",
    SrcRect0 = { 232, 136, 360, 264 },
}

MaskRound = {
    Image0 = "tutorial_png",
    Package0 = "default",
    SrcRect0 = { 376, 136, 576, 336 },
}

MaskSlot = {
    Image0 = "tutorial_png",
    Package0 = "default",
    SrcRect0 = { 592, 136, 752, 296 },
}

Aura = {
    Image0 = "tutorial_png",
    Package0 = "default",
    SrcRect0 = { 768, 136, 928, 296 },
}

Bubble = {
    Image0 = "tutorial_png",
    Package0 = "default",
    SrcRect0 = { 0, 344, 460, 544 },
}

