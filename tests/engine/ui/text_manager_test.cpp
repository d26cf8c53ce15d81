#include <gtest/gtest.h>

#include "support/content_fixture.h"
#include "ui/text_manager.h"

using namespace TestSupport;

namespace {

std::string entry(const std::string& key, const std::string& text)
{
    return "<s><text>" + key + "</text><translate>" + text + "</translate></s>";
}

std::string table(const std::string& entries)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<root>" + entries + "</root>\n";
}

class TextManagerTest : public ContentTest {
protected:
    // The configuration with `defaultLanguage` ("" for none) and current
    // language "de"; the packages "en" and "de" list the `files` (resource
    // name, path) whose path lies in their folder.
    void configure(const std::string& defaultLanguage,
                   const std::vector<std::pair<std::string, std::string>>& files)
    {
        std::string config =
            "config = { platforms = { { name = \"pc\", directories = { \"common\" }, resolution = { 800, 600 } } },\n"
            "  currentPlatform = \"pc\", currentLanguage = \"de\"";
        if (!defaultLanguage.empty())
            config += ", defaultLanguage = \"" + defaultLanguage + "\"";
        writeContent("config.lua", config + " }\n");
        writeContent("filelist.lua", "directories = { common = { { \"lists/en.lua\" }, { \"lists/de.lua\" } } }\n");
        for (const std::string package : {"en", "de"}) {
            std::string list = "name = \"" + package + "\"\nfilelist = {\n";
            for (const auto& [name, path] : files) {
                if (path.rfind(package + "/", 0) == 0)
                    list += "  { name = \"" + name + "\", filename = \"" + path + "\" },\n";
            }
            writeContent("lists/" + package + ".lua", list + "}\n");
        }
        loadAll();
        mTexts = std::make_unique<VQ::TextManager>();
    }

    void TearDown() override
    {
        mTexts.reset();
        ContentTest::TearDown();
    }

    std::unique_ptr<VQ::TextManager> mTexts;
};

}  // namespace

TEST_F(TextManagerTest, CurrentLanguageWinsAndDefaultLanguageFillsTheRest)
{
    writeContent("en/strings.xml", table(entry("TITLE", "Title") + entry("ONLY_EN", "English only")));
    writeContent("de/strings.xml", table(entry("TITLE", "Titel")));
    configure("en", {{"strings_xml", "en/strings.xml"}, {"strings_xml", "de/strings.xml"}});
    mTexts->reload();
    EXPECT_EQ(mTexts->text("TITLE"), u"Titel");
    EXPECT_EQ(mTexts->text("ONLY_EN"), u"English only");
    EXPECT_EQ(mTexts->text("NOWHERE"), u"!ERROR!");
    // The shared constant: the same object each time.
    EXPECT_EQ(&mTexts->text("NOWHERE"), &mTexts->text("ALSO_NOWHERE"));
}

TEST_F(TextManagerTest, NumberedTablesStopAtTheFirstMissingOne)
{
    writeContent("de/strings.xml", table(entry("A", "a")));
    writeContent("de/strings0.xml", table(entry("B", "b")));
    writeContent("de/strings2.xml", table(entry("C", "c")));
    configure("", {{"strings_xml", "de/strings.xml"},
                   {"strings0_xml", "de/strings0.xml"},
                   {"strings2_xml", "de/strings2.xml"}});
    mTexts->reload();
    EXPECT_EQ(mTexts->text("A"), u"a");
    EXPECT_EQ(mTexts->text("B"), u"b");
    EXPECT_EQ(mTexts->text("C"), u"!ERROR!");
    EXPECT_EQ(countLogLines("Failed to load locale: strings1_xml"), 1);
    EXPECT_EQ(countLogLines("Failed to load locale: strings2_xml"), 0);
}

TEST_F(TextManagerTest, EntryShapesAndWideCharacters)
{
    writeContent("de/strings.xml",
                 table("<a><text>NO_TRANSLATE</text></a>"
                       "<b><translate>no key</translate></b>"
                       "<c><text>CDATA</text><translate><![CDATA[<b>&]]></translate></c>" +
                       entry("EMOJI", "\xF0\x9F\x98\x80 \xC3\xBC") + entry("TWICE", "first") +
                       entry("TWICE", "second")));
    configure("", {{"strings_xml", "de/strings.xml"}});
    mTexts->reload();
    EXPECT_EQ(mTexts->text("NO_TRANSLATE"), u"");
    EXPECT_EQ(mTexts->text(""), u"no key");
    EXPECT_EQ(mTexts->text("CDATA"), u"<b>&");
    EXPECT_EQ(mTexts->text("EMOJI"), std::u16string(u"\U0001F600 \u00FC"));
    EXPECT_EQ(mTexts->text("EMOJI").size(), 4u);  // a surrogate pair, a space, one more
    EXPECT_EQ(mTexts->text("TWICE"), u"second");
}

TEST_F(TextManagerTest, MissingTableIsLoggedAndReloadEmptiesTheMap)
{
    writeContent("de/strings.xml", table(entry("A", "a")));
    configure("", {{"strings_xml", "de/strings.xml"}});
    mTexts->reload();
    EXPECT_EQ(mTexts->size(), 1u);
    std::filesystem::remove(contentPath("de/strings.xml"));
    mTexts->reload();
    EXPECT_EQ(mTexts->size(), 0u);
    EXPECT_EQ(countLogLines("Failed to load locale: strings_xml"), 1);
}

TEST_F(TextManagerTest, MalformedTablesAreFatal)
{
    struct Case {
        const char* text;
        const char* description;
        int line;
    };
    const Case cases[] = {
        {"<root><s><text>A</text>", "Failed to parse XML", 45},
        {"<root><s><text>A</text><translate>\xC3\x28</translate></s></root>", "", 55},
    };
    for (const Case& c : cases) {
        writeContent("de/strings.xml", c.text);
        if (!mTexts)
            configure("", {{"strings_xml", "de/strings.xml"}});
        const VQ::FatalReport report = catchFatal([&] { mTexts->reload(); });
        EXPECT_EQ(report.description, c.description);
        EXPECT_EQ(report.file, "text_manager");
        EXPECT_EQ(report.line, c.line);
    }
}

TEST(TextConversion, NarrowIsUtf8)
{
    EXPECT_EQ(VQ::ansiToWide("Gr\xC3\xBC\xC3\x9F"), u"Gr\u00FC\u00DF");
    EXPECT_EQ(VQ::wideToAnsi(u"Gr\u00FC\u00DF"), "Gr\xC3\xBC\xC3\x9F");
    EXPECT_EQ(VQ::ansiToWide(""), u"");
}
