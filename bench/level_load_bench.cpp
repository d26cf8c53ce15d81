// The level state's load job on the campaign's first level: from the state's
// load (the job started) until it is loaded (the board, its renderer, the
// framed scene, the interface, the effect scenes and the level's rules
// built), on the recording graphics device over the headless engine.
// Reported in milliseconds of wall time.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "board_sim.h"
#include "game_level.h"
#include "game_state_manager.h"
#include "job_manager.h"
#include "main_mode.h"
#include "platform/recording_graphics_device.h"
#include "render_system.h"
#include "scratch_folder.h"

namespace {

void BM_LevelLoadJob(benchmark::State& state)
{
    setenv("ALSOFT_DRIVERS", "null", 1);
    const Bench::ScratchFolder folder("lanterra_level_load_bench");

    // The engine, the interface and a state manager of the headless board.
    std::ostringstream out;
    BoardSim::useSeed(1);
    auto sim = std::make_unique<BoardSim>(out);
    sim->enableRules();
    sim->start(std::string(LANTERRA_SOURCE_DIR) + "/media", "level_1_lua");
    auto render = std::make_unique<VQ::RenderSystem>();
    VQ::RenderSettings settings;
    settings.workspaceWidth = 1726;
    settings.workspaceHeight = 970;
    render->setSettings(settings);
    render->setWindowSize(1726, 970);
    render->setDevice(std::unique_ptr<VQ::GraphicsDevice>(new VQ::RecordingGraphicsDevice()));
    render->createDevice();
    auto jobs = std::make_unique<VQ::JobManager>();
    GameStateManager* states = GameStateManager::instance();
    GameLevel* boardLevel = states->level;

    auto mode = std::make_unique<MainMode>("");
    MainMode& campaign = *mode;
    double totalMs = 0.0;
    for (auto _ : state) {
        GameLevel level;
        states->level = &level;
        campaign.selectLevel(0, 0, 0);
        level.mode = &campaign;
        const auto start = std::chrono::steady_clock::now();
        level.load();
        while (!level.isLoaded())
            std::this_thread::yield();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(ms / 1000.0);
        totalMs += ms;
        jobs->update();
        campaign.onStateLeave("GameLevel");
        level.onDeactivate();
        states->level = boardLevel;
    }
    state.counters["load_ms"] = totalMs / static_cast<double>(state.iterations());
    jobs.reset();
    mode.reset();
    // The textures go while the device they were made on still stands.
    sim.reset();
    render.reset();
}

}  // namespace

BENCHMARK(BM_LevelLoadJob)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
