// Test driver: runs the engine headless from the working folder (which holds
// media/) on the OpenGL device, shows one UI table over an indigo backdrop,
// and plays a list of steps, one per frame, with the mouse and the keyboard
// as SDL events; frames are saved as PNG on request.
//
// Usage: ui_capture SCRIPT TABLE STEP...
//   wait:S        let S seconds of frame time pass
//   move:X,Y      the pointer to (X, Y) window pixels
//   press:X,Y     the pointer there and the left button down; release:X,Y up
//   click:X,Y     press, then release in the next frame
//   key:C / keyup:C   a letter or digit key down or up
//   type:TEXT     each letter or digit of TEXT down, then up
//   caret         the caret of every text edit shown now (its blink)
//   sound         prints "playing <click sound>" when the buttons' click sound
//                 plays, else "silent"
//   lists         prints each scene list's scroll position, whether its
//                 helper drags and whether it coasts: "list NAME P D I"
//   save:FILE     saves the frame drawn after the previous step
// A click on a button of a scene list's item prints "clicked ITEM:BUTTON".
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "application.h"
#include "back_buffer_png.h"
#include "platform/window_sdl.h"
#include "render_system.h"
#include "shell.h"
#include "sound_system/sound_manager.h"
#include "sound_system/sound_oal.h"
#include "sprite.h"
#include "sprite_manager.h"
#include "timer_manager.h"
#include "ui/scrolling_helper.h"
#include "ui/ui_manager.h"
#include "ui/ui_scene_list.h"
#include "ui/ui_text_edit.h"

namespace {

std::string gScript;
std::string gTable;
std::vector<std::string> gSteps;

void forEachSceneList(VQ::UIWidget* widget, const std::function<void(VQ::UISceneList&)>& f)
{
    if (auto* list = dynamic_cast<VQ::UISceneList*>(widget))
        f(*list);
    for (VQ::UIWidget* child : widget->children)
        forEachSceneList(child, f);
}

struct ClickPrinter : VQ::UISceneListItemListener {
    void onElementClicked(VQ::UISceneListItem* item, const std::string& element) override
    {
        std::printf("clicked %s:%s\n", item->name.c_str(), element.c_str());
        std::fflush(stdout);
    }
} gClickPrinter;

class CaptureApplication : public Application {
public:
    CaptureApplication() { application() = this; }

    void create() override
    {
        VQ::UIManager::instance()->loadUI(gScript, gTable, nullptr, "default");
        for (VQ::UIWidget* root : VQ::UIManager::instance()->roots())
            forEachSceneList(root, [](VQ::UISceneList& list) {
                for (VQ::UISceneListItem* item : list.items)
                    item->addListener(&gClickPrinter);
            });
        backdrop = VQ::SpriteManager<VQ::Sprite>::instance()->createSpriteFromTexture(nullptr);
    }

    void render() override
    {
        VQ::RenderSystem* render = VQ::RenderSystem::instance();
        render->beginFrame();
        const VQ::RenderSettings& settings = render->settings();
        backdrop->setSize(VQ::Vector2f(float(settings.workspaceWidth), float(settings.workspaceHeight)));
        backdrop->setColor(VQ::Color(0xFF16123Au));
        backdrop->updateVertices();
        backdrop->draw();
        VQ::UIManager::instance()->render();
        render->endFrame();
        render->present();
    }

    VQ::Sprite* backdrop = nullptr;
};

void pushMouse(uint32_t type, int x, int y)
{
    SDL_Event event{};
    event.type = type;
    if (type == SDL_MOUSEMOTION) {
        event.motion.x = x;
        event.motion.y = y;
    } else {
        event.button.button = SDL_BUTTON_LEFT;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.x = x;
        event.button.y = y;
    }
    SDL_PushEvent(&event);
}

void pushKey(char c, bool down)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    const SDL_Keycode code = SDL_Keycode(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    event.key.keysym.sym = code;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(code);
    SDL_PushEvent(&event);
}

bool point(const std::string& text, int& x, int& y)
{
    return std::sscanf(text.c_str(), "%d,%d", &x, &y) == 2;
}

void forEachTextEdit(VQ::UIWidget* widget, const std::function<void(VQ::UITextEdit&)>& f)
{
    if (auto* edit = dynamic_cast<VQ::UITextEdit*>(widget))
        f(*edit);
    for (VQ::UIWidget* child : widget->children)
        forEachTextEdit(child, f);
}

bool clickSoundPlaying()
{
    VQ::SoundManager* sounds = VQ::SoundManager::instance();
    const int id = sounds->acquireResource(VQ::UIManager::instance()->clickSoundName);
    bool playing = false;
    for (int handle : sounds->voiceHandles())
        if (VQ::SoundOal* sound = sounds->sound(handle))
            playing = playing || (sound->resource == sounds->resource(id) && sounds->isPlaying(handle));
    sounds->releaseResource(id);
    return playing;
}

size_t gNext = 0;
float gWaitLeft = 0.0f;
std::vector<std::string> gPending;  // steps inserted before the next one

// Runs after each drawn frame; one step a frame.
void step(uint64_t frameNumber)
{
    if (gWaitLeft > 0.0f) {
        gWaitLeft -= VQ::TimerManager::instance()->frameTime();
        return;
    }
    std::string s;
    if (!gPending.empty()) {
        s = gPending.front();
        gPending.erase(gPending.begin());
    } else if (gNext < gSteps.size()) {
        s = gSteps[gNext++];
    } else {
        VQ::postMessage({VQ::WindowMessageType::Destroy, 0, 0});
        return;
    }
    const size_t colon = s.find(':');
    const std::string verb = s.substr(0, colon);
    const std::string arg = colon == std::string::npos ? "" : s.substr(colon + 1);
    int x = 0;
    int y = 0;
    if (verb == "wait") {
        gWaitLeft = std::strtof(arg.c_str(), nullptr);
    } else if (verb == "move" && point(arg, x, y)) {
        pushMouse(SDL_MOUSEMOTION, x, y);
    } else if (verb == "press" && point(arg, x, y)) {
        pushMouse(SDL_MOUSEMOTION, x, y);
        pushMouse(SDL_MOUSEBUTTONDOWN, x, y);
    } else if (verb == "release" && point(arg, x, y)) {
        pushMouse(SDL_MOUSEBUTTONUP, x, y);
    } else if (verb == "click" && point(arg, x, y)) {
        pushMouse(SDL_MOUSEMOTION, x, y);
        pushMouse(SDL_MOUSEBUTTONDOWN, x, y);
        gPending.insert(gPending.begin(), "release:" + arg);
    } else if (verb == "key" && arg.size() == 1) {
        pushKey(arg[0], true);
    } else if (verb == "keyup" && arg.size() == 1) {
        pushKey(arg[0], false);
    } else if (verb == "type") {
        std::vector<std::string> keys;
        for (char c : arg) {
            keys.push_back(std::string("key:") + c);
            keys.push_back(std::string("keyup:") + c);
        }
        gPending.insert(gPending.begin(), keys.begin(), keys.end());
    } else if (verb == "caret") {
        for (VQ::UIWidget* root : VQ::UIManager::instance()->roots())
            forEachTextEdit(root, [](VQ::UITextEdit& edit) { edit.caretPhase = 1.0f; });
    } else if (verb == "sound") {
        std::printf("%s\n", clickSoundPlaying() ? ("playing " + VQ::UIManager::instance()->clickSoundName).c_str()
                                                : "silent");
        std::fflush(stdout);
    } else if (verb == "lists") {
        for (VQ::UIWidget* root : VQ::UIManager::instance()->roots())
            forEachSceneList(root, [](VQ::UISceneList& list) {
                auto* strip = dynamic_cast<VQ::StripScrollingHelper*>(list.scrollingHelper.get());
                std::printf("list %s %.1f %d %d\n", list.name.c_str(), double(list.scrollPosition()),
                            int(list.scrollingHelper->dragging), int(strip && strip->inertia));
            });
        std::fflush(stdout);
    } else if (verb == "save") {
        saveBackBuffer(arg, frameNumber);
    } else {
        std::fprintf(stderr, "ui_capture: bad step %s\n", s.c_str());
        std::exit(2);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: ui_capture SCRIPT TABLE STEP...\n");
        return 2;
    }
    gScript = argv[1];
    gTable = argv[2];
    for (int i = 3; i < argc; ++i)
        gSteps.emplace_back(argv[i]);
    VQ::ProgramHooks hooks;
    hooks.instanceName = "LanterraUICapture";
    hooks.createApplication = []() -> Application* { return new CaptureApplication(); };
    hooks.afterFrame = step;
    return VQ::runProgram(hooks);
}
