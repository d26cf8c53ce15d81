// Key-frame editing of a node's base tracks, its key-frame records and
// node data, and its saved form in a byte stream.

#include <algorithm>

#include "animationeditor/data_stream.h"
#include "animationeditor/frame_data.h"
#include "animationeditor/scene_node.h"
#include "animationeditor/scene_node_data.h"

namespace AE {

namespace {

constexpr float kRadToDeg = 57.2958f;

// The base tracks' values at one key.
struct BaseKeyValues {
    float x, y, z, degrees, sx, sy;
    VQ::Color color;
    Matrix3 shear;
    VQ::Vector2f pivot;
};

BaseKeyValues baseKeyValues(SceneNodeAnimation& a, int index)
{
    BaseKeyValues v{};
    v.x = a.keyAt<float>("posX", index).value;
    v.y = a.keyAt<float>("posY", index).value;
    v.z = a.keyAt<float>("posZ", index).value;
    v.degrees = a.keyAt<float>("rotation", index).value;
    v.sx = a.keyAt<float>("scaleX", index).value;
    v.sy = a.keyAt<float>("scaleY", index).value;
    v.color = a.keyAt<VQ::Color>("color", index).value;
    v.shear.m00 = a.keyAt<float>("shear00", index).value;
    v.shear.m01 = a.keyAt<float>("shear01", index).value;
    v.shear.m10 = a.keyAt<float>("shear10", index).value;
    v.shear.m11 = a.keyAt<float>("shear11", index).value;
    v.pivot = a.keyAt<VQ::Vector2f>("pivotPoint", index).value;
    return v;
}

void setFloatKey(SceneNodeAnimation& a, const char* name, int index, float value, float tangent, float weight,
                 bool smooth)
{
    SceneNodeAnimation::Key<float>& key = a.keyAt<float>(name, index);
    key.value = value;
    key.tangent = tangent;
    key.weight = weight;
    key.smooth = smooth;
}

void readFloatKey(SceneNodeAnimation& a, const char* name, int index, float& value, float& tangent, float& weight)
{
    const SceneNodeAnimation::Key<float>& key = a.keyAt<float>(name, index);
    value = key.value;
    tangent = key.tangent;
    weight = key.weight;
}

// Position, rotation (degrees), scale and shear that reproduce `relative`
// as a local matrix with the node's pivot.
struct LocalValues {
    VQ::Vector2f position;
    float degrees = 0.0f;
    VQ::Vector2f scale;
    Matrix3 shear;
};

LocalValues decomposeRelative(const Matrix3& relative, const VQ::Vector2f& pivot, float currentDegrees)
{
    LocalValues v;
    float theta = currentDegrees;
    ISceneNode::decomposeTransform(relative, pivot, theta, v.scale, v.position, v.shear);
    v.degrees = theta * kRadToDeg;
    return v;
}

}  // namespace

// --- Key frames ---

bool ISceneNode::hasKeyFrame(uint32_t frame) const
{
    return animation->keyFrameIndex(frame) >= 0;
}

void ISceneNode::storeKeyFrameValues(uint32_t frame, float x, float y, float z, float degrees, float sx, float sy,
                                     const VQ::Color& c, const Matrix3& shearValues, const VQ::Vector2f& pivot)
{
    SceneNodeAnimation& a = *animation;
    a.addKeyframe(frame);
    const int i = a.keyFrameIndex(frame);
    a.keyAt<float>("posX", i).value = x;
    a.keyAt<float>("posY", i).value = y;
    a.keyAt<float>("rotation", i).value = degrees;
    a.keyAt<float>("scaleX", i).value = sx;
    a.keyAt<float>("scaleY", i).value = sy;
    a.keyAt<VQ::Vector2f>("pivotPoint", i).value = pivot;
    a.keyAt<float>("posZ", i).value = z;
    a.keyAt<VQ::Color>("color", i).value = c;
    a.keyAt<float>("shear00", i).value = shearValues.m00;
    a.keyAt<float>("shear01", i).value = shearValues.m01;
    a.keyAt<float>("shear10", i).value = shearValues.m10;
    a.keyAt<float>("shear11", i).value = shearValues.m11;
}

void ISceneNode::storeKeyFrame(uint32_t frame)
{
    storeKeyFrameValues(frame, posX, posY, posZ, rotation, scaleX, scaleY, color, shear, pivotPoint);
}

void ISceneNode::insertKeyFrame(uint32_t frame)
{
    if (hasKeyFrame(frame))
        return;
    // Without a key frame there is no key to take the values from: the
    // node's own values are stored.
    if (animation->keyFrames.empty()) {
        storeKeyFrame(frame);
        return;
    }
    const BaseKeyValues v = baseKeyValues(*animation, std::max(animation->keyIndexAt(), 0));
    storeKeyFrameValues(frame, v.x, v.y, v.z, v.degrees, v.sx, v.sy, v.color, v.shear, v.pivot);
}

void ISceneNode::copyKeyFrame(uint32_t fromFrame, uint32_t toFrame)
{
    if (hasKeyFrame(toFrame) || !hasKeyFrame(fromFrame))
        return;
    const BaseKeyValues v = baseKeyValues(*animation, animation->keyFrameIndex(fromFrame));
    storeKeyFrameValues(toFrame, v.x, v.y, v.z, v.degrees, v.sx, v.sy, v.color, v.shear, v.pivot);
}

void ISceneNode::removeKeyFrame(uint32_t frame)
{
    const int index = animation->keyFrameIndex(frame);
    if (index >= 0)
        animation->removeKeyframe(index);
}

void ISceneNode::moveKeyFrame(uint32_t oldFrame, uint32_t newFrame)
{
    animation->moveKeyframe(oldFrame, newFrame);
}

void ISceneNode::applyFrameData(uint32_t frame, const IFrameData& d)
{
    SceneNodeAnimation& a = *animation;
    a.addKeyframe(frame);
    const int i = a.keyFrameIndex(frame);
    setFloatKey(a, "posX", i, d.x, d.bezierX, d.bezierCoeffX, d.bezierPosEnabled);
    setFloatKey(a, "posY", i, d.y, d.bezierY, d.bezierCoeffY, d.bezierPosEnabled);
    setFloatKey(a, "rotation", i, d.angle, d.bezierAngle, d.bezierCoeffAngle, d.bezierAngleEnabled);
    setFloatKey(a, "scaleX", i, d.scaleX, d.bezierScaleX, d.bezierCoeffScaleX, d.bezierScaleEnabled);
    setFloatKey(a, "scaleY", i, d.scaleY, d.bezierScaleY, d.bezierCoeffScaleY, d.bezierScaleEnabled);
    a.keyAt<VQ::Vector2f>("pivotPoint", i).value = VQ::Vector2f(d.pivotX, d.pivotY);
    a.keyAt<float>("posZ", i).value = d.z;
    a.keyAt<VQ::Color>("color", i).value = d.color;
    a.keyAt<float>("shear00", i).value = d.shear.m00;
    a.keyAt<float>("shear01", i).value = d.shear.m01;
    a.keyAt<float>("shear10", i).value = d.shear.m10;
    a.keyAt<float>("shear11", i).value = d.shear.m11;
}

std::unique_ptr<IFrameData> ISceneNode::createFrameData(uint32_t frame, bool world)
{
    auto data = std::make_unique<IFrameData>();
    data->capture(*this, frame, world);
    return data;
}

Matrix3 ISceneNode::worldMatrixAtFrame(uint32_t frame) const
{
    Matrix3 local;
    const std::vector<uint32_t>& frames = animation->keyFrames;
    if (!frames.empty()) {
        int i = 0;
        for (size_t k = 0; k < frames.size(); ++k)
            if (frames[k] <= frame)
                i = int(k);
        SceneNodeAnimation& a = *animation;
        local = composeLocalMatrix(VQ::Vector2f(a.keyAt<float>("posX", i).value, a.keyAt<float>("posY", i).value),
                                   a.keyAt<float>("rotation", i).value, VQ::Vector2f(0.0f, 0.0f),
                                   a.keyAt<float>("scaleX", i).value, a.keyAt<float>("scaleY", i).value, Matrix3());
    } else {
        local = composeLocalMatrix(VQ::Vector2f(posX, posY), rotation, pivotPoint, scaleX, scaleY, shear);
    }
    return parent ? local * parent->worldMatrixAtFrame(frame) : local;
}

void IFrameData::capture(ISceneNode& node, uint32_t frame, bool world)
{
    SceneNodeAnimation& a = *node.animation;
    const int i = a.keyFrameIndex(frame);
    if (i < 0)
        return;
    readFloatKey(a, "posX", i, x, bezierX, bezierCoeffX);
    readFloatKey(a, "posY", i, y, bezierY, bezierCoeffY);
    bezierPosEnabled = a.keyAt<float>("posX", i).smooth;
    const VQ::Vector2f pivot = a.keyAt<VQ::Vector2f>("pivotPoint", i).value;
    pivotX = pivot.x;
    pivotY = pivot.y;
    readFloatKey(a, "rotation", i, angle, bezierAngle, bezierCoeffAngle);
    bezierAngleEnabled = a.keyAt<float>("rotation", i).smooth;
    readFloatKey(a, "scaleX", i, scaleX, bezierScaleX, bezierCoeffScaleX);
    readFloatKey(a, "scaleY", i, scaleY, bezierScaleY, bezierCoeffScaleY);
    bezierScaleEnabled = a.keyAt<float>("scaleX", i).smooth;
    z = a.keyAt<float>("posZ", i).value;
    color = a.keyAt<VQ::Color>("color", i).value;
    shear.m00 = a.keyAt<float>("shear00", i).value;
    shear.m01 = a.keyAt<float>("shear01", i).value;
    shear.m10 = a.keyAt<float>("shear10", i).value;
    shear.m11 = a.keyAt<float>("shear11", i).value;
    if (!world)
        return;
    Matrix3 m = ISceneNode::composeLocalMatrix(VQ::Vector2f(x, y), angle, pivot, scaleX, scaleY, shear);
    if (node.parent)
        m = m * node.parent->worldMatrixAtFrame(frame);
    const LocalValues v = decomposeRelative(m, pivot, angle);
    x = v.position.x;
    y = v.position.y;
    shear = v.shear;
    scaleX = v.scale.x;
    scaleY = v.scale.y;
    angle = v.degrees;
}

// --- Node data ---

void ISceneNode::fillNodeData(ISceneNodeData& data, bool bake)
{
    data.color = color;
    data.rotation = rotation;
    data.pivotPoint = pivotPoint;
    data.position = VQ::Vector2f(posX, posY);
    data.worldColor = worldColor;
    data.scaleX = scaleX;
    data.scaleY = scaleY;
    data.posZ = posZ;
    data.parallaxEnabled = parallaxEnabled;
    data.worldMatrix = worldMatrix;
    data.shear = shear;
    if (bake && parent) {
        const LocalValues v = decomposeRelative(worldMatrix * parent->worldMatrix.inverse(), pivotPoint, rotation);
        data.position = v.position;
        data.rotation = v.degrees;
        data.scaleX = v.scale.x;
        data.scaleY = v.scale.y;
        data.shear = v.shear;
    }
    data.enabled = enabled;
    data.loop = loop;
}

std::unique_ptr<ISceneNodeData> ISceneNode::createNodeData(bool bake)
{
    auto data = std::make_unique<ISceneNodeData>();
    fillNodeData(*data, bake);
    return data;
}

void ISceneNode::setNodeData(const ISceneNodeData& data)
{
    color = data.color;
    rotation = data.rotation;
    pivotPoint = data.pivotPoint;
    posX = data.position.x;
    posY = data.position.y;
    worldColor = data.worldColor;
    scaleX = data.scaleX;
    scaleY = data.scaleY;
    posZ = data.posZ;
    parallaxEnabled = data.parallaxEnabled;
    worldMatrix = data.worldMatrix;
    shear = data.shear;
    enabled = data.enabled;
    loop = data.loop;
}

// --- Saved form ---

void ISceneNode::save(DataStream& stream, bool bake)
{
    writeCString(stream, fileName);
    writeCString(stream, name);
    writeCString(stream, tableName);
    const bool baked = bake && parent;
    LocalValues v;
    if (baked) {
        v = decomposeRelative(worldMatrix * parent->worldMatrix.inverse(), pivotPoint, rotation);
    } else {
        v.position = VQ::Vector2f(posX, posY);
        v.degrees = rotation;
        v.scale = VQ::Vector2f(scaleX, scaleY);
        v.shear = shear;
    }
    writeValue(stream, v.position.x);
    writeValue(stream, v.position.y);
    writeValue(stream, v.degrees);
    writeValue(stream, pivotPoint.x);
    writeValue(stream, pivotPoint.y);
    writeValue(stream, v.scale.x);
    writeValue(stream, v.scale.y);
    writeValue(stream, v.shear);
    writeValue(stream, posZ);
    writeValue(stream, reservedVector.x);
    writeValue(stream, reservedVector.y);
    writeBool(stream, parallaxEnabled);
    writeValue<uint32_t>(stream, color.argb());
    writeValue<uint32_t>(stream, worldColor.argb());
    writeBool(stream, playing);
    writeBool(stream, enabled);
    writeBool(stream, loop);
    writeBool(stream, reservedFlag1);
    writeBool(stream, reservedFlag2);
    writeBool(stream, reservedFlag3);
    writeBool(stream, visible);
    writeBool(stream, reservedFlag5);
    writeBool(stream, reverse);
    writeValue(stream, rangeFrom);
    writeValue(stream, rangeTo);
    writeBool(stream, selectsCamera);
    writeValue(stream, worldMatrix);
    animation->write(stream);
    writeBool(stream, baked);
}

void ISceneNode::load(DataStream& stream)
{
    readCString(fileName, stream);
    readCString(name, stream);
    readCString(tableName, stream);
    posX = readValue<float>(stream);
    posY = readValue<float>(stream);
    rotation = readValue<float>(stream);
    pivotPoint.x = readValue<float>(stream);
    pivotPoint.y = readValue<float>(stream);
    scaleX = readValue<float>(stream);
    scaleY = readValue<float>(stream);
    shear = readValue<Matrix3>(stream);
    posZ = readValue<float>(stream);
    reservedVector.x = readValue<float>(stream);
    reservedVector.y = readValue<float>(stream);
    parallaxEnabled = readBool(stream);
    color = VQ::Color(readValue<uint32_t>(stream));
    worldColor = VQ::Color(readValue<uint32_t>(stream));
    playing = readBool(stream);
    enabled = readBool(stream);
    loop = readBool(stream);
    reservedFlag1 = readBool(stream);
    reservedFlag2 = readBool(stream);
    reservedFlag3 = readBool(stream);
    visible = readBool(stream);
    reservedFlag5 = readBool(stream);
    reverse = readBool(stream);
    rangeFrom = readValue<int32_t>(stream);
    rangeTo = readValue<int32_t>(stream);
    selectsCamera = readBool(stream);
    worldMatrix = readValue<Matrix3>(stream);
    animation->read(stream);
    readBool(stream);  // baked: the values are local either way
}

}  // namespace AE
