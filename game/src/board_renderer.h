#pragma once
// What the board asks of the renderer that draws it: where the board stands
// on screen, the per-level lists it empties when a level loads, the screen
// distortion of blasts, the tile explosion and the queue its chips' drawables
// join each frame. The board works without a renderer as well;
// `NullBoardRenderer` draws nothing, counts what it is asked and runs the
// effect list, for headless play and tests.

#include <cstdint>
#include <vector>

#include "game_field_effect.h"
#include "drawable.h"
#include "vector2.h"

// A point of screen distortion, in board pixels, and how it evolves:
// strategy 0 a blast, 1 a torch flicker.
struct DistortionSource {
    float x = 0.0f, y = 0.0f;
    float scaleX = 0.0f, scaleY = 0.0f;
    float duration = 0.0f;
    float timeLeft = 0.0f;
    int32_t strategy = 0;
};

class BoardRenderer {
public:
    virtual ~BoardRenderer() = default;

    // The board-to-screen offset, in pixels.
    virtual VQ::Vector2f boardOrigin() const = 0;
    // The drawables queued for the current frame.
    virtual void clearDrawList() = 0;
    virtual void clearDistortionSources() = 0;
    virtual void pushDistortionSource(const DistortionSource& source) = 0;
    // Once a level's cells exist.
    virtual void createCellHighlights() = 0;
    virtual bool hasTileExplosion() const = 0;
    // At a board pixel point.
    virtual void playTileExplosion(const VQ::Vector2f& point) = 0;
    virtual GameFieldEffectList& effectList() = 0;
    // Queues a drawable at a pixel point for the frame being drawn.
    virtual void queueDrawable(Drawable* drawable, float x, float y) = 0;
    // The frame step, after the board's.
    virtual void update(float dt) = 0;
    virtual void render() = 0;
};

class NullBoardRenderer : public BoardRenderer {
public:
    VQ::Vector2f boardOrigin() const override { return {0.0f, 0.0f}; }
    void clearDrawList() override { ++drawListClears; }
    void clearDistortionSources() override { distortionSources.clear(); }
    void pushDistortionSource(const DistortionSource& source) override { distortionSources.push_back(source); }
    void createCellHighlights() override { ++cellHighlightBuilds; }
    bool hasTileExplosion() const override { return true; }
    void playTileExplosion(const VQ::Vector2f& point) override { tileExplosions.push_back(point); }
    GameFieldEffectList& effectList() override { return effects; }
    void queueDrawable(Drawable*, float, float) override { ++queuedDrawables; }
    void update(float dt) override { effects.update(dt); }
    void render() override {}

    int drawListClears = 0;
    int cellHighlightBuilds = 0;
    int queuedDrawables = 0;
    std::vector<DistortionSource> distortionSources;
    std::vector<VQ::Vector2f> tileExplosions;
    GameFieldEffectList effects;
};
