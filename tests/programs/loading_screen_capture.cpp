// Test driver: runs the engine's own application, without the game, headless
// from the working folder (which holds media/), with a background job held
// open from start-up, so that every frame is the base loading screen. Saves
// the back buffer of frame N as a PNG, lets the job end and closes the
// window. Usage: loading_screen_capture OUT.png [FRAME]
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "application.h"
#include "back_buffer_png.h"
#include "function.h"
#include "job_manager.h"
#include "platform/window_sdl.h"
#include "shell.h"

namespace {

std::string gOutput;
uint64_t gFrame = 10;
std::atomic<bool> gLoadingDone{false};

void holdLoading()
{
    while (!gLoadingDone.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

class LoadingApplication : public Application {
public:
    LoadingApplication() { application() = this; }
    void create() override
    {
        VQ::JobManager::instance()->addJob(std::make_unique<VQ::Function<VQ::IFunction>>(holdLoading))->start();
    }
};

void captureFrame(uint64_t frameNumber)
{
    if (frameNumber != gFrame)
        return;
    saveBackBuffer(gOutput, frameNumber);
    // The shut-down waits for running jobs.
    gLoadingDone = true;
    VQ::postMessage({VQ::WindowMessageType::Destroy, 0, 0});
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: loading_screen_capture OUT.png [FRAME]\n");
        return 2;
    }
    gOutput = argv[1];
    if (argc > 2)
        gFrame = std::strtoull(argv[2], nullptr, 10);
    VQ::ProgramHooks hooks;
    hooks.instanceName = "LanterraLoadingScreen";
    hooks.createApplication = []() -> Application* { return new LoadingApplication(); };
    hooks.afterFrame = captureFrame;
    return VQ::runProgram(hooks);
}
