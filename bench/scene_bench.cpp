// One frame of a scene tree of 2,000 playing nodes, each with three key
// frames on every base track (some segments Bezier): the per-frame pass
// (`update`) and drawing by depth (`renderScene`) on the recording device,
// where every node applies the tree's camera as drawable kinds do. The time
// per iteration is the time per frame.

#include <benchmark/benchmark.h>

#include <memory>

#include "animationeditor/movie_camera.h"
#include "animationeditor/scene_node.h"
#include "platform/recording_graphics_device.h"
#include "render_system.h"

namespace {

constexpr int kGroups = 40;
constexpr int kPerGroup = 49;  // 40 groups + 40 x 49 leaves + the root's camera = 2,001 nodes

class DrawnNode : public AE::ISceneNode {
public:
    void render() override
    {
        if (enabled)
            applyCamera();
    }
};

void keyed(AE::ISceneNode& node, int i)
{
    const float phase = float(i % 17);
    for (int k = 0; k < 3; ++k) {
        node.posX = phase * 10.0f + float(k) * 30.0f;
        node.posY = float(k) * 12.0f - phase;
        node.rotation = float(k * 45);
        node.scaleX = 1.0f + 0.25f * float(k);
        node.scaleY = 1.0f - 0.1f * float(k);
        node.pivotPoint = VQ::Vector2f(float(k), 2.0f);
        node.posZ = float((i + k) % 7);
        node.color = VQ::Color(0xFF000000u | uint32_t(k * 0x405060));
        node.shear.m10 = 0.05f * float(k);
        node.storeKeyFrame(uint32_t(k * 12));
    }
    node.animation->smoothAt("posX", 1) = true;
    node.animation->tangentAt("posX", 1) = 8.0f;
    node.loop = true;
}

struct SceneFixture {
    SceneFixture()
    {
        auto device = std::make_unique<VQ::RecordingGraphicsDevice>();
        device->create(1726, 970, VQ::VertexProcessing::Hardware);
        render.setDevice(std::move(device));
        VQ::RenderSettings settings;
        settings.workspaceWidth = 1726;
        settings.workspaceHeight = 970;
        render.setSettings(settings);
        auto* camera = new AE::MovieCamera();
        root.addChild(camera, true);
        int n = 0;
        for (int g = 0; g < kGroups; ++g) {
            auto* group = new DrawnNode();
            keyed(*group, n++);
            root.addChild(group, true);
            for (int c = 0; c < kPerGroup; ++c) {
                auto* leaf = new DrawnNode();
                keyed(*leaf, n++);
                group->addChild(leaf, true);
            }
        }
        root.play(true);
        AE::ISceneNode::update(&root, 0.0f);
    }

    VQ::RenderSystem render;
    AE::ISceneNode root;
};

void BM_SceneUpdate(benchmark::State& state)
{
    SceneFixture scene;
    for (auto _ : state)
        AE::ISceneNode::update(&scene.root, 1.0f / 60.0f);
    state.counters["nodes"] = double(kGroups * (kPerGroup + 1) + 1);
}
BENCHMARK(BM_SceneUpdate)->Unit(benchmark::kMicrosecond);

void BM_SceneRender(benchmark::State& state)
{
    SceneFixture scene;
    for (auto _ : state)
        AE::renderScene(&scene.root);
}
BENCHMARK(BM_SceneRender)->Unit(benchmark::kMicrosecond);

void BM_SceneFrame(benchmark::State& state)
{
    SceneFixture scene;
    for (auto _ : state) {
        AE::ISceneNode::update(&scene.root, 1.0f / 60.0f);
        AE::renderScene(&scene.root);
    }
}
BENCHMARK(BM_SceneFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
