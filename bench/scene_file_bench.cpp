// Scene files and sprite nodes: loading each shipped scene over the sample
// content (its textures and descriptions already cached, as after the first
// load), and one frame of 1,000 animated sprite nodes, `update` plus
// `renderScene`, on the recording device and on OpenGL.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "animationeditor/scene_node.h"
#include "animationeditor/sprite_scene_node.h"
#include "bench_engine.h"
#include "config_manager.h"
#include "file_system.h"
#include "xml_cached_files_manager.h"

namespace {

// The bench engine over the shipped content, with the XML sprite cache.
struct ContentEngine {
    // With the particle system: shipped scenes hold particle nodes (the
    // loading scene's embers) that load their effects through it.
    explicit ContentEngine(std::unique_ptr<VQ::GraphicsDevice> device) : engine(std::move(device), true)
    {
        oldRoot = VQ::contentRoot();
        VQ::contentRoot() = std::string(LANTERRA_SOURCE_DIR) + "/media/";
        files = std::make_unique<VQ::FileSystem>();
        config = std::make_unique<VQ::ConfigManager>();
        config->load();
        files->loadFilesLocationInfo();
        xmlCache = std::make_unique<VQ::XmlCachedFilesManager>();
        oldLevel = AE::effectsLevel;
        AE::effectsLevel = 1;
    }
    ~ContentEngine()
    {
        AE::effectsLevel = oldLevel;
        xmlCache->purge();
        xmlCache.reset();
        config.reset();
        files.reset();
        VQ::contentRoot() = oldRoot;
    }

    Bench::Engine engine;
    std::unique_ptr<VQ::FileSystem> files;
    std::unique_ptr<VQ::ConfigManager> config;
    std::unique_ptr<VQ::XmlCachedFilesManager> xmlCache;
    std::string oldRoot;
    int oldLevel = 0;
};

void BM_LoadShippedScene(benchmark::State& state, const char* scene)
{
    ContentEngine content(std::make_unique<VQ::RecordingGraphicsDevice>());
    // The first load reads the pictures and descriptions; the game keeps
    // them cached while its scenes come and go.
    std::unique_ptr<AE::ISceneNode> warm(AE::loadScene(scene));
    if (!warm) {
        state.SkipWithError("scene missing");
        return;
    }
    for (auto _ : state) {
        std::unique_ptr<AE::ISceneNode> root(AE::loadScene(scene));
        benchmark::DoNotOptimize(root.get());
    }
}
BENCHMARK_CAPTURE(BM_LoadShippedScene, loading_scene, "loading_scene_xml")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_LoadShippedScene, dialog_example, "dialog_example_xml")->Unit(benchmark::kMicrosecond);

// 1,000 gems from the loading scene's sheet, each with three key frames
// moving it, turning it and counting through the sheet frames.
void BM_SpriteNodesFrame(benchmark::State& state)
{
    std::unique_ptr<TestSupport::GLTestContext> context;
    std::unique_ptr<VQ::GraphicsDevice> device = Bench::deviceOrSkip(state, state.range(0) != 0, context);
    if (!device)
        return;
    ContentEngine content(std::move(device));
    AE::ISceneNode root;
    for (int i = 0; i < 1000; ++i) {
        auto* node = new AE::SpriteSceneNode();
        node->loadSprite("loading_gems_sprites", "Gems");
        node->fileName = "loading_gems_sprites";
        AE::loadFrameAnimation(AE::FrameAnimationParams(), *node, "Gems");
        node->animFrameIndex = true;
        for (int k = 0; k < 3; ++k) {
            node->posX = float((i * 37) % 760) + float(k) * 12.0f;
            node->posY = float((i * 53) % 560) - float(k) * 9.0f;
            node->rotation = float(k * 20);
            node->frameIndex = (i + k * 2) % 6;
            node->storeKeyFrame(uint32_t(k * 12));
        }
        node->loop = true;
        root.addChild(node, true);
    }
    root.play(true);
    AE::ISceneNode::update(&root, 0.0f);
    VQ::TextureManager::instance()->processQueues();
    VQ::RenderSystem* render = content.engine.render.get();
    for (auto _ : state) {
        render->beginFrame();
        AE::ISceneNode::update(&root, 1.0f / 60.0f);
        AE::renderScene(&root);
        render->endFrame();
        TestSupport::settleDevice(content.engine.gfx);
    }
}
BENCHMARK(BM_SpriteNodesFrame)->Arg(0)->Arg(1)->ArgName("opengl")->Unit(benchmark::kMicrosecond);

}  // namespace
