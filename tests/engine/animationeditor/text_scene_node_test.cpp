// The text scene node: texts as given and localised, auto-scale, the glyph
// limit, presets, copies, key frames and the saved form, drawn on the
// recording device.

#include <gtest/gtest.h>

#include "animationeditor/sprite_scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "animationeditor/vector_stream.h"
#include "scene_test_nodes.h"
#include "support/font_fixture.h"
#include "support/sprite_fixture.h"
#include "ui/text_manager.h"
#include "ui/ui_font.h"
#include "ui/ui_font_manager.h"
#include "platform/recording_graphics_device.h"
#include "render_system.h"

using AE::ISceneNode;
using AE::TextSceneNode;
using VQ::Vector2f;

namespace {

// Every glyph 10 units wide and 20 tall, the space 4.
const char* const TEXT_FONT = R"(
Image = "tn_image"
CharList = {
    { 32, 0, 0, 4, 20 },
    { 65, 4, 0, 10, 20 },
    { 67, 14, 0, 10, 20 },
    { 97, 24, 0, 10, 20 },
    { 102, 34, 0, 10, 20 },
    { 0xE9, 44, 0, 10, 20 },
}
)";

class TextSceneNodeTest : public TestSupport::SpriteTest {
protected:
    void SetUp() override
    {
        SpriteTest::SetUp();
        addImage("tn_image", 64, 32, [](uint32_t, uint32_t) { return 0xFFFFFFFFu; });
        addLua("tn_fnt", TEXT_FONT);
        startEngine();
        mFonts = std::make_unique<VQ::UIFontManager>();
    }
    void TearDown() override
    {
        mRoot.reset();
        mTexts.reset();
        mFonts.reset();
        SpriteTest::TearDown();
    }
    TextSceneNode* addNode(const std::u16string& text)
    {
        auto* node = new TextSceneNode("tn_fnt", text);
        mRoot->addChild(node, true);
        createQueuedTextures();
        return node;
    }
    size_t glyphsDrawn(TextSceneNode& node)
    {
        ISceneNode::update(mRoot.get(), 0);
        return TestSupport::quadBounds(drawn([&] { node.render(); })).size();
    }

    std::unique_ptr<VQ::UIFontManager> mFonts;
    std::unique_ptr<VQ::TextManager> mTexts;
    std::unique_ptr<ISceneNode> mRoot = std::make_unique<ISceneNode>();
};

}  // namespace

TEST_F(TextSceneNodeTest, TextsShowAsGivenAndNonAsciiDecodesAsUtf8)
{
    TextSceneNode* node = addNode(u"");
    ASSERT_NE(node->getFont(), nullptr);
    EXPECT_EQ(node->fileName, "tn_fnt");
    node->setText("Score 12");
    EXPECT_EQ(node->displayText, u"Score 12");
    node->setText("Caf\xC3\xA9");
    EXPECT_EQ(node->rawText, u"Caf\u00E9");
    EXPECT_EQ(node->displayText, u"Caf\u00E9");
    EXPECT_EQ(glyphsDrawn(*node), 4u);

    // An empty text draws nothing, localised or not.
    node->setText("");
    node->localized = true;
    node->updateText();
    EXPECT_EQ(glyphsDrawn(*node), 0u);
    // Nor does a disabled node.
    node->localized = false;
    node->setText("AAA");
    EXPECT_EQ(glyphsDrawn(*node), 3u);
    node->setEnabled(false);
    EXPECT_EQ(glyphsDrawn(*node), 0u);
}

TEST_F(TextSceneNodeTest, ALocalisedTextIsLookedUpByItsKey)
{
    mTexts = std::make_unique<VQ::TextManager>();
    mTexts->reload();
    TextSceneNode* node = addNode(u"APP_WINDOW_TITLE");
    node->localized = true;
    node->updateText();
    EXPECT_EQ(node->displayText, u"Lanterra");
    node->setText("NO_SUCH_KEY");
    EXPECT_EQ(node->displayText, u"!ERROR!");
}

TEST_F(TextSceneNodeTest, AutoScaleShrinksATooWideLineToTheArea)
{
    TextSceneNode* node = addNode(std::u16string(20, u'A'));  // 200 units
    node->autoScale = true;
    node->textArea = Vector2f(100, 40);
    node->scaleX = 2;
    node->scaleY = 3;
    ISceneNode::update(mRoot.get(), 0);
    EXPECT_FLOAT_EQ(node->drawMatrix.m00, 1.0f);
    EXPECT_FLOAT_EQ(node->drawMatrix.m11, 1.5f);
    EXPECT_FLOAT_EQ(node->layoutArea.x, 200.0f);
    EXPECT_FLOAT_EQ(node->layoutArea.y, 40.0f);

    struct Case {
        const char* what;
        std::u16string text;
        bool wrap;
        float areaX;
    };
    const Case unscaled[] = {{"fits", std::u16string(8, u'A'), false, 100},
                             {"word wrap", std::u16string(20, u'A'), true, 100},
                             {"no area", std::u16string(20, u'A'), false, 0}};
    for (const Case& c : unscaled) {
        node->rawText = c.text;
        node->updateText();
        node->wordWrap = c.wrap;
        node->textArea.x = c.areaX;
        ISceneNode::update(mRoot.get(), 0);
        EXPECT_FLOAT_EQ(node->drawMatrix.m00, 2.0f) << c.what;
        EXPECT_FLOAT_EQ(node->layoutArea.x, c.areaX) << c.what;
    }
}

TEST_F(TextSceneNodeTest, TheGlyphLimitBoundsMeasuringAndDrawing)
{
    TextSceneNode* node = addNode(std::u16string(10, u'A'));
    node->maxChar = 5;
    node->autoScale = true;
    node->textArea = Vector2f(25, 20);
    EXPECT_EQ(glyphsDrawn(*node), 5u);
    EXPECT_FLOAT_EQ(node->layoutArea.x, 50.0f);
    node->maxChar = 0;
    node->autoScale = false;
    EXPECT_EQ(glyphsDrawn(*node), 10u);
    // With no limit given (0, as a scene file without "MaxChar"), auto-scale
    // measures nothing.
    node->autoScale = true;
    ISceneNode::update(mRoot.get(), 0);
    EXPECT_FLOAT_EQ(node->layoutArea.x, 25.0f);

    node->textArea = Vector2f(0, 0);
    EXPECT_EQ(node->getSize(), Vector2f(64, 64));
    node->setSize(Vector2f(10, 0));
    EXPECT_EQ(node->getSize(), Vector2f(10, 0));
}

TEST_F(TextSceneNodeTest, PresetsReplaceTheAnimatedLayoutValues)
{
    TextSceneNode* node = addNode(u"AC");
    node->storeKeyFrame(0);
    node->halign = 2;
    node->storeKeyFrame(10);

    // A preset that does not exist turns itself off: the tracks animate.
    node->presetName = "no_such_preset";
    node->setUsePreset(true);
    EXPECT_FALSE(node->usePreset);
    node->setTime(11.0f / 24.0f, false);
    EXPECT_EQ(node->halign, 2u);
    node->setTime(0.0f, false);
    EXPECT_EQ(node->halign, 0u);

    node->presetName = "label";
    node->setUsePreset(true);
    EXPECT_TRUE(node->usePreset);
    EXPECT_EQ(node->halign, 1u);
    EXPECT_EQ(node->valign, 1u);
    EXPECT_EQ(node->color, VQ::Color::fromBytes(250, 245, 225, 255));
    EXPECT_EQ(node->fileName, "main_font_fnt");
    // The keys no longer write the layout values.
    node->setTime(11.0f / 24.0f, false);
    EXPECT_EQ(node->halign, 1u);

    // The preset's font replaced the earlier one, whose reference went back.
    EXPECT_EQ(mFonts->fontCount(), 1u);
    node->setFont("no_such_fnt");
    EXPECT_EQ(node->fileName, "main_font_fnt");
}

TEST_F(TextSceneNodeTest, ACopyAnimatesItsOwnLayoutFromTheCopiedKeys)
{
    TextSceneNode* node = addNode(u"CAfe");
    node->textArea = Vector2f(10, 10);
    node->storeKeyFrame(0);
    node->textArea = Vector2f(50, 30);
    node->xcoeff = 0.5f;
    node->clipRB = Vector2f(7, 8);
    node->storeKeyFrame(24);
    node->stencil = true;

    auto* copy = static_cast<TextSceneNode*>(node->clone(mRoot.get()));
    EXPECT_EQ(copy->rawText, u"CAfe");
    EXPECT_EQ(copy->getFont(), node->getFont());
    EXPECT_TRUE(copy->stencil);
    copy->setTime(1.0f, false);
    EXPECT_EQ(copy->textArea, Vector2f(50, 30));
    EXPECT_EQ(copy->xcoeff, 0.5f);
    EXPECT_EQ(copy->clipRB, Vector2f(7, 8));
    copy->setTime(0.0f, false);
    EXPECT_EQ(copy->textArea, Vector2f(10, 10));
    EXPECT_EQ(node->textArea, Vector2f(50, 30));
}

TEST_F(TextSceneNodeTest, ABaseRecordKeysTheTextTracksFromTheNodeOrTheKeyBefore)
{
    TextSceneNode* node = addNode(u"A");
    node->textArea = Vector2f(30, 20);
    node->maxChar = 4;
    node->valign = 2;
    AE::IFrameData base;
    node->applyFrameData(0, base);
    node->textArea = Vector2f(1, 1);
    node->applyFrameData(5, base);
    AE::TextFrameData own;
    own.textArea = Vector2f(9, 9);
    own.halign = 1;
    node->applyFrameData(8, own);
    const auto area = [&](int key) { return node->animation->vector2KeyAt("textArea", key).value; };
    EXPECT_EQ(area(0), Vector2f(30, 20));
    EXPECT_EQ(area(1), Vector2f(30, 20));
    EXPECT_EQ(area(2), Vector2f(9, 9));
    EXPECT_EQ(node->animation->keyAt<int>("maxChar", 1).value, 4);
    EXPECT_EQ(node->animation->keyAt<int>("valign", 1).value, 2);

    std::unique_ptr<AE::IFrameData> record = node->createFrameData(8, false);
    const auto& text = dynamic_cast<const AE::TextFrameData&>(*record);
    EXPECT_EQ(text.textArea, Vector2f(9, 9));
    EXPECT_EQ(text.halign, 1u);
    EXPECT_EQ(text.dataSize(), 168);
}

TEST_F(TextSceneNodeTest, AStencilTextDrawsInsideItsMaskingAncestorOnly)
{
    // A window's caption clipped by the panel sprite above it: the mask
    // is drawn into the stencil once, the stencil text tests it, a plain
    // sibling does not, and the stencil is off again afterwards.
    auto* mask = new AE::SpriteSceneNode();
    mask->setImage("tn_image");
    mask->maskMode = 1;
    mRoot->addChild(mask, true);
    auto* clipped = new TextSceneNode("tn_fnt", u"AC");
    clipped->stencil = true;
    mask->addChild(clipped, true);
    auto* plain = new TextSceneNode("tn_fnt", u"A");
    plain->posZ = 1;
    mask->addChild(plain, true);
    createQueuedTextures();
    ISceneNode::update(mRoot.get(), 0);
    ASSERT_NE(mDevice, nullptr);
    mRender->beginFrame();
    mDevice->clearRecords();
    AE::renderScene(mRoot.get());
    mRender->flushBatch();
    size_t clears = 0, maskDraws = 0, testedDraws = 0, plainDraws = 0;
    for (const auto& clear : mDevice->clears())
        clears += (clear.flags & VQ::CLEAR_STENCIL) != 0;
    for (const auto& draw : mDevice->draws()) {
        if (draw.state(VQ::RenderState::ColorWriteEnable) == 0)
            ++maskDraws;
        else if (draw.state(VQ::RenderState::StencilEnable) != 0)
            testedDraws += draw.primitiveCount / 2;
        else
            plainDraws += draw.primitiveCount / 2;
    }
    EXPECT_EQ(clears, 1u);
    EXPECT_EQ(maskDraws, 1u);
    EXPECT_EQ(testedDraws, 2u);  // the two glyphs of "AC"
    EXPECT_EQ(plainDraws, 1u);
    EXPECT_EQ(mDevice->renderState(VQ::RenderState::StencilEnable), 0u);
    mRender->endFrame();
}

TEST_F(TextSceneNodeTest, TheSavedFormRoundTripsWithThePresetFlagFirst)
{
    TextSceneNode* node = addNode(u"Caf\u00E9");
    node->presetName = "label";
    node->setUsePreset(true);
    node->textArea = Vector2f(120, 30);
    node->clipLT = Vector2f(-1, -2);
    node->maxChar = 3;
    node->autoScale = true;
    node->localized = false;
    node->stencil = true;

    SceneTest::SavedNode saved = SceneTest::saveNode(*node);
    std::vector<uint8_t>& bytes = saved.bytes;
    // The preset flag comes before the base part.
    ASSERT_EQ(bytes.at(0), 1u);
    // Flag, four units and the end unit, "label\0", 24 + 4 + 20 + 3.
    EXPECT_EQ(saved.kindBytes, 1u + 10 + 6 + 24 + 4 + 20 + 3);

    TextSceneNode loaded("", u"");
    AE::VectorStream in(bytes);
    loaded.load(in);
    EXPECT_EQ(in.bytesLeft(), 0);
    EXPECT_EQ(loaded.rawText, u"Caf\u00E9");
    EXPECT_EQ(loaded.displayText, u"Caf\u00E9");
    EXPECT_EQ(loaded.presetName, "label");
    EXPECT_TRUE(loaded.usePreset);
    EXPECT_EQ(loaded.halign, 1u);
    EXPECT_EQ(loaded.textArea, Vector2f(120, 30));
    EXPECT_EQ(loaded.clipLT, Vector2f(-1, -2));
    EXPECT_EQ(loaded.maxChar, 3);
    EXPECT_TRUE(loaded.autoScale);
    EXPECT_TRUE(loaded.stencil);
    EXPECT_EQ(loaded.fileName, "main_font_fnt");
    ASSERT_NE(loaded.getFont(), nullptr);

    std::unique_ptr<AE::ISceneNodeData> data = node->createNodeData(false);
    const auto& text = dynamic_cast<const AE::TextSceneNodeData&>(*data);
    EXPECT_EQ(text.dataSize(), 175);
    EXPECT_EQ(text.textBytes, 10);
    EXPECT_EQ(text.presetBytes, 6);
    TextSceneNode fromData("tn_fnt", u"");
    fromData.setNodeData(*data);
    EXPECT_TRUE(fromData.usePreset);
    EXPECT_EQ(fromData.textArea, Vector2f(120, 30));
    EXPECT_TRUE(fromData.rawText.empty());
}
