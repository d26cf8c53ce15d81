#pragma once
// A key-frame record: every value of one key frame of one node. Scene file
// readers fill one and hand it to the node's applyFrameData; a node's
// createFrameData captures one from its keys, optionally as world values.
// The kinds derive their own records from this base.

#include <cstdint>

#include "color.h"
#include "matrix3.h"

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

}  // namespace AE
