#pragma once
// Particle test helpers. `ParticleSimTest`: the object factory and the
// particle system over a content folder of the test's own, for effects built
// in code and stepped without sprites. `ParticleContentTest`: the shipped
// content with the sprite fixture's recording device, the XML cache and the
// particle system, for effects read from files and drawn.

#include <memory>
#include <string>
#include <vector>

#include "object_factory.h"
#include "particle_affector.h"
#include "particle_emitter.h"
#include "particle_fx.h"
#include "particle_system.h"
#include "random.h"
#include "support/content_fixture.h"
#include "support/sprite_fixture.h"
#include "log_system.h"
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

// --- Effect files written by tests ---

inline std::string curveXml(const char* name, float value)
{
    return VQ::formatString("<%s><mValues sz=\"1\"><e0 sz=\"1\"><e0><time v=\"0\"/><value v=\"%g\"/></e0></e0>"
                            "</mValues><mLinesCount v=\"1\"/></%s>",
                            name, double(value), name);
}

struct EmitterSpec {
    std::string cls = "ParticlePointEmitter";
    int max = 10;
    float rate = 10.0f;
    float life = 1.0f;
    float emitterLife = -1.0f;
    bool looped = true;
    int alpha = 255;
    std::string more;
};

inline std::string emitterXml(size_t index, const EmitterSpec& e)
{
    return VQ::formatString("<e%zu class_name=\"%s\"><mMaxParticlesCount v=\"%d\"/>", index, e.cls.c_str(), e.max) +
           curveXml("mEmitRate", e.rate) + curveXml("mInitialLifeTime", e.life) + curveXml("mInitialScaleX", 1) +
           curveXml("mInitialScaleY", 1) +
           VQ::formatString("<mParticleColor><mValues sz=\"1\"><e0 sz=\"1\"><e0><time v=\"0\"/>"
                            "<value r=\"255\" g=\"255\" b=\"255\" a=\"%d\"/></e0></e0></mValues>"
                            "<mLinesCount v=\"1\"/></mParticleColor>",
                            e.alpha) +
           VQ::formatString("<mSpriteFileName v=\"fx_sprites\"/><mSpriteTableName v=\"Glow\"/>"
                            "<mEmitterLifeTime v=\"%g\"/><mLooped v=\"%s\"/>",
                            double(e.emitterLife), e.looped ? "true" : "false") +
           e.more + VQ::formatString("</e%zu>", index);
}

inline std::string effectXml(const std::vector<EmitterSpec>& emitters, const std::string& more = std::string())
{
    std::string text = "<root><ParticleFX>" + more + VQ::formatString("<mParticleEmitters sz=\"%zu\">", emitters.size());
    for (size_t i = 0; i < emitters.size(); ++i)
        text += emitterXml(i, emitters[i]);
    return text + "</mParticleEmitters></ParticleFX></root>";
}

// A short burst that is over in well under a second.
inline EmitterSpec burst()
{
    EmitterSpec e;
    e.rate = 100.0f;
    e.life = 0.2f;
    e.emitterLife = 0.1f;
    e.looped = false;
    return e;
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
