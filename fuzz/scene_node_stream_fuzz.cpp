// Reads arbitrary bytes as the saved form of a scene node, then plays what
// was read for a frame, draws it and writes it again. The first byte picks
// the kind: a group, a particle, sound, text node or a camera; the rest is
// the node's stream. The nodes find their effect, sound and font in a small
// content root. A stream that runs out or promises more than it holds is the
// fatal report, turned into an exception here so that the run goes on.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "animationeditor/movie_camera.h"
#include "animationeditor/particle_scene_node.h"
#include "animationeditor/scene_node.h"
#include "animationeditor/sound_scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "animationeditor/vector_stream.h"
#include "config_manager.h"
#include "fast_sprite.h"
#include "file_system.h"
#include "fuzz_support.h"
#include "log_system.h"
#include "notification_dispatcher.h"
#include "object_factory.h"
#include "particle_system.h"
#include "platform/recording_graphics_device.h"
#include "render_system.h"
#include "sound_system/sound_manager.h"
#include "sprite.h"
#include "sprite_manager.h"
#include "texture_manager.h"
#include "ui/ui_font_manager.h"
#include "xml_cached_files_manager.h"

namespace {

VQ::RecordingGraphicsDevice* gDevice = nullptr;

void copyShipped(const std::string& relative)
{
    std::filesystem::copy_file(std::string(LANTERRA_SOURCE_DIR) + "/media/" + relative, "media/" + relative,
                               std::filesystem::copy_options::overwrite_existing);
}

std::unique_ptr<AE::ISceneNode> makeNode(uint8_t kind)
{
    switch (kind % 5) {
    case 1:
        return std::make_unique<AE::ParticleSceneNode>();
    case 2:
        return std::make_unique<AE::SoundSceneNode>();
    case 3:
        return std::make_unique<AE::TextSceneNode>("", std::u16string());
    case 4:
        return std::make_unique<AE::MovieCamera>();
    default:
        return std::make_unique<AE::ISceneNode>();
    }
}

void draw(AE::ISceneNode& node)
{
    VQ::RenderSystem* render = VQ::RenderSystem::instance();
    render->lockBatchBuffer();
    AE::renderScene(&node);
    render->flushBatch();
    render->unlockBatchBuffer();
    gDevice->clearRecords();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::enterScratchFolder("lanterra-scene-stream-fuzz");
    for (const char* dir : {"media/images", "media/scripts", "media/particles", "media/fonts", "media/sounds"})
        std::filesystem::create_directories(dir);
    const char* const shipped[][2] = {
        {"fx_png", "images/fx.png"},
        {"fx_sprites", "scripts/fx_sprites.lua"},
        {"fx_sxml", "scripts/fx_sprites.xml"},
        {"lantern_embers_fx", "particles/lantern_embers_fx.xml"},
        {"small_font_image", "images/small_font.png"},
        {"small_font_fnt", "fonts/small_font.lua"},
        {"font_presets_lua", "fonts/font_presets.lua"},
        {"dialog_show_sound", "sounds/dialog_show.ogg"},
    };
    for (const auto& entry : shipped)
        copyShipped(entry[1]);
    VQ::contentRoot() = "./media/";

    new VQ::LogSystem();
    new VQ::FileSystem();
    auto& files = VQ::FileSystem::instance()->filesOfPackage("default");
    for (const auto& entry : shipped)
        files[entry[0]] = entry[1];
    new VQ::ConfigManager();
    new VQ::EngineNotificationDispatcher();
    auto* render = new VQ::RenderSystem();
    VQ::RenderSettings settings;
    settings.workspaceWidth = 1024;
    settings.workspaceHeight = 768;
    render->setSettings(settings);
    render->setWindowSize(1024, 768);
    auto device = std::make_unique<VQ::RecordingGraphicsDevice>();
    gDevice = device.get();
    render->setDevice(std::move(device));
    new VQ::TextureManager();
    new VQ::SpriteManager<VQ::Sprite>();
    new VQ::SpriteManager<VQ::FastSprite>();
    new VQ::XmlCachedFilesManager();
    render->createDevice();
    setenv("ALSOFT_DRIVERS", "null", 0);
    auto* sounds = new VQ::SoundManager();
    sounds->useGameClock();
    new VQ::ObjectFactory();
    new VQ::ParticleSystem();
    new VQ::UIFontManager();
    VQ::setFatalErrorHook(FuzzSupport::throwOnFatal);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::vector<uint8_t> bytes(data + 1, data + size);
    AE::VectorStream in(bytes);
    std::unique_ptr<AE::ISceneNode> node = makeNode(data[0]);
    try {
        node->load(in);
        node->play(false);
        AE::ISceneNode::update(node.get(), 1.0f / 60.0f);
        VQ::TextureManager::instance()->processQueues();
        draw(*node);
        std::vector<uint8_t> again;
        AE::VectorStream out(again);
        node->save(out, false);
    } catch (const FuzzSupport::FatalRaised&) {
    }
    VQ::SoundManager::instance()->advanceGameClock(1.0f);
    return 0;
}
