// Key-frame editing of a sprite node's own tracks, its key-frame record and
// node data, and its part of the saved form.

#include <algorithm>

#include "animation.h"
#include "animationeditor/data_stream.h"
#include "animationeditor/sprite_scene_node.h"
#include "animationeditor/vector_stream.h"
#include "sprite.h"
#include "sprite_manager.h"

namespace AE {

namespace {

// Every value a sprite node keys, as storeKeyFrameValues takes them.
struct SpriteKeyValues {
    float x = 0, y = 0, z = 0, degrees = 0, sx = 0, sy = 0;
    VQ::Color color;
    int32_t blend = 0;
    VQ::Vector2f pivot;
    int32_t sheetFrame = 0;
    VQ::Vector2f tex;
    Matrix3 shear;
    bool animateFrameIndex = false;
    bool clip = false;
    VQ::Rect clipRect;
};

SpriteKeyValues keyValuesAt(SceneNodeAnimation& a, int i)
{
    SpriteKeyValues v;
    v.x = a.keyAt<float>("posX", i).value;
    v.y = a.keyAt<float>("posY", i).value;
    v.z = a.keyAt<float>("posZ", i).value;
    v.degrees = a.keyAt<float>("rotation", i).value;
    v.sx = a.keyAt<float>("scaleX", i).value;
    v.sy = a.keyAt<float>("scaleY", i).value;
    v.color = a.keyAt<VQ::Color>("color", i).value;
    v.blend = a.keyAt<int>("blendMode", i).value;
    v.pivot = a.keyAt<VQ::Vector2f>("pivotPoint", i).value;
    v.sheetFrame = a.keyAt<int>("frameIndex", i).value;
    v.tex = a.keyAt<VQ::Vector2f>("texPos", i).value;
    v.shear.m00 = a.keyAt<float>("shear00", i).value;
    v.shear.m01 = a.keyAt<float>("shear01", i).value;
    v.shear.m10 = a.keyAt<float>("shear10", i).value;
    v.shear.m11 = a.keyAt<float>("shear11", i).value;
    v.animateFrameIndex = a.keyAt<bool>("animFrameIndex", i).value;
    v.clip = a.keyAt<bool>("clipEnabled", i).value;
    v.clipRect = VQ::Rect(a.keyAt<float>("clipRectL", i).value, a.keyAt<float>("clipRectT", i).value,
                          a.keyAt<float>("clipRectR", i).value, a.keyAt<float>("clipRectB", i).value);
    return v;
}

// The tracks a base record leaves to the sprite node.
void setOwnKeys(SceneNodeAnimation& a, int i, int32_t blend, int32_t sheetFrame, const VQ::Vector2f& tex, bool clip,
                float l, float t, float r, float b)
{
    a.keyAt<int>("blendMode", i).value = blend;
    a.keyAt<int>("frameIndex", i).value = sheetFrame;
    a.keyAt<VQ::Vector2f>("texPos", i).value = tex;
    a.keyAt<bool>("clipEnabled", i).value = clip;
    a.keyAt<float>("clipRectL", i).value = l;
    a.keyAt<float>("clipRectR", i).value = r;
    a.keyAt<float>("clipRectT", i).value = t;
    a.keyAt<float>("clipRectB", i).value = b;
}

// A count of records still to come in the stream, each `recordBytes` long.
int32_t readCount(DataStream& stream, uint64_t recordBytes)
{
    const int32_t count = readValue<int32_t>(stream);
    if (count < 0)
        reportReadOutOfRange(__LINE__);
    requireBytes(stream, uint64_t(count) * recordBytes);
    return count;
}

void writeRect(DataStream& stream, const VQ::Rect& r)
{
    writeValue(stream, r.left);
    writeValue(stream, r.top);
    writeValue(stream, r.right);
    writeValue(stream, r.bottom);
}

VQ::Rect readRect(DataStream& stream)
{
    VQ::Rect r;
    r.left = readValue<float>(stream);
    r.top = readValue<float>(stream);
    r.right = readValue<float>(stream);
    r.bottom = readValue<float>(stream);
    return r;
}

}  // namespace

// --- Key frames ---

void SpriteSceneNode::storeKeyFrameValues(uint32_t frame, float x, float y, float z, float degrees, float sx,
                                          float sy, const VQ::Color& c, int32_t blend, float pivotX, float pivotY,
                                          int32_t sheetFrame, float texX, float texY, const Matrix3& shearValues,
                                          bool animateFrameIndex, bool clip, const VQ::Rect& clipRect)
{
    ISceneNode::storeKeyFrameValues(frame, x, y, z, degrees, sx, sy, c, shearValues, VQ::Vector2f(pivotX, pivotY));
    SceneNodeAnimation& a = *animation;
    const int i = a.keyFrameIndex(frame);
    a.keyAt<bool>("animFrameIndex", i).value = animateFrameIndex;
    setOwnKeys(a, i, blend, sheetFrame, VQ::Vector2f(texX, texY), clip, clipRect.left, clipRect.top,
               clipRect.right, clipRect.bottom);
}

void SpriteSceneNode::storeKeyFrame(uint32_t frame)
{
    storeKeyFrameValues(frame, posX, posY, posZ, rotation, scaleX, scaleY, color, blendMode, pivotPoint.x,
                        pivotPoint.y, frameIndex, texPos.x, texPos.y, shear, animFrameIndex, clipEnabled,
                        VQ::Rect(clipRectL, clipRectT, clipRectR, clipRectB));
}

namespace {

void storeValues(SpriteSceneNode& node, uint32_t frame, const SpriteKeyValues& v)
{
    node.storeKeyFrameValues(frame, v.x, v.y, v.z, v.degrees, v.sx, v.sy, v.color, v.blend, v.pivot.x, v.pivot.y,
                             v.sheetFrame, v.tex.x, v.tex.y, v.shear, v.animateFrameIndex, v.clip, v.clipRect);
}

}  // namespace

void SpriteSceneNode::insertKeyFrame(uint32_t frame)
{
    if (hasKeyFrame(frame))
        return;
    // Without a key frame there is no key to take the values from: the
    // node's own values are stored.
    if (animation->keyFrames.empty()) {
        storeKeyFrame(frame);
        return;
    }
    storeValues(*this, frame, keyValuesAt(*animation, std::max(animation->keyIndexAt(), 0)));
}

void SpriteSceneNode::copyKeyFrame(uint32_t fromFrame, uint32_t toFrame)
{
    if (hasKeyFrame(toFrame) || !hasKeyFrame(fromFrame))
        return;
    storeValues(*this, toFrame, keyValuesAt(*animation, animation->keyFrameIndex(fromFrame)));
}

void SpriteSceneNode::applyFrameData(uint32_t frame, const IFrameData& data)
{
    ISceneNode::applyFrameData(frame, data);
    SceneNodeAnimation& a = *animation;
    const int i = a.keyFrameIndex(frame);
    if (const auto* d = dynamic_cast<const SpriteFrameData*>(&data)) {
        setOwnKeys(a, i, d->blendMode, d->frameIndex, d->texPos, d->clipEnabled, d->clipRectL, d->clipRectT,
                   d->clipRectR, d->clipRectB);
    } else if (i > 0) {
        const SpriteKeyValues p = keyValuesAt(a, i - 1);
        setOwnKeys(a, i, p.blend, p.sheetFrame, p.tex, p.clip, p.clipRect.left, p.clipRect.top, p.clipRect.right,
                   p.clipRect.bottom);
    } else {
        setOwnKeys(a, i, blendMode, frameIndex, texPos, clipEnabled, clipRectL, clipRectT, clipRectR, clipRectB);
    }
}

void SpriteFrameData::capture(ISceneNode& node, uint32_t frame, bool world)
{
    IFrameData::capture(node, frame, world);
    SceneNodeAnimation& a = *node.animation;
    const int i = a.keyFrameIndex(frame);
    if (i < 0 || !a.findTrack("blendMode"))
        return;
    const SpriteKeyValues v = keyValuesAt(a, i);
    blendMode = v.blend;
    frameIndex = v.sheetFrame;
    animFrameIndex = v.animateFrameIndex;
    texPos = v.tex;
    clipEnabled = v.clip;
    clipRectL = v.clipRect.left;
    clipRectT = v.clipRect.top;
    clipRectR = v.clipRect.right;
    clipRectB = v.clipRect.bottom;
}

std::unique_ptr<IFrameData> SpriteSceneNode::createFrameData(uint32_t frame, bool world)
{
    auto data = std::make_unique<SpriteFrameData>();
    data->capture(*this, frame, world);
    return data;
}

// --- Node data ---

void SpriteSceneNode::fillNodeData(ISceneNodeData& data, bool bake)
{
    ISceneNode::fillNodeData(data, bake);
    auto* d = dynamic_cast<SpriteSceneNodeData*>(&data);
    if (!d)
        return;
    d->blendMode = blendMode;
    d->frameIndex = frameIndex;
    d->texPos = texPos;
    d->srcRect = srcRect;
    d->shownRect = shownRect;
    d->maskMode = maskMode;
    d->distortion = distortion;
    d->clipEnabled = clipEnabled;
    d->clipRectL = clipRectL;
    d->clipRectT = clipRectT;
    d->clipRectR = clipRectR;
    d->clipRectB = clipRectB;
    d->frameCount = int32_t(sheetFrameCount());
    d->frames.assign(size_t(d->frameCount), VQ::Rect());
    for (size_t i = 0; i < d->frames.size(); ++i)
        d->frames[i] = sheetFrameRect(i);
}

std::unique_ptr<ISceneNodeData> SpriteSceneNode::createNodeData(bool bake)
{
    auto data = std::make_unique<SpriteSceneNodeData>();
    fillNodeData(*data, bake);
    return data;
}

void SpriteSceneNode::setNodeData(const ISceneNodeData& data)
{
    ISceneNode::setNodeData(data);
    const auto* d = dynamic_cast<const SpriteSceneNodeData*>(&data);
    if (!d)
        return;
    blendMode = d->blendMode;
    frameIndex = d->frameIndex;
    texPos = d->texPos;
    srcRect = d->srcRect;
    shownRect = d->shownRect;
    maskMode = d->maskMode;
    distortion = d->distortion;
    clipEnabled = d->clipEnabled;
    clipRectL = d->clipRectL;
    clipRectT = d->clipRectT;
    clipRectR = d->clipRectR;
    clipRectB = d->clipRectB;
    sheetAnimation->clearFrames();
    sheetFrames.clear();
    // The array holds what the record was filled with, whatever frameCount
    // was set to afterwards.
    const size_t count = std::min(size_t(std::max(d->frameCount, 0)), d->frames.size());
    for (size_t i = 0; i < count; ++i)
        appendSheetFrame(d->frames[i], int32_t(i));
}

// --- Saved form ---

void SpriteSceneNode::save(DataStream& stream, bool bake)
{
    ISceneNode::save(stream, bake);
    writeValue(stream, blendMode);
    writeBool(stream, distortion);
    writeValue(stream, int32_t(sheetFrameCount()));
    for (size_t i = 0; i < sheetFrameCount(); ++i)
        writeRect(stream, sheetFrameRect(i));
    writeValue(stream, frameIndex);
    writeValue(stream, texPos.x);
    writeValue(stream, texPos.y);
    writeRect(stream, srcRect);
    writeRect(stream, shownRect);
    writeValue(stream, int32_t(sheetFrames.size()));
    for (int32_t entry : sheetFrames)
        writeValue(stream, entry);
    writeValue(stream, maskMode);
    writeBool(stream, animFrameIndex);
    writeBool(stream, clipEnabled);
    writeValue(stream, clipRectL);
    writeValue(stream, clipRectR);
    writeValue(stream, clipRectT);
    writeValue(stream, clipRectB);
}

void SpriteSceneNode::load(DataStream& stream)
{
    ISceneNode::load(stream);
    blendMode = readValue<int32_t>(stream);
    distortion = readBool(stream);
    const int32_t frameCount = readCount(stream, 16);
    sheetAnimation->clearFrames();
    for (int32_t i = 0; i < frameCount; ++i) {
        sheetAnimation->addFrame(0.0f);
        *sheetAnimation->rectKeyAt("srcRect", unsigned(i)) = readRect(stream);
    }
    frameIndex = readValue<int32_t>(stream);
    texPos.x = readValue<float>(stream);
    texPos.y = readValue<float>(stream);
    srcRect = readRect(stream);
    shownRect = readRect(stream);
    const int32_t entries = readCount(stream, 4);
    sheetFrames.clear();
    for (int32_t i = 0; i < entries; ++i)
        sheetFrames.push_back(readValue<int32_t>(stream));
    maskMode = readValue<int32_t>(stream);
    animFrameIndex = readBool(stream);
    clipEnabled = readBool(stream);
    clipRectL = readValue<float>(stream);
    clipRectR = readValue<float>(stream);
    clipRectT = readValue<float>(stream);
    clipRectB = readValue<float>(stream);

    VQ::SpriteManager<VQ::Sprite>* manager = VQ::SpriteManager<VQ::Sprite>::instance();
    if (sprite)
        manager->releaseSprite(sprite);
    sprite = nullptr;
    if (tableName == "default") {
        sprite = manager->createSpriteFromTexture(nullptr);
        sprite->loadTexture(fileName, "default");
    } else {
        sprite = manager->tryCreateSpriteFromScript(fileName, tableName, "default");
    }
}

}  // namespace AE
