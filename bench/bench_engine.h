#pragma once
// What the drawing benchmarks share: the render system on a chosen device
// with the sprite and texture managers (and, when asked, the object factory
// and the particle system) over a temporary working folder for VQ.log.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "../tests/support/test_device.h"
#include "fast_sprite.h"
#include "log_system.h"
#include "object_factory.h"
#include "particle_system.h"
#include "render_system.h"
#include "sprite.h"
#include "sprite_manager.h"
#include "texture_manager.h"

namespace Bench {

// The recording device, or the OpenGL device over a hidden window of its own
// (kept in `context`); null when the state was told to skip.
inline std::unique_ptr<VQ::GraphicsDevice> deviceOrSkip(benchmark::State& state, bool realDevice,
                                                        std::unique_ptr<TestSupport::GLTestContext>& context)
{
    std::string error;
    std::unique_ptr<VQ::GraphicsDevice> device = TestSupport::makeTestDevice(realDevice, 800, 600, context, error);
    if (!device)
        state.SkipWithError(error.c_str());
    return device;
}

class Engine {
public:
    Engine(std::unique_ptr<VQ::GraphicsDevice> device, bool withParticles = false)
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
        if (withParticles) {
            factory = std::make_unique<VQ::ObjectFactory>();
            particles = std::make_unique<VQ::ParticleSystem>();
        }
        render->createDevice();
    }
    ~Engine()
    {
        particles.reset();
        factory.reset();
        render->releaseBatches();
        sprites.reset();
        fastSprites.reset();
        textures.reset();
        render.reset();
        log.reset();
        std::filesystem::current_path(mOldCwd);
        std::filesystem::remove_all(mFolder);
    }
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    std::unique_ptr<VQ::LogSystem> log;
    std::unique_ptr<VQ::RenderSystem> render;
    std::unique_ptr<VQ::SpriteManager<VQ::Sprite>> sprites;
    std::unique_ptr<VQ::SpriteManager<VQ::FastSprite>> fastSprites;
    std::unique_ptr<VQ::TextureManager> textures;
    std::unique_ptr<VQ::ObjectFactory> factory;
    std::unique_ptr<VQ::ParticleSystem> particles;
    VQ::GraphicsDevice* gfx = nullptr;

private:
    std::string mFolder;
    std::filesystem::path mOldCwd;
};

}  // namespace Bench
