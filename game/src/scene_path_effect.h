#pragma once
// An effect that flies a scene from chip to chip over the board (the colour
// destroyer's and transformer's trail) at a steady speed, playing the
// scene's "point" marker at every arrival. Without its scene it is at each
// target at once.

#include <memory>
#include <string>
#include <vector>

#include "animationeditor/marker.h"
#include "animationeditor/scene_node.h"
#include "game_field_effect.h"
#include "vector2.h"

class ScenePathEffect;

class ScenePathEffectListener {
public:
    virtual ~ScenePathEffectListener() = default;
    virtual void onScenePathEffectArrived(ScenePathEffect* effect) = 0;
};

class ScenePathEffect : public GameFieldEffect, public AE::MarkerListener {
public:
    static constexpr float DEFAULT_SPEED = 825.0f;
    static constexpr int LAYER = 50;

    // Loads the scene and starts its marker of that name.
    ScenePathEffect(const std::string& sceneName, const std::string& markerName);
    // The same over a scene already loaded (null: none).
    ScenePathEffect(std::unique_ptr<AE::ISceneNode> scene, const std::string& sceneName,
                    const std::string& markerName);

    void update(float dt) override;
    void draw() override;
    void onMarkerFinished(AE::Marker* marker) override;

    // Places the scene without flying there; the effect counts as arrived.
    void placeAt(const VQ::Vector2f& point);
    // Sends the effect on to a board-pixel point; arrived is cleared (and
    // set again at once without a scene).
    void sendTo(const VQ::Vector2f& point);
    // Starts the scene's "end" marker, or without one the marker running
    // since the start, and finishes the effect when that marker ends; an
    // effect with neither finishes at once.
    void startEndMarker();
    void addArrivalListener(ScenePathEffectListener* listener);

    std::unique_ptr<AE::ISceneNode> root;
    std::string scene;
    std::string marker;
    VQ::Vector2f position{0.0f, 0.0f};
    VQ::Vector2f target{0.0f, 0.0f};
    float speed = DEFAULT_SPEED;
    bool arrived = false;
    AE::Marker* endMarker = nullptr;  // the scene's
    std::vector<ScenePathEffectListener*> arrivalListeners;  // not owned

private:
    void onArrival();
    AE::Marker* runningMarker = nullptr;  // the scene's
};
