// Test driver: runs the real game headless from the working folder (which
// holds media/), saves the back buffer of frame N as a PNG and closes the
// window. Usage: frame_capture OUT.png [FRAME]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "back_buffer_png.h"
#include "game_program.h"
#include "platform/window_sdl.h"

namespace {

std::string gOutput;
uint64_t gFrame = 30;

void captureFrame(uint64_t frameNumber)
{
    if (frameNumber != gFrame)
        return;
    saveBackBuffer(gOutput, frameNumber);
    VQ::postMessage({VQ::WindowMessageType::Destroy, 0, 0});
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: frame_capture OUT.png [FRAME]\n");
        return 2;
    }
    gOutput = argv[1];
    if (argc > 2)
        gFrame = std::strtoull(argv[2], nullptr, 10);
    VQ::ProgramHooks hooks = gameProgramHooks();
    hooks.afterFrame = captureFrame;
    return VQ::runProgram(hooks);
}
