// Reads arbitrary bytes as the saved form of a scene node, then plays what
// was read for a frame, draws it and writes it again. The first byte picks
// the kind by its number (modulo 6: group, sprite, particle, sound, text,
// camera); the rest is the node's stream. The nodes find an effect, a sound
// and a font in a small content root; a sprite node rebuilds its sprite from
// the names it read, and none of those is there. A stream that runs out or
// promises more than it holds is the fatal report, turned into an exception
// here so that the run goes on.

#include <cstdint>
#include <memory>
#include <vector>

#include "animationeditor/movie_camera.h"
#include "animationeditor/particle_scene_node.h"
#include "animationeditor/scene_node.h"
#include "animationeditor/sound_scene_node.h"
#include "animationeditor/sprite_scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "animationeditor/vector_stream.h"
#include "fuzz_engine.h"
#include "fuzz_support.h"

namespace {

VQ::RecordingGraphicsDevice* gDevice = nullptr;

std::unique_ptr<AE::ISceneNode> makeNode(uint8_t kind)
{
    switch (kind % 6) {
    case AE::SCENE_NODE_SPRITE:
        return std::make_unique<AE::SpriteSceneNode>();
    case AE::SCENE_NODE_PARTICLE:
        return std::make_unique<AE::ParticleSceneNode>();
    case AE::SCENE_NODE_SOUND:
        return std::make_unique<AE::SoundSceneNode>();
    case AE::SCENE_NODE_TEXT:
        return std::make_unique<AE::TextSceneNode>("", std::u16string());
    case AE::SCENE_NODE_CAMERA:
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
    gDevice = FuzzSupport::startRecordingEngine({});
    FuzzSupport::startSceneKindManagers();
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
