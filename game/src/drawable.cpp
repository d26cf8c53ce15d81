#include "drawable.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "animation.h"
#include "animationeditor/scene_node.h"
#include "chip_manager.h"
#include "fatal_error.h"
#include "field_scene.h"
#include "game_state_manager.h"
#include "lua_script_2.h"
#include "log_system.h"
#include "particle_fx.h"
#include "particle_system.h"
#include "sprite.h"
#include "sprite_manager.h"

ParticleFXDrawable::ParticleFXDrawable(const std::string& effectName, int layerValue)
    : ParticleFXDrawable(effectName, layerValue, Deferred())
{
    effectRequested = true;
    effect = VQ::ParticleSystem::instance()->create(name);
    if (!effect)
        VQ::assertFailed("VQ", VQ::formatString("Fail to load particle from %s", name.c_str()), "Drawable", 210);
}

ParticleFXDrawable::ParticleFXDrawable(const std::string& effectName, int layerValue, Deferred) : name(effectName)
{
    layer = layerValue;
}

ParticleFXDrawable::~ParticleFXDrawable()
{
    if (effect) {
        if (VQ::ParticleSystem* particles = VQ::ParticleSystem::instancePtr())
            particles->release(effect);
    }
}

VQ::ParticleFX* ParticleFXDrawable::acquire()
{
    if (!effectRequested) {
        effectRequested = true;
        effect = VQ::ParticleSystem::instance()->create(name);
    }
    return effect;
}

void ParticleFXDrawable::draw(int x, int y)
{
    if (!acquire())
        return;
    // Shown afresh: the effect plays from its start.
    if (visible && visible != wasVisible)
        effect->restart();
    effect->mPosition = VQ::Vector2f(static_cast<float>(x), static_cast<float>(y));
    effect->setAlpha(alpha);
    effect->draw();
}

Drawable* ParticleFXDrawable::clone() const
{
    auto* copy = new ParticleFXDrawable(name, layer, Deferred());
    copy->restartOnShow = restartOnShow;
    return copy;
}

bool ParticleFXDrawable::isAlive()
{
    return acquire() && !effect->isFinished();
}

void ParticleFXDrawable::update(float dt)
{
    if (acquire() && visible)
        effect->update(dt);
}

// --- Sprite kinds ---

namespace {

VQ::Sprite* spriteFromChipScript(const std::string& script, const std::string& table, int line)
{
    VQ::LuaScript2* lua = ChipManager::instance()->getScript(script);
    if (!lua || !lua->openTable(table))
        VQ::assertFailed("VQ", "", "Drawable", line);
    VQ::Sprite* sprite = VQ::SpriteManager<VQ::Sprite>::instance()->createSpriteFromTable(*lua);
    lua->closeTable();
    return sprite;
}

}  // namespace

SpriteDrawable::SpriteDrawable(const std::string& script, const std::string& table, int layerValue)
    : sprite(spriteFromChipScript(script, table, 67))
{
    layer = layerValue;
}

SpriteDrawable::SpriteDrawable(VQ::Sprite* copy) : sprite(copy) {}

SpriteDrawable::~SpriteDrawable()
{
    if (sprite)
        if (auto* sprites = VQ::SpriteManager<VQ::Sprite>::instancePtr())
            sprites->releaseSprite(sprite);
}

void SpriteDrawable::drawSprite(int x, int y)
{
    const uint32_t cols = sprite->cols();
    const uint32_t corners[4] = {0, 1, cols + 1, cols + 2};
    for (int i = 0; i < 4; ++i)
        if (corners[i] < sprite->vertexCount())
            sprite->setVertexColor(corners[i], VQ::Color(1.0f, 1.0f, 1.0f, cornerAlpha[i] * alpha));
    if (clipEnabled != sprite->clipEnabled()) {
        sprite->setClipEnabled(clipEnabled);
        sprite->markDirty();
    }
    if (clipEnabled)
        sprite->setClipRect(clipRect);
    const float cell = static_cast<float>(currentBoardCellSize());
    sprite->setSize(VQ::Vector2f(cell, cell));
    sprite->setPositionXY(static_cast<float>(x), static_cast<float>(y));
    sprite->updateVertices();
    sprite->draw();
}

void SpriteDrawable::draw(int x, int y)
{
    drawSprite(x, y);
}

Drawable* SpriteDrawable::clone() const
{
    auto* copy = new SpriteDrawable(VQ::SpriteManager<VQ::Sprite>::instance()->cloneSprite(sprite));
    copy->layer = layer;
    copy->restartOnShow = restartOnShow;
    return copy;
}

AnimSpriteDrawable::AnimSpriteDrawable(const std::string& script, const std::string& table, int layerValue)
    : SpriteDrawable(spriteFromChipScript(script, table, 124))
{
    layer = layerValue;
    animation = new VQ::Animation();
    sprite->bindAnimation(*animation);
    animation->load(script, "default", table);
    animation->loop = true;
    animation->playing = true;
}

AnimSpriteDrawable::AnimSpriteDrawable(const AnimSpriteDrawable& source, int)
    : SpriteDrawable(VQ::SpriteManager<VQ::Sprite>::instance()->cloneSprite(source.sprite))
{
    layer = source.layer;
    restartOnShow = source.restartOnShow;
    animation = new VQ::Animation(*source.animation);
    sprite->bindAnimation(*animation);
    animation->loop = true;
    animation->playing = true;
}

AnimSpriteDrawable::~AnimSpriteDrawable()
{
    delete animation;
}

void AnimSpriteDrawable::draw(int x, int y)
{
    if (restartOnShow && visible != wasVisible) {
        animation->time = 0.0f;
        animation->update(0.0f);
        animation->playing = visible;
    }
    drawSprite(x, y);
}

Drawable* AnimSpriteDrawable::clone() const
{
    return new AnimSpriteDrawable(*this, 0);
}

void AnimSpriteDrawable::update(float dt)
{
    animation->update(dt);
}

// --- Scenes ---

std::vector<SceneCue> parseSceneCues(const std::string& text, const std::string& suffix, float& maxStart)
{
    constexpr size_t MAX_TOKEN = 31;
    constexpr size_t MAX_NAME = 63;
    std::vector<SceneCue> cues;
    size_t pos = 0;
    const size_t length = text.size();
    while (pos < length) {
        const size_t end = std::min(text.find_first_of(";(", pos), length);
        const std::string token = text.substr(pos, std::min(end - pos, MAX_TOKEN));
        pos = end;
        // The token names the marker; "%s" in it stands for the colour.
        std::string name;
        for (size_t i = 0; i < token.size(); ++i) {
            if (token[i] == '%' && i + 1 < token.size() && token[i + 1] == 's') {
                name += suffix;
                ++i;
            } else {
                name += token[i];
            }
        }
        if (name.size() > MAX_NAME)
            name.resize(MAX_NAME);
        SceneCue cue;
        cue.name = name;
        if (pos < length && text[pos] == '(') {
            ++pos;
            std::string digits;
            while (pos < length && (std::isdigit(static_cast<unsigned char>(text[pos])) || text[pos] == '.'))
                digits += text[pos++];
            cue.start = static_cast<float>(std::strtod(digits.c_str(), nullptr));
            if (pos < length && text[pos] == ')')
                ++pos;
        }
        maxStart = std::max(maxStart, cue.start);
        cues.push_back(cue);
        if (pos < length && text[pos] == ';')
            ++pos;
    }
    return cues;
}

SceneDrawable::SceneDrawable(const std::string& sceneName, const std::string& cueText, const std::string& suffix,
                             int layerValue)
    : root(loadFieldScene(sceneName))
{
    layer = layerValue;
    if (!root)
        VQ::assertFailed("VQ", VQ::formatString("Fail to load %s scene file", sceneName.c_str()), "Drawable", 283);
    cues = parseSceneCues(cueText, suffix, maxStart);
}

SceneDrawable::SceneDrawable(std::unique_ptr<AE::ISceneNode> scene, std::vector<SceneCue> cueList,
                             float latestStart, int layerValue)
    : maxStart(latestStart), root(std::move(scene)), cues(std::move(cueList))
{
    layer = layerValue;
}

SceneDrawable::~SceneDrawable() = default;

void SceneDrawable::draw(int x, int y)
{
    root->setPosition(static_cast<float>(x), static_cast<float>(y));
    root->color = VQ::Color(1.0f, 1.0f, 1.0f, alpha);
    root->update(0.0f);
    AE::renderScene(root.get());
}

Drawable* SceneDrawable::clone() const
{
    std::unique_ptr<AE::ISceneNode> copy(root->clone(nullptr));
    std::vector<SceneCue> fresh = cues;
    for (SceneCue& cue : fresh)
        cue.played = false;
    auto* drawable = new SceneDrawable(std::move(copy), std::move(fresh), maxStart, layer);
    drawable->visible = visible;
    drawable->wasVisible = wasVisible;
    drawable->restartOnShow = restartOnShow;
    std::copy(std::begin(cornerAlpha), std::end(cornerAlpha), drawable->cornerAlpha);
    drawable->alpha = alpha;
    drawable->clipEnabled = clipEnabled;
    drawable->clipRect = clipRect;
    drawable->update(0.0f);
    return drawable;
}

void SceneDrawable::update(float dt)
{
    if (maxStart >= elapsed) {
        elapsed += dt;
        for (SceneCue& cue : cues) {
            if (cue.played || cue.start > elapsed)
                continue;
            if (AE::Marker* marker = root->requireMarker(cue.name))
                marker->start(true);
            cue.played = true;
        }
    }
    root->update(dt);
}

Drawable* createDrawable(const std::string& type, const std::string& resource, const std::string& third,
                         int layer, const std::string& suffix)
{
    // Sprite tables are named per colour; particle effects ignore the third
    // value; scenes format their cue names with the suffix.
    if (type == "Sprite")
        return new SpriteDrawable(resource, third + suffix, layer);
    if (type == "AnimSprite")
        return new AnimSpriteDrawable(resource, third + suffix, layer);
    if (type == "ParticleFX")
        return new ParticleFXDrawable(resource, layer);
    if (type == "Scene")
        return new SceneDrawable(resource, third, suffix, layer);
    return nullptr;
}
