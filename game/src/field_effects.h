#pragma once
// The kinds of board effects that belong to no chip: a scene played at a
// point, a scene flying between two points, a particle effect flying
// between two points, the ice's freezing ring and a delayed sound. Each
// lives on the renderer's effect list, which deletes it once finished.

#include <memory>
#include <string>
#include <vector>

#include "animationeditor/marker.h"
#include "animationeditor/scene_node.h"
#include "game_field_effect.h"
#include "vector2.h"

namespace VQ {
class ParticleFX;
class Sprite;
}  // namespace VQ
class GameField;
class SceneEffect;
class SceneFlyingEffect;

class SceneEffectListener {
public:
    virtual ~SceneEffectListener() = default;
    virtual void onSceneEffectFinished(SceneEffect* effect) = 0;
};

class SceneFlyingEffectListener {
public:
    virtual ~SceneFlyingEffectListener() = default;
    virtual void onSceneFlyingEffectFinished(SceneFlyingEffect* effect) = 0;
};

// A scene played once at a point, after a delay; finished with its marker.
class SceneEffect : public GameFieldEffect, public AE::MarkerListener {
public:
    SceneEffect(const std::string& sceneName, int layerValue, const VQ::Vector2f& position, float delaySeconds,
                const std::string& markerName);
    // The same over a scene already loaded (null: missing); `sceneName` names
    // it in the error report.
    SceneEffect(std::unique_ptr<AE::ISceneNode> scene, const std::string& sceneName, int layerValue,
                const VQ::Vector2f& position, float delaySeconds, const std::string& markerName);

    void update(float dt) override;
    void draw() override;
    void onMarkerFinished(AE::Marker* marker) override;
    void addListener(SceneEffectListener* listener);

    std::unique_ptr<AE::ISceneNode> root;
    float delay = 0.0f;
    std::vector<SceneEffectListener*> listeners;  // not owned

private:
    void finish();
    // The scene or its marker is missing: the effect ends at its first
    // update as if it had played.
    bool broken = false;
};

// A scene that flies from one point to another in the time its "#time:"
// marker names, then plays its "end" marker when it has one.
class SceneFlyingEffect : public GameFieldEffect, public AE::MarkerListener {
public:
    SceneFlyingEffect(const std::string& sceneName, int layerValue, const VQ::Vector2f& fromPoint,
                      const VQ::Vector2f& toPoint);
    SceneFlyingEffect(std::unique_ptr<AE::ISceneNode> scene, const std::string& sceneName, int layerValue,
                      const VQ::Vector2f& fromPoint, const VQ::Vector2f& toPoint);

    // Starts a marker of the scene with force; a missing one is reported.
    void startMarker(const std::string& name);
    // Reads the flight time and the end marker from the scene.
    void prepare();

    void update(float dt) override;
    void draw() override;
    void onMarkerFinished(AE::Marker* marker) override;
    void addListener(SceneFlyingEffectListener* listener);

    std::unique_ptr<AE::ISceneNode> root;
    std::string sceneName;
    VQ::Vector2f from;
    VQ::Vector2f to;
    float duration = 0.0f;
    float timeLeft = 0.0f;
    AE::Marker* endMarker = nullptr;  // the scene's
    std::vector<SceneFlyingEffectListener*> listeners;  // not owned

private:
    void arrive();
    void finish();
    // No "#time:": the effect arrives at its first update.
    bool untimed = false;
    bool arrivedOnce = false;
};

// A particle effect flying in a straight line, after a delay.
class FlyingEffect : public GameFieldEffect {
public:
    static constexpr int LAYER = 1000;

    // Takes the effect (handed back to the particle system when deleted).
    FlyingEffect(VQ::ParticleFX* particles, const VQ::Vector2f& fromPoint, const VQ::Vector2f& toPoint,
                 float seconds, float delaySeconds);
    ~FlyingEffect() override;
    FlyingEffect(const FlyingEffect&) = delete;
    FlyingEffect& operator=(const FlyingEffect&) = delete;

    void update(float dt) override;
    // Every particle is painted twice: the flight is meant to glow.
    void draw() override;

    VQ::ParticleFX* effect;
    VQ::Vector2f from;
    VQ::Vector2f to;
    float duration;
    float timeLeft;
    float delay;
    VQ::Vector2f position{0.0f, 0.0f};
};

// The ice's ring: a disc growing to `radius` cells in 1.2 s while it fades,
// painted only over the board's existing cells, tinted by each cell.
class FreezingRingEffect : public GameFieldEffect {
public:
    static constexpr int LAYER = 1000;
    static constexpr float LIFETIME = 1.2f;

    // `centre` in cell units; the board is the level's being played.
    FreezingRingEffect(const VQ::Vector2f& centrePoint, float radiusCells);
    ~FreezingRingEffect() override;
    FreezingRingEffect(const FreezingRingEffect&) = delete;
    FreezingRingEffect& operator=(const FreezingRingEffect&) = delete;

    void update(float dt) override;
    void draw() override;

    VQ::Vector2f centre;
    float time = 0.0f;
    float radius;
    VQ::Sprite* sprite = nullptr;
    float baseWidth = 0.0f;
    GameField* field = nullptr;  // not owned
    float fade = 1.0f;
};

// A sound played after a delay.
class SoundEffect : public GameFieldEffect {
public:
    SoundEffect(int soundId, float delaySeconds);
    void update(float dt) override;

    int sound;
    float delay;
};
