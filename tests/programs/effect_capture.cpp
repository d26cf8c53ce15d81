// Test driver: runs the engine headless from the working folder (which holds
// media/), creates one particle effect by name, steps it in frames of 1/60 s
// and saves the frame after SECONDS of effect time as a PNG: the effect drawn
// through OpenGL over a dark board of 80-pixel cells, one of them centred on
// the effect's start point.
//
// Usage: effect_capture NAME OUT.png SECONDS [--at X Y] [--velocity VX VY]
//   --at        the effect's start, in workspace pixels (default 863 485)
//   --velocity  pixels per second the effect travels (a flying effect)
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "application.h"
#include "back_buffer_png.h"
#include "particle_fx.h"
#include "particle_system.h"
#include "platform/window_sdl.h"
#include "render_system.h"
#include "shell.h"
#include "sprite.h"
#include "sprite_manager.h"

namespace {

constexpr float FRAME = 1.0f / 60.0f;
constexpr float CELL = 80.0f;

std::string gName;
std::string gOutput;
long gSteps = 0;
VQ::Vector2f gStart(863.0f, 485.0f);
VQ::Vector2f gVelocity(0.0f, 0.0f);

class CaptureApplication : public Application {
public:
    CaptureApplication() { application() = this; }

    void create() override
    {
        VQ::ParticleSystem* particles = VQ::ParticleSystem::instance();
        particles->liveUpdating = false;  // stepped here, one frame at a time
        effect = particles->create(gName);
        if (!effect) {
            fprintf(stderr, "effect_capture: effect %s could not be read\n", gName.c_str());
            failed = true;
            VQ::postMessage({VQ::WindowMessageType::Destroy, 0, 0});
            return;
        }
        effect->mPosition = gStart;
        cell = VQ::SpriteManager<VQ::Sprite>::instance()->createSpriteFromTexture(nullptr);
        cell->setSize(VQ::Vector2f(CELL - 2.0f, CELL - 2.0f));
    }

    void destroy() override
    {
        if (effect)
            VQ::ParticleSystem::instance()->release(effect);
        effect = nullptr;
    }

    void update() override
    {
        if (!effect || stepped >= gSteps)
            return;
        ++stepped;
        effect->mPosition = gStart + gVelocity * (float(stepped) * FRAME);
        effect->update(FRAME);
    }

    void render() override
    {
        VQ::RenderSystem* render = VQ::RenderSystem::instance();
        render->beginFrame();
        drawBoard();
        if (effect)
            effect->draw();
        render->endFrame();
        render->present();
    }

    // Indigo night: the workspace in the darkest shade, the cells around
    // the start point in two lighter ones.
    void drawBoard()
    {
        if (!cell)
            return;
        const VQ::RenderSettings& settings = VQ::RenderSystem::instance()->settings();
        cell->setSize(VQ::Vector2f(float(settings.workspaceWidth), float(settings.workspaceHeight)));
        cell->setPositionXY(0.0f, 0.0f);
        cell->setColor(VQ::Color(0xFF120F2Au));
        cell->updateVertices();
        cell->draw();
        cell->setSize(VQ::Vector2f(CELL - 2.0f, CELL - 2.0f));
        const float left = gStart.x - CELL / 2 - 4 * CELL;
        const float top = gStart.y - CELL / 2 - 4 * CELL;
        for (int row = 0; row < 9; ++row)
            for (int column = 0; column < 9; ++column) {
                cell->setPositionXY(left + float(column) * CELL + 1.0f, top + float(row) * CELL + 1.0f);
                cell->setColor(VQ::Color((row + column) % 2 ? 0xFF241E52u : 0xFF2B2560u));
                cell->updateVertices();
                cell->draw();
            }
    }

    VQ::ParticleFX* effect = nullptr;
    VQ::Sprite* cell = nullptr;
    long stepped = 0;
    bool failed = false;
};

CaptureApplication* gApplication = nullptr;

void captureFrame(uint64_t frameNumber)
{
    if (!gApplication || gApplication->failed || gApplication->stepped < gSteps)
        return;
    saveBackBuffer(gOutput, frameNumber);
    gSteps = -1;  // once
    VQ::postMessage({VQ::WindowMessageType::Destroy, 0, 0});
}

bool readPair(int& i, int argc, char** argv, VQ::Vector2f& out)
{
    if (i + 2 >= argc)
        return false;
    out = VQ::Vector2f(std::strtof(argv[i + 1], nullptr), std::strtof(argv[i + 2], nullptr));
    i += 2;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: effect_capture NAME OUT.png SECONDS [--at X Y] [--velocity VX VY]\n");
        return 2;
    }
    gName = argv[1];
    gOutput = argv[2];
    gSteps = std::lround(std::strtod(argv[3], nullptr) * 60.0);
    for (int i = 4; i < argc; ++i) {
        const bool ok = (std::strcmp(argv[i], "--at") == 0 && readPair(i, argc, argv, gStart)) ||
                        (std::strcmp(argv[i], "--velocity") == 0 && readPair(i, argc, argv, gVelocity));
        if (!ok) {
            fprintf(stderr, "effect_capture: bad argument %s\n", argv[i]);
            return 2;
        }
    }
    VQ::ProgramHooks hooks;
    hooks.instanceName = "LanterraEffectCapture";
    hooks.createApplication = []() -> Application* { return gApplication = new CaptureApplication(); };
    hooks.afterFrame = captureFrame;
    return VQ::runProgram(hooks);
}
