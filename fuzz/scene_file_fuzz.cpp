// Reads arbitrary bytes as a scene file over a small content root (a plain
// image, a described sheet and its XML twin, a font, an effect and a sound),
// then plays what loaded: the
// root recursively and every marker, a few frames of 1/60 s, drawn on the
// recording device, copied and written through the node stream. A fatal
// report ends the input (turned into an exception here) and the run goes on.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "animationeditor/scene_node.h"
#include "animationeditor/vector_stream.h"
#include "config_manager.h"
#include "fatal_error.h"
#include "file_system.h"
#include "fuzz_engine.h"
#include "fuzz_support.h"
#include "log_system.h"
#include "notification_dispatcher.h"
#include "platform/recording_graphics_device.h"
#include "render_system.h"
#include "sprite.h"
#include "sprite_manager.h"
#include "texture_manager.h"
#include "xml_cached_files_manager.h"

namespace {

constexpr float FRAME = 1.0f / 60.0f;
const char* const SCENE = "fuzz_xml";

std::string gScenePath;
VQ::RecordingGraphicsDevice* gDevice = nullptr;

void draw(AE::ISceneNode* root)
{
    VQ::RenderSystem* render = VQ::RenderSystem::instance();
    render->lockBatchBuffer();
    AE::renderScene(root);
    render->flushBatch();
    render->unlockBatchBuffer();
    gDevice->clearRecords();
}

void play()
{
    std::unique_ptr<AE::ISceneNode> root(AE::loadScene(SCENE));
    if (!root)
        return;
    VQ::TextureManager::instance()->processQueues();
    root->play(true);
    for (const auto& marker : root->markers)
        marker->start(true);
    for (int frame = 0; frame < 8; ++frame)
        AE::ISceneNode::update(root.get(), FRAME * float(frame));
    draw(root.get());
    std::unique_ptr<AE::ISceneNode> copy(root->clone(nullptr));
    AE::ISceneNode::update(copy.get(), FRAME);
    draw(copy.get());
    std::vector<AE::ISceneNode*> nodes;
    root->collectNodes(nodes);
    std::vector<uint8_t> bytes;
    AE::VectorStream out(bytes);
    for (AE::ISceneNode* node : nodes)
        node->save(out, true);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const std::string folder = FuzzSupport::enterScratchFolder("scene_file_fuzz");
    for (const char* dir : {"media/images", "media/scripts", "media/scenes"})
        std::filesystem::create_directories(dir);
    for (const char* file : {"images/cursor.png", "images/loading_gems.png", "scripts/loading_gems_sprites.lua",
                             "scripts/loading_gems_sprites.xml"})
        FuzzSupport::copyShipped(file);
    gScenePath = folder + "/media/scenes/fuzz.xml";
    gDevice = FuzzSupport::startRecordingEngine({{"cursor_png", "images/cursor.png"},
                                                 {"loading_gems_png", "images/loading_gems.png"},
                                                 {"loading_gems_sprites", "scripts/loading_gems_sprites.lua"},
                                                 {"loading_gems_sxml", "scripts/loading_gems_sprites.xml"},
                                                 {SCENE, "scenes/fuzz.xml"}});
    FuzzSupport::startSceneKindManagers();
    AE::effectsLevel = 1;
    VQ::setFatalErrorHook(FuzzSupport::throwOnFatal);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        std::ofstream out(gScenePath, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    try {
        play();
    } catch (const FuzzSupport::FatalRaised&) {
    }
    VQ::SoundManager::instance()->advanceGameClock(1.0f);
    return 0;
}
