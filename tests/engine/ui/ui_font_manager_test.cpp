// The UI font manager: fonts shared by name with reference counts, the font
// package from the language's settings file, text presets and their
// defaults, and use from several threads at once.

#include <gtest/gtest.h>

#include <thread>

#include "support/sprite_fixture.h"
#include "ui/ui_font.h"
#include "ui/ui_font_manager.h"

using namespace TestSupport;
using VQ::Color;
using VQ::TextPreset;
using VQ::UIFont;
using VQ::UIFontManager;

namespace {

class UIFontManagerTest : public SpriteTest {
protected:
    void SetUp() override
    {
        SpriteTest::SetUp();
        addXml("font_settings_xml", "<root><package value=\"default\"/></root>");
        addLua("presets_lua", R"(
full = { halign = 2, valign = 1, xcoeff = 0.5, ycoeff = 1.5, wordWrap = 1, color = { 10, 20, 30, 40 },
         font = "small_font_fnt" }
bare = { }
flagged = { wordWrap = true, halign = "x" }
)");
    }
    void TearDown() override
    {
        mManager.reset();
        SpriteTest::TearDown();
    }
    void start(const std::string& settings)
    {
        startEngine();
        setSettings(settings);
        mManager = std::make_unique<UIFontManager>();
    }
    // Replaces the settings file's text (an empty text removes it).
    void setSettings(const std::string& text)
    {
        if (text.empty())
            std::filesystem::remove(contentPath("test/font_settings_xml.xml"));
        else
            writeContent("test/font_settings_xml.xml", text);
    }

    std::unique_ptr<UIFontManager> mManager;
};

}  // namespace

TEST_F(UIFontManagerTest, FontsAreSharedByNameAndCounted)
{
    start("");
    EXPECT_EQ(mManager->getFont(""), nullptr);
    EXPECT_EQ(mManager->fontCount(), 0u);

    UIFont* a = mManager->getFont("small_font_fnt");
    UIFont* b = mManager->getFont("small_font_fnt");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a->refCount, 2);
    UIFont* other = mManager->getFont("main_font_fnt");
    EXPECT_NE(other, a);
    EXPECT_EQ(mManager->fontCount(), 2u);

    mManager->releaseFont(a);
    EXPECT_EQ(a->refCount, 1);
    mManager->releaseFont(a);
    EXPECT_EQ(mManager->fontCount(), 1u);
    // Gone: a third release, or one of a font never handed out, is ignored.
    mManager->releaseFont(a);
    mManager->releaseFont(nullptr);
    EXPECT_EQ(mManager->fontCount(), 1u);
    // The manager's end deletes what is still held, sprites included.
    const size_t sprites = mFastSprites->spriteCount();
    mManager.reset();
    EXPECT_EQ(mFastSprites->spriteCount(), sprites - 1);
}

TEST_F(UIFontManagerTest, FontPackageComesFromTheSettingsFileOnce)
{
    struct Case {
        const char* settings;
        const char* package;
    };
    startEngine();
    for (const Case& c : {Case{"", "default"}, Case{"<root><package value=\"fonts_en\"/></root>", "fonts_en"},
                          Case{"<root><package/></root>", ""}, Case{"<other/>", ""}}) {
        SCOPED_TRACE(c.settings);
        setSettings(c.settings);
        mManager = std::make_unique<UIFontManager>();
        EXPECT_EQ(mManager->getFontPackage(), c.package);
        // A package that names nothing falls back to "default".
        UIFont* font = mManager->getFont("small_font_fnt");
        ASSERT_NE(font, nullptr);
        // Never read again.
        setSettings("<root><package value=\"later\"/></root>");
        EXPECT_EQ(mManager->getFontPackage(), c.package);
        mManager.reset();
    }

    setSettings("<root><package value=");
    mManager = std::make_unique<UIFontManager>();
    const VQ::FatalReport report = catchFatal([&] { mManager->getFontPackage(); });
    EXPECT_EQ(report.file, "ui_font_manager");
    EXPECT_EQ(report.line, 90);
    EXPECT_EQ(report.description, "Failed to parse XML");
}

TEST_F(UIFontManagerTest, PresetsAndTheirDefaults)
{
    start("");
    TextPreset preset;
    ASSERT_EQ(mManager->loadTextPreset("full", "presets_lua", &preset), 0);
    EXPECT_EQ(preset.halign, 2u);
    EXPECT_EQ(preset.valign, 1u);
    EXPECT_EQ(preset.xcoeff, 0.5f);
    EXPECT_EQ(preset.ycoeff, 1.5f);
    EXPECT_TRUE(preset.wordWrap);
    EXPECT_EQ(preset.color, Color::fromBytes(10, 20, 30, 40));
    EXPECT_EQ(preset.font, mManager->getFont("small_font_fnt"));
    EXPECT_EQ(preset.font->refCount, 2);

    TextPreset bare;
    ASSERT_EQ(mManager->loadTextPreset("bare", "presets_lua", &bare), 0);
    EXPECT_EQ(bare.halign, 0u);
    EXPECT_EQ(bare.xcoeff, 0.0f);
    EXPECT_FALSE(bare.wordWrap);
    EXPECT_EQ(bare.color, Color(0xFFFFFFFFu));
    EXPECT_EQ(bare.font, mManager->getFont("system_font_fnt"));

    // A Lua boolean is not a flag, a string not a number.
    TextPreset flagged;
    ASSERT_EQ(mManager->loadTextPreset("flagged", "presets_lua", &flagged), 0);
    EXPECT_FALSE(flagged.wordWrap);
    EXPECT_EQ(flagged.halign, 0u);

    // What cannot be read leaves the preset as it was.
    TextPreset untouched;
    untouched.halign = 7;
    EXPECT_EQ(mManager->loadTextPreset("missing", "presets_lua", &untouched), 1);
    EXPECT_EQ(mManager->loadTextPreset("full", "no_such_lua", &untouched), 1);
    EXPECT_EQ(mManager->loadTextPreset("full", "presets_lua", nullptr), 1);
    EXPECT_EQ(untouched.halign, 7u);
    EXPECT_EQ(untouched.font, nullptr);
}

TEST_F(UIFontManagerTest, ShippedPresetsNameShippedFonts)
{
    start("");
    for (const char* table : {"text", "title", "button", "label", "counter", "small", "tooltip"}) {
        SCOPED_TRACE(table);
        TextPreset preset;
        ASSERT_EQ(mManager->loadTextPreset(table, "font_presets_lua", &preset), 0);
        ASSERT_NE(preset.font, nullptr);
        EXPECT_NE(preset.color.a, 0);
        mManager->releaseFont(preset.font);
    }
    EXPECT_EQ(mManager->fontCount(), 0u);
}

TEST_F(UIFontManagerTest, LoadingThreadsAndTheMainThreadShareTheCache)
{
    start("");
    UIFont* held = mManager->getFont("small_font_fnt");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 100; ++i) {
                UIFont* font = mManager->getFont("small_font_fnt");
                TextPreset preset;
                mManager->loadTextPreset("bare", "presets_lua", &preset);
                mManager->releaseFont(preset.font);
                mManager->releaseFont(font);
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(held->refCount, 1);
    EXPECT_EQ(mManager->fontCount(), 1u);
}
