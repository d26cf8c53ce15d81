#pragma once
// One visual piece of a chip layer or a board effect. A layer shows, hides,
// fades and advances its drawables as the chip's state changes; the board
// renderer draws them in the order of their layer value.

#include <memory>
#include <string>
#include <vector>

#include "rect.h"

class Drawable {
public:
    Drawable() = default;
    virtual ~Drawable() = default;

    // (x, y): pixel position of the chip's cell corner.
    virtual void draw(int x, int y) = 0;
    virtual Drawable* clone() const = 0;
    // Whether a stand-alone copy (on the board's destroy list) is still wanted.
    virtual bool isAlive() = 0;
    virtual void update(float dt) = 0;
    // False for a kind whose update never does anything: its group leaves it
    // out of the per-frame walk.
    virtual bool needsUpdate() const { return true; }

    // No lower bound: a negative alpha is kept as given.
    void setAlpha(float value) { alpha = value < 1.0f ? value : 1.0f; }
    void setVisible(bool flag)
    {
        wasVisible = visible;
        visible = flag;
    }
    void setRestartOnShow(bool flag) { restartOnShow = flag; }

    bool visible = false;
    bool wasVisible = false;
    int layer = 0;
    bool restartOnShow = true;
    float cornerAlpha[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float alpha = 1.0f;
    bool clipEnabled = false;
    VQ::Rect clipRect{};
};

namespace VQ {
class ParticleFX;
}

// A particle effect of the particle system, restarted whenever the drawable
// is shown and drawn at the point it is given. A copy makes its own effect
// of the same name when first used.
class ParticleFXDrawable : public Drawable {
public:
    // Creates the effect; one that cannot be read is the fatal report.
    ParticleFXDrawable(const std::string& effectName, int layerValue);
    // Hands the effect back to the particle system.
    ~ParticleFXDrawable() override;

    void draw(int x, int y) override;
    Drawable* clone() const override;
    // False once the effect has finished (and for a copy whose effect could
    // not be made).
    bool isAlive() override;
    // Advances the effect while visible.
    void update(float dt) override;

    std::string name;
    VQ::ParticleFX* effect = nullptr;

private:
    struct Deferred {};
    ParticleFXDrawable(const std::string& effectName, int layerValue, Deferred);
    // The effect, made on first use for a copy; null when it cannot be made.
    VQ::ParticleFX* acquire();

    bool effectRequested = false;
};

namespace VQ {
class Animation;
class Sprite;
}  // namespace VQ
namespace AE {
class ISceneNode;
}

// A sprite of a chip-art table, drawn over the chip's cell.
class SpriteDrawable : public Drawable {
public:
    // The table of the cached script `script`; one that cannot be opened is
    // the fatal report.
    SpriteDrawable(const std::string& script, const std::string& table, int layerValue);
    ~SpriteDrawable() override;
    SpriteDrawable(const SpriteDrawable&) = delete;
    SpriteDrawable& operator=(const SpriteDrawable&) = delete;

    void draw(int x, int y) override;
    Drawable* clone() const override;
    bool isAlive() override { return true; }
    void update(float) override {}
    bool needsUpdate() const override { return false; }

    VQ::Sprite* sprite = nullptr;  // owned, released through the sprite manager

protected:
    explicit SpriteDrawable(VQ::Sprite* copy);
    // Corner opacities, clipping, the board's cell size and the position,
    // then the draw.
    void drawSprite(int x, int y);
};

// A sprite played by the animation of its table, looping; restarted when
// shown again if asked to.
class AnimSpriteDrawable : public SpriteDrawable {
public:
    AnimSpriteDrawable(const std::string& script, const std::string& table, int layerValue);
    ~AnimSpriteDrawable() override;

    void draw(int x, int y) override;
    Drawable* clone() const override;
    void update(float dt) override;
    bool needsUpdate() const override { return true; }

    VQ::Animation* animation = nullptr;  // owned

private:
    AnimSpriteDrawable(const AnimSpriteDrawable& source, int);
};

// One timed start of a scene marker.
struct SceneCue {
    std::string name;
    float start = 0.0f;
    bool played = false;
};

// The cues of a cue text "name(start);name;...": "%s" in a name becomes the
// colour suffix; names are cut at 31 characters before and 63 after that.
std::vector<SceneCue> parseSceneCues(const std::string& text, const std::string& suffix, float& maxStart);

// An animation scene over the chip, starting its markers on cue.
class SceneDrawable : public Drawable {
public:
    // The scene by resource name; one that cannot be loaded is the fatal
    // report.
    SceneDrawable(const std::string& sceneName, const std::string& cues, const std::string& suffix, int layerValue);
    // Over a scene already loaded (owned).
    SceneDrawable(std::unique_ptr<AE::ISceneNode> scene, std::vector<SceneCue> cueList, float latestStart,
                  int layerValue);
    ~SceneDrawable() override;

    void draw(int x, int y) override;
    Drawable* clone() const override;
    bool isAlive() override { return true; }
    // Plays the cues that are due, then advances the scene.
    void update(float dt) override;

    float maxStart = 0.0f;
    float elapsed = 0.0f;
    std::unique_ptr<AE::ISceneNode> root;
    std::vector<SceneCue> cues;
};

// The drawable an entry (type name, resource, third value, layer, colour
// suffix) describes; null for an unknown type name.
Drawable* createDrawable(const std::string& type, const std::string& resource, const std::string& third,
                         int layer, const std::string& suffix);
