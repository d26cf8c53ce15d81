#include "particle_fx.h"

#include <algorithm>

#include "animation.h"
#include "object_factory.h"
#include "particle_affector.h"
#include "particle_emitter.h"
#include "particle_system.h"
#include "field_visitor.h"
#include "xml_iarchive.h"
#include "xml_oarchive.h"

namespace VQ {

namespace {

// Cuts `value` into 0..limit; true when it was outside.
bool bound(int& value, int limit)
{
    const int bounded = std::clamp(value, 0, limit);
    const bool changed = bounded != value;
    value = bounded;
    return changed;
}

// Cuts a vector of owned pointers to `limit` entries.
template <typename T>
bool boundList(std::vector<T*>& list, size_t limit)
{
    if (list.size() <= limit)
        return false;
    for (size_t i = limit; i < list.size(); ++i)
        delete list[i];
    list.resize(limit);
    return true;
}

// The declared lines of a curve, and the lines it stores past them, which
// nothing could evaluate.
template <typename T>
bool boundLines(TimedValueInterval<T>& curve, int limit)
{
    bool changed = bound(curve.mLinesCount, limit);
    if (curve.mValues.size() > size_t(limit)) {
        for (size_t line = size_t(limit); line < curve.mValues.size(); ++line)
            for (auto* key : curve.mValues[line])
                delete key;
        curve.mValues.resize(size_t(limit));
        changed = true;
    }
    return changed;
}

}  // namespace

ParticleFX::ParticleFX() = default;

// Delegating to the default constructor makes the object complete before the
// body runs, so a fatal report that leaves an emitter's set-up early (test
// hooks throw) still deletes what was cloned.
ParticleFX::ParticleFX(const ParticleFX& prototype) : ParticleFX()
{
    ObjectFactory* factory = ObjectFactory::instance();
    mParticleEmitters.reserve(prototype.mParticleEmitters.size());
    for (const ParticleEmitter* emitter : prototype.mParticleEmitters) {
        if (ParticleEmitter* copy = factory->cloneEmitter(emitter)) {
            copy->owner = this;
            mParticleEmitters.push_back(copy);
        }
    }
    mPosition = prototype.mPosition;
    mDestroyIfDead = prototype.mDestroyIfDead;
    mAnimationFilename = prototype.mAnimationFilename;
    mLoopedAnimation = prototype.mLoopedAnimation;
    name = prototype.name;
    loadAnimation();
    for (ParticleEmitter* emitter : mParticleEmitters) {
        emitter->owner = this;
        emitter->init();
    }
    ParticleSystem::instance()->registerLive(this);
}

ParticleFX::~ParticleFX()
{
    for (ParticleEmitter* emitter : mParticleEmitters)
        delete emitter;
    mParticleEmitters.clear();
}

void ParticleFX::init()
{
    loadAnimation();
    for (ParticleEmitter* emitter : mParticleEmitters) {
        emitter->owner = this;
        emitter->init();
    }
}

template <typename Archive>
void ParticleFX::transferFields(Archive& archive)
{
    archive.transfer(nvp("mPosition", mPosition));
    archive.transfer(nvp("mParticleEmitters", mParticleEmitters));
    archive.transfer(nvp("mDestroyIfDead", mDestroyIfDead));
    archive.transfer(nvp("mAnimationFilename", mAnimationFilename));
    archive.transfer(nvp("mLoopedAnimation", mLoopedAnimation));
}

VQ_SERIALIZED_BY_FIELDS(ParticleFX)

void ParticleFX::loadAnimation()
{
    animation.reset();
    if (mAnimationFilename.empty())
        return;
    auto loaded = std::make_unique<Animation>();
    loaded->bindVector2("pos", &mPosition);
    if (loaded->load(mAnimationFilename, "default", std::string()))
        animation = std::move(loaded);
}

void ParticleFX::deleteAnimation()
{
    animation.reset();
    mAnimationEnded = false;
}

void ParticleFX::update(float dt)
{
    if (!active)
        dt = 0.0f;
    if (animation) {
        animation->loop = mLoopedAnimation;
        animation->update(dt);
    }
    for (ParticleEmitter* emitter : mParticleEmitters)
        emitter->update(dt);
    if (animation) {
        const Animation& a = *animation;
        bool reachedEnd = false;
        if (a.from < 0.0f)
            reachedEnd = a.time >= a.totalDuration();
        else if (a.from <= a.to)
            reachedEnd = a.time >= a.to;
        else
            reachedEnd = a.time <= a.to;
        mAnimationEnded = !a.loop && reachedEnd;
    }
}

void ParticleFX::restart()
{
    if (animation)
        animation->time = 0.0f;
    for (ParticleEmitter* emitter : mParticleEmitters)
        emitter->restart();
    active = true;
}

void ParticleFX::setAlpha(float alpha)
{
    for (ParticleEmitter* emitter : mParticleEmitters)
        emitter->setAlpha(alpha);
}

void ParticleFX::draw()
{
    for (ParticleEmitter* emitter : mParticleEmitters)
        emitter->draw(mPosition);
}

bool ParticleFX::allEmittersFinished() const
{
    return std::all_of(mParticleEmitters.begin(), mParticleEmitters.end(),
                       [](const ParticleEmitter* emitter) { return emitter->isFinished(); });
}

bool ParticleFX::boundCounts()
{
    bool changed = boundList(mParticleEmitters, MAX_EMITTERS);
    int particlesLeft = MAX_PARTICLES;
    std::vector<TimedValueInterval<float>*> curves;
    for (ParticleEmitter* emitter : mParticleEmitters) {
        changed |= bound(emitter->mMaxParticlesCount, particlesLeft);
        particlesLeft -= emitter->mMaxParticlesCount;
        changed |= bound(emitter->mMaxSegments, MAX_TRAIL_SEGMENTS);
        changed |= boundList(emitter->mParticleAffectors, MAX_AFFECTORS);
        curves = {&emitter->mEmitRate, &emitter->mInitialLifeTime, &emitter->mInitialScaleX, &emitter->mInitialScaleY};
        for (ParticleAffector* affector : emitter->mParticleAffectors)
            affector->collectCurves(curves);
        for (TimedValueInterval<float>* curve : curves)
            changed |= boundLines(*curve, MAX_CURVE_LINES);
        changed |= boundLines(emitter->mParticleColor, MAX_CURVE_LINES);
    }
    return changed;
}

}  // namespace VQ
