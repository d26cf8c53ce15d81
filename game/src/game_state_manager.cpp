#include "game_state_manager.h"

#include "config_manager.h"
#include "game_field.h"
#include "game_level.h"

VQ::Vector2f GameStateManager::getSceneSize() const
{
    const VQ::ConfigManager* config = VQ::ConfigManager::instancePtr();
    const VQ::Platform* platform = config ? config->currentPlatform() : nullptr;
    if (!platform)
        return VQ::Vector2f(1726.0f, 970.0f);
    return VQ::Vector2f(static_cast<float>(platform->width), static_cast<float>(platform->height));
}

namespace {

GameLevel* currentLevel()
{
    const GameStateManager* states = GameStateManager::instancePtr();
    return states ? states->getGameLevel() : nullptr;
}

}  // namespace

int currentBoardCellSize()
{
    const GameLevel* level = currentLevel();
    return level && level->field ? level->field->cellSize : 0;
}

float currentLevelFade()
{
    const GameLevel* level = currentLevel();
    return level ? level->introProgress : 1.0f;
}
