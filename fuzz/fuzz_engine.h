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
#include "notification_dispatcher.h"
#include "platform/recording_graphics_device.h"
#include "render_system.h"
#include "sprite.h"
#include "sprite_manager.h"
#include "texture_manager.h"
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

}  // namespace FuzzSupport
