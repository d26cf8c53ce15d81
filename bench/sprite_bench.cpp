// How many sprites one frame handles in 8 ms of CPU: every sprite moves and
// turns (its vertices recomputed) and is drawn, inside a whole frame (scene
// texture, composition onto the back buffer), through the render system on
// the recording device and on the OpenGL device (offscreen driver). Sprites
// share one 16 x 16 texture, as atlas sprites do. The "sprites_per_8ms"
// counter is the answer; waiting for the rasteriser is left out.

#include <benchmark/benchmark.h>
#include <epoxy/gl.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "../tests/support/test_device.h"
#include "fast_sprite.h"
#include "log_system.h"
#include "platform/graphics_device_gl.h"
#include "platform/recording_graphics_device.h"
#include "render_system.h"
#include "sprite.h"
#include "sprite_manager.h"
#include "texture_manager.h"

namespace {

// The engine's managers over a temporary working folder (for VQ.log).
class Engine {
public:
    explicit Engine(std::unique_ptr<VQ::GraphicsDevice> device)
    {
        char pattern[] = "/tmp/lanterra_bench_XXXXXX";
        mFolder = mkdtemp(pattern);
        mOldCwd = std::filesystem::current_path();
        std::filesystem::current_path(mFolder);
        log = std::make_unique<VQ::LogSystem>();
        render = std::make_unique<VQ::RenderSystem>();
        VQ::RenderSettings settings;
        settings.workspaceWidth = 800;
        settings.workspaceHeight = 600;
        render->setSettings(settings);
        render->setWindowSize(800, 600);
        gfx = device.get();
        render->setDevice(std::move(device));
        sprites = std::make_unique<VQ::SpriteManager<VQ::Sprite>>();
        fastSprites = std::make_unique<VQ::SpriteManager<VQ::FastSprite>>();
        textures = std::make_unique<VQ::TextureManager>();
        render->createDevice();
    }
    ~Engine()
    {
        render->releaseBatches();
        sprites.reset();
        fastSprites.reset();
        textures.reset();
        render.reset();
        log.reset();
        std::filesystem::current_path(mOldCwd);
        std::filesystem::remove_all(mFolder);
    }

    std::unique_ptr<VQ::LogSystem> log;
    std::unique_ptr<VQ::RenderSystem> render;
    std::unique_ptr<VQ::SpriteManager<VQ::Sprite>> sprites;
    std::unique_ptr<VQ::SpriteManager<VQ::FastSprite>> fastSprites;
    std::unique_ptr<VQ::TextureManager> textures;
    VQ::GraphicsDevice* gfx = nullptr;

private:
    std::string mFolder;
    std::filesystem::path mOldCwd;
};

void drawSprites(benchmark::State& state, bool realDevice)
{
    const uint32_t count = uint32_t(state.range(0));
    std::unique_ptr<TestSupport::GLTestContext> context;
    std::string error;
    std::unique_ptr<VQ::GraphicsDevice> device = TestSupport::makeTestDevice(realDevice, 800, 600, context, error);
    if (!device) {
        state.SkipWithError(error.c_str());
        return;
    }
    {
        Engine engine(std::move(device));
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
