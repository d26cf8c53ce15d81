#include "game_event.h"

const char* const GAME_LEVEL_EFFECT_SCENES[GAME_LEVEL_EFFECT_COUNT] = {
    "win_effect_scene_xml", "fail_effect_scene_xml", "no_more_moves_effect_xml", "no_possible_moves_effect_xml",
    "time_up_xml",
};
