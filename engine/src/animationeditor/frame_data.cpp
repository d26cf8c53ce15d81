// The kinds' key-frame records: capture of their own tracks after the base
// ones, and the rule by which a kind's own tracks are keyed from a record
// that does not carry them.

#include "animationeditor/frame_data.h"

#include "animationeditor/scene_node.h"

namespace AE {

namespace {

template <typename T>
T keyValue(ISceneNode& node, const char* track, int index)
{
    return node.animation->keyAt<T>(track, index).value;
}

}  // namespace

template <typename T>
T previousKeyValue(ISceneNode& node, const char* track, int index, const T& current)
{
    return index > 0 ? keyValue<T>(node, track, index - 1) : current;
}

template float previousKeyValue<float>(ISceneNode&, const char*, int, const float&);
template int previousKeyValue<int>(ISceneNode&, const char*, int, const int&);
template VQ::Vector2f previousKeyValue<VQ::Vector2f>(ISceneNode&, const char*, int, const VQ::Vector2f&);

void TextFrameData::capture(ISceneNode& node, uint32_t frame, bool world)
{
    IFrameData::capture(node, frame, world);
    const int i = node.animation->keyFrameIndex(frame);
    if (i < 0)
        return;
    textArea = keyValue<VQ::Vector2f>(node, "textArea", i);
    maxChar = keyValue<int>(node, "maxChar", i);
    xcoeff = keyValue<float>(node, "xcoeff", i);
    ycoeff = keyValue<float>(node, "ycoeff", i);
    halign = uint32_t(keyValue<int>(node, "halign", i));
    valign = uint32_t(keyValue<int>(node, "valign", i));
    clipLT = keyValue<VQ::Vector2f>(node, "clipLT", i);
    clipRB = keyValue<VQ::Vector2f>(node, "clipRB", i);
}

void ParticleFrameData::capture(ISceneNode& node, uint32_t frame, bool world)
{
    IFrameData::capture(node, frame, world);
    const int i = node.animation->keyFrameIndex(frame);
    if (i < 0)
        return;
    emitCoef = keyValue<float>(node, "emitCoef", i);
    play = keyValue<int>(node, "play", i);
}

void SoundFrameData::capture(ISceneNode& node, uint32_t frame, bool world)
{
    IFrameData::capture(node, frame, world);
    const int i = node.animation->keyFrameIndex(frame);
    if (i < 0)
        return;
    play = keyValue<int>(node, "play", i);
    volume = keyValue<float>(node, "volume", i);
}

}  // namespace AE
