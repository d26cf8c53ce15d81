-- A strip of water, drawn as a mesh that ripples.
-- Written by tools/sprite_art; its XML twin is water_sprites.xml.

Water = {
    Image0 = "water_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 256, 64 },
}

