#include "game_helpers/level_bonus_setup.h"

#include "game_helpers/bonus_gold_helper.h"
#include "game_helpers/level_end_helper.h"
#include "game_helpers/passive_bonus.h"

const char* const BONUS_PANEL_SCENE = "busters_panel_scene_xml";

void prepareLevelBonuses(BonusGoldHelper* panel, PassiveBonusHelper* boosters, LevelEndHelper* levelEnd,
                         LimitHelper* limit, GoalsHelper* goals)
{
    if (panel)
        panel->reset();
    if (boosters) {
        boosters->reset();
        armBoosters(*boosters, limit, goals);
    }
    if (levelEnd)
        levelEnd->reset();
}
