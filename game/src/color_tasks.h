#pragma once
// The colour destroyer's work, spread over frames: an effect flies from chip
// to chip of one colour in reading order, and each chip it reaches is
// destroyed, or first turned into a bomb or a wave.

#include <memory>

#include "scene_path_effect.h"
#include "task.h"

class Chip;
class GameField;

class ColorDestroyerTask : public Task {
public:
    // colour -1 takes every chip that has a colour.
    ColorDestroyerTask(GameField* field, Chip* source, int colour);
    bool run(float dt) override;

    GameField* field;
    Chip* source;
    int colour;
    int column = 0;
    int row = 1;
    // Owned by the renderer's effect list, or by `ownEffect` on a board
    // without a renderer.
    ScenePathEffect* effect = nullptr;
    std::unique_ptr<ScenePathEffect> ownEffect;
};

class ColorTransformerTask : public Task {
public:
    static constexpr float TRANSFORM_INTERVAL = 0.08f;

    // kind BEHAVIOR_SIMPLE_BOMB makes bombs, BEHAVIOR_WAVE_DSIDE waves.
    ColorTransformerTask(GameField* field, int colour, Chip* source, int kind);
    bool run(float dt) override;

    GameField* field;
    int colour;
    Chip* source;
    float timer = TRANSFORM_INTERVAL;
    int kind;
    int count = 0;
    int column = 0;
    int row = 1;
    ScenePathEffect* effect = nullptr;
    std::unique_ptr<ScenePathEffect> ownEffect;

private:
    void transform(Chip* chip);
};

// The colour's name in the flying effect's markers ("red" .. "orange",
// "all" for -1 and anything else).
const char* colourEffectName(int colour);
// The colour's letter in prototype names ("R" .. "O"); empty otherwise.
const char* colourLetter(int colour);
