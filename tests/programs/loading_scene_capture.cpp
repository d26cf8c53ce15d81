// Test driver: runs the real game headless from the working folder (which
// holds media/) with a background job held open from the game's start-up,
// so that every frame is the game's loading screen. Saves the back buffer of
// frame 10 as FIRST.png and, a second later, SECOND.png; then lets the job
// end and closes the window. Usage: loading_scene_capture FIRST.png SECOND.png
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include "back_buffer_png.h"
#include "function.h"
#include "game_application.h"
#include "game_program.h"
#include "job_manager.h"
#include "platform/window_sdl.h"

namespace {

std::string gFirst;
std::string gSecond;
std::atomic<bool> gLoadingDone{false};
std::chrono::steady_clock::time_point gFirstTime;
bool gFirstSaved = false;

void holdLoading()
{
    while (!gLoadingDone.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

class HeldLoadingGame : public GameApplication {
public:
    void create() override
    {
        GameApplication::create();
        VQ::JobManager::instance()->addJob(std::make_unique<VQ::Function<VQ::IFunction>>(holdLoading))->start();
    }
};

Application* createHeldGame()
{
    return new HeldLoadingGame();
}

void captureFrames(uint64_t frameNumber)
{
    const auto now = std::chrono::steady_clock::now();
    if (!gFirstSaved) {
        if (frameNumber < 10)
            return;
        saveBackBuffer(gFirst, frameNumber);
        gFirstTime = now;
        gFirstSaved = true;
        return;
    }
    if (now - gFirstTime < std::chrono::seconds(1))
        return;
    saveBackBuffer(gSecond, frameNumber);
    // The shut-down waits for running jobs.
    gLoadingDone = true;
    VQ::postMessage({VQ::WindowMessageType::Destroy, 0, 0});
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: loading_scene_capture FIRST.png SECOND.png\n");
        return 2;
    }
    gFirst = argv[1];
    gSecond = argv[2];
    VQ::ProgramHooks hooks = gameProgramHooks();
    hooks.createApplication = createHeldGame;
    hooks.afterFrame = captureFrames;
    return VQ::runProgram(hooks);
}
