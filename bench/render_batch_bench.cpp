// How many quads batching and submission handle in 8 ms of CPU: one frame of
// one-quad render data (as sprites hand them over), drawn through the render
// system on the recording device and on the OpenGL device (offscreen driver),
// with one texture throughout or with the texture and blend mode changing
// every 10 quads. The "quads_per_8ms" counter is the answer. Quads are 2 x 2
// pixels and the wait for the rasteriser is left out, so that the figure is
// the CPU cost of batching and submission.

#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <memory>
#include <vector>

#include "../tests/support/test_device.h"
#include "../tests/support/render_helpers.h"
#include "platform/graphics_device_gl.h"
#include "platform/recording_graphics_device.h"
#include "render_system.h"

namespace {

constexpr uint32_t kQuadsPerFrame = 10000;
constexpr int WARM_UP_FRAMES = 64;

void drawFrames(benchmark::State& state, bool realDevice, bool changingState)
{
    std::unique_ptr<TestSupport::GLTestContext> context;
    std::string error;
    std::unique_ptr<VQ::GraphicsDevice> device = TestSupport::makeTestDevice(realDevice, 800, 600, context, error);
    if (!device) {
        state.SkipWithError(error.c_str());
        return;
    }
    if (device->create(800, 600, VQ::VertexProcessing::Hardware) != VQ::DeviceResult::Ok) {
        state.SkipWithError("device creation failed");
        return;
    }
    VQ::GraphicsDevice* dev = device.get();
    {
        VQ::RenderSystem render;
        VQ::RenderSettings settings;
        settings.workspaceWidth = 800;
        settings.workspaceHeight = 600;
        render.setSettings(settings);
        render.setDevice(std::move(device));
        render.createBatchBuffers();
        render.setFixedDeviceState();
        render.applyTransform(800, 600);

        std::vector<std::unique_ptr<TestSupport::DeviceTexture>> textures;
        for (int i = 0; i < 2; ++i)
            textures.push_back(std::make_unique<TestSupport::DeviceTexture>(
                *dev, 16, 16, std::vector<uint32_t>(256, i ? 0xFF80FF80 : 0xFFFF8080)));
        std::vector<std::unique_ptr<VQ::RenderData>> quads;
        for (uint32_t i = 0; i < kQuadsPerFrame; ++i) {
            const bool second = changingState && (i / 10) % 2 == 1;
            const TestSupport::QuadSpec q{float(i * 7 % 784), float(i * 13 % 584), 2, 2, 0xFFFFFFFF};
            quads.push_back(TestSupport::makeQuads({q}, textures[second ? 1 : 0].get(),
                                                   second ? VQ::BLEND_ADD : VQ::BLEND_ALPHA));
        }

        const auto frame = [&] {
            render.lockBatchBuffer();
            for (const auto& q : quads)
                render.drawRenderData(q.get());
            render.flushBatch();
            render.unlockBatchBuffer();
            render.resetBatchState();
            render.resetStatistics();
        };
        // The first frames on a software rasteriser build its shaders and
        // buffers (tens of milliseconds each), and the device's vertex ring
        // takes some dozens of frames to settle into reusing its storage;
        // no later frame pays for either.
        for (int i = 0; i < WARM_UP_FRAMES; ++i) {
            frame();
            TestSupport::settleDevice(dev);
        }
        for (auto _ : state) {
            frame();
            // Waiting for the rasteriser is not submission work.
            state.PauseTiming();
            TestSupport::settleDevice(dev);
            state.ResumeTiming();
        }
        state.counters["quads_per_8ms"] =
            benchmark::Counter(double(kQuadsPerFrame) * 0.008 * double(state.iterations()), benchmark::Counter::kIsRate);
        quads.clear();
        textures.clear();
    }
}

}  // namespace

BENCHMARK_CAPTURE(drawFrames, recording_one_texture, false, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(drawFrames, recording_state_every_10, false, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(drawFrames, gl_one_texture, true, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(drawFrames, gl_state_every_10, true, true)->Unit(benchmark::kMillisecond);
