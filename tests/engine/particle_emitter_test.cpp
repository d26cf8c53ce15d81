#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "particle_fixture.h"

using namespace ParticleFixture;
using VQ::Vector2f;

namespace {

constexpr float FRAME = 1.0f / 60.0f;

using ParticleEmitterTest = ParticleSimTest;

TEST_F(ParticleEmitterTest, EmissionFollowsTheRateAndCarriesTheOwedTime)
{
    VQ::ParticleFX fx;
    VQ::ParticleEmitter* e = addEmitter(fx, 50.0f, 10.0f, 100);
    fx.init();
    fx.update(FRAME);
    EXPECT_EQ(e->aliveCount, 0);
    fx.update(FRAME);  // 0.0333 > 0.02
    EXPECT_EQ(e->aliveCount, 1);
    EXPECT_NEAR(e->accumulator, 2 * FRAME - 0.02f, 1e-5f);
    for (int i = 2; i < 60; ++i)
        fx.update(FRAME);
    EXPECT_NEAR(e->aliveCount, 50, 1);
}

TEST_F(ParticleEmitterTest, AFullPoolOwesNothing)
{
    VQ::ParticleFX fx;
    VQ::ParticleEmitter* e = addEmitter(fx, 100.0f, 100.0f, 10);
    fx.init();
    for (int i = 0; i < 12; ++i)
        fx.update(FRAME);
    ASSERT_EQ(e->aliveCount, 10);
    EXPECT_EQ(e->accumulator, 0.0f);
    // A death does not set off a burst: the next spawn waits a whole period.
    e->particles[3].remaining = 0.0f;
    fx.update(0.005f);
    EXPECT_EQ(e->aliveCount, 9);
    fx.update(0.005f);
    EXPECT_EQ(e->aliveCount, 9);
    fx.update(0.006f);
    EXPECT_EQ(e->aliveCount, 10);
}

TEST_F(ParticleEmitterTest, OwedSpawnsPastTheFreeRecordsAreDropped)
{
    // At this rate subtracting the period no longer changes the owed time:
    // emission must stop when no record is free.
    VQ::ParticleFX fx;
    VQ::ParticleEmitter* e = addEmitter(fx, 1e9f, 10.0f, 5);
    fx.init();
    fx.update(0.1f);
    EXPECT_EQ(e->aliveCount, 5);
    EXPECT_LE(e->accumulator, 1e-9f);
    fx.update(0.1f);
    EXPECT_EQ(e->aliveCount, 5);
    EXPECT_EQ(e->accumulator, 0.0f);  // full: nothing owed
}

TEST_F(ParticleEmitterTest, EmitterLifeLoopsDelayAndFinish)
{
    VQ::ParticleFX fx;
    VQ::ParticleEmitter* looped = addEmitter(fx, 0.0f, 1.0f, 1);
    looped->mEmitterLifeTime = 2.0f;
    fx.init();
    for (float expected : {0.5f, 1.0f, 1.5f, 2.0f, 0.0f}) {
        fx.update(0.5f);
        EXPECT_FLOAT_EQ(looped->elapsed, expected);  // past its life: 0, not the remainder
    }
    EXPECT_FALSE(looped->isFinished());

    VQ::ParticleFX other;
    VQ::ParticleEmitter* once = addEmitter(other, 10.0f, 0.5f, 20);
    once->mLooped = false;
    once->mEmitterLifeTime = 2.0f;
    VQ::ParticleEmitter* never = addEmitter(other, 10.0f, 0.5f, 20);
    never->mLooped = false;  // endless and not looped: emits nothing
    VQ::ParticleEmitter* late = addEmitter(other, 100.0f, 0.5f, 20);
    late->mEmitterDelay = 1.0f;
    other.init();
    EXPECT_TRUE(never->isFinished());
    for (int step = 1; step <= 20; ++step) {
        other.update(0.125f);
        SCOPED_TRACE(step);
        EXPECT_EQ(late->aliveCount > 0, step > 8);  // elapsed must pass the delay
        // Its last particle, born at 1.875 s, is gone at 2.25 s.
        EXPECT_EQ(once->isFinished(), step >= 18);
        EXPECT_EQ(aliveIn(*never), 0);
    }
}

TEST_F(ParticleEmitterTest, AnEndlessEmitterRunsThroughItsCurvesInTenSeconds)
{
    VQ::ParticleFX fx;
    VQ::ParticleEmitter* e = addEmitter(fx, 1.0f, 1.0f, 1);
    e->mEmitRate = VQ::TimedValueInterval<float>();
    e->mEmitRate.addValue(0, 0, 0.0f);
    e->mEmitRate.addValue(0, 100, 100.0f);
    fx.init();
    for (int i = 0; i < 24; ++i)
        fx.update(0.5f);
    EXPECT_EQ(e->emitterPercent(), 120);
    EXPECT_FLOAT_EQ(e->mEmitRate.getAverageValue(e->emitterPercent()), 96.0f);
}

TEST_F(ParticleEmitterTest, GlobalParticlesStayWhereTheyWereBorn)
{
    VQ::ParticleFX fx;
    VQ::ParticleEmitter* local = addEmitter(fx, 1000.0f, 10.0f, 1);
    VQ::ParticleEmitter* global = addEmitter(fx, 1000.0f, 10.0f, 1);
    local->mPosition = global->mPosition = Vector2f(10, 0);
    global->mGlobalCoords = true;
    fx.init();
    fx.mPosition = Vector2f(100, 0);
    fx.update(0.01f);
    fx.mPosition = Vector2f(300, 0);
    fx.update(0.01f);
    // Local particles are drawn at effect + emitter + their own position.
    EXPECT_EQ(local->particles[0].position, Vector2f(0, 0));
    EXPECT_EQ(global->particles[0].position, Vector2f(110, 0));
}

// One particle spawned in each of 40 restarts, from a known point of the
// game's sequence: where the shape puts it against the two draws it takes.
void expectSpawns(VQ::ParticleFX& fx, VQ::ParticleEmitter& e,
                  const std::function<Vector2f(float r1, float r2)>& expected)
{
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        VQ::srand(seed);
        e.restart();
        fx.update(0.002f);
        ASSERT_EQ(e.aliveCount, 1);
        VQ::srand(seed);
        const float r1 = float(VQ::rand()) / 32767.0f;
        const float r2 = float(VQ::rand()) / 32767.0f;
        const Vector2f want = expected(r1, r2);
        const Vector2f got = e.particles[0].position;
        EXPECT_NEAR(got.x, want.x, 1e-3f) << seed;
        EXPECT_NEAR(got.y, want.y, 1e-3f) << seed;
    }
}

TEST_F(ParticleEmitterTest, ShapesPlaceParticlesFromTwoDraws)
{
    {
        VQ::ParticleFX fx;
        auto* box = addEmitter<VQ::ParticleBoxEmitter>(fx, 1000.0f, 10.0f, 1);
        box->mRect = VQ::Rect(0, 0, 100, 50);
        box->mRectAngle = 90.0f;  // about the origin: (-v, u)
        fx.init();
        expectSpawns(fx, *box, [](float r1, float r2) { return Vector2f(-50 * r2, 100 * r1); });
    }
    {
        VQ::ParticleFX fx;
        auto* circle = addEmitter<VQ::ParticleCircleEmitter>(fx, 1000.0f, 10.0f, 1);
        fx.init();
        expectSpawns(fx, *circle, [](float, float) { return Vector2f(0, 0); });
    }
    {
        VQ::ParticleFX fx;
        auto* quad = addEmitter<VQ::ParticleQuadEmitter>(fx, 1000.0f, 10.0f, 1);
        quad->mPointLeftBottom = Vector2f(0, 10);
        quad->mPointRightTop = Vector2f(10, 0);
        quad->mPointRightBottom = Vector2f(10, 10);
        fx.init();
        expectSpawns(fx, *quad, [](float r1, float r2) { return Vector2f(10 * r1, 10 * (1 - r2)); });
    }
    {
        // Four equal corners: the lines cross nowhere; the start is P1.
        VQ::ParticleFX fx;
        auto* quad = addEmitter<VQ::ParticleQuadEmitter>(fx, 1000.0f, 10.0f, 1);
        quad->mPointLeftTop = quad->mPointLeftBottom = quad->mPointRightTop = quad->mPointRightBottom =
            Vector2f(5, 5);
        fx.init();
        expectSpawns(fx, *quad, [](float, float) { return Vector2f(5, 5); });
    }
}

// A pool of `count` records with the given particles alive, and the
// affector attached, for driving affectors by hand.
struct Pool {
    explicit Pool(int count)
    {
        emitter.mMaxParticlesCount = count;
        emitter.init();
    }
    template <typename A>
    A* attach()
    {
        auto* affector = new A();
        emitter.mParticleAffectors.push_back(affector);
        affector->attach(&emitter);
        return affector;
    }
    VQ::Particle& live(int index, Vector2f at = Vector2f())
    {
        VQ::Particle& p = emitter.particles[size_t(index)];
        p.dead = 0;
        p.position = at;
        p.remaining = 10.0f;
        return p;
    }
    VQ::ParticlePointEmitter emitter;
};

TEST_F(ParticleEmitterTest, GravityAcceleratesAlongItsDirectionUnnormalised)
{
    for (float length : {1.0f, 2.0f}) {
        Pool pool(1);
        auto* gravity = pool.attach<VQ::ParticleGravityAffector>();
        gravity->mForce = flat(2.5f);
        gravity->mDirection = Vector2f(0, length);
        VQ::Particle& p = pool.live(0);
        gravity->spawn(0);
        gravity->update(0.5f);
        EXPECT_FLOAT_EQ(p.position.y, 0.3125f * length);
        gravity->update(0.5f);
        EXPECT_FLOAT_EQ(p.position.y, (0.3125f + 0.9375f) * length);
        EXPECT_EQ(p.position.x, 0.0f);
    }
}

TEST_F(ParticleEmitterTest, ResizingKeepsTheFirstRecordsAndTheirData)
{
    Pool pool(10);
    auto* gravity = pool.attach<VQ::ParticleGravityAffector>();
    gravity->mForce = flat(2.0f);
    // Particle i joins after i steps, so each has its own speed.
    for (int i = 0; i < 10; ++i) {
        pool.live(i);
        gravity->spawn(i);
        gravity->update(1.0f);
    }
    pool.emitter.mMaxParticlesCount = 5;
    pool.emitter.resizePool();
    EXPECT_EQ(pool.emitter.particles.size(), 5u);
    EXPECT_EQ(gravity->dataSize(), 5u);
    const float before = pool.emitter.particles[2].position.y;
    gravity->update(1.0f);
    // Record 2 had 8 steps of speed: 16, and moves 16 + 1 now.
    EXPECT_FLOAT_EQ(pool.emitter.particles[2].position.y - before, 17.0f);
}

TEST_F(ParticleEmitterTest, MovementAndTurningAffectors)
{
    {
        // One draw for both components: every direction lies on the segment.
        Pool pool(20);
        auto* linear = pool.attach<VQ::ParticleLinearMovementAffector>();
        linear->mInitialDirection.mMinVal = Vector2f(1, 0);
        linear->mInitialDirection.mMaxVal = Vector2f(0, 1);
        linear->mInitialVelocity = flat(1.0f);
        for (int i = 0; i < 20; ++i) {
            pool.live(i);
            linear->spawn(i);
        }
        linear->update(1.0f);
        for (const VQ::Particle& p : pool.emitter.particles)
            EXPECT_NEAR(p.position.x + p.position.y, 1.0f, 1e-5f);
    }
    {
        Pool pool(2);
        auto* autoRotate = pool.attach<VQ::ParticleAutoRotateAffector>();
        autoRotate->mDiffAngle = 15.0f;
        VQ::Particle& rising = pool.live(0);
        VQ::Particle& still = pool.live(1);
        still.angle = 33.0f;
        autoRotate->spawn(0);
        autoRotate->spawn(1);
        rising.position = Vector2f(0, -5);
        autoRotate->update(FRAME);
        EXPECT_FLOAT_EQ(rising.angle, 15.0f + 270.0f);
        EXPECT_EQ(still.angle, 33.0f);
    }
    {
        // Local mode turns about the emitter origin, wherever the emitter
        // stands.
        Pool pool(1);
        pool.emitter.mPosition = Vector2f(30, 0);
        auto* rotate = pool.attach<VQ::ParticleRotateAffector>();
        rotate->mInitialAngleVelocity = flat(1.5707964f);
        rotate->mInitialRotateCoeffMin = rotate->mInitialRotateCoeffMax = 1.0f;
        VQ::Particle& p = pool.live(0, Vector2f(10, 0));
        rotate->spawn(0);
        rotate->update(1.0f);
        EXPECT_NEAR(p.position.x, 0.0f, 1e-5f);
        EXPECT_NEAR(p.position.y, 10.0f, 1e-5f);
    }
    {
        Pool pool(1);
        auto* spin = pool.attach<VQ::ParticleRotateSpriteAffector>();
        spin->mInitialMinAngle = spin->mInitialMaxAngle = 30.0f;
        spin->mInitialRotateCoeffMin = spin->mInitialRotateCoeffMax = 2.0f;
        spin->mInitialAngleVelocity = flat(10.0f);
        VQ::Particle& p = pool.live(0);
        spin->spawn(0);
        EXPECT_FLOAT_EQ(p.angle, 30.0f);
        spin->update(0.5f);
        EXPECT_FLOAT_EQ(p.angle, 40.0f);
    }
    {
        // Heading 90 degrees (down the screen) from the angle curve.
        Pool pool(1);
        auto* graphic = pool.attach<VQ::ParticleGraphicMoveAffector>();
        graphic->mAngleGraphic = flat(90.0f);
        graphic->mVelocityGraphic = flat(10.0f);
        VQ::Particle& p = pool.live(0);
        graphic->spawn(0);
        graphic->update(1.0f);
        EXPECT_NEAR(p.position.x, 0.0f, 1e-3f);
        EXPECT_NEAR(p.position.y, 10.0f, 1e-3f);
    }
    {
        // Pulled towards the emitter origin; one on it goes a random way.
        Pool pool(2);
        auto* point = pool.attach<VQ::ParticleGravityPointAffector>();
        point->mForce = flat(8.0f);
        VQ::Particle& away = pool.live(0, Vector2f(10, 0));
        VQ::Particle& on = pool.live(1);
        point->spawn(0);
        point->spawn(1);
        point->update(0.5f);
        EXPECT_FLOAT_EQ(away.position.x, 9.0f);
        EXPECT_NEAR(on.position.length(), 1.0f, 1e-5f);
    }
}

struct UnknownEmitter : VQ::ParticleCircleEmitter {};
struct UnknownAffector : VQ::ParticleGravityAffector {};

TEST_F(ParticleEmitterTest, CopiesKeepTheirClassThroughTheFactory)
{
    VQ::ParticleBoxEmitter box;
    box.mRect = VQ::Rect(1, 2, 3, 4);
    box.mMaxParticlesCount = 7;
    box.mParticleAffectors.push_back(new VQ::ParticleGravityAffector());
    box.mParticleAffectors.push_back(new UnknownAffector());
    std::unique_ptr<VQ::ParticleEmitter> copy(mFactory->cloneEmitter(&box));
    auto* boxCopy = dynamic_cast<VQ::ParticleBoxEmitter*>(copy.get());
    ASSERT_NE(boxCopy, nullptr);
    EXPECT_EQ(boxCopy->mRect, box.mRect);
    EXPECT_EQ(boxCopy->poolSize, 7);
    EXPECT_TRUE(boxCopy->particles.empty());  // no pool until init
    ASSERT_EQ(boxCopy->mParticleAffectors.size(), 2u);
    EXPECT_STREQ(boxCopy->mParticleAffectors[0]->getClassName(), "ParticleGravityAffector");
    // A class the factory does not know is copied as its base part.
    EXPECT_STREQ(boxCopy->mParticleAffectors[1]->getClassName(), "ParticleAffector");

    UnknownEmitter unknown;
    unknown.mMaxParticlesCount = 3;
    std::unique_ptr<VQ::ParticleEmitter> plain(mFactory->cloneEmitter(&unknown));
    EXPECT_STREQ(plain->getClassName(), "ParticleEmitter");
    EXPECT_EQ(plain->mMaxParticlesCount, 3);
    EXPECT_EQ(mFactory->cloneEmitter(nullptr), nullptr);
}

}  // namespace
