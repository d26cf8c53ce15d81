#pragma once
// The engine the drawing fuzz targets run over: the log, the file system
// over ./media/ of the scratch folder (packages filled by the target), the
// configuration, the render system on the recording device, the sprite and
// texture managers and the XML sprite cache; never taken down.

#include <filesystem>
#include <memory>
#include <string>

#include "config_manager.h"
#include "file_system.h"
#include "fuzz_render.h"
#include "fuzz_support.h"
#include "log_system.h"
#include "fast_sprite.h"
#include "notification_dispatcher.h"
#include "object_factory.h"
#include "particle_system.h"
#include "platform/recording_graphics_device.h"
#include "render_system.h"
#include "sprite.h"
#include "sound_system/sound_manager.h"
#include "sprite_manager.h"
#include "texture_manager.h"
#include "ui/ui_font_manager.h"
#include "xml_cached_files_manager.h"

namespace FuzzSupport {

// Copies a file of the shipped content into the scratch folder's media/.
inline void copyShipped(const std::string& relative)
{
    std::filesystem::create_directories(std::filesystem::path("media/" + relative).parent_path());
    std::filesystem::copy_file(std::string(LANTERRA_SOURCE_DIR) + "/media/" + relative, "media/" + relative,
                               std::filesystem::copy_options::overwrite_existing);
}

// Brings the engine up; the package "default" maps the given names to
// paths under media/. Returns the recording device.
inline VQ::RecordingGraphicsDevice* startRecordingEngine(
    std::initializer_list<std::pair<const char*, const char*>> defaultFiles)
{
    VQ::contentRoot() = "./media/";
    startSilentLog();
    new VQ::FileSystem();
    auto& files = VQ::FileSystem::instance()->filesOfPackage("default");
    for (const auto& [name, path] : defaultFiles)
        files[name] = path;
    new VQ::ConfigManager();
    new VQ::EngineNotificationDispatcher();
    VQ::RecordingGraphicsDevice* recording = nullptr;
    VQ::RenderSystem* render = newRecordingRenderSystem(recording);
    new VQ::SpriteManager<VQ::Sprite>();
    new VQ::TextureManager();
    new VQ::XmlCachedFilesManager();
    render->createDevice();
    return recording;
}

// What the scene node kinds beyond groups and sprites find in the content
// root: an effect with its sprite atlas, a sound, a font and the presets.
// Resource name and path under media/.
constexpr std::pair<const char*, const char*> SCENE_KIND_FILES[] = {
    {"fx_png", "images/fx.png"},
    {"fx_sprites", "scripts/fx_sprites.lua"},
    {"fx_sxml", "scripts/fx_sprites.xml"},
    {"lantern_embers_fx", "particles/lantern_embers_fx.xml"},
    {"dialog_show_sound", "sounds/dialog_show.ogg"},
    {"small_font_image", "images/small_font.png"},
    {"small_font_fnt", "fonts/small_font.lua"},
    {"font_presets_lua", "fonts/font_presets.lua"},
};

// After startRecordingEngine: copies SCENE_KIND_FILES, lists them in package
// "default" and brings up the managers the text, particle and sound nodes
// use (sounds on the silent device and on game time).
inline void startSceneKindManagers()
{
    auto& files = VQ::FileSystem::instance()->filesOfPackage("default");
    for (const auto& [name, path] : SCENE_KIND_FILES) {
        copyShipped(path);
        files[name] = path;
    }
    new VQ::SpriteManager<VQ::FastSprite>();
    setenv("ALSOFT_DRIVERS", "null", 0);
    auto* sounds = new VQ::SoundManager();
    sounds->useGameClock();
    new VQ::ObjectFactory();
    new VQ::ParticleSystem();
    new VQ::UIFontManager();
}

}  // namespace FuzzSupport
