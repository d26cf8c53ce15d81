#include "game_field_effect.h"

#include <algorithm>
#include <vector>

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

void GameFieldEffectList::update(float dt)
{
    if (!enabled)
        return;
    const std::vector<GameFieldEffect*> current(effects.begin(), effects.end());
    for (GameFieldEffect* effect : current)
        effect->update(dt);
    for (auto it = effects.begin(); it != effects.end();) {
        if ((*it)->finished) {
            delete *it;
            it = effects.erase(it);
        } else {
            ++it;
        }
    }
}
