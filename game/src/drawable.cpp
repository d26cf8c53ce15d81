#include "drawable.h"

#include "fatal_error.h"
#include "log_system.h"
#include "particle_fx.h"
#include "particle_system.h"

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

PlaceholderDrawable::PlaceholderDrawable(std::string kindName, std::string resourceName, std::string tableName,
                                         int layerValue)
    : kind(std::move(kindName)), resource(std::move(resourceName)), table(std::move(tableName))
{
    layer = layerValue;
}

Drawable* PlaceholderDrawable::clone() const
{
    auto* copy = new PlaceholderDrawable(kind, resource, table, layer);
    copy->restartOnShow = restartOnShow;
    return copy;
}

Drawable* createDrawable(const std::string& type, const std::string& resource, const std::string& third,
                         int layer, const std::string& suffix)
{
    // Sprite tables are named per colour; particle effects ignore the third
    // value; scenes keep their cue text, whose markers are formatted later.
    if (type == "Sprite" || type == "AnimSprite")
        return new PlaceholderDrawable(type, resource, third + suffix, layer);
    if (type == "ParticleFX")
        return new ParticleFXDrawable(resource, layer);
    if (type == "Scene")
        return new PlaceholderDrawable(type, resource, third, layer);
    return nullptr;
}
