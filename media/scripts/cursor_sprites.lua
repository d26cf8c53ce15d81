-- The game's mouse cursor.
-- Written by tools/sprite_art; its XML twin is cursor_sprites.xml.

Cursor = {
    Image0 = "cursor_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 32, 32 },
    rotCenter = { 0, 0 },
}

