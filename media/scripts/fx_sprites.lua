-- The particle atlas: shapes for the effects to tint.
-- Written by tools/sprite_art; its XML twin is fx_sprites.xml.

Glow = {
    Image0 = "fx_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 64, 64 },
}

Sparkle = {
    Image0 = "fx_png",
    Package0 = "default",
    SrcRect0 = { 64, 0, 128, 64 },
}

Dust = {
    Image0 = "fx_png",
    Package0 = "default",
    SrcRect0 = { 128, 0, 192, 64 },
}

Ring = {
    Image0 = "fx_png",
    Package0 = "default",
    SrcRect0 = { 192, 0, 256, 64 },
}

Trail = {
    Image0 = "fx_png",
    Package0 = "default",
    SrcRect0 = { 0, 64, 128, 80 },
}

Ember = {
    Image0 = "fx_png",
    Package0 = "default",
    SrcRect0 = { 128, 64, 160, 96 },
}

Shard = {
    Image0 = "fx_png",
    Package0 = "default",
    SrcRect0 = { 160, 64, 192, 96 },
}

