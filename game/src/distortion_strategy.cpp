#include "distortion_strategy.h"

#include <algorithm>

#include "fatal_error.h"
#include "game_field.h"
#include "game_field_renderer.h"
#include "random.h"
#include "render_system.h"
#include "sprite.h"
#include "sprite_manager.h"

DistortionStrategy::DistortionStrategy(const char* table)
    : sprite(VQ::SpriteManager<VQ::Sprite>::instance()->createSpriteFromScript("normalmaps_sprites", table,
                                                                              "default"))
{
}

DistortionStrategy::~DistortionStrategy()
{
    if (sprite)
        if (auto* sprites = VQ::SpriteManager<VQ::Sprite>::instancePtr())
            sprites->releaseSprite(sprite);
}

void DistortionStrategy::drawSprite(const DistortionSource& source, const VQ::Color& color)
{
    const VQ::Vector2f size(sprite->size().x * source.scaleX, sprite->size().y * source.scaleY);
    sprite->setScaleXY(source.scaleX, source.scaleY);
    sprite->setPositionXY(source.x - size.x / 2.0f, source.y - size.y / 2.0f);
    sprite->setColor(color);
    sprite->updateVertices();
    sprite->draw();
}

DistortionFromExplosionStrategy::DistortionFromExplosionStrategy() : DistortionStrategy("explosion_normalmap") {}

void DistortionFromExplosionStrategy::advance(DistortionSource& source, float dt)
{
    source.scaleX += 4.0f * dt;
    source.scaleY += 4.0f * dt;
}

void DistortionFromExplosionStrategy::render(const DistortionSource& source, float intensity)
{
    drawSprite(source, VQ::Color(1.0f, 1.0f, 1.0f, source.timeLeft * intensity / source.duration));
}

DistortionFromTorchStrategy::DistortionFromTorchStrategy() : DistortionStrategy("fire_normalmap") {}

void DistortionFromTorchStrategy::advance(DistortionSource& source, float dt)
{
    source.scaleX += 0.25f * dt;
    source.scaleY += 0.25f * dt;
}

void DistortionFromTorchStrategy::render(const DistortionSource& source, float intensity)
{
    const float a =
        intensity * std::min(source.duration - source.timeLeft, 1.0f) * source.timeLeft / source.duration;
    drawSprite(source, VQ::Color(a, a, a, a));
}

float& torchTimer()
{
    static float timer = 0.0f;
    return timer;
}

namespace {

float unitRandom()
{
    return static_cast<float>(VQ::rand()) / 32767.0f;
}

DistortionStrategy& strategyFor(GameFieldRenderer& renderer, int32_t index, int line)
{
    if (index == 0)
        return renderer.explosionStrategy;
    if (index != 1)
        VQ::assertFailed("VQ", "Bad distortion strategy specified", "GameFieldRenderer", line);
    return renderer.torchStrategy;
}

}  // namespace

void spawnTorchDistortions(GameFieldRenderer& renderer, float dt)
{
    const float period = 1.0f + 0.5f * unitRandom();
    float& timer = torchTimer();
    timer += dt;
    if (timer <= period * 0.5f)
        return;
    timer = 0.0f;
    const GameField& field = *renderer.field;
    const float cell = static_cast<float>(field.cellSize);
    for (const VQ::Vector2f& p : field.torchPositions) {
        const float jitter = unitRandom();
        // Drawn for the height as well, but it moves nothing.
        const float heightJitter = unitRandom() * 0.0f;
        DistortionSource source;
        source.scaleX = 0.25f + 0.2f * unitRandom();
        source.scaleY = 0.25f + 0.2f * unitRandom();
        source.x = renderer.camera.position.x + cell * (p.x + jitter);
        source.y = renderer.camera.position.y + cell * (p.y + heightJitter);
        source.duration = source.timeLeft = period;
        source.strategy = 1;
        renderer.pushDistortionSource(source);
    }
}

void updateDistortion(GameFieldRenderer& renderer, float dt)
{
    spawnTorchDistortions(renderer, dt);
    auto& sources = renderer.distortionSources;
    for (auto it = sources.begin(); it != sources.end();) {
        it->timeLeft -= dt;
        if (it->timeLeft < 0.0f) {
            it = sources.erase(it);
            continue;
        }
        strategyFor(renderer, it->strategy, 512).advance(*it, dt);
        ++it;
    }
}

void renderDistortion(GameFieldRenderer& renderer)
{
    VQ::RenderSystem* render = VQ::RenderSystem::instance();
    if (!distortionPassAvailable(*render) || renderer.distortionSources.empty())
        return;
    render->beginDistortion();
    for (const DistortionSource& source : renderer.distortionSources)
        strategyFor(renderer, source.strategy, 530).render(source, renderer.distortionIntensity);
    render->endDistortion();
}
