#include "game_field_effect.h"

#include <algorithm>

void GameFieldEffectList::add(GameFieldEffect* effect)
{
    if (!effect || std::find(effects.begin(), effects.end(), effect) != effects.end())
        return;
    effects.push_back(effect);
    // std::list::sort is stable.
    effects.sort([](const GameFieldEffect* a, const GameFieldEffect* b) { return a->layer > b->layer; });
}

void GameFieldEffectList::clear()
{
    for (GameFieldEffect* effect : effects)
        delete effect;
    effects.clear();
}
