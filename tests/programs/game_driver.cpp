// The game driver: runs the real game headless from the working folder
// (which holds media/), one frame of exactly 1/60 s at a time, from commands
// on standard input. Loading jobs take no game time: the driver waits for
// them between frames. Standard output carries only the driver's lines, each
// flushed at once; the engine's console log goes to standard error.
//
// Usage: game_driver [--seed N] [--now T]
// The commands are listed in the README ("The game driver"). `node` and
// `tap` answer only for what a player can see and press now (shown,
// enabled, in the topmost window that takes input), else "none", so a
// script cannot press a button of a window that has closed.
#include <SDL.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "animationeditor/movie_camera.h"
#include "animationeditor/scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "back_buffer_png.h"
#include "board_sim.h"
#include "dialogs/dialog_window_manager.h"
#include "game_field.h"
#include "game_level.h"
#include "game_properties.h"
#include "game_program.h"
#include "game_state.h"
#include "game_state_manager.h"
#include "game_time.h"
#include "job_manager.h"
#include "lex_binded_function_manager.h"
#include "main_mode.h"
#include "main_mode_map_state.h"
#include "map_button.h"
#include "movie_state.h"
#include "platform/window_sdl.h"
#include "render_system.h"
#include "shell.h"
#include "sound_system/sound_manager.h"
#include "timer_manager.h"
#include "ui/ui_manager.h"
#include "ui/ui_scene_node.h"
#include "ui/ui_widget.h"
#include "utils.h"

namespace {

constexpr int FRAMES_PER_SECOND = 60;
constexpr double JOB_WAIT_LIMIT_SECONDS = 60.0;
constexpr double DEFAULT_UNTIL_SECONDS = 30.0;

FILE* gOut = stdout;

void say(const std::string& line)
{
    std::fprintf(gOut, "%s\n", line.c_str());
    std::fflush(gOut);
}

// --- Game time ---

int64_t gFrames = 0;  // frames the game clock has advanced
int64_t gNowBase = 0;

uint64_t frameClock()
{
    ++gFrames;
    const VQ::TimerManager* timer = VQ::TimerManager::instance();
    return timer->startCounter() + static_cast<uint64_t>(gFrames) * timer->frequency() / FRAMES_PER_SECOND;
}

int64_t drivenTime()
{
    return gNowBase + gFrames / FRAMES_PER_SECOND;
}

std::string seconds(int64_t frames)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(frames) / FRAMES_PER_SECOND);
    return text;
}

// --- Input: workspace coordinates reach the game as window events ---

VQ::Vector2<int32_t> toWindow(float x, float y)
{
    const VQ::WorkspaceViewport viewport = VQ::RenderSystem::instance()->workspaceViewport();
    return {static_cast<int32_t>(std::lround(viewport.offset.x + x * viewport.scale)),
            static_cast<int32_t>(std::lround(viewport.offset.y + y * viewport.scale))};
}

void pushMouse(uint32_t type, float x, float y)
{
    const VQ::Vector2<int32_t> at = toWindow(x, y);
    SDL_Event event{};
    event.type = type;
    if (type == SDL_MOUSEMOTION) {
        event.motion.x = at.x;
        event.motion.y = at.y;
    } else {
        event.button.button = SDL_BUTTON_LEFT;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.x = at.x;
        event.button.y = at.y;
    }
    SDL_PushEvent(&event);
}

// D steps of the wheel, positive away from the user.
void pushWheel(int steps)
{
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = steps;
    event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    SDL_PushEvent(&event);
}

// The key names the driver knows, as SDL keys.
bool keyByName(const std::string& name, SDL_Keycode& key)
{
    static const std::map<std::string, SDL_Keycode> named = {
        {"Escape", SDLK_ESCAPE}, {"Return", SDLK_RETURN}, {"Space", SDLK_SPACE}, {"Tab", SDLK_TAB},
        {"Backspace", SDLK_BACKSPACE}, {"Left", SDLK_LEFT}, {"Right", SDLK_RIGHT}, {"Up", SDLK_UP},
        {"Down", SDLK_DOWN}};
    if (const auto found = named.find(name); found != named.end()) {
        key = found->second;
        return true;
    }
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') {
        key = SDLK_a + (name[0] - 'A');
        return true;
    }
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') {
        key = SDLK_0 + (name[0] - '0');
        return true;
    }
    if (name.size() >= 2 && name[0] == 'F') {
        const int number = std::atoi(name.c_str() + 1);
        if (number >= 1 && number <= 12 && name == "F" + std::to_string(number)) {
            key = SDLK_F1 + (number - 1);
            return true;
        }
    }
    return false;
}

void pushKey(SDL_Keycode key, bool down)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    SDL_PushEvent(&event);
}

// --- What the game shows ---

GameStateManager* states()
{
    return GameStateManager::instancePtr();
}

struct Box {
    float x0, y0, x1, y1;
};

// What a name is looked up for: `text` reads what the player sees; `node`
// and `tap` answer only for what the player can also press now.
enum class Reach { SEEN, PRESSABLE };

bool findWidget(VQ::UIWidget* widget, const std::string& name, Box& box)
{
    if (!widget->visible || !widget->enabled)
        return false;
    if (widget->name == name) {
        // The area the widget takes clicks in.
        const VQ::Vector2f at = widget->absolutePosition();
        if (widget->customRectEnabled) {
            const VQ::Rect& r = widget->customRect;
            box = {at.x + r.left, at.y + r.top, at.x + r.right, at.y + r.bottom};
            return true;
        }
        VQ::Vector2f size = widget->getSize();
        if (size.x <= 0.0f && size.y <= 0.0f)
            size = widget->contentBounds();
        box = {at.x, at.y, at.x + size.x, at.y + size.y};
        return true;
    }
    for (VQ::UIWidget* child : widget->children) {
        if (findWidget(child, name, box))
            return true;
    }
    return false;
}

// The node's corners through its world matrix.
Box nodeBox(AE::ISceneNode* node)
{
    const VQ::Vector2f size = node->getSize();
    Box box{1e9f, 1e9f, -1e9f, -1e9f};
    for (const auto& [cx, cy] : {std::pair{0.0f, 0.0f}, {size.x, 0.0f}, {0.0f, size.y}, {size.x, size.y}}) {
        float x = 0.0f;
        float y = 0.0f;
        node->worldMatrix.transformPoint(cx, cy, x, y);
        box = {std::min(box.x0, x), std::min(box.y0, y), std::max(box.x1, x), std::max(box.y1, y)};
    }
    return box;
}

// The first enabled node of that name, front to back. (A node's `visible`
// flag is kept for the files' sake; nothing draws by it.)
AE::ISceneNode* findNamed(AE::ISceneNode* node, const std::string& name)
{
    if (!node || !node->enabled)
        return nullptr;
    if (node->name == name)
        return node;
    // Front to back: later children are drawn over earlier ones.
    for (auto it = node->children.rbegin(); it != node->children.rend(); ++it) {
        if (AE::ISceneNode* found = findNamed(*it, name))
            return found;
    }
    return nullptr;
}

// The scenes hosted by the widget and its visible, enabled descendants.
AE::ISceneNode* findInHostedScenes(VQ::UIWidget* widget, const std::string& name)
{
    if (!widget->visible || !widget->enabled)
        return nullptr;
    if (auto* host = dynamic_cast<VQ::UISceneNode*>(widget); host && host->ownsNode)
        if (AE::ISceneNode* found = findNamed(host->node, name))
            return found;
    for (VQ::UIWidget* child : widget->children) {
        if (AE::ISceneNode* found = findInHostedScenes(child, name))
            return found;
    }
    return nullptr;
}

// The current state when it is the loaded level map.
MainModeMapState* loadedMap()
{
    GameStateManager* manager = states();
    IGameState* current = manager ? manager->getCurrent() : nullptr;
    auto* map = dynamic_cast<MainModeMapState*>(current);
    return map && map->isLoaded() ? map : nullptr;
}

// A box of the map's scene as the map camera shows it on the workspace.
Box throughMapCamera(const MainModeMapState& map, const Box& box)
{
    const AE::MovieCamera* camera = map.episodeScene->getActiveCamera();
    const VQ::Vector2f scene = states()->getSceneSize();
    const VQ::Vector2f a = workspacePointOver(camera, scene, {box.x0, box.y0});
    const VQ::Vector2f b = workspacePointOver(camera, scene, {box.x1, box.y1});
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// Shown UI roots topmost first (widgets, then their hosted scenes), then
// the current state's scenes; `node` tells the scene node found, if any.
// For PRESSABLE only the roots that take input count (down to the first
// modal one, as the interface hands out clicks), and the state's scenes
// only while no dialog window is up (as the map and the board take clicks).
bool locate(const std::string& name, Reach reach, Box& box, AE::ISceneNode** node = nullptr)
{
    auto found = [&](AE::ISceneNode* hit) {
        box = nodeBox(hit);
        if (node)
            *node = hit;
        return true;
    };
    const bool pressable = reach == Reach::PRESSABLE;
    if (VQ::UIManager* ui = VQ::UIManager::instancePtr()) {
        const std::vector<VQ::UIWidget*> shown = ui->shownStack();
        for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
            VQ::UIWidget* root = *it;
            if (root->parent != nullptr || !root->shown)
                continue;
            if (pressable && !ui->isReachable(root))
                break;
            if (!node && findWidget(root, name, box))
                return true;
            if (AE::ISceneNode* hit = findInHostedScenes(root, name))
                return found(hit);
        }
    }
    if (pressable && DialogWindowManager::exists() && DialogWindowManager::instance()->hasActiveWindow())
        return false;
    GameStateManager* manager = states();
    IGameState* current = manager ? manager->getCurrent() : nullptr;
    if (current && current->isLoaded()) {
        if (auto* movie = dynamic_cast<MovieState*>(current))
            if (AE::ISceneNode* hit = findNamed(movie->scene, name))
                return found(hit);
        // The level's effect (a banner over the board) while it plays.
        if (current == manager->level && manager->level->effectMarker)
            if (AE::ISceneNode* hit = findNamed(manager->level->currentEffectScene, name))
                return found(hit);
    }
    if (MainModeMapState* map = loadedMap())
        if (AE::ISceneNode* hit = findNamed(map->episodeScene, name)) {
            found(hit);
            box = throughMapCamera(*map, box);
            return true;
        }
    return false;
}

std::string boxText(const Box& box)
{
    std::ostringstream text;
    text << std::lround(box.x0) << ' ' << std::lround(box.y0) << ' ' << std::lround(box.x1 - box.x0) << ' '
         << std::lround(box.y1 - box.y0);
    return text.str();
}

GameLevel* loadedLevel()
{
    GameStateManager* manager = states();
    if (!manager || !manager->level || manager->getCurrent() != manager->level || !manager->level->isLoaded())
        return nullptr;
    return manager->level->field ? manager->level : nullptr;
}

// --- The command loop, run between frames ---

// Each step acts (pushes events) and is followed by one frame.
std::deque<std::function<void()>> gSteps;
int64_t gFramesToRun = 0;
struct Until {
    bool active = false;
    std::string state;
    int64_t start = 0;
    int64_t limit = 0;
    // Set by a command that waits before it goes on: run, printing
    // nothing, when the state is reached (a timeout is still printed).
    std::function<void()> then;
} gUntil;
// The current state when the last frame was drawn, if it drew it.
IGameState* gDrawn = nullptr;
// The current state, when loaded, as the last frame began: a job may end
// while a frame runs, and that frame draws the state before any update.
IGameState* gReady = nullptr;

constexpr uint32_t POINTER_MOVE = 0;
constexpr uint32_t POINTER_CLICK = ~0u;

// One step: the pointer to (x, y), then the button event when one is given.
void queuePointer(float x, float y, uint32_t buttonEvent)
{
    gSteps.emplace_back([x, y, buttonEvent] {
        pushMouse(SDL_MOUSEMOTION, x, y);
        if (buttonEvent != POINTER_MOVE)
            pushMouse(buttonEvent, x, y);
    });
}

// Move, press and release, a frame each.
void queueClick(float x, float y)
{
    queuePointer(x, y, POINTER_MOVE);
    queuePointer(x, y, SDL_MOUSEBUTTONDOWN);
    queuePointer(x, y, SDL_MOUSEBUTTONUP);
}

// The state was current and loaded when the last frame began and when it
// was drawn, and still is.
bool untilReached()
{
    GameStateManager* manager = states();
    IGameState* current = manager ? manager->getCurrent() : nullptr;
    return current && current == gDrawn && current == gReady && manager->findState(gUntil.state) == current &&
           current->isLoaded();
}

void quitGame()
{
    VQ::postMessage({VQ::WindowMessageType::Destroy, 0, 0});
}

// The campaign mode of the platform configuration, when there is one.
MainMode* campaignMode()
{
    if (!GameProperties::exists())
        return nullptr;
    const auto& modes = GameProperties::instance()->modes;
    const auto found = modes.find(MainMode::SECTION);
    return found != modes.end() ? dynamic_cast<MainMode*>(found->second.get()) : nullptr;
}

using Handler = std::function<bool(std::istringstream& args)>;

bool readPoint(std::istringstream& args, float& x, float& y)
{
    std::string rest;
    return static_cast<bool>(args >> x >> y) && !(args >> rest);
}

bool noMore(std::istringstream& args)
{
    std::string rest;
    return !(args >> rest);
}

std::function<bool(std::istringstream&)> pointerCommand(uint32_t buttonEvent)
{
    return [buttonEvent](std::istringstream& args) {
        float x = 0, y = 0;
        if (!readPoint(args, x, y))
            return false;
        if (buttonEvent == POINTER_CLICK)
            queueClick(x, y);
        else
            queuePointer(x, y, buttonEvent);
        return true;
    };
}

// Later commands join this table; each handler answers false for a line
// it cannot read (printed as "error LINE").
std::map<std::string, Handler>& commands()
{
    static std::map<std::string, Handler> table = {
        {"wait",
         [](std::istringstream& args) {
             double s = 0.0;
             if (!(args >> s) || s < 0.0 || !noMore(args))
                 return false;
             gFramesToRun = std::llround(s * FRAMES_PER_SECOND);
             return true;
         }},
        {"until",
         [](std::istringstream& args) {
             std::string name;
             double limit = DEFAULT_UNTIL_SECONDS;
             if (!(args >> name))
                 return false;
             std::string more;
             if (args >> more) {
                 char* end = nullptr;
                 limit = std::strtod(more.c_str(), &end);
                 if (*end != '\0' || limit < 0.0 || !noMore(args))
                     return false;
             }
             gUntil = {true, name, gFrames, std::llround(limit * FRAMES_PER_SECOND), nullptr};
             return true;
         }},
        {"level",
         [](std::istringstream& args) {
             int episode = 0, part = 0, level = 0;
             if (!(args >> episode >> part >> level) || !noMore(args))
                 return false;
             auto select = [episode, part, level] {
                 MainMode* campaign = campaignMode();
                 if (campaign && campaign->selectLevel(episode, part, level))
                     say("level " + std::to_string(episode) + " " + std::to_string(part) + " " +
                         std::to_string(level));
                 else
                     say("level none");
             };
             MainMode* campaign = campaignMode();
             GameStateManager* manager = states();
             if (campaign && manager && GameProperties::instance()->currentMode != campaign) {
                 // As the menu's "activateMode" does; a state it switches to
                 // is waited for before the level is chosen.
                 IGameState* before = manager->getCurrent();
                 campaign->activate();
                 IGameState* next = manager->getPending() ? manager->getPending() : manager->getCurrent();
                 if (next && next != before) {
                     gUntil = {true, next->getName(), gFrames, std::llround(DEFAULT_UNTIL_SECONDS * FRAMES_PER_SECOND),
                               select};
                     return true;
                 }
             }
             select();
             return true;
         }},
        {"state",
         [](std::istringstream& args) {
             if (!noMore(args))
                 return false;
             GameStateManager* manager = states();
             IGameState* current = manager ? manager->getCurrent() : nullptr;
             say("state " + (current ? current->getName() : std::string("none")));
             return true;
         }},
        {"move", pointerCommand(POINTER_MOVE)},
        {"press", pointerCommand(SDL_MOUSEBUTTONDOWN)},
        {"release", pointerCommand(SDL_MOUSEBUTTONUP)},
        {"click", pointerCommand(POINTER_CLICK)},
        {"key",
         [](std::istringstream& args) {
             std::string name;
             SDL_Keycode key = 0;
             if (!(args >> name) || !noMore(args) || !keyByName(name, key))
                 return false;
             gSteps.emplace_back([key] { pushKey(key, true); });
             gSteps.emplace_back([key] { pushKey(key, false); });
             return true;
         }},
        {"node",
         [](std::istringstream& args) {
             std::string name;
             if (!(args >> name) || !noMore(args))
                 return false;
             Box box{};
             say("node " + name + " " + (locate(name, Reach::PRESSABLE, box) ? boxText(box) : std::string("none")));
             return true;
         }},
        {"wheel",
         [](std::istringstream& args) {
             int steps = 0;
             if (!(args >> steps) || !noMore(args))
                 return false;
             gSteps.emplace_back([steps] { pushWheel(steps); });
             return true;
         }},
        {"text",
         [](std::istringstream& args) {
             std::string name;
             if (!(args >> name) || !noMore(args))
                 return false;
             Box box{};
             AE::ISceneNode* node = nullptr;
             auto* text = locate(name, Reach::SEEN, box, &node) ? dynamic_cast<AE::TextSceneNode*>(node) : nullptr;
             say("text " + name + " " + (text ? VQ::wideToUtf8(text->displayText) : std::string("none")));
             return true;
         }},
        {"count",
         [](std::istringstream& args) {
             if (!noMore(args))
                 return false;
             // What repeated visits must not pile up: UI roots and windows.
             const size_t roots = VQ::UIManager::exists() ? VQ::UIManager::instance()->roots().size() : 0;
             const size_t windows =
                 DialogWindowManager::exists() ? DialogWindowManager::instance()->windows.size() : 0;
             say("count roots " + std::to_string(roots) + " windows " + std::to_string(windows));
             return true;
         }},
        {"tap",
         [](std::istringstream& args) {
             std::string name;
             if (!(args >> name) || !noMore(args))
                 return false;
             Box box{};
             if (!locate(name, Reach::PRESSABLE, box)) {
                 say("tap " + name + " none");
                 return true;
             }
             const float x = std::round((box.x0 + box.x1) / 2.0f);
             const float y = std::round((box.y0 + box.y1) / 2.0f);
             say("tap " + name + " " + std::to_string(std::lround(x)) + " " + std::to_string(std::lround(y)));
             queueClick(x, y);
             return true;
         }},
        {"swap",
         [](std::istringstream& args) {
             int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
             if (!(args >> c1 >> r1 >> c2 >> r2) || !noMore(args))
                 return false;
             GameLevel* level = loadedLevel();
             if (!level) {
                 say("swap none");
                 return true;
             }
             for (const auto& [c, r] : {std::pair{c1, r1}, {c2, r2}}) {
                 const float cell[2] = {static_cast<float>(c) + 0.5f, static_cast<float>(r) + 0.5f};
                 float at[2] = {0.0f, 0.0f};
                 level->field->cellToScreen(at, cell);
                 queueClick(at[0], at[1]);
             }
             return true;
         }},
        {"board",
         [](std::istringstream& args) {
             if (!noMore(args))
                 return false;
             GameLevel* level = loadedLevel();
             if (!level) {
                 say("board none");
                 return true;
             }
             std::ostringstream text;
             dumpBoard(*level->field, text);
             std::fputs(text.str().c_str(), gOut);
             std::fflush(gOut);
             return true;
         }},
        // What the level leaves behind and which music plays: "census roots
        // R scenes S helpers H loops L ambient NAME" (the interface's
        // roots, the live scenes, the level's components, the looped music
        // sounds playing, the level's ambient sound or "none").
        {"census",
         [](std::istringstream& args) {
             if (!noMore(args))
                 return false;
             GameStateManager* manager = states();
             const GameLevel* level = manager ? manager->getGameLevel() : nullptr;
             VQ::SoundManager* sounds = VQ::SoundManager::instancePtr();
             int loops = 0;
             std::string ambient = "none";
             if (sounds) {
                 for (int handle = 1; handle < VQ::SoundManager::MAX_SOUNDS; ++handle) {
                     const VQ::SoundOal* sound = sounds->sound(handle);
                     if (sound && sound->resource && sound->resource->group == 1 && sound->resource->looped &&
                         sounds->isPlaying(handle))
                         ++loops;
                 }
                 if (level && level->ambientHandle && sounds->isPlaying(level->ambientHandle))
                     for (const char* name : {"game_level_ambient_sound_1_sound", "game_level_ambient_sound_2_sound"}) {
                         const int id = sounds->acquireResource(name);
                         if (id && sounds->sound(level->ambientHandle)->resource == sounds->resource(id))
                             ambient = name;
                         if (id)
                             sounds->releaseResource(id);
                     }
             }
             const size_t roots = VQ::UIManager::exists() ? VQ::UIManager::instance()->roots().size() : 0;
             say("census roots " + std::to_string(roots) + " scenes " + std::to_string(AE::liveScenes().size()) +
                 " helpers " + std::to_string(level ? level->helpers.size() : 0) + " loops " +
                 std::to_string(loops) + " ambient " + ambient);
             return true;
         }},
        {"shot",
         [](std::istringstream& args) {
             std::string file;
             if (!(args >> file) || !noMore(args))
                 return false;
             uint32_t width = 0, height = 0;
             writeBackBufferPng(file, width, height);
             return true;
         }},
        // Which dialog is on top: hidden windows keep their roots in the
        // interface's stack, so "node" alone cannot tell a closed one.
        {"dialog",
         [](std::istringstream& args) {
             if (!noMore(args))
                 return false;
             const DialogWindow* top =
                 DialogWindowManager::exists() ? DialogWindowManager::instance()->topWindow() : nullptr;
             say("dialog " + (top ? top->scriptName : std::string("none")));
             return true;
         }},
        // A script-bound command run as a button's "clicked" runs it, with
        // no argument: for commands no control reaches.
        {"call",
         [](std::istringstream& args) {
             std::string name;
             if (!(args >> name) || !noMore(args))
                 return false;
             gSteps.emplace_back([name] {
                 VQ::LexBindedFunctionManager* functions = VQ::LexBindedFunctionManager::instancePtr();
                 VQ::ILexBinder* binder = functions ? functions->find(name) : nullptr;
                 say("call " + name + (binder ? "" : " none"));
                 if (binder)
                     binder->call();
             });
             return true;
         }},
    };
    return table;
}

bool gQuitting = false;

// One input line; true when it asked for frames or the end.
void execute(const std::string& line)
{
    std::istringstream args(line);
    std::string verb;
    args >> verb;
    if (verb.empty() || verb[0] == '#')
        return;
    if (verb == "quit" && noMore(args)) {
        gQuitting = true;
        return;
    }
    const auto found = commands().find(verb);
    if (found == commands().end() || !found->second(args))
        say("error " + line);
}

// Loading jobs run outside game time: the next frame waits for them.
void waitForJobs()
{
    VQ::JobManager* jobs = VQ::JobManager::instance();
    const auto start = std::chrono::steady_clock::now();
    while (jobs->update() != 0) {
        const std::chrono::duration<double> waited = std::chrono::steady_clock::now() - start;
        if (waited.count() > JOB_WAIT_LIMIT_SECONDS) {
            say("timeout job");
            std::_Exit(1);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void runCommandsUntilAFrameIsDue();

// Between two frames: returns when the next frame is to run.
void betweenFrames(uint64_t)
{
    if (gQuitting)
        return;
    // A state whose job ends in the wait below is first drawn by the next
    // frame.
    GameStateManager* manager = states();
    IGameState* current = manager ? manager->getCurrent() : nullptr;
    gDrawn = current && current->isLoaded() ? current : nullptr;
    waitForJobs();
    IGameState* ready = manager ? manager->getCurrent() : nullptr;
    ready = ready && ready->isLoaded() ? ready : nullptr;
    runCommandsUntilAFrameIsDue();
    gReady = ready;
}

// Reads and carries out commands until one asks for a frame (or the end).
void runCommandsUntilAFrameIsDue()
{
    for (;;) {
        if (gUntil.active) {
            if (untilReached()) {
                gUntil.active = false;
                if (gUntil.then)
                    std::exchange(gUntil.then, nullptr)();
                else
                    say("state " + gUntil.state + " " + seconds(gFrames - gUntil.start));
            } else if (gFrames - gUntil.start >= gUntil.limit) {
                gUntil.active = false;
                gUntil.then = nullptr;
                say("timeout " + gUntil.state);
            } else {
                return;
            }
        }
        if (gFramesToRun > 0) {
            --gFramesToRun;
            return;
        }
        if (!gSteps.empty()) {
            std::function<void()> step = std::move(gSteps.front());
            gSteps.pop_front();
            step();
            return;
        }
        std::string line;
        if (!std::getline(std::cin, line)) {
            gQuitting = true;
        } else {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            execute(line);
        }
        if (gQuitting) {
            quitGame();
            return;
        }
    }
}

bool parseNumber(const char* text, long long& out)
{
    char* end = nullptr;
    out = std::strtoll(text, &end, 10);
    return *text != '\0' && *end == '\0';
}

}  // namespace

int main(int argc, char** argv)
{
    long long now = static_cast<long long>(std::time(nullptr));
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        long long value = 0;
        if ((option == "--seed" || option == "--now") && i + 1 < argc && parseNumber(argv[i + 1], value)) {
            if (option == "--seed")
                BoardSim::useSeed(static_cast<uint32_t>(value));
            else
                now = value;
            ++i;
        } else {
            std::fprintf(stderr,
                         "usage: game_driver [--seed N] [--now T]\n"
                         "Commands come one a line on standard input (README, \"The game driver\").\n"
                         "node NAME and tap NAME answer only for what a player can see and press now:\n"
                         "shown, enabled, in the topmost window that takes input; otherwise \"none\".\n"
                         "text NAME reads any text the player can see.\n");
            return 2;
        }
    }
    // Everything the process prints goes to the standard error; the
    // driver's own lines keep the real standard output.
    std::fflush(stdout);
    const int out = dup(STDOUT_FILENO);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    gOut = fdopen(out, "w");
    gNowBase = now;
    setTimeSource(drivenTime);

    VQ::ProgramHooks hooks = gameProgramHooks();
    hooks.afterFrame = betweenFrames;
    hooks.frameClock = frameClock;
    hooks.noPacing = true;
    return VQ::runProgram(hooks);
}
