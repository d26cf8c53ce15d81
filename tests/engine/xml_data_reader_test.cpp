#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "support/content_fixture.h"
#include "utils.h"
#include "xml_data_reader.h"

using namespace TestSupport;

namespace {

// A sprite-table twin as the editor writes it.
const char* const kSpriteTable = R"(<?xml version="1.0" encoding="utf-8"?>
<root>
  <s_tile>
    <Image0 v="tiles"/>
    <BlendMode/>
    <Pos v0="1.5" v1="-2"/>
    <Half v0="3"/>
    <SrcRect0 v0="1" v1="2" v2="3" v3="4"/>
    <Color r="0x1FF" g="128" b="-1" a="255"/>
    <Pale r="10"/>
    <MirrorH v="yes"/>
    <MirrorV v="no"/>
    <Mirror/>
    <Angle v="45.25"/>
    <Count v="0x10"/>
    <Neg v=" -1"/>
    <Octal v="010"/>
    <Big v="99999999999"/>
    <Frames>
      <v0><duration v="0.5"/></v0>
      <v1><duration v="1"/></v1>
      <v3><duration v="3"/></v3>
    </Frames>
    <Empty/>
  </s_tile>
</root>
)";

// The log of a content folder; the reader parses text from memory.
class XmlDataReaderTest : public ContentTest {
protected:
    void SetUp() override
    {
        ContentTest::SetUp();
        ASSERT_TRUE(mReader.loadFromMemory("test_sxml", kSpriteTable, strlen(kSpriteTable)));
        ASSERT_TRUE(mReader.enterNode("s_tile"));
    }

    VQ::XmlDataReader mReader;
};

}  // namespace

TEST_F(XmlDataReaderTest, ReadsScalarsVectorsRectanglesAndColours)
{
    std::string text;
    EXPECT_TRUE(mReader.readString("Image0", text));
    EXPECT_EQ(text, "tiles");
    EXPECT_TRUE(mReader.readString("BlendMode", text));
    EXPECT_EQ(text, "");

    VQ::Vector2f v;
    EXPECT_TRUE(mReader.readVector2("Pos", v));
    EXPECT_EQ(v, VQ::Vector2f(1.5f, -2.0f));
    EXPECT_TRUE(mReader.readVector2("Half", v));
    EXPECT_EQ(v, VQ::Vector2f(3.0f, 0.0f));

    // The twin stores top, left, bottom, right.
    VQ::Rect r;
    EXPECT_TRUE(mReader.readRect("SrcRect0", r));
    EXPECT_EQ(r, VQ::Rect(2, 1, 4, 3));

    VQ::Color c;
    EXPECT_TRUE(mReader.readColor("Color", c));
    EXPECT_EQ(c, VQ::Color::fromBytes(255, 128, 255, 255));
    EXPECT_TRUE(mReader.readColor("Pale", c));
    EXPECT_EQ(c, VQ::Color::fromBytes(10, 0, 0, 0));

    float f = -1;
    EXPECT_TRUE(mReader.readFloat("Angle", f));
    EXPECT_FLOAT_EQ(f, 45.25f);
}

TEST_F(XmlDataReaderTest, BooleansAndIntegersFollowTheDataRules)
{
    bool b = false;
    EXPECT_TRUE(mReader.readBool("MirrorH", b));
    EXPECT_TRUE(b);
    EXPECT_TRUE(mReader.readBool("MirrorV", b));
    EXPECT_FALSE(b);
    b = true;
    EXPECT_TRUE(mReader.readBool("Mirror", b));
    EXPECT_FALSE(b);

    const struct {
        const char* name;
        unsigned expected;
    } cases[] = {{"Count", 16}, {"Neg", 4294967295u}, {"Octal", 10}, {"Big", 2147483647u}, {"Mirror", 0}};
    for (const auto& c : cases) {
        unsigned u = 77;
        EXPECT_TRUE(mReader.readUInt(c.name, u)) << c.name;
        EXPECT_EQ(u, c.expected) << c.name;
    }
    EXPECT_EQ(VQ::parseXmlInteger("  -0x10"), -16);
    EXPECT_EQ(VQ::parseXmlInteger("-99999999999"), INT32_MIN);
    EXPECT_EQ(VQ::parseXmlInteger("12abc"), 12);
}

TEST_F(XmlDataReaderTest, MissingElementsGiveFailureValues)
{
    std::string text = "x";
    bool b = true;
    float f = 1;
    unsigned u = 1;
    VQ::Vector2f v(1, 1);
    VQ::Rect r(1, 1, 1, 1);
    VQ::Color c;
    EXPECT_FALSE(mReader.readString("Nope", text));
    EXPECT_FALSE(mReader.readBool("Nope", b));
    EXPECT_FALSE(mReader.readFloat("Nope", f));
    EXPECT_FALSE(mReader.readUInt("Nope", u));
    EXPECT_FALSE(mReader.readVector2("Nope", v));
    EXPECT_FALSE(mReader.readRect("Nope", r));
    EXPECT_FALSE(mReader.readColor("Nope", c));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(b);
    EXPECT_EQ(f, 0.0f);
    EXPECT_EQ(u, 0u);
    EXPECT_EQ(v, VQ::Vector2f(0, 0));
    EXPECT_EQ(r, VQ::Rect());
    EXPECT_EQ(c.argb(), 0xFFFFFFFFu);
}

TEST_F(XmlDataReaderTest, CursorMovesInAndOut)
{
    EXPECT_FALSE(mReader.enterNode("Nope"));
    EXPECT_STREQ(mReader.currentNode().name(), "s_tile");
    ASSERT_TRUE(mReader.enterNode("Frames"));
    ASSERT_TRUE(mReader.enterNode("v1"));
    float f = 0;
    EXPECT_TRUE(mReader.readFloat("duration", f));
    EXPECT_EQ(f, 1.0f);
    mReader.leaveNode();
    mReader.leaveNode();
    EXPECT_STREQ(mReader.currentNode().name(), "s_tile");
    mReader.rewind();
    EXPECT_STREQ(mReader.currentNode().name(), "root");
}

TEST_F(XmlDataReaderTest, ArrayWalkStopsAtTheFirstMissingIndex)
{
    ASSERT_TRUE(mReader.enterNode("Frames"));
    const pugi::xml_node frames = mReader.currentNode();
    std::vector<float> durations;
    for (VQ::XmlArrayIterator it(mReader); it != mReader.arrayEnd(); it.next()) {
        float f = 0;
        mReader.readFloat("duration", f);
        durations.push_back(f);
    }
    EXPECT_EQ(durations, (std::vector<float>{0.5f, 1.0f}));
    EXPECT_EQ(mReader.currentNode(), frames);

    // Left early: the cursor goes back to the container.
    {
        VQ::XmlArrayIterator it(mReader);
        EXPECT_EQ(it.index(), 0);
        EXPECT_STREQ(mReader.currentNode().name(), "v0");
    }
    EXPECT_EQ(mReader.currentNode(), frames);

    // No "v0": no walk, the cursor stays.
    mReader.leaveNode();
    ASSERT_TRUE(mReader.enterNode("Empty"));
    const pugi::xml_node empty = mReader.currentNode();
    VQ::XmlArrayIterator none(mReader);
    EXPECT_TRUE(none == mReader.arrayEnd());
    EXPECT_EQ(mReader.currentNode(), empty);
}

TEST_F(XmlDataReaderTest, EncodingIsDetectedFromTheFirstBytes)
{
    const std::string utf8Bom = "\xEF\xBB\xBF<root><Name v=\"\xD0\x9B\xD0\xB5\"/></root>";
    ASSERT_TRUE(mReader.loadFromMemory("bom_sxml", utf8Bom.data(), utf8Bom.size()));
    std::string text;
    EXPECT_TRUE(mReader.readString("Name", text));
    EXPECT_EQ(text, "\xD0\x9B\xD0\xB5");

    const std::u16string wide = u"\uFEFF<root><Name v=\"\u041B\u0435\"/></root>";
    ASSERT_TRUE(mReader.loadFromMemory("utf16_sxml", wide.data(), wide.size() * 2));
    EXPECT_TRUE(mReader.readString("Name", text));
    EXPECT_EQ(text, "\xD0\x9B\xD0\xB5");
}

TEST_F(XmlDataReaderTest, DocumentWithoutRootFailsEveryRead)
{
    const std::string text = "<other><Name v=\"x\"/></other>";
    ASSERT_TRUE(mReader.loadFromMemory("other_sxml", text.data(), text.size()));
    EXPECT_FALSE(mReader.currentNode());
    std::string out;
    EXPECT_FALSE(mReader.readString("Name", out));
    EXPECT_FALSE(mReader.enterNode("Name"));
}

TEST_F(XmlDataReaderTest, MalformedXmlIsFatalAfterTwoLogLines)
{
    const std::string text = "<root><a></root>";
    // The file system's archive back ends log their own lines first.
    const size_t before = logLines().size();
    const VQ::FatalReport report =
        catchFatal([&] { mReader.loadFromMemory("broken_sxml", text.data(), text.size()); });
    EXPECT_EQ(report.file, "xml_data_reader");
    EXPECT_EQ(report.line, 161);
    EXPECT_EQ(report.description, "");
    const auto lines = logLines();
    ASSERT_GE(lines.size(), before + 2);
    EXPECT_EQ(lines[before], "Failed to parse XML file: broken_sxml");
    EXPECT_EQ(lines[before + 1], "Error description: Start-end tags mismatch");
}

TEST_F(XmlDataReaderTest, TextConversionsReplaceInvalidInputWithOneWarning)
{
    const std::string word = "\xD0\x9B\xD0\xB0\xD0\xBC\xD0\xBF\xD0\xB0";  // five Cyrillic letters
    const std::u16string wide = VQ::utf8ToWide(word);
    EXPECT_EQ(wide.size(), 5u);
    EXPECT_EQ(VQ::wideToUtf8(wide), word);
    EXPECT_EQ(countLogLines("WARNING: Invalid UTF-8 text replaced with U+FFFD"), 0);

    EXPECT_EQ(VQ::utf8ToWide("a\xFF\xFE" "b"), u"a\uFFFD\uFFFDb");
    EXPECT_EQ(countLogLines("WARNING: Invalid UTF-8 text replaced with U+FFFD"), 1);
    EXPECT_EQ(VQ::wideToUtf8(std::u16string{u'x', char16_t(0xDC00), char16_t(0xD800)}), "x\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(countLogLines("WARNING: Invalid UTF-16 text replaced with U+FFFD"), 1);
}
