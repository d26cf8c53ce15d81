// Reads arbitrary bytes as the saved form of a group node and of a sprite
// node, then plays what was read for a frame and writes it again. A stream that runs out or
// promises more than it holds is the fatal report, turned into an exception
// here so that the run goes on.

#include <cstdint>
#include <vector>

#include "animationeditor/scene_node.h"
#include "animationeditor/sprite_scene_node.h"
#include "animationeditor/vector_stream.h"
#include "fuzz_support.h"
#include "file_system.h"
#include "log_system.h"
#include "notification_dispatcher.h"
#include "sprite.h"
#include "sprite_manager.h"
#include "texture_manager.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::enterScratchFolder("lanterra-scene-stream-fuzz");
    FuzzSupport::startSilentLog();
    // A sprite node rebuilds its sprite from the names it read; none of them
    // is there, so the texture loader's fatal report or the logged failure
    // of a description follows.
    VQ::contentRoot() = "./media/";
    new VQ::FileSystem();
    new VQ::EngineNotificationDispatcher();
    new VQ::SpriteManager<VQ::Sprite>();
    new VQ::TextureManager();
    VQ::setFatalErrorHook(FuzzSupport::throwOnFatal);
    return 0;
}

namespace {

void readAndPlay(AE::ISceneNode& node, std::vector<uint8_t> bytes)
{
    AE::VectorStream in(bytes);
    try {
        node.load(in);
    } catch (const FuzzSupport::FatalRaised&) {
        return;
    }
    node.play(false);
    AE::ISceneNode::update(&node, 1.0f / 60.0f);
    std::vector<uint8_t> again;
    AE::VectorStream out(again);
    node.save(out, false);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes(data, data + size);
    AE::ISceneNode group;
    readAndPlay(group, bytes);
    AE::SpriteSceneNode sprite;
    readAndPlay(sprite, bytes);
    return 0;
}
