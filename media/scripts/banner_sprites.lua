-- A cloth banner, drawn as a mesh that sways.
-- Written by tools/sprite_art; its XML twin is banner_sprites.xml.

Banner = {
    Image0 = "banner_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 256, 128 },
}

