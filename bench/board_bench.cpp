// The board's speed: the random-start level played through 100 random
// useful swaps, each followed by settling, on the headless board. Reported
// as game seconds simulated per wall-clock second (frames of 1/60 s).

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "board_sim.h"
#include "random_seed.h"
#include "scratch_folder.h"

namespace {

constexpr int SWAPS = 100;

void BM_BoardPlaysRandomSwaps(benchmark::State& state)
{
    setenv("ALSOFT_DRIVERS", "null", 1);
    // The log goes to a folder of the benchmark's own.
    const Bench::ScratchFolder folder("lanterra_board_bench");

    double gameSeconds = 0.0;
    int64_t swaps = 0;
    uint32_t seed = 1;
    for (auto _ : state) {
        state.PauseTiming();
        std::ostringstream out;
        BoardSim::useSeed(seed++);
        auto sim = std::make_unique<BoardSim>(out);
        sim->start(std::string(LANTERRA_SOURCE_DIR) + "/media", "test_random_lua");
        const double startTime = sim->gameTime();
        state.ResumeTiming();

        float seconds = 0.0f;
        sim->settle(seconds);
        for (int i = 0; i < SWAPS && sim->playRandomUsefulSwap(); ++i) {
            sim->settle(seconds);
            ++swaps;
        }

        state.PauseTiming();
        gameSeconds += sim->gameTime() - startTime;
        sim.reset();
        state.ResumeTiming();
    }
    setSeedCounterSource(nullptr);
    state.counters["game_s_per_wall_s"] = benchmark::Counter(gameSeconds, benchmark::Counter::kIsRate);
    state.counters["swaps"] = benchmark::Counter(static_cast<double>(swaps), benchmark::Counter::kAvgIterations);
}
// Real time: the rate counter divides by the measured time, and the figure
// is game seconds per wall-clock second (the CPU time of the main thread
// alone would leave out the sound and job threads).
BENCHMARK(BM_BoardPlaysRandomSwaps)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace
