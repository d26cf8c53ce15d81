-- The logo cards shown at start-up: the studio, then the game's title.
-- Written by tools/sprite_art; its XML twin is logo_sprites.xml.

Studio = {
    Image0 = "logo_studio_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 864, 486 },
}

Title = {
    Image0 = "logo_title_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 864, 486 },
}

