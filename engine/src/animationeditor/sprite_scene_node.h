#pragma once
// The scene node that shows a picture. It owns one sprite and draws it
// through the node's world matrix and world colour; on top of the base
// tracks it animates which sheet frame shows, a texture offset, the blend
// mode and a clip rectangle in its own space. A node in mask mode 1 is never
// drawn itself but limits the drawing of the mode-2 nodes below it.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "animationeditor/frame_data.h"
#include "animationeditor/scene_node.h"
#include "animationeditor/scene_node_data.h"
#include "rect.h"

namespace VQ {
class Animation;
class LuaScript2;
class Sprite;
class XmlDataReader;
}  // namespace VQ

namespace AE {

// Every value of one key frame of a sprite node.
class SpriteFrameData : public IFrameData {
public:
    void capture(ISceneNode& node, uint32_t frame, bool world) override;
    int dataSize() const override { return 144; }

    int32_t blendMode = 0;
    int32_t frameIndex = 0;
    bool animFrameIndex = false;
    VQ::Vector2f texPos;
    bool clipEnabled = false;
    float clipRectL = 0.0f;
    float clipRectT = 0.0f;
    float clipRectR = 0.0f;
    float clipRectB = 0.0f;
};

// A sprite node's state in memory, sheet frames included.
class SpriteSceneNodeData : public ISceneNodeData {
public:
    int dataSize() const override { return 176; }

    int32_t blendMode = 0;
    int32_t frameIndex = 0;
    VQ::Vector2f texPos;
    VQ::Rect srcRect;
    VQ::Rect shownRect;
    int32_t frameCount = 0;
    bool distortion = false;
    int32_t maskMode = 0;
    // The "srcRect" key of each sheet frame, `frameCount` of them.
    std::vector<VQ::Rect> frames;
    bool clipEnabled = false;
    float clipRectL = 0.0f;
    float clipRectT = 0.0f;
    float clipRectR = 0.0f;
    float clipRectB = 0.0f;
};

class SpriteSceneNode : public ISceneNode {
public:
    SpriteSceneNode();
    // The copy shows sheet frame 0 with no texture offset until its tracks
    // are next evaluated.
    SpriteSceneNode(const SpriteSceneNode& source, ISceneNode* parent);
    ~SpriteSceneNode() override;

    int kind() const override { return SCENE_NODE_SPRITE; }
    void updateDerived(float dt) override;
    // The node's own world translation, children or not.
    VQ::Vector2f getReferencePoint() const override;
    bool hitTest(float x, float y, bool checkAlpha) override;
    // The sprite's unscaled size; (0, 0) without a sprite.
    VQ::Vector2f getSize() const override;
    // Nothing without a sprite.
    void setSize(const VQ::Vector2f& size) override;
    void storeKeyFrame(uint32_t frame) override;
    void applyFrameData(uint32_t frame, const IFrameData& data) override;
    ISceneNode* clone(ISceneNode* parent) const override;
    void copyKeyFrame(uint32_t fromFrame, uint32_t toFrame) override;
    void insertKeyFrame(uint32_t frame) override;
    std::unique_ptr<IFrameData> createFrameData(uint32_t frame, bool world) override;
    void setNodeData(const ISceneNodeData& data) override;
    std::unique_ptr<ISceneNodeData> createNodeData(bool bake) override;
    void fillNodeData(ISceneNodeData& data, bool bake) override;
    void save(DataStream& stream, bool bake) override;
    void load(DataStream& stream) override;
    void render() override;

    virtual void storeKeyFrameValues(uint32_t frame, float x, float y, float z, float degrees, float sx, float sy,
                                     const VQ::Color& c, int32_t blend, float pivotX, float pivotY,
                                     int32_t sheetFrame, float texX, float texY, const Matrix3& shearValues,
                                     bool animateFrameIndex, bool clip, const VQ::Rect& clipRect);

    // The node takes the sprite (may be null) and releases the one it had.
    void setSprite(VQ::Sprite* newSprite);
    // A plain image, from the current language's package when it holds it,
    // else from "default"; fatal when the image cannot be loaded. A node
    // without a sprite gets one first.
    void setImage(const std::string& image);
    // The sprite described by `table` of the description `image` (the XML
    // twin first when effectsLevel is above 0); without one the node is left
    // without a sprite.
    void loadSprite(const std::string& image, const std::string& table);
    // Draws the mask node's sprite into the stencil buffer (mode-1 nodes only).
    static void drawMask(SpriteSceneNode* mask);

    VQ::Sprite* getSprite() const { return sprite; }
    // The number of sheet frames the node holds.
    size_t sheetFrameCount() const;
    VQ::Rect sheetFrameRect(size_t index) const;
    // Appends a sheet frame showing `rect`, numbered `entry`.
    void appendSheetFrame(const VQ::Rect& rect, int32_t entry);

    VQ::Sprite* sprite = nullptr;  // owned through the sprite manager
    int32_t blendMode = 0;
    bool distortion = false;
    std::unique_ptr<VQ::Animation> sheetAnimation;
    int32_t frameIndex = 0;
    VQ::Vector2f texPos;
    VQ::Rect srcRect;
    VQ::Rect shownRect;
    std::vector<int32_t> sheetFrames;
    bool animFrameIndex = false;
    bool* frameIndexInterpolation = nullptr;  // the "frameIndex" track's flag
    bool clipEnabled = false;
    float clipRectL = 0.0f;
    float clipRectT = 0.0f;
    float clipRectR = 0.0f;
    float clipRectB = 0.0f;
    int32_t maskMode = 0;

private:
    void bindSpriteTracks();
    void newSheetAnimation();
    // srcRect := the sprite's source rect 0, all 0 without one.
    void takeSourceRect();
    SpriteSceneNode* findMask() const;
};

// The sheet frames of the node's description (fileName) table `table`,
// appended to the node. The scene reader takes every entry in order.
struct FrameAnimationParams {
    int32_t firstEntry = 0;
    int32_t lastEntry = 0;  // 0: the last entry
    float totalTime = 0.0f;
    int32_t entryStep = 1;
};

void loadFrameAnimation(const FrameAnimationParams& params, SpriteSceneNode& node, const std::string& table);
// The two readers: `reader` on "root", `script` at the global level; both
// leave them there.
void readFrameAnimationXml(const std::string& table, const FrameAnimationParams& params, SpriteSceneNode& node,
                           VQ::XmlDataReader& reader);
void readFrameAnimationLua(const std::string& table, const FrameAnimationParams& params, SpriteSceneNode& node,
                           VQ::LuaScript2& script);

// The configuration's current language; empty before it is loaded.
std::string currentLanguage();
// The package a plain image is taken from: the current language's when it
// holds the image, else "default".
std::string imagePackage(const std::string& image);

}  // namespace AE
