#include "game_helpers/game_helper.h"

#include "game_field.h"
#include "game_level.h"
#include "game_state_manager.h"
#include "dialogs/dialog_window_manager.h"
#include "task_manager.h"
#include "tutorial/tutorial_registry.h"

GameLevel* currentGameLevel()
{
    const GameStateManager* states = GameStateManager::instancePtr();
    return states ? states->getGameLevel() : nullptr;
}

GameField* currentGameField()
{
    GameLevel* level = currentGameLevel();
    return level ? level->field : nullptr;
}

bool tutorialLessonActive()
{
    return TutorialRegistry::exists() && TutorialRegistry::instance()->isLessonActive();
}

bool dialogWindowActive()
{
    const DialogWindowManager* dialogs = DialogWindowManager::instancePtr();
    return dialogs && dialogs->hasActiveWindow();
}

bool takeSettledStep(bool& pending)
{
    GameField* field = currentGameField();
    // Chips still falling after a move's lines may make more lines: the step
    // waits for them to land, so that it sees the whole move (the chips its
    // lines hit, the chips left to chain).
    if (!pending || !field || field->taskManager->count > 0 || field->isUnsettled() || field->runSettlingScan())
        return false;
    pending = false;
    return true;
}

GameHelper::~GameHelper()
{
    // Only the level holds the list; with no level played there is none to
    // leave.
    if (GameLevel* level = currentGameLevel())
        level->removeHelper(this);
}
