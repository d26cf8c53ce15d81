#pragma once
// An effect that flies a scene from chip to chip over the board (the colour
// destroyer's and transformer's trail). Until the board can show scenes it
// has nothing to play: sent to a point, it is there at once, and starting
// its "end" marker ends it.

#include <string>

#include "game_field_effect.h"
#include "vector2.h"

class ScenePathEffect : public GameFieldEffect {
public:
    static constexpr float DEFAULT_SPEED = 825.0f;

    ScenePathEffect(std::string sceneName, std::string markerName);

    void update(float dt) override;
    // Places the scene without flying there; the effect counts as arrived.
    void placeAt(const VQ::Vector2f& point);
    // Sends the effect on to a board-pixel point; arrived is cleared.
    void sendTo(const VQ::Vector2f& point);
    // Starts the "end" marker with the effect as its listener: the effect
    // finishes when the marker does.
    void startEndMarker();

    std::string scene;
    std::string marker;
    VQ::Vector2f position{0.0f, 0.0f};
    VQ::Vector2f target{0.0f, 0.0f};
    float speed = DEFAULT_SPEED;
    bool arrived = false;
};
