#include "game_state_manager.h"

#include "config_manager.h"
#include "function.h"
#include "game_field.h"
#include "game_level.h"
#include "game_properties.h"
#include "job_manager.h"
#include "lex_binded_function_manager.h"
#include "log_system.h"
#include "logo_game_state.h"
#include "main_menu.h"
#include "mode.h"
#include "movie_state.h"

namespace {

constexpr const char* SET_STATE_COMMAND = "setState";

Mode* currentModeOrNull()
{
    const GameProperties* properties = GameProperties::instancePtr();
    return properties ? properties->currentMode : nullptr;
}

}  // namespace

IGameState::~IGameState()
{
    if (GameStateManager* manager = GameStateManager::instancePtr())
        manager->unregisterState(this);
}

bool platformIsPortrait()
{
    const VQ::ConfigManager* config = VQ::ConfigManager::instancePtr();
    const VQ::Platform* platform = config ? config->currentPlatform() : nullptr;
    return platform && platform->width <= platform->height;
}

GameStateManager::GameStateManager() : mOwnsStates(true)
{
    VQ::LexBindedFunctionManager::instance()->registerFunction(
        SET_STATE_COMMAND, std::make_unique<VQ::LexBinder1<std::string, GameStateManager>>(
                               this, &GameStateManager::setState));
    level = new GameLevel();
    menu = new MainMenu();
    movie = new MovieState();
    IGameState* logo = new LogoGameState();
    registerState(logo);
    registerState(movie);
    registerState(menu);
    registerState(level);
    portrait = platformIsPortrait();
    setState("LogoGameState");
}

GameStateManager::GameStateManager(GameLevel* level) : level(level) {}

GameStateManager::~GameStateManager()
{
    if (!mOwnsStates)
        return;
    VQ::log("GameStateManager::~GameStateManager()");
    // A script command must never reach a deleted manager.
    if (VQ::LexBindedFunctionManager* functions = VQ::LexBindedFunctionManager::instancePtr())
        functions->unregisterFunction(SET_STATE_COMMAND);
    // A state's load job may still run on its thread (the game closed while
    // loading): it ends before the state it builds is deleted.
    if (VQ::JobManager* jobs = VQ::JobManager::instancePtr())
        jobs->clear();
    while (!states.empty()) {
        IGameState* state = states.begin()->second;
        // A state unregisters itself; one that did not is dropped here, so
        // the loop always ends.
        delete state;
        if (!states.empty() && states.begin()->second == state)
            states.erase(states.begin());
    }
    current = nullptr;
    pending = nullptr;
}

void GameStateManager::setState(std::string name)
{
    const auto found = states.find(name);
    if (found != states.end())
        switchTo(found->second);
    if (name == "MainMenu") {
        if (Mode* mode = currentModeOrNull())
            mode->deactivate();
    }
}

void GameStateManager::switchTo(IGameState* state)
{
    if (updating) {
        pending = state;
        return;
    }
    if (current && current != state)
        current->onDeactivate();
    if (Mode* mode = currentModeOrNull(); mode && current)
        mode->onStateLeave(current->getName());
    current = state;
    if (state->isLoaded())
        state->onActivate();
    else
        state->load();
    pending = nullptr;
}

void GameStateManager::registerState(IGameState* state)
{
    if (!current)
        current = state;
    states.emplace(state->getName(), state);
}

void GameStateManager::unregisterState(IGameState* state)
{
    for (auto it = states.begin(); it != states.end(); ++it) {
        if (it->second == state) {
            states.erase(it);
            return;
        }
    }
}

IGameState* GameStateManager::findState(const std::string& name) const
{
    const auto found = states.find(name);
    return found == states.end() ? nullptr : found->second;
}

VQ::Vector2f GameStateManager::getSceneSize() const
{
    const VQ::ConfigManager* config = VQ::ConfigManager::instancePtr();
    const VQ::Platform* platform = config ? config->currentPlatform() : nullptr;
    if (!platform)
        return VQ::Vector2f(1726.0f, 970.0f);
    const float w = static_cast<float>(platform->width);
    const float h = static_cast<float>(platform->height);
    if (platform->width != platform->height)
        return VQ::Vector2f(w, h);
    return portrait ? VQ::Vector2f(970.0f, 1726.0f) : VQ::Vector2f(1726.0f, 970.0f);
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
