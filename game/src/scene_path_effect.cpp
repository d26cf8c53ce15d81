#include "scene_path_effect.h"

ScenePathEffect::ScenePathEffect(std::string sceneName, std::string markerName)
    : scene(std::move(sceneName)), marker(std::move(markerName))
{
    layer = 50;
}

void ScenePathEffect::update(float)
{
    if (finished)
        return;
    if (!arrived) {
        position = target;
        arrived = true;
    }
}

void ScenePathEffect::placeAt(const VQ::Vector2f& point)
{
    position = point;
    arrived = true;
}

void ScenePathEffect::sendTo(const VQ::Vector2f& point)
{
    target = point;
    arrived = false;
    // Nothing is drawn on the way, and nobody may be updating the effect
    // list (a board without a renderer): arrive at once.
    update(0.0f);
}

void ScenePathEffect::startEndMarker()
{
    // With no scene, the marker has nothing to play and ends as it starts.
    finished = true;
}
