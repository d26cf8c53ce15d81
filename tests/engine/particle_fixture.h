#pragma once
// Particle test helpers. `ParticleSimTest`: the object factory and the
// particle system over a content folder of the test's own, for effects built
// in code and stepped without sprites. `ParticleContentTest`: the shipped
// content with the sprite fixture's recording device, the XML cache and the
// particle system, for effects read from files and drawn.

#include <memory>
#include <string>

#include "object_factory.h"
#include "particle_affector.h"
#include "particle_emitter.h"
#include "particle_fx.h"
#include "particle_system.h"
#include "random.h"
#include "support/content_fixture.h"
#include "support/sprite_fixture.h"
#include "timed_value_interval.h"
#include "xml_cached_files_manager.h"

namespace ParticleFixture {

inline VQ::TimedValueInterval<float> flat(float value)
{
    return VQ::TimedValueInterval<float>(value, value);
}

// An emitter of `E` that never runs out on its own: particles live
// `life` seconds, `rate` a second, up to `count` at once.
template <typename E = VQ::ParticlePointEmitter>
E* addEmitter(VQ::ParticleFX& fx, float rate, float life, int count)
{
    auto* e = new E();
    e->mEmitRate = flat(rate);
    e->mInitialLifeTime = flat(life);
    e->mMaxParticlesCount = count;
    fx.mParticleEmitters.push_back(e);
    return e;
}

inline int aliveIn(const VQ::ParticleEmitter& e)
{
    int alive = 0;
    for (const VQ::Particle& p : e.particles)
        alive += p.dead == 0;
    return alive;
}

class ParticleSimTest : public TestSupport::ContentTest {
protected:
    void SetUp() override
    {
        ContentTest::SetUp();
        mFactory = std::make_unique<VQ::ObjectFactory>();
        mParticles = std::make_unique<VQ::ParticleSystem>();
        VQ::srand(1234);
    }
    void TearDown() override
    {
        mParticles.reset();
        mFactory.reset();
        ContentTest::TearDown();
    }

    std::unique_ptr<VQ::ObjectFactory> mFactory;
    std::unique_ptr<VQ::ParticleSystem> mParticles;
};

class ParticleContentTest : public TestSupport::SpriteTest {
protected:
    void SetUp() override
    {
        SpriteTest::SetUp();
        VQ::srand(99);
    }
    void TearDown() override
    {
        mParticles.reset();
        if (mXmlCache)
            mXmlCache->purge();
        mXmlCache.reset();
        mFactory.reset();
        SpriteTest::TearDown();
    }
    // Adds an effect file to package "default"; call before `start`.
    void addEffect(const std::string& name, const std::string& text) { addXml(name, text); }
    void start()
    {
        startEngine();
        mFactory = std::make_unique<VQ::ObjectFactory>();
        mParticles = std::make_unique<VQ::ParticleSystem>();
        mXmlCache = std::make_unique<VQ::XmlCachedFilesManager>();
    }

    std::unique_ptr<VQ::ObjectFactory> mFactory;
    std::unique_ptr<VQ::ParticleSystem> mParticles;
    std::unique_ptr<VQ::XmlCachedFilesManager> mXmlCache;
};

}  // namespace ParticleFixture
