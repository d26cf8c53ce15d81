// The UI bitmap font: loading and its fatal reports, page selection by the
// workspace scale, metrics, word wrap (with the rule for Chinese, Japanese
// and Korean), alignment, pixel snapping, drawing through a matrix, the
// text rectangle, long texts, and the shipped fonts.

#include <gtest/gtest.h>

#include <cmath>

#include "support/font_fixture.h"
#include "ui/ui_font.h"

using namespace TestSupport;
using VQ::Rect;
using VQ::UIFont;
using VQ::Vector2f;

namespace {

// Space 4, A 10, B 12, C 8, the ideographic full stop 10 and "one" 20
// units wide, all 20 tall; no glyph for the line feed. The second page has
// the same glyphs at twice the resolution.
const char* const TEST_FONT = R"(
Image = "tf_image"
MIP1 = "tf2_image"
MIP1Scale = 2.0
CharList = {
    { 32, 0, 0, 4, 20 },
    { 65, 4, 0, 10, 20 },
    { 66, 14, 0, 12, 20 },
    { 67, 26, 0, 8, 20 },
    { 0x3002, 34, 0, 10, 20 },
    { 0x4E00, 44, 0, 20, 20 },
}
CharList1 = {
    { 32, 0, 0, 8, 40 },
    { 65, 8, 0, 20, 40 },
    { 66, 28, 0, 24, 40 },
    { 67, 52, 0, 16, 40 },
    { 0x3002, 68, 0, 20, 40 },
    { 0x4E00, 88, 0, 40, 40 },
}
)";

const Rect NO_CLIP;

class UIFontTest : public SpriteTest {
protected:
    void SetUp() override
    {
        SpriteTest::SetUp();
        addImage("tf_image", 64, 32, [](uint32_t, uint32_t) { return 0xFFFFFFFFu; });
        addImage("tf2_image", 128, 64, [](uint32_t, uint32_t) { return 0xFFFFFFFFu; });
        addLua("test_fnt", TEST_FONT);
    }
    UIFont& font()
    {
        if (!mFont) {
            mFont = std::make_unique<UIFont>("test_fnt", "default");
            mFont->color = VQ::Color(0xFFFFFFFFu);
        }
        createQueuedTextures();
        return *mFont;
    }
    void TearDown() override
    {
        mFont.reset();
        SpriteTest::TearDown();
    }
    std::vector<Rect> drawText(const std::u16string& text, const Vector2f& at, bool wrap, uint32_t halign,
                               uint32_t valign, float boxW, float boxH, bool snap = false, float xcoeff = 0.0f,
                               float ycoeff = 0.0f)
    {
        UIFont& f = font();
        return quadBounds(drawn([&] {
            f.drawText(NO_CLIP, at, text, wrap, halign, valign, xcoeff, ycoeff, false, snap, boxW, boxH);
        }));
    }
    // The lines drawing lays out, as inclusive ranges.
    std::vector<std::pair<int, int>> ranges(const std::u16string& text, float boxWidth)
    {
        std::vector<std::pair<int, int>> out;
        for (const UIFont::Line& line : font().layoutLines(text, true, 0.0f, boxWidth))
            out.emplace_back(line.first, line.last);
        return out;
    }
    void setLanguage(const std::string& language)
    {
        std::string config = readFile(contentPath("config.lua"));
        const size_t at = config.find("currentLanguage = \"en\"");
        ASSERT_NE(at, std::string::npos);
        config.replace(at, 22, "currentLanguage = \"" + language + "\"");
        writeContent("config.lua", config);
        mConfig.reset();
        loadConfig();
    }

    std::unique_ptr<UIFont> mFont;
};

using Ranges = std::vector<std::pair<int, int>>;

}  // namespace

TEST_F(UIFontTest, LoadsGlyphTablesPagesAndMetrics)
{
    startEngine();
    UIFont& f = font();
    EXPECT_EQ(f.glyphCount(), 6u);
    ASSERT_EQ(f.pageCount(), 2u);
    EXPECT_EQ(f.page(0).scale, 1.0f);
    EXPECT_EQ(f.page(1).scale, 2.0f);
    EXPECT_EQ(f.page(1).image, "tf2_image");
    EXPECT_EQ(f.glyphRow('B'), 2);
    EXPECT_EQ(f.glyphRow(0x4E00), 5);
    EXPECT_EQ(f.glyphRow('x'), -1);
    EXPECT_EQ(f.glyphRow(0xFFFF), -1);
    EXPECT_EQ(f.widestWidth(), 20.0f);
    EXPECT_EQ(f.widestCode(), 0x4E00);
    EXPECT_EQ(f.tallestCode(), 32);
    const std::u16string text = u"AxB";
    EXPECT_EQ(f.measureLine(&text[0], &text[2], 0.0f), 22.0f);
    EXPECT_EQ(f.measureLine(&text[0], &text[2], 1.0f), 32.0f);
    EXPECT_EQ(f.lineHeight(1.0f), 25.0f);
    EXPECT_EQ(f.blockHeight(3, 1.0f), 70.0f);
}

TEST_F(UIFontTest, MalformedFontScriptsAreFatal)
{
    struct Case {
        const char* name;
        std::string text;
        int line;
    };
    const std::vector<Case> cases = {
        {"broken_fnt", "Image = ", 52},
        {"no_list_fnt", "Image = \"tf_image\"", 90},
        {"no_page_list_fnt", "Image = \"tf_image\"\nMIP2 = \"tf2_image\"\nCharList = { { 65, 0, 0, 1, 1 } }", 106},
        {"row_fnt", "Image = \"tf_image\"\nCharList = { { 65, 0, 0, 1, 1 }, 7 }", 113},
        {"code_fnt", "Image = \"tf_image\"\nCharList = { { 65535, 0, 0, 1, 1 } }", 125},
        {"negative_fnt", "Image = \"tf_image\"\nCharList = { { -1, 0, 0, 1, 1 } }", 125},
        {"long_page_fnt",
         "Image = \"tf_image\"\nMIP1 = \"tf2_image\"\nCharList = { { 65, 0, 0, 1, 1 } }\n"
         "CharList1 = { { 65, 0, 0, 2, 2 }, { 66, 0, 0, 2, 2 } }",
         113},
    };
    for (const Case& c : cases)
        addLua(c.name, c.text);
    startEngine();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const VQ::FatalReport report = catchFatal([&] { UIFont f(c.name, "default"); });
        EXPECT_EQ(report.file, "ui_font");
        EXPECT_EQ(report.line, c.line);
    }
    // The second page is the MIP2 image, read from "CharList1".
    EXPECT_EQ(catchFatal([&] { UIFont f("no_page_list_fnt", "default"); }).description,
              "Failed to open font CharList table!");
    const VQ::FatalReport missing = catchFatal([&] { UIFont f("no_such_fnt", "default"); });
    EXPECT_EQ(missing.line, 52);
    EXPECT_EQ(missing.description, "Failed to load no_such_fnt in default package");
    EXPECT_GE(countLogLines("Failed to load no_such_fnt in default package"), 1);
}

TEST_F(UIFontTest, PageNearestToTheWorkspaceScaleHoldsTheOnlySprite)
{
    startEngine();
    UIFont& f = font();
    const size_t before = mFastSprites->spriteCount();
    struct Case {
        uint32_t w, h;
        int page;
    };
    // Workspace 1024 x 768: scales 1.4, 1.6 and exactly 1.5 (the later
    // page wins the tie), then back to 1.
    for (const Case& c : {Case{1434, 1075, 0}, Case{1640, 1229, 1}, Case{1536, 1152, 1}, Case{1024, 768, 0}}) {
        SCOPED_TRACE(c.w);
        mRender->setWindowSize(c.w, c.h);
        const UIFont::Page* page = f.selectPage();
        EXPECT_EQ(page, &f.page(uint32_t(c.page)));
        EXPECT_NE(page->sprite, nullptr);
        EXPECT_EQ(f.page(uint32_t(1 - c.page)).sprite, nullptr);
        EXPECT_EQ(mFastSprites->spriteCount(), before);
    }
    mFont.reset();
    EXPECT_EQ(mFastSprites->spriteCount(), before - 1);
}

TEST_F(UIFontTest, GlyphsAdvanceByWidthAndSpacingAndSkipMissingCharacters)
{
    startEngine();
    std::vector<Rect> quads = drawText(u"AxB", Vector2f(100, 50), false, 0, 0, 500, 100);
    ASSERT_EQ(quads.size(), 2u);
    EXPECT_EQ(quads[0], Rect(100, 50, 110, 70));
    EXPECT_EQ(quads[1], Rect(110, 50, 122, 70));
    // Extra spacing: 5 units after every glyph, 5 between lines.
    quads = drawText(u"AB\nC", Vector2f(0, 0), true, 0, 0, 500, 100, false, 1.0f, 1.0f);
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_EQ(quads[1].left, 15.0f);
    EXPECT_EQ(quads[2], Rect(0, 25, 8, 45));

    // Invisible colour, empty text: nothing.
    font().color = VQ::Color(0x00FFFFFFu);
    EXPECT_TRUE(drawText(u"AB", Vector2f(0, 0), false, 0, 0, 100, 100).empty());
    font().color = VQ::Color(0xFFFFFFFFu);
    EXPECT_TRUE(drawText(u"", Vector2f(0, 0), false, 0, 0, 100, 100).empty());
}

TEST_F(UIFontTest, WordWrap)
{
    startEngine();
    struct Case {
        const char16_t* text;
        float box;
        Ranges lines;
    };
    const std::vector<Case> cases = {
        // Words move down whole once the line is full.
        {u"AA BB CC", 30, {{0, 2}, {3, 5}, {6, 7}}},
        {u"AA BB CC", 100, {{0, 7}}},
        // A word wider than the box keeps a line of its own.
        {u"AAAAA BB", 30, {{0, 5}, {6, 7}}},
        {u"BB AAAAAAAA", 30, {{0, 2}, {3, 10}}},
        // A line feed ends the line; a trailing one adds no empty line.
        {u"A\nB", 100, {{0, 1}, {2, 2}}},
        {u"AB\n", 100, {{0, 2}}},
        {u"A\n\nB", 100, {{0, 1}, {2, 2}, {3, 3}}},
        // Other languages break only at spaces and line feeds.
        {u"\u4E00\u4E00\u3002", 45, {{0, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text)));
        EXPECT_EQ(ranges(c.text, c.box), c.lines);
    }

    // In Japanese every ideograph may end a line, but a line never starts
    // with the full stop.
    setLanguage("ja");
    EXPECT_EQ(ranges(u"\u4E00\u4E00\u3002", 45), (Ranges{{0, 0}, {1, 2}}));
    EXPECT_EQ(ranges(u"\u4E00\u4E00\u4E00", 45), (Ranges{{0, 1}, {2, 2}}));
    EXPECT_TRUE(UIFont::isBreakOpportunity(u'\u3002', u'A'));
    EXPECT_FALSE(UIFont::isBreakOpportunity(u'\u4E00', u'\uFF01'));
}

TEST_F(UIFontTest, AlignmentInTheBox)
{
    startEngine();
    // Right: each line's right edge at the box's; centre, and middle.
    std::vector<Rect> quads = drawText(u"AB\nC", Vector2f(100, 50), true, 2, 0, 200, 100);
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_EQ(quads[1].right, 300.0f);
    EXPECT_EQ(quads[2].right, 300.0f);
    quads = drawText(u"AB\nC", Vector2f(100, 50), true, 1, 1, 200, 100);
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_EQ(quads[0], Rect(189, 80, 199, 100));
    EXPECT_EQ(quads[2], Rect(196, 100, 204, 120));
    quads = drawText(u"A", Vector2f(0, 0), false, 0, 2, 100, 100);
    EXPECT_EQ(quads[0].bottom, 100.0f);
}

TEST_F(UIFontTest, PixelPrecisionSnapsToWholePixels)
{
    startEngine();
    struct Case {
        float x;
        bool snap;
        float left;
    };
    for (const Case& c : {Case{10.5f, true, 10.0f}, Case{10.6f, true, 11.0f}, Case{10.6f, false, 10.6f}}) {
        SCOPED_TRACE(c.x);
        const std::vector<Rect> quads = drawText(u"A", Vector2f(c.x, 0), false, 0, 0, 100, 100, c.snap);
        ASSERT_EQ(quads.size(), 1u);
        EXPECT_FLOAT_EQ(quads[0].left, c.left);
    }
    // At workspace scale 2 the grid is half a unit.
    EXPECT_EQ(UIFont::snapToPixels(Vector2f(10.3f, 10.2f), 2.0f), Vector2f(10.5f, 10.0f));
    EXPECT_EQ(UIFont::snapToPixels(Vector2f(-10.6f, 0.0f), 1.0f), Vector2f(-10.0f, 0.0f));
}

TEST_F(UIFontTest, DrawsThroughAMatrixUpToTheGlyphLimit)
{
    startEngine();
    UIFont& f = font();
    // A quarter turn, then a move to (200, 100).
    const float matrix[9] = {0, 1, 0, -1, 0, 0, 200, 100, 1};
    std::vector<Rect> quads = quadBounds(drawn([&] {
        f.drawTextTransformed(matrix, u"AxBCA", false, 0, 0, 0.0f, 0.0f, false, NO_CLIP, false, 3,
                              Vector2f(500, 100));
    }));
    ASSERT_EQ(quads.size(), 3u);
    // A at local (0, 0): 10 x 20 turned to 20 x 10 left of the origin.
    EXPECT_NEAR(quads[0].left, 180.0f, 1e-4);
    EXPECT_NEAR(quads[0].right, 200.0f, 1e-4);
    EXPECT_NEAR(quads[0].top, 100.0f, 1e-4);
    EXPECT_NEAR(quads[0].bottom, 110.0f, 1e-4);
    // B starts 10 units further along the turned line.
    EXPECT_NEAR(quads[1].top, 110.0f, 1e-4);
    EXPECT_NEAR(quads[2].top, 122.0f, 1e-4);

    // On the double page the glyph's size is its rectangle over the scale.
    mRender->setWindowSize(2048, 1536);
    const float identity[9] = {1, 0, 0, 0, 1, 0, 0.3f, 0, 1};
    createQueuedTextures();
    f.selectPage();
    createQueuedTextures();
    quads = quadBounds(drawn([&] {
        f.drawTextTransformed(identity, u"B", false, 0, 0, 0.0f, 0.0f, false, NO_CLIP, true, 0, Vector2f(50, 50));
    }));
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_EQ(quads[0], Rect(0.0f, 0, 12, 20));
}

TEST_F(UIFontTest, TextRectangleOfTheLaidOutGlyphs)
{
    startEngine();
    UIFont& f = font();
    // Two lines centred in a box 100 wide: "AB" (22) and "C" (8); the
    // rectangle grows from the position.
    EXPECT_EQ(f.getTextRect(Vector2f(100, 50), u"AB\nC", true, 1, 0, 0, 0, 100, 100), Rect(100, 50, 161, 90));
    EXPECT_EQ(f.getTextRect(Vector2f(0, 0), u"AB\nC", true, 0, 2, 0, 0, 100, 100), Rect(0, 0, 22, 100));
    // Its wrap keeps the last words of a full line together.
    EXPECT_EQ(f.getTextRect(Vector2f(0, 0), u"AA BB CC", true, 0, 0, 0, 0, 30, 100), Rect(0, 0, 44, 40));
    EXPECT_EQ(f.getTextRect(Vector2f(0, 0), u"AA BB CC", false, 0, 0, 0, 0, 30, 100), Rect(0, 0, 68, 20));
    EXPECT_EQ(f.getTextRect(Vector2f(7, 9), u"xyz", true, 0, 0, 0, 0, 30, 100), Rect(7, 9, 7, 9));
    EXPECT_EQ(f.getTextRect(Vector2f(7, 9), u"", true, 0, 0, 0, 0, 30, 100), Rect(7, 9, 7, 9));
}

TEST_F(UIFontTest, LongTextsWrapIntoAsManyLinesAsTheyNeed)
{
    startEngine();
    std::u16string text;
    for (int i = 0; i < 300; ++i)
        text += u"AB\n";
    EXPECT_EQ(font().layoutLines(text, true, 0.0f, 100.0f).size(), 300u);
    const std::vector<Rect> quads = drawText(text, Vector2f(0, 0), true, 0, 0, 100, 100);
    ASSERT_EQ(quads.size(), 600u);
    EXPECT_EQ(quads.back(), Rect(10, 299 * 20, 22, 300 * 20));
    EXPECT_EQ(font().getTextRect(Vector2f(0, 0), text, true, 0, 0, 0, 0, 100, 100), Rect(0, 0, 22, 6000));
}

TEST_F(UIFontTest, DrawLineSnapsAndSkipsBytesWithoutGlyphs)
{
    startEngine();
    UIFont& f = font();
    const std::vector<Rect> quads = quadBounds(drawn([&] {
        f.drawLine(NO_CLIP, Vector2f(0.6f, 0.0f), std::string("A\xff" "B"), true, 0.0f, 0.0f, false, 60.0f);
    }));
    ASSERT_EQ(quads.size(), 2u);
    EXPECT_EQ(quads[0], Rect(1, 20, 11, 40));
    EXPECT_EQ(quads[1], Rect(11, 20, 23, 40));
}

TEST_F(UIFontTest, ShippedInterfaceFonts)
{
    startEngine();
    for (const char* name : {"main_font_fnt", "small_font_fnt", "font2_fnt"}) {
        SCOPED_TRACE(name);
        UIFont f(name, "default");
        for (uint32_t code : {0x20u, 0x41u, 0x7Au, 0xE9u, 0xFFu})
            EXPECT_GE(f.glyphRow(code), 0) << code;
        EXPECT_GT(f.lineHeight(0.0f), 10.0f);
    }
    UIFont main("main_font_fnt", "default");
    ASSERT_EQ(main.pageCount(), 2u);
    EXPECT_EQ(main.page(1).scale, 2.0f);
    EXPECT_GE(main.glyphRow(0x2026), 0);
    for (uint32_t r = 0; r < main.glyphCount(); ++r) {
        EXPECT_EQ(main.page(1).rects[r].w, 2 * main.page(0).rects[r].w) << r;
        EXPECT_EQ(main.page(1).rects[r].h, 2 * main.page(0).rects[r].h) << r;
    }
}
