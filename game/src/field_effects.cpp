#include "field_effects.h"

#include <algorithm>

#include "behavior.h"
#include "chip.h"
#include "field_scene.h"
#include "game_field.h"
#include "game_level.h"
#include "game_state_manager.h"
#include "log_system.h"
#include "particle_fx.h"
#include "particle_system.h"
#include "sound_system/sound_manager.h"
#include "sprite.h"
#include "sprite_manager.h"

namespace {

void reportMissingScene(const std::string& sceneName)
{
    VQ::logIfPossible(VQ::formatString("ERROR: Failed to load scene %s for a board effect", sceneName.c_str()));
}

template <typename Listener>
void addOnce(std::vector<Listener*>& listeners, Listener* listener)
{
    if (listener && std::find(listeners.begin(), listeners.end(), listener) == listeners.end())
        listeners.push_back(listener);
}

}  // namespace

// --- SceneEffect ---

SceneEffect::SceneEffect(const std::string& sceneName, int layerValue, const VQ::Vector2f& position,
                         float delaySeconds, const std::string& markerName)
    : SceneEffect(loadFieldScene(sceneName), sceneName, layerValue, position, delaySeconds, markerName)
{
}

SceneEffect::SceneEffect(std::unique_ptr<AE::ISceneNode> scene, const std::string& sceneName, int layerValue,
                         const VQ::Vector2f& position, float delaySeconds, const std::string& markerName)
    : root(std::move(scene)), delay(delaySeconds)
{
    layer = layerValue;
    if (!root) {
        reportMissingScene(sceneName);
        broken = true;
        return;
    }
    root->setPosition(position);
    AE::Marker* marker = root->getMarker(markerName);
    if (!marker) {
        VQ::logIfPossible(VQ::formatString("ERROR: Can't find marker '%s' in scene %s for a board effect", markerName.c_str(),
                                 sceneName.c_str()));
        broken = true;
        return;
    }
    marker->addListener(this);
    marker->start(true);
}

void SceneEffect::update(float dt)
{
    if (finished)
        return;
    if (broken) {
        finish();
        return;
    }
    if (delay > 0.0f)
        delay -= dt;
    else
        root->update(dt);
}

void SceneEffect::draw()
{
    if (root && !broken && delay <= 0.0f)
        AE::renderScene(root.get());
}

void SceneEffect::onMarkerFinished(AE::Marker*)
{
    finish();
}

void SceneEffect::finish()
{
    if (finished)
        return;
    for (SceneEffectListener* listener : listeners)
        listener->onSceneEffectFinished(this);
    finished = true;
}

void SceneEffect::addListener(SceneEffectListener* listener)
{
    addOnce(listeners, listener);
}

// --- SceneFlyingEffect ---

SceneFlyingEffect::SceneFlyingEffect(const std::string& name, int layerValue, const VQ::Vector2f& fromPoint,
                                     const VQ::Vector2f& toPoint)
    : SceneFlyingEffect(loadFieldScene(name), name, layerValue, fromPoint, toPoint)
{
}

SceneFlyingEffect::SceneFlyingEffect(std::unique_ptr<AE::ISceneNode> scene, const std::string& name, int layerValue,
                                     const VQ::Vector2f& fromPoint, const VQ::Vector2f& toPoint)
    : root(std::move(scene)), sceneName(name), from(fromPoint), to(toPoint)
{
    layer = layerValue;
    if (!root)
        reportMissingScene(sceneName);
    else
        root->setPosition(from);
}

void SceneFlyingEffect::startMarker(const std::string& name)
{
    if (!root)
        return;
    if (AE::Marker* marker = root->requireMarker(name))
        marker->start(true);
}

void SceneFlyingEffect::prepare()
{
    if (!root)
        return;
    float seconds = 0.0f;
    if (!markerNumber(*root, "#time:", seconds) || seconds <= 0.0f) {
        VQ::logIfPossible(VQ::formatString("ERROR: Flying scene %s has no \"#time:\" marker", sceneName.c_str()));
        untimed = true;
        seconds = 0.0f;
    }
    duration = timeLeft = seconds;
    endMarker = root->getMarker("end");
}

void SceneFlyingEffect::update(float dt)
{
    if (finished)
        return;
    if (!root) {
        finish();
        return;
    }
    if (untimed) {
        if (!arrivedOnce) {
            root->setPosition(to);
            arrive();
        }
    } else if (timeLeft != 0.0f) {
        timeLeft = std::max(timeLeft - dt, 0.0f);
        const float k = timeLeft / duration;
        root->setPosition(to - (to - from) * k);
        if (timeLeft == 0.0f)
            arrive();
    }
    root->update(dt);
}

void SceneFlyingEffect::arrive()
{
    arrivedOnce = true;
    if (endMarker) {
        endMarker->addListener(this);
        endMarker->start(true);
    } else {
        finish();
    }
}

void SceneFlyingEffect::draw()
{
    if (root)
        AE::renderScene(root.get());
}

void SceneFlyingEffect::onMarkerFinished(AE::Marker*)
{
    finish();
}

void SceneFlyingEffect::finish()
{
    if (finished)
        return;
    for (SceneFlyingEffectListener* listener : listeners)
        listener->onSceneFlyingEffectFinished(this);
    finished = true;
}

void SceneFlyingEffect::addListener(SceneFlyingEffectListener* listener)
{
    addOnce(listeners, listener);
}

// --- FlyingEffect ---

FlyingEffect::FlyingEffect(VQ::ParticleFX* particles, const VQ::Vector2f& fromPoint, const VQ::Vector2f& toPoint,
                           float seconds, float delaySeconds)
    : effect(particles), from(fromPoint), to(toPoint), duration(seconds), timeLeft(seconds), delay(delaySeconds)
{
    layer = LAYER;
}

FlyingEffect::~FlyingEffect()
{
    if (effect)
        if (VQ::ParticleSystem* particles = VQ::ParticleSystem::instancePtr())
            particles->release(effect);
}

void FlyingEffect::update(float dt)
{
    if (delay > 0.0f) {
        delay -= dt;
        return;
    }
    timeLeft = std::max(timeLeft - dt, 0.0f);
    // A flight of no length is at its target at once.
    const float k = duration > 0.0f ? timeLeft / duration : 0.0f;
    position = to - (to - from) * k;
    if (effect)
        effect->update(dt);
    if (timeLeft == 0.0f)
        finished = true;
}

void FlyingEffect::draw()
{
    if (!effect)
        return;
    effect->mPosition = position;
    effect->draw();
    effect->draw();
}

// --- FreezingRingEffect ---

FreezingRingEffect::FreezingRingEffect(const VQ::Vector2f& centrePoint, float radiusCells)
    : centre(centrePoint), radius(radiusCells)
{
    layer = LAYER;
    sprite = VQ::SpriteManager<VQ::Sprite>::instance()->createSpriteFromScript("freezing_ring_sprites",
                                                                              "s_freezing_ring", "default");
    baseWidth = sprite->size().x;
    if (const GameStateManager* states = GameStateManager::instancePtr())
        if (const GameLevel* level = states->getGameLevel())
            field = level->field;
}

FreezingRingEffect::~FreezingRingEffect()
{
    if (sprite)
        VQ::SpriteManager<VQ::Sprite>::instance()->releaseSprite(sprite);
}

void FreezingRingEffect::update(float dt)
{
    time = std::min(time + dt, LIFETIME);
    if (time == LIFETIME)
        finished = true;
}

void FreezingRingEffect::draw()
{
    if (!field || !sprite)
        return;
    const float cs = static_cast<float>(field->cellSize);
    const float k = time / LIFETIME;
    const float r = radius * cs * k;
    // A ring of no size has no texture scale.
    if (r <= 0.0f)
        return;
    const float alpha = currentLevelFade() * (1.0f - k);
    const float texScale = baseWidth / (2.0f * r);
    const float left = cs * centre.x - r, top = cs * centre.y - r;
    const float right = cs * centre.x + r, bottom = cs * centre.y + r;
    auto columnOf = [&](float x) { return std::clamp(static_cast<int>(x), 0, field->gridWidth - 1); };
    // Rows beyond the last play row do not exist.
    auto rowOf = [&](float y) { return std::clamp(static_cast<int>(y), 1, std::max(field->gridHeight, 1)); };
    const int firstColumn = columnOf(centre.x - r / cs), lastColumn = columnOf(centre.x + r / cs);
    const int firstRow = rowOf(centre.y - r / cs), lastRow = rowOf(centre.y + r / cs);
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const FieldCell* cell = field->cellAt(column, row);
            if (!cell || cell->solidity == 0)
                continue;
            if (cell->chip && cell->chip->hasBehavior(BEHAVIOR_ICE))
                continue;
            const float cellLeft = column * cs, cellTop = row * cs;
            const float oLeft = std::max(left, cellLeft), oRight = std::min(right, cellLeft + cs);
            const float oTop = std::max(top, cellTop), oBottom = std::min(bottom, cellTop + cs);
            if (oRight <= oLeft || oBottom <= oTop)
                continue;
            sprite->setSize(VQ::Vector2f(oRight - oLeft, oBottom - oTop));
            sprite->setPositionXY(oLeft, oTop);
            sprite->setSourceRect(0,
                                  VQ::Rect((oLeft - left) * texScale, (oTop - top) * texScale,
                                           (oRight - left) * texScale, (oBottom - top) * texScale),
                                  false);
            sprite->updateTexCoords();
            sprite->setColor(VQ::Color(cell->color.r / 255.0f, cell->color.g / 255.0f, cell->color.b / 255.0f, alpha));
            sprite->updateVertices();
            sprite->draw();
        }
    }
}

// --- SoundEffect ---

SoundEffect::SoundEffect(int soundId, float delaySeconds) : sound(soundId), delay(delaySeconds) {}

void SoundEffect::update(float dt)
{
    delay -= dt;
    if (delay <= 0.0f) {
        finished = true;
        if (VQ::SoundManager* sounds = VQ::SoundManager::instancePtr())
            sounds->createAndPlay(sound);
    }
}
