// Child program for the pacing test: the game with an application that
// counts its frames for two seconds, prints the rate and quits.

#include <chrono>
#include <cstdio>

#include "game_application.h"
#include "game_program.h"

namespace {

class CountingApplication : public GameApplication {
public:
    void update() override
    {
        GameApplication::update();
        const auto now = std::chrono::steady_clock::now();
        if (mFrames++ == 0)
            mStart = now;
        const double seconds = std::chrono::duration<double>(now - mStart).count();
        if (seconds >= 2.0) {
            printf("frames per second: %.2f\n", (mFrames - 1) / seconds);
            fflush(stdout);
            quit();
        }
    }

private:
    int mFrames = 0;
    std::chrono::steady_clock::time_point mStart;
};

Application* createCountingApplication()
{
    return new CountingApplication();
}

}  // namespace

int main()
{
    VQ::ProgramHooks hooks = gameProgramHooks();
    hooks.createApplication = createCountingApplication;
    return VQ::runProgram(hooks);
}
