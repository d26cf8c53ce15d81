#pragma once
// A key-frame record: every value of one key frame of one node. Scene file
// readers fill one and hand it to the node's applyFrameData; a node's
// createFrameData captures one from its keys, optionally as world values.
// The kinds derive their own records from this base.

#include <cstdint>
#include <memory>

#include "color.h"
#include "matrix3.h"
#include "vector2.h"

namespace AE {

class ISceneNode;

class IFrameData {
public:
    IFrameData() = default;
    virtual ~IFrameData() = default;

    // Fills the record from the node's keys at key frame `frame` (a frame
    // that is not a key frame leaves it as it is). With `world`, position,
    // rotation, scale and shear become world values.
    virtual void capture(ISceneNode& node, uint32_t frame, bool world);
    // Bytes of the record's values.
    virtual int dataSize() const { return 124; }

    float x = 0.0f;  // "posX" value
    float y = 0.0f;
    float bezierX = 0.0f;  // tangents
    float bezierY = 0.0f;
    float bezierCoeffX = 0.0f;  // weights
    float bezierCoeffY = 0.0f;
    bool bezierPosEnabled = false;  // smooth flag of "posX" and "posY"
    float pivotX = 0.0f;
    float pivotY = 0.0f;
    float angle = 0.0f;  // degrees
    float bezierAngle = 0.0f;
    float bezierCoeffAngle = 0.0f;
    bool bezierAngleEnabled = false;
    float scaleX = 0.0f;
    float scaleY = 0.0f;
    float bezierScaleX = 0.0f;
    float bezierScaleY = 0.0f;
    float bezierCoeffScaleX = 0.0f;
    float bezierCoeffScaleY = 0.0f;
    bool bezierScaleEnabled = false;
    float z = 0.0f;
    VQ::Color color;
    VQ::Matrix3 shear;
};

// The text node's tracks.
class TextFrameData : public IFrameData {
public:
    void capture(ISceneNode& node, uint32_t frame, bool world) override;
    int dataSize() const override { return 168; }

    VQ::Vector2f textArea;
    VQ::Vector2f clipLT;
    VQ::Vector2f clipRB;
    float xcoeff = 0.0f;
    float ycoeff = 0.0f;
    uint32_t halign = 0;
    uint32_t valign = 0;
    int32_t maxChar = 0;
};

// The particle node's tracks.
class ParticleFrameData : public IFrameData {
public:
    void capture(ISceneNode& node, uint32_t frame, bool world) override;
    int dataSize() const override { return 132; }

    float emitCoef = 0.0f;
    int32_t play = 0;
};

// The sound node's tracks.
class SoundFrameData : public IFrameData {
public:
    void capture(ISceneNode& node, uint32_t frame, bool world) override;
    int dataSize() const override { return 132; }

    int32_t play = 0;
    float volume = 0.0f;
};

// A camera animates only the base tracks; its applyFrameData takes this
// record as a base record.
class CameraFrameData : public IFrameData {
};

// A new record of the kind `Record` captured from the node's keys at
// `frame`: what each kind's createFrameData returns.
template <typename Record>
std::unique_ptr<IFrameData> captureFrameData(ISceneNode& node, uint32_t frame, bool world)
{
    auto data = std::make_unique<Record>();
    data->capture(node, frame, world);
    return data;
}

// For a record of another kind (the readers hand over base records), the
// kind's own track gets the value of the key before, or `current` at the
// first key, at key `index`.
template <typename T>
T previousKeyValue(ISceneNode& node, const char* track, int index, const T& current);

}  // namespace AE
