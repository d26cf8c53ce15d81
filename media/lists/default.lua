-- Resources every platform and language shares.
-- One line per resource: the name carries the file kind after an underscore.
name = "default"
filelist = {
    { name = "content_info_lua", filename = "scripts/content_info.lua" },
    { name = "platform_config_lua", filename = "scripts/platform_config.lua" },
    { name = "sound_resources_lua", filename = "scripts/sound_resources.lua" },
    { name = "button_clicked_sound", filename = "sounds/button_clicked.ogg" },
    { name = "chip_destroy_sound", filename = "sounds/chip_destroy.ogg" },
    { name = "tile_destroy_sound", filename = "sounds/tile_destroy.ogg" },
    { name = "bomb_sound", filename = "sounds/bomb.ogg" },
    { name = "level_win_sound", filename = "sounds/level_win.ogg" },
    { name = "level_lose_sound", filename = "sounds/level_lose.ogg" },
    { name = "game_level_ambient_sound_1_sound", filename = "sounds/game_level_ambient_1.ogg" },
}
