// How many sprites one frame handles in 8 ms of CPU: every sprite moves and
// turns (its vertices recomputed) and is drawn, inside a whole frame (scene
// texture, composition onto the back buffer), through the render system on
// the recording device and on the OpenGL device (offscreen driver). Sprites
// share one 16 x 16 texture, as atlas sprites do. The "sprites_per_8ms"
// counter is the answer; waiting for the rasteriser is left out.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "bench_engine.h"

namespace {

void drawSprites(benchmark::State& state, bool realDevice)
{
    const uint32_t count = uint32_t(state.range(0));
    std::unique_ptr<TestSupport::GLTestContext> context;
    std::unique_ptr<VQ::GraphicsDevice> device = Bench::deviceOrSkip(state, realDevice, context);
    if (!device)
        return;
    {
        Bench::Engine engine(std::move(device));
        VQ::Texture* texture = engine.textures->createEmptyTexture(16, 16, VQ::TF_A8R8G8B8);
        std::vector<VQ::Sprite*> sprites;
        for (uint32_t i = 0; i < count; ++i) {
            VQ::Sprite* s = engine.sprites->createSpriteFromTexture(texture);
            s->setSize(VQ::Vector2f(8, 8));
            sprites.push_back(s);
        }
        engine.render->endFrame();  // creates the texture
        uint32_t frame = 0;
        const auto drawFrame = [&] {
            engine.render->beginFrame();
            for (uint32_t i = 0; i < count; ++i) {
                VQ::Sprite* s = sprites[i];
                s->setPositionXY(float((i * 7 + frame) % 790), float((i * 13 + frame) % 590));
                s->setAngle(float((i + frame) % 360));
                s->updateVertices();
                s->draw();
            }
            engine.render->endFrame();
            ++frame;
        };
        // The first frames on a software rasteriser build its shaders and
        // buffers, which no later frame pays for.
        for (int i = 0; i < 8; ++i) {
            drawFrame();
            TestSupport::settleDevice(engine.gfx);
        }
        for (auto _ : state) {
            drawFrame();
            state.PauseTiming();
            TestSupport::settleDevice(engine.gfx);
            state.ResumeTiming();
        }
        state.counters["sprites_per_8ms"] =
            benchmark::Counter(double(count) * 0.008 * double(state.iterations()), benchmark::Counter::kIsRate);
    }
}

}  // namespace

BENCHMARK_CAPTURE(drawSprites, recording, false)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(drawSprites, gl, true)->Arg(5000)->Unit(benchmark::kMillisecond);
