-- The ice's spreading ring.
-- Written by tools/sprite_art; its XML twin is freezing_ring_sprites.xml.

s_freezing_ring = {
    Image0 = "board_fx_png",
    Package0 = "default",
    SrcRect0 = { 256, 0, 384, 128 },
}

