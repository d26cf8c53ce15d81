// The board presentation's cost per frame: the fixed test level, the colour
// destroyer swapped with the bomb beside it (swap 7 6 8 6), then every frame
// of the next 3 s: the board's update, the renderer's update and the draw
// submission on the recording device. Reported as the mean and the worst
// frame, in milliseconds of CPU time, against a target of 4 ms.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "board_sim.h"
#include "game_field.h"
#include "game_field_renderer.h"
#include "platform/recording_graphics_device.h"
#include "random_seed.h"
#include "render_system.h"
#include "scratch_folder.h"

namespace {

constexpr float FRAME = 1.0f / 60.0f;
constexpr int FRAMES = 180;

void BM_BoardFramesAfterTheColourDestroyerSwap(benchmark::State& state)
{
    setenv("ALSOFT_DRIVERS", "null", 1);
    const Bench::ScratchFolder folder("lanterra_board_draw_bench");

    double totalMs = 0.0;
    double worstMs = 0.0;
    int64_t frames = 0;
    size_t draws = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::ostringstream out;
        BoardSim::useSeed(5);
        auto sim = std::make_unique<BoardSim>(out);
        sim->start(std::string(LANTERRA_SOURCE_DIR) + "/media", "test_specials_lua");
        auto render = std::make_unique<VQ::RenderSystem>();
        VQ::RenderSettings settings;
        settings.workspaceWidth = 1726;
        settings.workspaceHeight = 970;
        render->setSettings(settings);
        render->setWindowSize(1726, 970);
        auto* device = new VQ::RecordingGraphicsDevice();
        render->setDevice(std::unique_ptr<VQ::GraphicsDevice>(device));
        render->createDevice();
        float seconds = 0.0f;
        sim->settle(seconds);
        GameField& field = sim->field();
        auto renderer = std::make_unique<GameFieldRenderer>(&field);
        field.renderer = renderer.get();
        // The settled board as the player sees it before the swap: its
        // textures are on the device.
        render->beginFrame();
        renderer->render();
        render->endFrame();
        sim->execute("swap 7 6 8 6");
        state.ResumeTiming();

        for (int i = 0; i < FRAMES; ++i) {
            const auto start = std::chrono::steady_clock::now();
            field.update(FRAME);
            renderer->update(FRAME);
            render->beginFrame();
            renderer->render();
            render->endFrame();
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            totalMs += ms;
            worstMs = std::max(worstMs, ms);
            ++frames;
            state.PauseTiming();
            draws = std::max(draws, device->draws().size());
            device->clearRecords();
            state.ResumeTiming();
        }

        state.PauseTiming();
        field.renderer = &sim->renderer();
        renderer.reset();
        sim.reset();
        render->releaseBatches();
        render.reset();
        state.ResumeTiming();
    }
    setSeedCounterSource(nullptr);
    state.counters["mean_frame_ms"] = frames ? totalMs / double(frames) : 0.0;
    state.counters["worst_frame_ms"] = worstMs;
    state.counters["draw_calls"] = double(draws);
}
BENCHMARK(BM_BoardFramesAfterTheColourDestroyerSwap)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
