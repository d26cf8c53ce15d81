#include "animationeditor/sound_scene_node.h"

#include <algorithm>

#include "animationeditor/data_stream.h"
#include "log_system.h"
#include "sound_system/sound_manager.h"

namespace AE {

namespace {

// Null when there is no sound manager (tools and tests without sound): the
// node then plays nothing, as with a manager that is not ready.
VQ::SoundManager* sounds()
{
    return VQ::SoundManager::instancePtr();
}

}  // namespace

SoundSceneNode::SoundSceneNode()
{
    bindSoundTracks();
}

SoundSceneNode::SoundSceneNode(const SoundSceneNode& source, ISceneNode* newParent)
    : ISceneNode(source, newParent),
      play(source.play),
      volume(source.volume),
      group(source.group),
      fading(source.fading),
      priority(source.priority)
{
    acquire(fileName);
    bindSoundTracks();
}

SoundSceneNode::~SoundSceneNode()
{
    forgetEndedSound();
    if (VQ::SoundManager* manager = sounds()) {
        manager->stop(handle);
        manager->releaseResource(resourceId);
    }
}

ISceneNode* SoundSceneNode::clone(ISceneNode* newParent) const
{
    return new SoundSceneNode(*this, newParent);
}

void SoundSceneNode::bindSoundTracks()
{
    animation->bind("play", &play, false);
    animation->bind("volume", &volume);
}

// --- The resource ---

void SoundSceneNode::acquire(const std::string& file)
{
    fileName = file;
    VQ::SoundManager* manager = sounds();
    if (!manager) {
        resourceId = 0;
        return;
    }
    resourceId = manager->acquireResource(file);
    if (resourceId == 0) {
        const VQ::SoundDescription description{file, group, 1.0f, 0, uint32_t(priority)};
        resourceId = manager->registerResource(description);
    }
}

void SoundSceneNode::releaseResource()
{
    if (VQ::SoundManager* manager = sounds())
        manager->releaseResource(resourceId);
    resourceId = -1;
}

void SoundSceneNode::createSound(const std::string& file, int32_t soundGroup)
{
    group = soundGroup;
    releaseResource();
    acquire(file);
}

void SoundSceneNode::setPriority(int32_t value)
{
    priority = value;
    if (VQ::SoundManager* manager = sounds())
        manager->stop(handle);
    handle = 0;
    releaseResource();
    acquire(fileName);
}

void SoundSceneNode::forgetEndedSound()
{
    VQ::SoundManager* manager = sounds();
    if (handle != 0 && (!manager || !manager->isPlaying(handle))) {
        handle = 0;
        if (play != 0)
            mWaitForPlayOff = true;
    }
}

// --- Per frame ---

void SoundSceneNode::updateDerived(float dt)
{
    ISceneNode::updateDerived(dt);
    float v = volume;
    if (fading)
        v *= float(worldColor.a) * (1.0f / 255.0f);
    VQ::SoundManager* manager = sounds();
    forgetEndedSound();
    if (playing && enabled) {
        if (handle != 0 && manager)
            manager->setSoundVolume(handle, v);
        if (play == 0) {
            mWaitForPlayOff = false;
            mStartLogged = false;
            if (handle != 0) {
                VQ::log(VQ::formatString("SoundSceneNode::updateDerived, stop(mHandle %i); A", handle));
                if (manager)
                    manager->stop(handle);
                handle = 0;
            }
        } else if (handle == 0 && !mWaitForPlayOff) {
            handle = manager ? manager->createAndPlay(resourceId) : 0;
            if (manager) {
                manager->setSoundVolume(handle, v);
                if (manager->isReady() && resourceId >= 1 && resourceId < VQ::SoundManager::MAX_RESOURCES)
                    if (VQ::SoundResource* resource = manager->resource(resourceId))
                        resource->looped = loop ? 1 : 0;
            }
            // Without any sound the node tries again every update, but the
            // start is logged once each time "play" turns on.
            if (handle != 0 || !mStartLogged)
                VQ::log(VQ::formatString("SoundSceneNode::updateDerived, createAndPlay(mID %i); handle = %i B ",
                                         resourceId, handle));
            mStartLogged = true;
        }
    } else {
        // A node played again (a marker started anew) starts its sound again.
        mWaitForPlayOff = false;
        mStartLogged = false;
        if (handle == 0)
            return;
        VQ::log(VQ::formatString("SoundSceneNode::updateDerived, stop(mHandle %i); C ", handle));
        if (manager)
            manager->stop(handle);
        play = 0;
        handle = 0;
    }
}

void SoundSceneNode::setPlaying(bool flag, bool recursive)
{
    if (!flag) {
        forgetEndedSound();
        if (VQ::SoundManager* manager = sounds())
            manager->stop(handle);
        handle = 0;
    }
    ISceneNode::setPlaying(flag, recursive);
}

void SoundSceneNode::stopDerived()
{
    forgetEndedSound();
    if (handle != 0) {
        if (VQ::SoundManager* manager = sounds())
            manager->stop(handle);
        VQ::log(VQ::formatString("SoundSceneNode::stopDerived, stop(mHandle %i); ", handle));
        play = 0;
    }
    handle = 0;
}

// --- Key frames ---

void SoundSceneNode::writeKeyFrame(uint32_t frame, int32_t playValue, float volumeValue)
{
    SceneNodeAnimation& a = *animation;
    a.addKeyframe(frame);
    const int i = a.keyFrameIndex(frame);
    a.keyAt<int>("play", i).value = playValue;
    a.keyAt<float>("volume", i).value = volumeValue;
    a.keyAt<VQ::Color>("color", i).value = color;
    a.keyAt<float>("scaleX", i).value = 1.0f;
    a.keyAt<float>("scaleY", i).value = 1.0f;
    a.keyAt<float>("shear00", i).value = shear.m00;
    a.keyAt<float>("shear01", i).value = shear.m01;
    a.keyAt<float>("shear10", i).value = shear.m10;
    a.keyAt<float>("shear11", i).value = shear.m11;
}

void SoundSceneNode::storeKeyFrame(uint32_t frame)
{
    writeKeyFrame(frame, play, volume);
}

void SoundSceneNode::copyKeyFrame(uint32_t fromFrame, uint32_t toFrame)
{
    if (hasKeyFrame(toFrame) || !hasKeyFrame(fromFrame))
        return;
    SceneNodeAnimation& a = *animation;
    const int i = a.keyFrameIndex(fromFrame);
    writeKeyFrame(toFrame, a.keyAt<int>("play", i).value, a.keyAt<float>("volume", i).value);
}

void SoundSceneNode::insertKeyFrame(uint32_t frame)
{
    if (hasKeyFrame(frame))
        return;
    if (animation->keyFrames.empty()) {
        writeKeyFrame(frame, play, volume);
        return;
    }
    const int i = std::max(animation->keyIndexAt(), 0);
    writeKeyFrame(frame, animation->keyAt<int>("play", i).value, animation->keyAt<float>("volume", i).value);
}

void SoundSceneNode::applyFrameData(uint32_t frame, const IFrameData& data)
{
    ISceneNode::applyFrameData(frame, data);
    SceneNodeAnimation& a = *animation;
    const int i = a.keyFrameIndex(frame);
    SoundFrameData values;
    if (const auto* own = dynamic_cast<const SoundFrameData*>(&data)) {
        values = *own;
    } else {
        values.play = previousKeyValue(*this, "play", i, int(play));
        values.volume = previousKeyValue(*this, "volume", i, volume);
    }
    a.keyAt<int>("play", i).value = values.play;
    a.keyAt<float>("volume", i).value = values.volume;
}

std::unique_ptr<IFrameData> SoundSceneNode::createFrameData(uint32_t frame, bool world)
{
    return captureFrameData<SoundFrameData>(*this, frame, world);
}

// --- Node data ---

void SoundSceneNode::fillNodeData(ISceneNodeData& base, bool bake)
{
    ISceneNode::fillNodeData(base, bake);
    if (auto* data = dynamic_cast<SoundSceneNodeData*>(&base)) {
        data->play = play;
        data->volume = volume;
        data->group = group;
    }
}

std::unique_ptr<ISceneNodeData> SoundSceneNode::createNodeData(bool bake)
{
    return makeNodeData<SoundSceneNodeData>(*this, bake);
}

void SoundSceneNode::setNodeData(const ISceneNodeData& base)
{
    ISceneNode::setNodeData(base);
    if (const auto* data = dynamic_cast<const SoundSceneNodeData*>(&base)) {
        play = data->play;
        volume = data->volume;
        group = data->group;
    }
}

// --- Saved form ---

void SoundSceneNode::save(DataStream& stream, bool bake)
{
    ISceneNode::save(stream, bake);
    writeValue(stream, play);
    writeValue(stream, volume);
    writeValue(stream, group);
    writeBool(stream, fading);
}

void SoundSceneNode::load(DataStream& stream)
{
    ISceneNode::load(stream);
    play = readValue<int32_t>(stream);
    volume = readValue<float>(stream);
    group = readValue<int32_t>(stream);
    fading = readBool(stream);
    priority = 0;
    releaseResource();
    acquire(fileName);
}

}  // namespace AE
