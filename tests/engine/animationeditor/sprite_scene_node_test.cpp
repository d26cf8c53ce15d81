// The sprite scene node: its sprite, sheet frames, drawing with masks, the
// hit test, key frames, node data and the saved form.

#include <gtest/gtest.h>

#include <memory>

#include "animation.h"
#include "animationeditor/sprite_scene_node.h"
#include "animationeditor/vector_stream.h"
#include "lua_script_2.h"
#include "scene_file_fixture.h"
#include "sprite.h"
#include "support/test_support.h"
#include "xml_data_reader.h"

using AE::SpriteSceneNode;
using TestSupport::catchFatal;
using VQ::Rect;

namespace {

// A sheet description: Lua frames A, B, C (C without "SrcRect0") and an XML
// twin whose one frame differs, so that the source read shows.
const char* SHEET_LUA = R"(
Sheet = {
    Image0 = "t_sheet_png", Package0 = "default", SrcRect0 = { 0, 0, 8, 8 },
    Animation = { Frames = {
        { duration = 0.1, SrcRect0 = { 0, 0, 8, 8 } },
        { duration = 0.1, SrcRect0 = { 8, 0, 16, 8 } },
        { duration = 0.1 },
    } },
}
NoAnimation = { Image0 = "t_sheet_png", Package0 = "default" }
Empty = { Image0 = "t_sheet_png", Package0 = "default", Animation = { Frames = { } } }
)";
const char* SHEET_XML = R"(<root>
  <Sheet><Image0 v="t_sheet_png"/><Package0 v="default"/><SrcRect0 v0="0" v1="0" v2="8" v3="8"/>
    <Animation><Frames><v0><duration v="0.1"/><SrcRect0 v0="0" v1="16" v2="8" v3="24"/></v0></Frames></Animation>
  </Sheet>
</root>)";

class SpriteNodeTest : public SceneTest::SceneFileTest {
protected:
    void SetUp() override
    {
        SceneFileTest::SetUp();
        addImage("t_img_png", 20, 10, [](uint32_t, uint32_t) { return 0xFFFFFFFFu; });
        addImage("t_sheet_png", 32, 32, [](uint32_t, uint32_t) { return 0xFF808080u; });
        addLua("t_sheet_sprites", SHEET_LUA);
        addXml("t_sheet_sxml", SHEET_XML);
        start();
    }

    // A node showing the 20 x 10 image at (x, y), opaque, enabled.
    std::unique_ptr<SpriteSceneNode> imageNode(float x = 0.0f, float y = 0.0f)
    {
        auto node = std::make_unique<SpriteSceneNode>();
        node->setImage("t_img_png");
        node->posX = x;
        node->posY = y;
        node->updateTransform();
        AE::ISceneNode::update(node.get(), 0.0f);
        return node;
    }

    static std::vector<Rect> sheet(const SpriteSceneNode& node)
    {
        std::vector<Rect> rects;
        for (size_t i = 0; i < node.sheetFrameCount(); ++i)
            rects.push_back(node.sheetFrameRect(i));
        return rects;
    }

    // Draw calls and stencil clears of one renderScene pass.
    struct Pass {
        size_t draws = 0;
        size_t maskDraws = 0;  // colour writes off: stencil only
        size_t stencilClears = 0;
        bool stencilLeftOn = false;
    };
    Pass renderPass(AE::ISceneNode* root)
    {
        createQueuedTextures();
        mRender->beginFrame();
        mDevice->clearRecords();
        AE::renderScene(root);
        mRender->flushBatch();
        Pass pass;
        for (const auto& draw : mDevice->draws()) {
            ++pass.draws;
            if (draw.state(VQ::RenderState::ColorWriteEnable) == 0)
                ++pass.maskDraws;
        }
        for (const auto& clear : mDevice->clears())
            if (clear.flags & VQ::CLEAR_STENCIL)
                ++pass.stencilClears;
        pass.stencilLeftOn = mDevice->renderState(VQ::RenderState::StencilEnable) != 0;
        mRender->endFrame();
        return pass;
    }
};

TEST_F(SpriteNodeTest, SpriteOwnershipAndImages)
{
    const size_t before = mSprites->spriteCount();
    {
        auto node = imageNode();
        EXPECT_EQ(mSprites->spriteCount(), before + 1);
        EXPECT_EQ(node->srcRect, Rect(0, 0, 20, 10));
        EXPECT_EQ(node->getSize(), VQ::Vector2f(20, 10));
        EXPECT_EQ(node->tableName, "default");

        // A node left without a sprite: no size, setSize does nothing, a
        // copy stays without one, setImage gives it one again.
        node->setSprite(nullptr);
        EXPECT_EQ(mSprites->spriteCount(), before);
        node->setSize(VQ::Vector2f(5, 5));
        EXPECT_EQ(node->getSize(), VQ::Vector2f(0, 0));
        std::unique_ptr<AE::ISceneNode> copy(node->clone(nullptr));
        EXPECT_EQ(static_cast<SpriteSceneNode&>(*copy).getSprite(), nullptr);
        node->setImage("t_img_png");
        EXPECT_NE(node->getSprite(), nullptr);
        node->setSize(VQ::Vector2f(40, 30));
        EXPECT_EQ(node->getSize(), VQ::Vector2f(40, 30));
    }
    EXPECT_EQ(mSprites->spriteCount(), before);

    // A described sprite: from the XML twin (its source rect 0) at level 1;
    // a missing table leaves the node without a sprite and its strings.
    SpriteSceneNode described;
    described.loadSprite("t_sheet_sprites", "Sheet");
    ASSERT_NE(described.getSprite(), nullptr);
    EXPECT_EQ(described.fileName, "t_sheet_sprites");
    EXPECT_EQ(described.tableName, "Sheet");
    EXPECT_EQ(described.srcRect, Rect(0, 0, 8, 8));
    described.loadSprite("t_sheet_sprites", "Nothing");
    EXPECT_EQ(described.getSprite(), nullptr);
    EXPECT_EQ(described.tableName, "Sheet");
    EXPECT_EQ(countLogLines("ERROR: Failed to load sprite t_sheet_sprites Nothing"), 1);
}

TEST_F(SpriteNodeTest, SheetFrameSelections)
{
    const Rect A(0, 0, 8, 8), B(8, 0, 16, 8), C(0, 0, 0, 0);
    struct Case {
        int32_t first, last, step;
        std::vector<Rect> frames;
        std::vector<int32_t> entries;
    };
    const Case cases[] = {
        {0, 0, 1, {A, B, C}, {0, 1, 2}},
        {1, 0, 1, {B, C}, {1, 2}},
        {0, 2, 2, {A, C}, {0, 2}},
        {0, 9, 1, {A, B, C}, {0, 1, 2}},  // a last entry past the list stops at its end
        {3, 0, 1, {}, {}},                // a first entry past the list changes nothing
    };
    for (const Case& c : cases) {
        VQ::LuaScript2 script;
        ASSERT_TRUE(script.load("t_sheet_sprites", "default"));
        SpriteSceneNode node;
        node.srcRect = Rect(1, 1, 1, 1);
        AE::FrameAnimationParams params;
        params.firstEntry = c.first;
        params.lastEntry = c.last;
        params.entryStep = c.step;
        AE::readFrameAnimationLua("Sheet", params, node, script);
        EXPECT_EQ(sheet(node), c.frames) << c.first << " " << c.last << " " << c.step;
        EXPECT_EQ(node.sheetFrames, c.entries);
        EXPECT_EQ(node.srcRect, c.frames.empty() ? Rect(1, 1, 1, 1) : c.frames.front());
        EXPECT_EQ(script.depth(), 0);
    }
    // No "Animation", or no entries: nothing changes, the stack is as it was.
    VQ::LuaScript2 script;
    ASSERT_TRUE(script.load("t_sheet_sprites", "default"));
    SpriteSceneNode node;
    for (const char* table : {"NoAnimation", "Empty", "Absent"}) {
        AE::readFrameAnimationLua(table, AE::FrameAnimationParams(), node, script);
        EXPECT_EQ(node.sheetFrameCount(), 0u) << table;
        EXPECT_EQ(script.depth(), 0) << table;
    }
}

TEST_F(SpriteNodeTest, SheetFramesComeFromTheXmlTwinAtLevelOne)
{
    SpriteSceneNode xmlNode;
    xmlNode.fileName = "t_sheet_sprites";
    AE::loadFrameAnimation(AE::FrameAnimationParams(), xmlNode, "Sheet");
    EXPECT_EQ(sheet(xmlNode), (std::vector<Rect>{Rect(16, 0, 24, 8)}));

    AE::effectsLevel = 0;
    SpriteSceneNode luaNode;
    luaNode.fileName = "t_sheet_sprites";
    AE::loadFrameAnimation(AE::FrameAnimationParams(), luaNode, "Sheet");
    EXPECT_EQ(luaNode.sheetFrameCount(), 3u);
}

TEST_F(SpriteNodeTest, FrameIndexTexPosAndInterpolation)
{
    auto node = imageNode();
    for (const Rect& r : {Rect(0, 0, 4, 4), Rect(4, 0, 8, 4), Rect(8, 0, 12, 4), Rect(12, 0, 16, 4), Rect(0, 4, 4, 8)})
        node->appendSheetFrame(r, int32_t(node->sheetFrameCount()));

    // Out of range: the last frame shown stays.
    node->frameIndex = 2;
    node->updateDerived(0.0f);
    for (int32_t outside : {-1, 5}) {
        node->frameIndex = outside;
        node->updateDerived(0.0f);
        EXPECT_EQ(node->srcRect, Rect(8, 0, 12, 4)) << outside;
    }
    node->srcRect = Rect(0, 0, 32, 32);
    node->texPos = VQ::Vector2f(5, -2);
    node->updateDerived(0.0f);
    EXPECT_EQ(node->shownRect, Rect(5, -2, 37, 30));

    // Keys of frame index 0 and 4: stepped, or counting through 1, 2, 3.
    for (bool animated : {false, true}) {
        auto n = imageNode();
        for (size_t i = 0; i < 5; ++i)
            n->appendSheetFrame(Rect(float(i), 0, float(i + 1), 1), int32_t(i));
        n->frameIndex = 0;
        n->animFrameIndex = animated;
        n->texPos = VQ::Vector2f(0, 0);
        n->storeKeyFrame(0);
        n->frameIndex = 4;
        n->storeKeyFrame(24);
        AE::ISceneNode::update(n.get(), 0.0f);
        n->play(false);
        std::vector<int32_t> seen;
        for (int step = 0; step < 24; ++step) {
            AE::ISceneNode::update(n.get(), 1.0f / 24.0f * 0.999f);
            if (seen.empty() || seen.back() != n->frameIndex)
                seen.push_back(n->frameIndex);
        }
        if (animated)
            EXPECT_EQ(seen, (std::vector<int32_t>{0, 1, 2, 3}));
        else
            EXPECT_EQ(seen, (std::vector<int32_t>{0}));
    }
}

TEST_F(SpriteNodeTest, HitTestPoints)
{
    auto node = imageNode(100, 100);
    struct Case {
        float x, y;
        bool hit;
    };
    for (const Case& c : {Case{110, 105, true}, Case{120, 110, true}, Case{100, 100, true}, Case{121, 105, false},
                          Case{99, 105, false}}) {
        EXPECT_EQ(node->hitTest(c.x, c.y, false), c.hit) << c.x << "," << c.y;
    }
    // A child answers where the node itself does not.
    auto* child = new SpriteSceneNode();
    child->setImage("t_img_png");
    child->posX = 21;
    node->addChild(child, true);
    AE::ISceneNode::update(node.get(), 0.0f);
    EXPECT_TRUE(node->hitTest(121, 105, false));
    // The reference point is the node's own, children or not.
    EXPECT_EQ(node->getReferencePoint(), VQ::Vector2f(100, 100));
    // Mirrored or transparent (with checkAlpha): never hit by its picture.
    node->scaleX = -1;
    EXPECT_FALSE(node->hitTest(110, 105, false));
    node->scaleX = 1;
    node->color.a = 0;
    AE::ISceneNode::update(node.get(), 0.0f);
    EXPECT_FALSE(node->hitTest(110, 105, true));
    EXPECT_TRUE(node->hitTest(110, 105, false));
}

TEST_F(SpriteNodeTest, DrawingAlphaMasksAndDistortion)
{
    // World alpha 1 is not drawn, 2 is.
    for (uint8_t alpha : {1, 2}) {
        auto node = imageNode();
        node->color.a = alpha;
        AE::ISceneNode::update(node.get(), 0.0f);
        EXPECT_EQ(renderPass(node.get()).draws, alpha == 2 ? 1u : 0u);
    }

    // Two masked siblings under one mask: one clear, one mask drawing; a
    // node under another mask clears and draws that one. The masks are never
    // drawn themselves.
    AE::ISceneNode root;
    auto addSprite = [this](AE::ISceneNode* parent, int mode, float z) {
        auto* n = new SpriteSceneNode();
        n->setImage("t_img_png");
        n->maskMode = mode;
        n->posZ = z;
        parent->addChild(n, true);
        return n;
    };
    SpriteSceneNode* mask1 = addSprite(&root, 1, 0);
    addSprite(mask1, 2, 0);
    addSprite(mask1, 2, 0);
    SpriteSceneNode* mask2 = addSprite(&root, 1, 1);
    addSprite(mask2, 2, 1);
    AE::ISceneNode::update(&root, 0.0f);
    Pass pass = renderPass(&root);
    EXPECT_EQ(pass.stencilClears, 2u);
    EXPECT_EQ(pass.maskDraws, 2u);
    EXPECT_EQ(pass.draws - pass.maskDraws, 3u);
    EXPECT_FALSE(pass.stencilLeftOn);

    // A mode-2 node without a mask is drawn unmasked; a distortion node on a
    // device without the pass is drawn into the scene.
    auto lone = imageNode();
    lone->maskMode = 2;
    lone->distortion = true;
    pass = renderPass(lone.get());
    EXPECT_EQ(pass.draws, 1u);
    EXPECT_EQ(pass.stencilClears, 0u);
    EXPECT_FALSE(pass.stencilLeftOn);
}

TEST_F(SpriteNodeTest, KeyFramesAndFrameRecords)
{
    auto node = imageNode();
    node->blendMode = 2;
    node->frameIndex = 1;
    node->texPos = VQ::Vector2f(3, 4);
    node->clipEnabled = true;
    node->clipRectR = 9;
    node->shear.m01 = 0.25f;
    node->storeKeyFrame(10);
    AE::SceneNodeAnimation& a = *node->animation;

    // copyKeyFrame carries every track; onto a key frame, or from a frame
    // that is none, it changes nothing.
    node->copyKeyFrame(10, 20);
    EXPECT_EQ(a.keyAt<int>("blendMode", 1).value, 2);
    EXPECT_FLOAT_EQ(a.keyAt<float>("shear01", 1).value, 0.25f);
    EXPECT_FLOAT_EQ(a.keyAt<float>("clipRectR", 1).value, 9.0f);
    node->copyKeyFrame(5, 30);
    node->copyKeyFrame(10, 20);
    EXPECT_EQ(node->keyFrameNumbers(), (std::vector<uint32_t>{10, 20}));

    // A base record at a new key after another: the sprite tracks take the
    // previous key's values; at the first key the node's current ones.
    AE::IFrameData base;
    base.scaleX = base.scaleY = 1;
    node->applyFrameData(40, base);
    EXPECT_EQ(a.keyAt<int>("frameIndex", 2).value, 1);
    EXPECT_EQ(a.keyAt<VQ::Vector2f>("texPos", 2).value, VQ::Vector2f(3, 4));
    node->blendMode = 3;
    node->applyFrameData(0, base);
    EXPECT_EQ(a.keyAt<int>("blendMode", 0).value, 3);

    // A captured sprite record reproduces the keys on another node.
    std::unique_ptr<AE::IFrameData> captured = node->createFrameData(20, false);
    ASSERT_NE(dynamic_cast<AE::SpriteFrameData*>(captured.get()), nullptr);
    SpriteSceneNode other;
    other.applyFrameData(20, *captured);
    AE::SceneNodeAnimation& b = *other.animation;
    EXPECT_EQ(b.keyAt<int>("blendMode", 0).value, 2);
    EXPECT_EQ(b.keyAt<VQ::Vector2f>("texPos", 0).value, VQ::Vector2f(3, 4));
    EXPECT_TRUE(b.keyAt<bool>("clipEnabled", 0).value);
}

TEST_F(SpriteNodeTest, NodeDataAndCopiesCarryTheSheet)
{
    auto node = imageNode();
    node->appendSheetFrame(Rect(1, 2, 3, 4), 0);
    node->appendSheetFrame(Rect(5, 6, 7, 8), 2);
    node->maskMode = 2;
    std::unique_ptr<AE::ISceneNodeData> data = node->createNodeData(false);
    SpriteSceneNode target;
    target.setNodeData(*data);
    EXPECT_EQ(sheet(target), sheet(*node));
    EXPECT_EQ(target.sheetFrames, (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(target.maskMode, 2);

    node->frameIndex = 1;
    node->texPos = VQ::Vector2f(2, 2);
    std::unique_ptr<AE::ISceneNode> copy(node->clone(nullptr));
    auto& c = static_cast<SpriteSceneNode&>(*copy);
    EXPECT_EQ(sheet(c), sheet(*node));
    EXPECT_EQ(c.sheetFrames, node->sheetFrames);
    EXPECT_EQ(c.frameIndex, 0);
    EXPECT_EQ(c.texPos, VQ::Vector2f(0, 0));
    EXPECT_NE(c.getSprite(), node->getSprite());
}

TEST_F(SpriteNodeTest, SavedFormRoundTripsAndRefusesCounts)
{
    auto node = imageNode();
    node->appendSheetFrame(Rect(1, 2, 3, 4), 0);
    node->appendSheetFrame(Rect(5, 6, 7, 8), 1);
    node->appendSheetFrame(Rect(9, 10, 11, 12), 2);
    node->sheetFrames.push_back(7);  // m = 4, n = 3
    node->blendMode = 2;
    node->animFrameIndex = true;
    node->clipRectT = 3;
    node->texPos = VQ::Vector2f(1, 1);
    node->storeKeyFrame(6);

    std::vector<uint8_t> bytes;
    AE::VectorStream out(bytes);
    node->save(out, false);
    std::vector<uint8_t> baseBytes;
    AE::VectorStream baseOut(baseBytes);
    node->AE::ISceneNode::save(baseOut, false);
    EXPECT_EQ(bytes.size() - baseBytes.size(), 79u + 16u * 3u + 4u * 4u);

    SpriteSceneNode back;
    AE::VectorStream in(bytes);
    back.load(in);
    EXPECT_EQ(sheet(back), sheet(*node));
    EXPECT_EQ(back.sheetFrames, node->sheetFrames);
    EXPECT_EQ(back.blendMode, 2);
    EXPECT_TRUE(back.animFrameIndex);
    EXPECT_FLOAT_EQ(back.clipRectT, 3.0f);
    EXPECT_EQ(back.animation->keyAt<VQ::Vector2f>("texPos", 0).value, VQ::Vector2f(1, 1));
    ASSERT_NE(back.getSprite(), nullptr);
    EXPECT_EQ(back.getSize(), VQ::Vector2f(20, 10));

    // A sheet count promising more than the stream holds is refused before
    // anything is allocated for it.
    const size_t countAt = baseBytes.size() + 5;
    std::vector<uint8_t> bad = bytes;
    bad[countAt + 3] = 0x10;
    SpriteSceneNode refused;
    AE::VectorStream badIn(bad);
    EXPECT_EQ(catchFatal([&] { refused.load(badIn); }).description, "Read data from out of range!");
}

}  // namespace
