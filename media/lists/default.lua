-- Resources every platform and language shares.
-- One line per resource: the name carries the file kind after an underscore.
name = "default"
filelist = {
    { name = "content_info_lua", filename = "scripts/content_info.lua" },
    { name = "cursor_png", filename = "images/cursor.png" },
    { name = "cursor_sprites", filename = "scripts/cursor_sprites.lua" },
    { name = "cursor_sxml", filename = "scripts/cursor_sprites.xml" },
    { name = "screen_border_png", filename = "images/screen_border.png" },
    { name = "screen_border_sprites", filename = "scripts/screen_border_sprites.lua" },
    { name = "screen_border_sxml", filename = "scripts/screen_border_sprites.xml" },
    { name = "test_atlas_png", filename = "images/test_atlas.png" },
    { name = "test_atlas_sprites", filename = "scripts/test_atlas_sprites.lua" },
    { name = "test_atlas_sxml", filename = "scripts/test_atlas_sprites.xml" },
    { name = "yuv2rgb_ps", filename = "shaders/yuv2rgb_ps.glsl" },
    { name = "yuv2rgb_vs", filename = "shaders/yuv2rgb_vs.glsl" },
    { name = "sound_resources_lua", filename = "scripts/sound_resources.lua" },
    { name = "button_clicked_sound", filename = "sounds/button_clicked.ogg" },
    { name = "chip_destroy_sound", filename = "sounds/chip_destroy.ogg" },
    { name = "tile_destroy_sound", filename = "sounds/tile_destroy.ogg" },
    { name = "bomb_sound", filename = "sounds/bomb.ogg" },
    { name = "level_win_sound", filename = "sounds/level_win.ogg" },
    { name = "level_lose_sound", filename = "sounds/level_lose.ogg" },
    { name = "game_level_ambient_sound_1_sound", filename = "sounds/game_level_ambient_1.ogg" },
    { name = "chip_prototypes_lua", filename = "scripts/chip_prototypes.lua" },
}
