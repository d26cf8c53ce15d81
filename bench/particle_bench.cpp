// How many live particles one frame updates and draws in 2 ms of CPU, for
// two kinds of emitter: sprites spawned on a circle, pulled by gravity and
// spun (the common case), and trail ribbons (every particle draws a quad a
// segment). Each frame advances the effect by 1/60 s and draws it inside a
// whole frame through the render system, on the recording device and on the
// OpenGL device (offscreen driver). The pools are full before timing starts.
// The "particles_per_2ms" counter is the answer; waiting for the rasteriser
// is left out.

#include <benchmark/benchmark.h>

#include <memory>

#include "bench_engine.h"
#include "particle_affector.h"
#include "particle_emitter.h"
#include "particle_fx.h"

namespace {

constexpr float FRAME = 1.0f / 60.0f;
constexpr float LIFE = 2.0f;

using FloatCurve = VQ::TimedValueInterval<float>;

FloatCurve flat(float value)
{
    return FloatCurve(value, value);
}

// `count` particles kept alive: each lives LIFE seconds and the rate
// replaces them as they go.
template <typename E>
E* addEmitter(VQ::ParticleFX& fx, Bench::Engine& engine, int count, float size)
{
    auto* e = new E();
    e->mMaxParticlesCount = count;
    e->mEmitRate = flat(float(count) / LIFE * 1.1f);
    e->mInitialLifeTime = flat(LIFE);
    e->mInitialScaleX = flat(1.0f);
    e->mInitialScaleY = flat(1.0f);
    VQ::Texture* texture = engine.textures->createEmptyTexture(32, 32, VQ::TF_A8R8G8B8);
    e->sprite = engine.sprites->createSpriteFromTexture(texture);
    e->sprite->setSize(VQ::Vector2f(size, size));
    e->mBlendMode = VQ::BLEND_ADD;
    fx.mParticleEmitters.push_back(e);
    return e;
}

void buildSparks(VQ::ParticleFX& fx, Bench::Engine& engine, int count)
{
    auto* e = addEmitter<VQ::ParticleCircleEmitter>(fx, engine, count, 16.0f);
    e->mRadius = 200.0f;
    auto* gravity = new VQ::ParticleGravityAffector();
    gravity->mForce = flat(40.0f);
    e->mParticleAffectors.push_back(gravity);
    auto* spin = new VQ::ParticleRotateSpriteAffector();
    spin->mInitialAngleVelocity = flat(90.0f);
    e->mParticleAffectors.push_back(spin);
}

void buildTrails(VQ::ParticleFX& fx, Bench::Engine& engine, int count)
{
    auto* e = addEmitter<VQ::ParticlePointEmitter>(fx, engine, count, 16.0f);
    e->mUseTails = true;
    e->mMaxSegments = 17;
    e->mHeadSize = 10;
    e->mHeadSizeTex = 4;
    e->mMinDistSegments = 6.0f;
    e->mFadeSpeed = 20.0f;
    e->mInitialScaleY = flat(0.3f);
    auto* fly = new VQ::ParticleLinearMovementAffector();
    fly->mInitialDirection.mMinVal = VQ::Vector2f(-1.0f, -0.4f);
    fly->mInitialDirection.mMaxVal = VQ::Vector2f(1.0f, 0.4f);
    fly->mInitialVelocity = flat(150.0f);
    e->mParticleAffectors.push_back(fly);
    auto* bend = new VQ::ParticleRotateAffector();
    bend->mInitialAngleVelocity = flat(0.6f);
    e->mParticleAffectors.push_back(bend);
}

void frames(benchmark::State& state, bool realDevice, void (*build)(VQ::ParticleFX&, Bench::Engine&, int))
{
    const int count = int(state.range(0));
    std::unique_ptr<TestSupport::GLTestContext> context;
    std::unique_ptr<VQ::GraphicsDevice> device = Bench::deviceOrSkip(state, realDevice, context);
    if (!device)
        return;
    {
        Bench::Engine engine(std::move(device), true);
        VQ::ParticleFX fx;
        build(fx, engine, count);
        fx.init();
        fx.mPosition = VQ::Vector2f(400, 300);
        engine.render->endFrame();  // creates the texture
        for (int i = 0; i < int(3.0f / FRAME); ++i)
            fx.update(FRAME);
        int alive = 0;
        for (auto _ : state) {
            engine.render->beginFrame();
            fx.update(FRAME);
            fx.draw();
            engine.render->endFrame();
            state.PauseTiming();
            alive = fx.mParticleEmitters[0]->aliveCount;
            TestSupport::settleDevice(engine.gfx);
            state.ResumeTiming();
        }
        state.counters["alive"] = double(alive);
        state.counters["particles_per_2ms"] =
            benchmark::Counter(double(alive) * 0.002 * double(state.iterations()), benchmark::Counter::kIsRate);
    }
}

void sparks(benchmark::State& state, bool realDevice)
{
    frames(state, realDevice, buildSparks);
}

void trails(benchmark::State& state, bool realDevice)
{
    frames(state, realDevice, buildTrails);
}

}  // namespace

BENCHMARK_CAPTURE(sparks, recording, false)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(sparks, gl, true)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(trails, recording, false)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(trails, gl, true)->Arg(200)->Unit(benchmark::kMillisecond);
