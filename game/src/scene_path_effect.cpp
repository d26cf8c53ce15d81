#include "scene_path_effect.h"

#include <algorithm>
#include <cmath>

#include "field_scene.h"
#include "log_system.h"

ScenePathEffect::ScenePathEffect(const std::string& sceneName, const std::string& markerName)
    : ScenePathEffect(loadFieldScene(sceneName), sceneName, markerName)
{
}

ScenePathEffect::ScenePathEffect(std::unique_ptr<AE::ISceneNode> sceneRoot, const std::string& sceneName,
                                 const std::string& markerName)
    : root(std::move(sceneRoot)), scene(sceneName), marker(markerName)
{
    layer = LAYER;
    if (!root) {
        VQ::logIfPossible(VQ::formatString("ERROR: Failed to load scene %s for a board effect", scene.c_str()));
        return;
    }
    runningMarker = root->getMarker(marker);
    if (runningMarker)
        runningMarker->start(true);
    float value = 0.0f;
    if (markerNumber(*root, "#speed:", value))
        speed = value;
    endMarker = root->getMarker("end");
}

void ScenePathEffect::update(float dt)
{
    if (finished)
        return;
    if (!arrived) {
        float step = speed * dt;
        const VQ::Vector2f d = target - position;
        const float distance = std::sqrt(d.x * d.x + d.y * d.y);
        if (distance <= step)
            arrived = true;
        step = std::min(step, distance);
        // At the target already: no direction to move in.
        if (distance > 0.0f)
            position = position + d * (step / distance);
        if (root)
            root->setPosition(position);
        if (arrived)
            onArrival();
    }
    if (root)
        root->update(dt);
}

void ScenePathEffect::onArrival()
{
    if (root)
        if (AE::Marker* point = root->requireMarker("point"))
            point->start(true);
    for (ScenePathEffectListener* listener : arrivalListeners)
        listener->onScenePathEffectArrived(this);
}

void ScenePathEffect::draw()
{
    if (root && !finished)
        AE::renderScene(root.get());
}

void ScenePathEffect::onMarkerFinished(AE::Marker* finishedMarker)
{
    if (finishedMarker == endMarker)
        finished = true;
}

void ScenePathEffect::placeAt(const VQ::Vector2f& point)
{
    position = target = point;
    arrived = true;
    if (root) {
        root->setPosition(position);
        root->update(0.0f);
    }
}

void ScenePathEffect::sendTo(const VQ::Vector2f& point)
{
    target = point;
    arrived = false;
    // Nothing to fly: at the target at once.
    if (!root) {
        position = target;
        arrived = true;
        onArrival();
    }
}

void ScenePathEffect::startEndMarker()
{
    AE::Marker* last = root ? root->getMarker("end") : nullptr;
    if (!last)
        last = runningMarker;
    if (!last) {
        finished = true;
        return;
    }
    endMarker = last;
    last->addListener(this);
    last->start(true);
}

void ScenePathEffect::addArrivalListener(ScenePathEffectListener* listener)
{
    if (listener && std::find(arrivalListeners.begin(), arrivalListeners.end(), listener) == arrivalListeners.end())
        arrivalListeners.push_back(listener);
}
