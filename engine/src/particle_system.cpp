#include "particle_system.h"

#include <algorithm>
#include <memory>

#include "log_system.h"
#include "object_factory.h"
#include "particle_affector.h"
#include "particle_emitter.h"
#include "particle_fx.h"
#include "timer_manager.h"
#include "xml_iarchive.h"

namespace VQ {

ParticleSystem::ParticleSystem()
{
    // Effect files name the class of each emitter and affector by these keys.
    ObjectFactory* factory = ObjectFactory::instance();
    factory->registerClass<ParticlePointEmitter>("ParticlePointEmitter");
    factory->registerClass<ParticleBoxEmitter>("ParticleBoxEmitter");
    factory->registerClass<ParticleQuadEmitter>("ParticleQuadEmitter");
    factory->registerClass<ParticleCircleEmitter>("ParticleCircleEmitter");
    factory->registerClass<ParticleLinearMovementAffector>("ParticleLinearMovementAffector");
    factory->registerClass<ParticleGraphicMoveAffector>("ParticleGraphicMoveAffector");
    factory->registerClass<ParticleRotateAffector>("ParticleRotateAffector");
    factory->registerClass<ParticleRotateSpriteAffector>("ParticleRotateSpriteAffector");
    factory->registerClass<ParticleGravityAffector>("ParticleGravityAffector");
    factory->registerClass<ParticleGravityPointAffector>("ParticleGravityPointAffector");
    factory->registerClass<ParticleAutoRotateAffector>("ParticleAutoRotateAffector");
}

ParticleSystem::~ParticleSystem()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    for (auto& entry : mPool)
        delete entry.second;
    mPool.clear();
    for (auto& entry : mPrototypes)
        delete entry.second;
    mPrototypes.clear();
    for (ParticleFX* effect : mLive)
        delete effect;
    mLive.clear();
    // The layer effects were live: deleted above.
    mLayerEffects.clear();
}

ParticleFX* ParticleSystem::create(const std::string& name)
{
    {
        std::lock_guard<std::recursive_mutex> lock(mMutex);
        auto pooled = mPool.find(name);  // the first of the name: released earliest
        if (pooled != mPool.end()) {
            ParticleFX* effect = pooled->second;
            mPool.erase(pooled);
            mLive.push_back(effect);
            effect->restart();
            return effect;
        }
        if (ParticleFX* prototype = this->prototype(name))
            return new ParticleFX(*prototype);
    }

    // Read without the lock, so that the main thread draws on while a
    // loading thread reads a long file.
    XmlIArchive archive("default", name);
    if (!archive.isOpened())
        return nullptr;
    ParticleFX* loaded = nullptr;
    archive.load(nvp("ParticleFX", loaded));
    std::unique_ptr<ParticleFX> read(loaded);

    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (!read)
        return nullptr;
    read->name = name;
    if (read->boundCounts())
        log(formatString("WARNING: Particle effect '%s' asks for counts out of range; they are cut to the bounds "
                         "(emitters %i, affectors %i, particles %i, trail segments %i, curve lines %i)",
                         name.c_str(), ParticleFX::MAX_EMITTERS, ParticleFX::MAX_AFFECTORS,
                         ParticleFX::MAX_PARTICLES, ParticleFX::MAX_TRAIL_SEGMENTS, ParticleFX::MAX_CURVE_LINES));
    read->init();
    ParticleFX* copy = new ParticleFX(*read);
    // Another thread may have stored a prototype of the name meanwhile: the
    // first one stays and this one goes once copied.
    if (mPrototypes.try_emplace(name, read.get()).second)
        read.release();
    return copy;
}

ParticleFX* ParticleSystem::createCopy(ParticleFX* source)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    ParticleFX* copy = new ParticleFX(*source);
    copy->restart();
    return copy;
}

ParticleFX* ParticleSystem::prototype(const std::string& name) const
{
    auto found = mPrototypes.find(name);
    return found != mPrototypes.end() ? found->second : nullptr;
}

void ParticleSystem::registerLive(ParticleFX* effect)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (std::find(mLive.begin(), mLive.end(), effect) == mLive.end())
        mLive.push_back(effect);
}

bool ParticleSystem::isPooled(const ParticleFX* effect) const
{
    const auto range = mPool.equal_range(effect->name);
    for (auto it = range.first; it != range.second; ++it)
        if (it->second == effect)
            return true;
    return false;
}

bool ParticleSystem::inLayerList(const ParticleFX* effect) const
{
    return std::any_of(mLayerEffects.begin(), mLayerEffects.end(),
                       [effect](const LayerEffect& entry) { return entry.effect == effect; });
}

void ParticleSystem::removeLive(const ParticleFX* effect)
{
    auto found = std::find(mLive.begin(), mLive.end(), effect);
    if (found != mLive.end())
        mLive.erase(found);
}

void ParticleSystem::release(ParticleFX* effect)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (!effect)
        return;
    // A second release would pool it twice and delete it twice at the end.
    if (isPooled(effect)) {
        log(formatString("WARNING: Particle effect '%s' released again; ignored", effect->name.c_str()));
        return;
    }
    removeLive(effect);
    if (mPoolLimit >= 0 && mPool.count(effect->name) >= size_t(mPoolLimit)) {
        delete effect;
        return;
    }
    mPool.emplace(effect->name, effect);  // after the others of the name
}

void ParticleSystem::update()
{
    update(TimerManager::instance()->frameTime());
}

void ParticleSystem::update(float frameTime)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    const float dt = frameTime < MAX_STEP ? frameTime : MAX_STEP;
    updateLayerEffects(dt);
    if (!liveUpdating)
        return;
    for (size_t i = 0; i < mLive.size();) {
        ParticleFX* effect = mLive[i];
        // The layer pass advances and hands back its own effects.
        if (inLayerList(effect)) {
            ++i;
            continue;
        }
        effect->update(dt);
        if (effect->isFinished() && effect->mDestroyIfDead) {
            mLive.erase(mLive.begin() + long(i));
            delete effect;
            continue;
        }
        ++i;
    }
}

void ParticleSystem::updateLayerEffects(float dt)
{
    for (size_t i = 0; i < mLayerEffects.size();) {
        ParticleFX* effect = mLayerEffects[i].effect;
        effect->update(dt);
        // A position animation that has played out ends the effect: its
        // emitters run out.
        if (effect->animationEnded())
            for (ParticleEmitter* emitter : effect->mParticleEmitters)
                emitter->mLooped = false;
        if (effect->isFinished()) {
            effect->deleteAnimation();
            mLayerEffects.erase(mLayerEffects.begin() + long(i));
            release(effect);
            continue;
        }
        ++i;
    }
}

void ParticleSystem::addLayerEffect(ParticleFX* effect, int layer)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    mLayerEffects.push_back({effect, layer});
}

void ParticleSystem::drawLayer(int layer, float alpha)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    for (const LayerEffect& entry : mLayerEffects) {
        if (entry.layer != layer)
            continue;
        entry.effect->setAlpha(alpha);
        entry.effect->draw();
    }
}

}  // namespace VQ
