// The simple bitmap font: its glyph range with gaps, the byte wrap-around,
// spacing by scale, the fatal reports of malformed scripts, and the shipped
// system font.

#include <gtest/gtest.h>

#include "font.h"
#include "sprite.h"
#include "support/font_fixture.h"

using namespace TestSupport;
using VQ::Font;
using VQ::Rect;

namespace {

// Rows {code, x, y, w, h}; glyph k is 10 + k wide and 16 tall.
std::string charList(const std::vector<int>& codes)
{
    std::string text = "Image = \"anything\"\nCharList = {\n";
    int k = 0;
    for (int code : codes) {
        text += "  { " + std::to_string(code) + ", " + std::to_string(k * 20) + ", 0, " + std::to_string(10 + k) +
                ", 16 },\n";
        ++k;
    }
    return text + "}\n";
}

class FontTest : public SpriteTest {
protected:
    std::vector<Rect> draw(Font& font, const std::string& text, float scale = 1.0f)
    {
        createQueuedTextures();
        return quadBounds(drawn([&] { font.drawText(100.0f, 50.0f, text, scale, VQ::Color(0xFFFFFFFFu)); }));
    }
};

}  // namespace

TEST_F(FontTest, RangeGapsAndBytesOutsideTheRange)
{
    std::vector<int> printable;
    for (int c = 32; c <= 126; ++c)
        printable.push_back(c);
    addLua("printable_fnt", charList(printable));
    addLua("gap_fnt", charList({65, 67}));
    startEngine();

    Font font;
    font.load("printable_fnt");
    EXPECT_EQ(font.firstCode(), 32);
    EXPECT_EQ(font.lastCode(), 126);
    EXPECT_EQ(font.range(), 95);
    // 31 wraps to record 255, 127 is record 95: both beyond the range.
    const std::vector<Rect> quads = draw(font, std::string("\x1f!\x7f\""));
    ASSERT_EQ(quads.size(), 2u);
    EXPECT_EQ(quads[0], Rect(100, 50, 111, 66));
    EXPECT_EQ(quads[1], Rect(111, 50, 123, 66));

    Font gap;
    gap.load("gap_fnt");
    EXPECT_EQ(gap.range(), 3);
    EXPECT_EQ(gap.glyphs()[1].present, -1);
    EXPECT_EQ(gap.glyphs()[2].present, 2);
    // B is missing and takes no room.
    const std::vector<Rect> abc = draw(gap, "ABC");
    ASSERT_EQ(abc.size(), 2u);
    EXPECT_EQ(abc[1], Rect(110, 50, 121, 66));
}

TEST_F(FontTest, ScaleSpacesGlyphsWithoutResizingThem)
{
    addLua("gap_fnt", charList({65, 67}));
    startEngine();
    Font font;
    font.load("gap_fnt");
    const std::vector<Rect> quads = draw(font, "ACA", 2.0f);
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_EQ(quads[0], Rect(100, 50, 110, 66));
    EXPECT_EQ(quads[1], Rect(120, 50, 131, 66));
    EXPECT_EQ(quads[2], Rect(142, 50, 152, 66));
    // The sheet is always "font2_image", whatever the script names.
    EXPECT_EQ(font.sprite()->texture(), texture("font2_image"));
}

TEST_F(FontTest, MalformedScriptsAreFatal)
{
    struct Case {
        const char* name;
        std::string text;
        int line;
    };
    const std::vector<Case> cases = {
        {"broken_fnt", "CharList = {", 29},
        {"no_image_fnt", "CharList = { { 65, 0, 0, 8, 8 } }", 36},
        {"table_image_fnt", "Image = {}\nCharList = { { 65, 0, 0, 8, 8 } }", 36},
        {"no_list_fnt", "Image = 3\nCharList = 5", 65},
        {"descending_fnt", charList({66, 65}), 76},
        {"repeated_fnt", charList({65, 65}), 76},
        {"huge_range_fnt", charList({0, 1000000000}), 76},
    };
    for (const Case& c : cases)
        addLua(c.name, c.text);
    startEngine();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Font font;
        const VQ::FatalReport report = catchFatal([&] { font.load(c.name); });
        EXPECT_EQ(report.file, "font");
        EXPECT_EQ(report.line, c.line);
        EXPECT_EQ(report.description, "");
    }
    // A missing script is reported the same way.
    Font font;
    EXPECT_EQ(catchFatal([&] { font.load("no_such_fnt"); }).line, 29);
}

TEST_F(FontTest, RowsThatAreNotFiveNumbersArePassedOverAndTheSpriteIsGivenBack)
{
    addLua("mixed_fnt", "Image = 1\nCharList = { { 65, 0, 0, 8, 8 }, \"x\", { 66, 0 }, { 67, 8, 0, 9, 8 } }");
    startEngine();
    const size_t before = mSprites->spriteCount();
    {
        Font font;
        font.load("mixed_fnt");
        EXPECT_EQ(font.range(), 3);
        EXPECT_EQ(font.glyphs()[1].present, -1);
        // Loading again replaces the sheet sprite.
        font.load("mixed_fnt");
        EXPECT_EQ(mSprites->spriteCount(), before + 1);
    }
    EXPECT_EQ(mSprites->spriteCount(), before);
}

TEST_F(FontTest, ShippedSystemFontAndFont2CoverLatin1)
{
    startEngine();
    for (const char* name : {"system_font_fnt", "font2_fnt"}) {
        SCOPED_TRACE(name);
        Font font;
        font.load(name);
        EXPECT_EQ(font.firstCode(), 32);
        EXPECT_EQ(font.lastCode(), 255);
        for (int code = 32; code <= 255; ++code) {
            const bool control = code >= 127 && code < 160;
            EXPECT_EQ(font.glyphs()[size_t(code - 32)].present != -1, !control) << code;
        }
        const Font::Glyph& a = font.glyphs()[size_t('A' - 32)];
        EXPECT_GT(a.w, 0.0f);
        EXPECT_GT(a.h, 10.0f);
        // The sheet holds every rectangle.
        const VQ::Texture* sheet = font.sprite()->texture();
        ASSERT_NE(sheet, nullptr);
        for (const Font::Glyph& g : font.glyphs())
            if (g.present != -1) {
                EXPECT_LE(g.x + g.w, float(sheet->mWidth));
                EXPECT_LE(g.y + g.h, float(sheet->mHeight));
            }
        EXPECT_EQ(draw(font, "Loading...").size(), 10u);
    }
}
