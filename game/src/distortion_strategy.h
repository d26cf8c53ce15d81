#pragma once
// How a distortion source looks and evolves: a normal-map sprite drawn into
// the render system's distortion target, growing with time. Blasts grow
// fast and fade out; torches grow slowly and flicker in and out.

#include "board_renderer.h"
#include "color.h"

namespace VQ {
class Sprite;
}
class GameFieldRenderer;

class DistortionStrategy {
public:
    // Loads the normal map (table `table` of "normalmaps_sprites"); a
    // missing one is the sprite manager's fatal report.
    explicit DistortionStrategy(const char* table);
    virtual ~DistortionStrategy();
    DistortionStrategy(const DistortionStrategy&) = delete;
    DistortionStrategy& operator=(const DistortionStrategy&) = delete;

    virtual void advance(DistortionSource& source, float dt) = 0;
    virtual void render(const DistortionSource& source, float intensity) = 0;

    VQ::Sprite* sprite = nullptr;  // owned

protected:
    // The sprite centred on the source at its scale, in `color`.
    void drawSprite(const DistortionSource& source, const VQ::Color& color);
};

class DistortionFromExplosionStrategy : public DistortionStrategy {
public:
    DistortionFromExplosionStrategy();
    void advance(DistortionSource& source, float dt) override;
    void render(const DistortionSource& source, float intensity) override;
};

class DistortionFromTorchStrategy : public DistortionStrategy {
public:
    DistortionFromTorchStrategy();
    void advance(DistortionSource& source, float dt) override;
    void render(const DistortionSource& source, float intensity) override;
};

// The renderer's two distortion steps: sources advance and expire in its
// update, and are drawn in its render when the pass is available.
void updateDistortion(GameFieldRenderer& renderer, float dt);
void renderDistortion(GameFieldRenderer& renderer);
// Torch sources at the board's torch positions, every half period.
void spawnTorchDistortions(GameFieldRenderer& renderer, float dt);
// The process-wide torch timer (seconds since the last torch spawn).
float& torchTimer();
