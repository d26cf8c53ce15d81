#pragma once
// One visual piece of a chip layer or a board effect. A layer shows, hides,
// fades and advances its drawables as the chip's state changes; the board
// renderer draws them in the order of their layer value.

#include <string>

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

// Takes the place of the sprite, animated sprite and scene kinds while those
// cannot be built: it remembers what its entry named, draws
// nothing and is no longer wanted once it has been advanced.
class PlaceholderDrawable : public Drawable {
public:
    PlaceholderDrawable(std::string kind, std::string resource, std::string table, int layerValue);

    void draw(int, int) override {}
    Drawable* clone() const override;
    bool isAlive() override { return !updated; }
    void update(float) override { updated = true; }

    std::string kind;
    std::string resource;
    std::string table;
    bool updated = false;
};

// The drawable an entry (type name, resource, third value, layer, colour
// suffix) describes; null for an unknown type name.
Drawable* createDrawable(const std::string& type, const std::string& resource, const std::string& third,
                         int layer, const std::string& suffix);
