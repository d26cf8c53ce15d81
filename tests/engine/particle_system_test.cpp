#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "animation.h"
#include "log_system.h"
#include "particle_fixture.h"
#include "xml_iarchive.h"
#include "xml_oarchive.h"

using namespace ParticleFixture;
using TestSupport::catchFatal;
using VQ::Vector2f;

namespace {

constexpr float FRAME = 1.0f / 60.0f;

class ParticleSystemTest : public ParticleContentTest {
protected:
    void SetUp() override
    {
        ParticleContentTest::SetUp();
        addEffect("spark_fx", effectXml({EmitterSpec()}));
        addEffect("burst_fx", effectXml({burst()}));
    }
    const std::vector<VQ::ParticleFX*>& live() { return mParticles->liveEffects(); }
    bool isLive(VQ::ParticleFX* fx)
    {
        return std::find(live().begin(), live().end(), fx) != live().end();
    }
    int countLog(const std::string& prefix)
    {
        int n = 0;
        for (const std::string& line : logLines())
            n += line.rfind(prefix, 0) == 0;
        return n;
    }
};

TEST_F(ParticleSystemTest, AFileIsReadOnceAndReleasedEffectsComeBackFirst)
{
    start();
    VQ::ParticleFX* a = mParticles->create("spark_fx");
    ASSERT_NE(a, nullptr);
    VQ::ParticleFX* prototype = mParticles->prototype("spark_fx");
    ASSERT_NE(prototype, nullptr);
    EXPECT_NE(a, prototype);
    EXPECT_EQ(a->name, "spark_fx");
    // The next one is a copy of the prototype: the file is not read again.
    std::filesystem::remove(contentPath("test/spark_fx.xml"));
    VQ::ParticleFX* b = mParticles->create("spark_fx");
    ASSERT_NE(b, nullptr);
    EXPECT_NE(b, a);
    EXPECT_EQ(live(), (std::vector<VQ::ParticleFX*>{a, b}));

    a->mPosition = Vector2f(5, 6);
    a->mParticleEmitters[0]->elapsed = 3.0f;
    a->active = false;
    mParticles->release(a);
    mParticles->release(b);
    EXPECT_TRUE(live().empty());
    EXPECT_EQ(mParticles->pooledCount("spark_fx"), 2u);
    // The first released comes back first, restarted, where it was left.
    VQ::ParticleFX* again = mParticles->create("spark_fx");
    EXPECT_EQ(again, a);
    EXPECT_TRUE(isLive(a));
    EXPECT_EQ(a->mParticleEmitters[0]->elapsed, 0.0f);
    EXPECT_TRUE(a->active);
    EXPECT_EQ(a->mPosition, Vector2f(5, 6));
    EXPECT_EQ(mParticles->create("spark_fx"), b);

    // A second release of one effect is ignored; null changes nothing; an
    // effect that was never live is pooled all the same.
    mParticles->release(a);
    mParticles->release(a);
    EXPECT_EQ(countLog("WARNING: Particle effect 'spark_fx' released again; ignored"), 1);
    EXPECT_EQ(mParticles->pooledCount("spark_fx"), 1u);
    mParticles->release(nullptr);
    auto* stray = new VQ::ParticleFX();
    stray->name = "stray_fx";
    mParticles->release(stray);
    EXPECT_EQ(mParticles->pooledCount("stray_fx"), 1u);
    EXPECT_EQ(live(), (std::vector<VQ::ParticleFX*>{b}));
}

TEST_F(ParticleSystemTest, ThePoolKeepsAtMost32EffectsOfAName)
{
    start();
    std::vector<VQ::ParticleFX*> effects;
    for (int i = 0; i < 40; ++i)
        effects.push_back(mParticles->create("spark_fx"));
    for (VQ::ParticleFX* fx : effects)
        mParticles->release(fx);  // past the limit, deleted
    EXPECT_EQ(mParticles->pooledCount("spark_fx"), size_t(VQ::ParticleSystem::POOL_LIMIT));
    EXPECT_TRUE(live().empty());
}

TEST_F(ParticleSystemTest, AMissingEffectIsTheArchivesFatalReport)
{
    start();
    const VQ::FatalReport report = catchFatal([&] { mParticles->create("nothing_fx"); });
    EXPECT_EQ(report.description, "Failed to open file to load xml_iarchive: nothing_fx");
    EXPECT_EQ(mParticles->prototype("nothing_fx"), nullptr);
}

TEST_F(ParticleSystemTest, AnEffectElementOfAnotherClassGivesNoEffect)
{
    addEffect("odd_fx", "<root><ParticleFX class_name=\"ParticleGravityAffector\"/></root>");
    start();
    EXPECT_EQ(mParticles->create("odd_fx"), nullptr);
    EXPECT_EQ(countLog("WARNING: Element 'ParticleFX' names unknown class 'ParticleGravityAffector'; skipped"), 1);
    EXPECT_TRUE(live().empty());
}

TEST_F(ParticleSystemTest, UpdateCapsItsStepAndDeletesFinishedEffectsThatAskForIt)
{
    EmitterSpec spent;  // not looped and endless: finished at once
    spent.looped = false;
    addEffect("doomed_fx", effectXml({spent}, "<mDestroyIfDead v=\"Yes\"/>"));
    addEffect("kept_fx", effectXml({spent}, "<mDestroyIfDead v=\"on\"/>"));
    addEffect("empty_fx", "<root><ParticleFX><mDestroyIfDead v=\"1\"/></ParticleFX></root>");
    start();
    VQ::ParticleFX* spark = mParticles->create("spark_fx");
    VQ::ParticleFX* kept = mParticles->create("kept_fx");
    mParticles->create("doomed_fx");
    mParticles->create("empty_fx");
    mParticles->update(0.25f);
    EXPECT_FLOAT_EQ(spark->mParticleEmitters[0]->elapsed, 0.1f);
    EXPECT_EQ(live(), (std::vector<VQ::ParticleFX*>{spark, kept}));
    mParticles->update(0.05f);
    EXPECT_FLOAT_EQ(spark->mParticleEmitters[0]->elapsed, 0.15f);

    mParticles->liveUpdating = false;
    mParticles->update(0.05f);
    EXPECT_FLOAT_EQ(spark->mParticleEmitters[0]->elapsed, 0.15f);
}

TEST_F(ParticleSystemTest, LayerEffectsRunOutAndReturnToThePool)
{
    start();
    for (bool liveUpdating : {false, true}) {
        SCOPED_TRACE(liveUpdating);
        mParticles->liveUpdating = liveUpdating;
        VQ::ParticleFX* source = mParticles->create("burst_fx");
        createQueuedTextures();
        VQ::ParticleFX* copy = mParticles->createCopy(source);
        copy->mDestroyIfDead = true;  // the layer list, not the live pass, ends it
        mParticles->addLayerEffect(copy, 1);
        mParticles->update(FRAME);
        EXPECT_TRUE(drawn([&] { mParticles->drawLayer(2, 1.0f); }).empty());
        EXPECT_FALSE(drawn([&] { mParticles->drawLayer(1, 0.5f); }).empty());
        int frames = 1;
        while (!mParticles->layerEffects().empty() && frames < 120) {
            mParticles->update(FRAME);
            ++frames;
        }
        EXPECT_LT(frames, 30);
        EXPECT_FALSE(isLive(copy));
        EXPECT_EQ(mParticles->pooledCount("burst_fx"), 1u);
        EXPECT_EQ(mParticles->create("burst_fx"), copy);
        mParticles->release(copy);
        mParticles->release(source);
        mParticles->create("burst_fx");  // empties the pool again
        mParticles->create("burst_fx");
    }
}

// A position animation that slides the effect 100 pixels right in 0.5 s.
const char* const SLIDE = "Animation = { Frames = { { duration = 0.5, pos = { 0, 0 } }, "
                          "{ duration = 0.0, pos = { 100, 0 } } } }\n";

TEST_F(ParticleSystemTest, APositionAnimationMovesEachCopyAndCanEndTheEffect)
{
    addLua("slide_lua", SLIDE);
    addEffect("slide_fx", effectXml({EmitterSpec()}, "<mAnimationFilename v=\"slide_lua\"/><mLoopedAnimation v=\"0\"/>"));
    addEffect("loop_fx", effectXml({EmitterSpec()}, "<mAnimationFilename v=\"slide_lua\"/><mLoopedAnimation v=\"1\"/>"));
    start();
    VQ::ParticleFX* first = mParticles->create("slide_fx");
    VQ::ParticleFX* second = mParticles->create("slide_fx");
    VQ::ParticleFX* looping = mParticles->create("loop_fx");
    ASSERT_TRUE(first->animation && second->animation);
    EXPECT_NE(first->animation.get(), second->animation.get());
    first->update(0.25f);
    EXPECT_NEAR(first->mPosition.x, 50.0f, 1e-3f);
    EXPECT_EQ(second->mPosition.x, 0.0f);
    EXPECT_EQ(mParticles->prototype("slide_fx")->mPosition.x, 0.0f);
    EXPECT_FALSE(first->animationEnded());
    first->update(0.5f);
    EXPECT_TRUE(first->animationEnded());
    EXPECT_TRUE(first->isFinished());
    for (int i = 0; i < 4; ++i)
        looping->update(0.5f);
    EXPECT_FALSE(looping->animationEnded());
    // A restart leaves the flag to the next update, which starts afresh.
    first->restart();
    EXPECT_TRUE(first->animationEnded());
    first->update(0.1f);
    EXPECT_FALSE(first->animationEnded());

    // On the layer list an ended animation runs the emitters out; the pooled
    // effect has no animation and is not ended.
    mParticles->liveUpdating = false;
    VQ::ParticleFX* layered = mParticles->createCopy(second);
    mParticles->addLayerEffect(layered, 0);
    for (int i = 0; i < 120 && !mParticles->layerEffects().empty(); ++i)
        mParticles->update(FRAME);
    ASSERT_TRUE(mParticles->layerEffects().empty());
    EXPECT_EQ(layered->animation, nullptr);
    EXPECT_FALSE(layered->animationEnded());
    EXPECT_FALSE(layered->mParticleEmitters[0]->mLooped);
}

TEST_F(ParticleSystemTest, AnEffectWithATwoLineCurveRunsOnItsFirstLine)
{
    EmitterSpec twoLines;
    twoLines.more = "";
    std::string text = effectXml({twoLines});
    const std::string rate = curveXml("mEmitRate", 10.0f);
    text.replace(text.find(rate), rate.size(),
                 "<mEmitRate><mValues sz=\"2\"><e0 sz=\"1\"><e0><time v=\"0\"/><value v=\"60\"/></e0></e0>"
                 "<e1 sz=\"1\"><e0><time v=\"0\"/><value v=\"6000\"/></e0></e1></mValues>"
                 "<mLinesCount v=\"2\"/></mEmitRate>");
    addEffect("lines_fx", text);
    start();
    VQ::ParticleFX* fx = mParticles->create("lines_fx");
    for (int i = 0; i < 9; ++i)
        fx->update(1.0f / 60.0f);
    // Line 0 alone: 60 a second, not the mean with the second line.
    EXPECT_NEAR(fx->mParticleEmitters[0]->aliveCount, 8, 1);
}

TEST_F(ParticleSystemTest, CountsOutOfRangeAreCutOnceWithAWarning)
{
    EmitterSpec huge;
    huge.max = 1000000;
    huge.more = "<mUseTails v=\"1\"/><mMaxSegments v=\"-7\"/><mParticleAffectors sz=\"100\"/>";
    EmitterSpec second;
    std::string text = effectXml({huge, second});
    const std::string life = curveXml("mInitialLifeTime", 1.0f);
    const std::string declared = "<mLinesCount v=\"1\"/></mInitialLifeTime>";
    text.replace(text.find(life) + life.size() - declared.size(), declared.size(),
                 "<mLinesCount v=\"2000000000\"/></mInitialLifeTime>");
    addEffect("greedy_fx", text);
    start();
    VQ::ParticleFX* fx = mParticles->create("greedy_fx");
    ASSERT_NE(fx, nullptr);
    EXPECT_EQ(countLog("WARNING: Particle effect 'greedy_fx' asks for counts out of range"), 1);
    VQ::ParticleEmitter* first = fx->mParticleEmitters[0];
    EXPECT_EQ(first->mMaxParticlesCount, VQ::ParticleFX::MAX_PARTICLES);
    EXPECT_EQ(first->mMaxSegments, 0);
    EXPECT_EQ(first->ringSize, 7);
    EXPECT_EQ(first->mParticleAffectors.size(), size_t(VQ::ParticleFX::MAX_AFFECTORS));
    EXPECT_EQ(first->mInitialLifeTime.mLinesCount, VQ::ParticleFX::MAX_CURVE_LINES);
    EXPECT_EQ(fx->mParticleEmitters[1]->mMaxParticlesCount, 0);  // nothing left of the budget
    for (int i = 0; i < 10; ++i)
        fx->update(FRAME);
    EXPECT_GT(first->aliveCount, 0);
}

TEST_F(ParticleSystemTest, OpacityScalesTheAlphaAndRibbonsDrawAtWorldPoints)
{
    EmitterSpec faint;
    faint.alpha = 200;
    faint.rate = 1000.0f;
    faint.max = 1;
    EmitterSpec ribbon;
    ribbon.rate = 1000.0f;
    ribbon.max = 1;
    ribbon.life = 100.0f;
    ribbon.more = "<mUseTails v=\"1\"/><mMaxSegments v=\"17\"/><mHeadSize v=\"20\"/><mHeadSizeTex v=\"16\"/>"
                  "<mMinDistSegments v=\"10\"/>";
    addEffect("faint_fx", effectXml({faint}));
    addEffect("ribbon_fx", effectXml({ribbon}));
    start();
    VQ::ParticleFX* fx = mParticles->create("faint_fx");
    createQueuedTextures();
    fx->update(FRAME);
    fx->setAlpha(0.5f);
    const std::vector<TestSupport::DrawnVertex> quad = drawn([&] { fx->draw(); });
    ASSERT_EQ(quad.size(), 4u);
    for (const TestSupport::DrawnVertex& v : quad)
        EXPECT_EQ(v.color.a, 100);

    // The ribbon's corners are world points: drawn where the tail has them,
    // not shifted by the particle's position or turned by its angle.
    VQ::ParticleFX* trail = mParticles->create("ribbon_fx");
    for (int i = 0; i < 20; ++i) {
        trail->mPosition = Vector2f(300.0f + 12.0f * float(i), 200.0f);
        trail->update(FRAME);
    }
    trail->mParticleEmitters[0]->particles[0].angle = 40.0f;
    const VQ::ParticleTail& tail = *trail->mParticleEmitters[0]->particles[0].tail;
    ASSERT_GE(tail.count, 2);
    const std::vector<TestSupport::DrawnVertex> ribbon_ = drawn([&] { trail->draw(); });
    ASSERT_EQ(ribbon_.size(), size_t(4 * tail.count));
    const VQ::TailSegment& head = tail.segments[size_t(tail.head)];
    const TestSupport::DrawnVertex* last = &ribbon_[ribbon_.size() - 4];
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(last[k].x, head.corners[k].x, 1e-3f);
        EXPECT_NEAR(last[k].y, head.corners[k].y, 1e-3f);
    }
    EXPECT_NEAR((head.start.x + head.end.x) / 2, 300.0f + 12.0f * 19, 1.0f);
}

// --- The shipped effects ---

std::string saved(VQ::ParticleFX* fx)
{
    VQ::XmlOArchive out;
    out.save(VQ::nvp("ParticleFX", fx));
    return out.text();
}

const char* const SHIPPED[] = {"hint_fx",    "wave_hor_fx",  "wave_ver_fx", "wave_tl_fx", "wave_tr_fx",
                               "explosion_orange_tile_fx", "meteorite_fx", "light_fx"};

TEST_F(ParticleSystemTest, EveryShippedEffectSavesAsItsFileAndReadsBackTheSame)
{
    start();
    for (const char* name : SHIPPED) {
        SCOPED_TRACE(name);
        VQ::ParticleFX* fx = mParticles->create(name);
        ASSERT_NE(fx, nullptr);
        const std::string first = saved(fx);
        std::string file = TestSupport::readFile(contentPath(std::string("particles/") + name + ".xml"));
        file.erase(0, file.find('\n') + 1);  // the declaration
        EXPECT_EQ(first, file);
        VQ::XmlIArchive in(first);
        VQ::ParticleFX* reread = nullptr;
        in.load(VQ::nvp("ParticleFX", reread));
        std::unique_ptr<VQ::ParticleFX> owned(reread);
        ASSERT_NE(reread, nullptr);
        EXPECT_EQ(saved(reread), first);
    }
}

TEST_F(ParticleSystemTest, ShippedEffectsRunHeadless)
{
    start();
    struct Run {
        const char* name;
        float seconds;    // stepped for this long
        bool finishes;    // and is finished by then
        Vector2f velocity;  // pixels per second, for flying effects
    };
    const Run runs[] = {
        {"hint_fx", 3.0f, false, {}},
        {"wave_hor_fx", 0.55f, true, {}},
        {"wave_tl_fx", 0.55f, true, {}},
        {"explosion_orange_tile_fx", 1.0f, true, {}},
        {"meteorite_fx", 1.0f, false, {0, 600}},
        {"light_fx", 0.5f, false, {-1200, 0}},
    };
    for (const Run& run : runs) {
        SCOPED_TRACE(run.name);
        VQ::ParticleFX* fx = mParticles->create(run.name);
        int alive = 0;
        int segments = 0;
        const int frames = int(run.seconds * 60.0f + 0.5f);
        for (int i = 0; i < frames; ++i) {
            fx->mPosition += run.velocity * FRAME;
            fx->update(FRAME);
            for (const VQ::ParticleEmitter* e : fx->mParticleEmitters) {
                alive = std::max(alive, e->aliveCount);
                for (const VQ::Particle& p : e->particles)
                    if (!p.dead && p.tail)
                        segments = std::max(segments, p.tail->count);
            }
        }
        EXPECT_GT(alive, 0);
        EXPECT_EQ(fx->isFinished(), run.finishes);
        if (run.velocity != Vector2f()) {
            EXPECT_GE(segments, 4) << "a ribbon behind the moving effect";
        }
        mParticles->release(fx);
    }
}

}  // namespace
