// Test driver: runs the real game headless from the working folder (which
// holds media/), saves the back buffer of frame N as a PNG and closes the
// window. Usage: frame_capture OUT.png [FRAME]
#include <cstdio>
#include <cstdlib>
#include <string>

#include <png.h>

#include "game_program.h"
#include "image_writers.h"
#include "platform/graphics_device.h"
#include "platform/window_sdl.h"
#include "render_system.h"

namespace {

std::string gOutput;
uint64_t gFrame = 30;

void captureFrame(uint64_t frameNumber)
{
    if (frameNumber != gFrame)
        return;
    std::vector<uint32_t> argb;
    uint32_t width = 0;
    uint32_t height = 0;
    VQ::GraphicsDevice* device = VQ::RenderSystem::instance()->device();
    if (device && device->readPixels(argb, width, height)) {
        ImageWriters::PngDescription png;
        png.width = width;
        png.height = height;
        png.colourType = PNG_COLOR_TYPE_RGB;
        for (uint32_t pixel : argb) {
            png.rows.push_back(uint8_t(pixel >> 16));
            png.rows.push_back(uint8_t(pixel >> 8));
            png.rows.push_back(uint8_t(pixel));
        }
        ImageWriters::Bytes bytes;
        std::string error;
        if (ImageWriters::writePng(png, bytes, error) && ImageWriters::writeFile(gOutput, bytes))
            printf("frame %llu saved to %s (%u x %u)\n", (unsigned long long)frameNumber, gOutput.c_str(), width,
                   height);
        else
            fprintf(stderr, "frame capture failed: %s\n", error.c_str());
    } else {
        fprintf(stderr, "frame capture: no frame to read\n");
    }
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
