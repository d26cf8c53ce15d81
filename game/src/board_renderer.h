#pragma once
// What the board asks of the renderer that draws it: where the board stands
// on screen, the per-level lists it empties when a level loads, the screen
// distortion of blasts and the tile explosion. The board works without a
// renderer as well; `NullBoardRenderer` draws nothing and counts what it is
// asked, for headless play and tests.

#include <cstdint>
#include <vector>

#include "game_field_effect.h"
#include "vector2.h"

// A point of screen distortion, in board pixels.
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

    int drawListClears = 0;
    int cellHighlightBuilds = 0;
    std::vector<DistortionSource> distortionSources;
    std::vector<VQ::Vector2f> tileExplosions;
    GameFieldEffectList effects;
};
