// Builds arbitrary text as a UI script: every global table it makes is
// built with UIManager::loadUI, the trees are updated with the pointer
// pressing, dragging and releasing over them, the wheel turned and keys
// typed, drawn on the recording device and removed. The shipped content
// (fonts, presets, the widget atlas, the particle effects, the scenes of the
// scene-node hosts and scene lists, the other UI scripts) is there to be
// referred to. A fatal report in the
// middle of a build is turned into an exception and must leave nothing
// behind. Inputs are kept safe to run by FuzzSupport::looksSafeToRun;
// an input that names itself is passed over too, since a table that builds
// itself twice at every level grows without end before the nesting bound.

#include <lua.hpp>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "config_manager.h"
#include "fast_sprite.h"
#include "fatal_error.h"
#include "file_system.h"
#include "fuzz_render.h"
#include "fuzz_support.h"
#include "input_manager.h"
#include "lex_binded_function_manager.h"
#include "log_system.h"
#include "lua_script_2.h"
#include "notification_dispatcher.h"
#include "object_factory.h"
#include "particle_system.h"
#include "platform/input_sdl.h"
#include "platform/recording_graphics_device.h"
#include "render_system.h"
#include "sprite.h"
#include "sprite_manager.h"
#include "texture_manager.h"
#include "ui/text_manager.h"
#include "ui/ui_font_manager.h"
#include "ui/ui_manager.h"
#include "xml_cached_files_manager.h"

namespace {

const char* const SCRIPT = "fuzz_input_ui";
std::string gScriptPath;
VQ::RecordingGraphicsDevice* gDevice = nullptr;

// The names of the global tables the script makes, but Lua's own.
std::vector<std::string> tablesOf()
{
    VQ::LuaScript2 script;
    std::vector<std::string> names;
    if (!script.load(SCRIPT, "default"))
        return names;
    lua_State* L = script.state();
    static const char* const libraries[] = {"_G", "string", "table", "math", "io", "os", "package", "debug",
                                            "coroutine"};
    lua_pushnil(L);
    while (lua_next(L, LUA_GLOBALSINDEX) != 0) {
        if (lua_type(L, -2) == LUA_TSTRING && lua_istable(L, -1)) {
            const std::string name = lua_tostring(L, -2);
            bool library = false;
            for (const char* l : libraries)
                library = library || name == l;
            if (!library)
                names.push_back(name);
        }
        lua_pop(L, 1);
    }
    return names;
}

void frame(VQ::UIManager& ui, int x, int y, bool left, uint8_t key, int wheel = 0)
{
    VQ::InputManager* input = VQ::InputManager::instance();
    VQ::MouseDevice& mouse = *input->mouse();
    VQ::KeyboardDevice& keyboard = *input->keyboard();
    mouse.previousLeft = mouse.left;
    mouse.left = left ? 0x80 : 0;
    mouse.x = x;
    mouse.y = y;
    mouse.wheel = wheel;
    std::memcpy(keyboard.previous, keyboard.current, sizeof keyboard.current);
    std::memset(keyboard.current, 0, sizeof keyboard.current);
    if (key)
        keyboard.current[key] = VQ::KEY_DOWN;
    ui.update(1.0f / 30.0f);
}

void exercise(VQ::UIManager& ui)
{
    for (VQ::UIWidget* root : std::vector<VQ::UIWidget*>(ui.roots()))
        root->show();
    // A sweep of presses over the workspace, then keys.
    for (int y = 0; y < 768; y += 96)
        for (int x = 0; x < 1024; x += 128) {
            frame(ui, x, y, true, 0);
            frame(ui, x + 8, y + 8, false, 0);
        }
    // A drag across the workspace (sliders and scroll bars follow it), then
    // the wheel both ways over a few places.
    frame(ui, 100, 100, true, 0);
    for (int x = 0; x <= 1100; x += 220)
        frame(ui, x, x * 3 / 4, true, 0);
    frame(ui, 1100, 800, false, 0);
    for (int y = 48; y < 768; y += 192)
        for (int x = 64; x < 1024; x += 256) {
            frame(ui, x, y, false, 0, -1);
            frame(ui, x, y, false, 0, 1);
        }
    for (uint8_t key : {uint8_t('A'), uint8_t('7'), VQ::VirtualKey::LEFT, VQ::VirtualKey::BACK,
                        VQ::VirtualKey::DELETE_KEY, VQ::VirtualKey::RIGHT, VQ::VirtualKey::RETURN}) {
        frame(ui, 0, 0, false, key);
        frame(ui, 0, 0, false, 0);
    }
    VQ::TextureManager::instance()->processQueues();
    VQ::RenderSystem* render = VQ::RenderSystem::instance();
    render->lockBatchBuffer();
    ui.render();
    render->flushBatch();
    render->unlockBatchBuffer();
    gDevice->clearRecords();
    ui.hideAllForcibly();
    frame(ui, 0, 0, false, 0);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const std::string folder = FuzzSupport::enterScratchFolder("ui_script_fuzz");
    FuzzSupport::copyShippedMedia();
    VQ::contentRoot() = "./media/";
    gScriptPath = folder + "/media/ui/fuzz_input.lua";

    new VQ::LogSystem();
    new VQ::FileSystem();
    auto* config = new VQ::ConfigManager();
    config->load();
    VQ::FileSystem::instance()->loadFilesLocationInfo();
    VQ::FileSystem::instance()->filesOfPackage("default")[SCRIPT] = "ui/fuzz_input.lua";
    new VQ::EngineNotificationDispatcher();
    new VQ::LexBindedFunctionManager();
    (new VQ::TextManager())->reload();
    VQ::RenderSystem* render = FuzzSupport::newRecordingRenderSystem(gDevice);
    new VQ::SpriteManager<VQ::Sprite>();
    new VQ::SpriteManager<VQ::FastSprite>();
    new VQ::TextureManager();
    render->createDevice();
    (new VQ::InputManager(nullptr))->initDevices();
    new VQ::UIFontManager();
    new VQ::ObjectFactory();
    VQ::ParticleSystem* particles = new VQ::ParticleSystem();
    particles->liveUpdating = false;
    new VQ::XmlCachedFilesManager();
    VQ::setFatalErrorHook(FuzzSupport::throwOnFatal);
    // Every image of the content, decoded and uploaded once and held for
    // the run: each input's sprites then find their atlas loaded instead of
    // decoding it again (which took most of an input's time).
    VQ::TextureManager* textures = VQ::TextureManager::instance();
    for (const auto& [name, path] : VQ::FileSystem::instance()->filesOfPackage("default")) {
        for (const char* kind : {"_png", "_jpg", "_dds", "_vqt"})
            if (name.size() > 4 && name.compare(name.size() - 4, 4, kind) == 0)
                textures->getTexture(name, "default");
    }
    textures->processQueues();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!FuzzSupport::looksSafeToRun(text) || text.find("fuzz_input") != std::string::npos)
        return -1;
    {
        std::ofstream out(gScriptPath, std::ios::binary | std::ios::trunc);
        out << text;
    }
    // A fresh manager each time: no root, capture or queued signal outlives
    // an input.
    auto ui = std::make_unique<VQ::UIManager>();
    for (const std::string& table : tablesOf()) {
        try {
            ui->loadUI(SCRIPT, table, nullptr, "default");
        } catch (const FuzzSupport::FatalRaised&) {
        }
    }
    try {
        exercise(*ui);
    } catch (const FuzzSupport::FatalRaised&) {
    }
    for (VQ::UIWidget* root : std::vector<VQ::UIWidget*>(ui->roots()))
        ui->removeRoot(root);
    ui.reset();
    return 0;
}
