#pragma once
// Draws one level's board: the cells with their tiles, shadows under the
// board's edges and a periodic glare over the tiles, the chips through the
// drawables of their layers, the destroy drawables, the particle layers,
// the move hint, the screen distortion and the field effects. It owns the
// per-level lists other code fills: the effects, the frame's draw queue and
// the distortion sources. One per level, built after the board; the level
// updates it after the board every frame and deletes it with the level.

#include <memory>
#include <vector>

#include "animationeditor/scene_node.h"
#include "board_renderer.h"
#include "distortion_strategy.h"
#include "render_system.h"

namespace VQ {
class Animation;
class Font;
class ParticleFX;
class Sprite;
}  // namespace VQ
class Drawable;
class GameField;
struct FieldCell;

// Shaders supported, distortion switched on and its target made.
bool distortionPassAvailable(const VQ::RenderSystem& render);

class GameFieldRenderer : public BoardRenderer {
public:
    struct QueuedDrawable {
        Drawable* drawable;  // not owned
        float x, y;
        int layer;
    };

    // Loads everything the board is drawn with; missing content is fatal.
    explicit GameFieldRenderer(GameField* board);
    ~GameFieldRenderer() override;
    GameFieldRenderer(const GameFieldRenderer&) = delete;
    GameFieldRenderer& operator=(const GameFieldRenderer&) = delete;

    // --- BoardRenderer ---
    VQ::Vector2f boardOrigin() const override { return camera.position; }
    void clearDrawList() override { drawQueue.clear(); }
    void clearDistortionSources() override { distortionSources.clear(); }
    void pushDistortionSource(const DistortionSource& source) override { distortionSources.push_back(source); }
    // A pulse per existing cell of the play rows, later the further the
    // cell is from the top-left corner.
    void createCellHighlights() override;
    bool hasTileExplosion() const override { return tileExplosion != nullptr; }
    void playTileExplosion(const VQ::Vector2f& point) override;
    GameFieldEffectList& effectList() override { return *effects; }
    void queueDrawable(Drawable* drawable, float x, float y) override;
    void update(float dt) override;
    void render() override;

    // One cell at board pixels (x, y).
    void drawCell(float x, float y, FieldCell& cell, int column, int row, float fade);
    // The glare animation has not reached its end.
    static bool isRunning(const VQ::Animation& animation);

    GameField* field;  // not owned
    std::vector<std::vector<VQ::Sprite*>> cellSprites;
    VQ::Sprite* blindTileSprite = nullptr;
    VQ::Animation* blindTileAnimation = nullptr;
    std::vector<VQ::Sprite*> shadowSprites;
    std::vector<QueuedDrawable> drawQueue;
    float hotspotTimer = 0.0f;
    VQ::Font* font = nullptr;
    std::unique_ptr<GameFieldEffectList> effects;
    VQ::ParticleFX* tileExplosion = nullptr;
    std::vector<DistortionSource> distortionSources;
    DistortionFromExplosionStrategy explosionStrategy;
    DistortionFromTorchStrategy torchStrategy;
    float distortionIntensity = 1.0f;
    VQ::RenderCamera camera;

private:
    void loadCellSprites();
    void loadBlindTile();
    void flushDrawQueue();
};

// The pulse over one cell, started after a delay; drawn only while the cell
// holds or awaits a chip. It lives until the level's effects are cleared.
class TileChipEffect : public GameFieldEffect {
public:
    TileChipEffect(const std::string& markerName, FieldCell* cell, AE::ISceneNode* scene, float delaySeconds);
    ~TileChipEffect() override;
    TileChipEffect(const TileChipEffect&) = delete;
    TileChipEffect& operator=(const TileChipEffect&) = delete;

    void update(float dt) override;
    void draw() override;

    AE::ISceneNode* node;  // owned
    std::string marker;
    float delay;
    bool started = false;
    FieldCell* cell;  // not owned
};
