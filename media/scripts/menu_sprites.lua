-- The main menu's backdrop: the dusk sky, the hills and the lantern.
-- Written by tools/sprite_art; its XML twin is menu_sprites.xml.

Sky = {
    Image0 = "loading_sky_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 16, 64 },
}

Hills = {
    Image0 = "menu_hills_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 1728, 436 },
}

Lantern = {
    Image0 = "loading_lantern_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 128, 224 },
}

