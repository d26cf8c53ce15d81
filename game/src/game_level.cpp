#include "game_level.h"

#include <algorithm>

#include "game_helpers/game_helper.h"

void GameLevel::addHelper(GameHelper* helper)
{
    if (!helper || std::find(helpers.begin(), helpers.end(), helper) != helpers.end())
        return;
    helpers.push_back(helper);
    sortHelpers();
}

void GameLevel::removeHelper(GameHelper* helper)
{
    auto it = std::find(helpers.begin(), helpers.end(), helper);
    if (it != helpers.end())
        helpers.erase(it);
}

void GameLevel::sortHelpers()
{
    std::stable_sort(helpers.begin(), helpers.end(),
                     [](const GameHelper* a, const GameHelper* b) { return a->priority < b->priority; });
}
