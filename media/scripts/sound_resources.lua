-- The sounds registered while the game starts. Each entry names a resource of
-- package "default" with its group (0 effects, 1 and 2 music), volume,
-- looping (1 loops) and priority: effects compete for five voices by
-- priority x volume, so a higher priority is kept over lower ones. The files
-- are made by tools/sound_gen.
SoundResources = {
    { filename = "button_clicked_sound", group = 0, volume = 0.8, looped = 0, priority = 5 },
    { filename = "chip_destroy_sound", group = 0, volume = 1.0, looped = 0, priority = 10 },
    { filename = "tile_destroy_sound", group = 0, volume = 1.0, looped = 0, priority = 11 },
    { filename = "bomb_sound", group = 0, volume = 1.0, looped = 0, priority = 20 },
    { filename = "level_win_sound", group = 0, volume = 1.0, looped = 0, priority = 40 },
    { filename = "level_lose_sound", group = 0, volume = 1.0, looped = 0, priority = 40 },
    { filename = "game_level_ambient_sound_1_sound", group = 1, volume = 0.7, looped = 1, priority = 0 },
    { filename = "game_level_ambient_sound_2_sound", group = 1, volume = 0.7, looped = 1, priority = 0 },
}
