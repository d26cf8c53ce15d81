#pragma once
// Short-lived visuals on the board that belong to no chip (flying effects,
// cell highlights, floating scores), kept in one list per level by the board
// renderer.

#include <cstdint>
#include <list>

class GameFieldEffect {
public:
    virtual ~GameFieldEffect() = default;
    virtual void update(float dt) = 0;
    virtual void draw() {}

    // Once set, the list deletes the effect.
    bool finished = false;
    // Drawing order: higher layers are drawn first.
    int32_t layer = 0;
};

// Owns its effects; kept sorted by descending layer, equal layers in the
// order they were added.
class GameFieldEffectList {
public:
    GameFieldEffectList() = default;
    ~GameFieldEffectList() { clear(); }
    GameFieldEffectList(const GameFieldEffectList&) = delete;
    GameFieldEffectList& operator=(const GameFieldEffectList&) = delete;

    // Takes ownership; an effect already listed is not added twice.
    void add(GameFieldEffect* effect);
    // Deletes every effect.
    void clear();
    // Updates every effect listed when the step begins (one added meanwhile
    // waits for the next step), then deletes the finished ones. Nothing
    // while disabled.
    void update(float dt);

    std::list<GameFieldEffect*> effects;
    bool enabled = true;
};
