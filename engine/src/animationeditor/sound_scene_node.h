#pragma once
// The scene node that plays a sound in step with its animation. It holds
// one sound resource of the sound manager and at most one playing instance
// of it. Its "play" track starts the sound when it becomes non-zero and
// stops it when it becomes zero; its "volume" track, optionally multiplied
// by the world colour's alpha ("fading"), sets the playing instance's
// volume every frame. It draws nothing.

#include <cstdint>
#include <memory>
#include <string>

#include "animationeditor/frame_data.h"
#include "animationeditor/scene_node.h"
#include "animationeditor/scene_node_data.h"

namespace AE {

// A sound node's state in memory.
class SoundSceneNodeData : public ISceneNodeData {
public:
    int dataSize() const override { return 129; }

    int32_t play = 0;
    float volume = 0.0f;
    int32_t group = 0;
};

class SoundSceneNode : public ISceneNode {
public:
    SoundSceneNode();
    // The copy holds a reference of its own and plays nothing yet.
    SoundSceneNode(const SoundSceneNode& source, ISceneNode* parent);
    ~SoundSceneNode() override;

    int kind() const override { return SCENE_NODE_SOUND; }
    void updateDerived(float dt) override;
    void setPlaying(bool flag, bool recursive) override;
    void storeKeyFrame(uint32_t frame) override;
    void applyFrameData(uint32_t frame, const IFrameData& data) override;
    ISceneNode* clone(ISceneNode* parent) const override;
    void copyKeyFrame(uint32_t fromFrame, uint32_t toFrame) override;
    void insertKeyFrame(uint32_t frame) override;
    std::unique_ptr<IFrameData> createFrameData(uint32_t frame, bool world) override;
    void setNodeData(const ISceneNodeData& data) override;
    std::unique_ptr<ISceneNodeData> createNodeData(bool bake) override;
    void fillNodeData(ISceneNodeData& data, bool bake) override;
    void stopDerived() override;
    void save(DataStream& stream, bool bake) override;
    void load(DataStream& stream) override;
    // An operation of this kind kept without a use: it answers false.
    virtual bool reservedQuery(int32_t, int32_t) { return false; }

    // Takes a reference of the resource `file` (registering it as a plain,
    // not looped sound of `soundGroup` with the node's priority when it is
    // not registered yet); the node's earlier resource is released.
    void createSound(const std::string& file, int32_t soundGroup);
    // Stops the sound and registers the resource again with the new
    // priority (kept by the manager while other holders keep it).
    void setPriority(int32_t value);
    // Keys play, volume and the node's colour at `frame`, with scale 1 and
    // the node's shear.
    void writeKeyFrame(uint32_t frame, int32_t playValue, float volumeValue);

    int32_t play = 0;
    float volume = 1.0f;
    int32_t resourceId = -1;
    int32_t handle = 0;
    int32_t group = 0;
    bool fading = false;
    int32_t priority = 0;

private:
    void bindSoundTracks();
    void acquire(const std::string& file);
    void releaseResource();
    // Drops the handle of a sound that has ended by itself: the sound
    // manager hands that handle to later sounds.
    void forgetEndedSound();

    // The sound ended by itself while "play" was on: nothing starts again
    // until "play" has been 0.
    bool mWaitForPlayOff = false;
    // The start of the current "play" run was logged.
    bool mStartLogged = false;
};

}  // namespace AE
