#include <gtest/gtest.h>

#include <memory>

#include "config_manager.h"
#include "lua_script_2.h"
#include "support/content_fixture.h"

using namespace TestSupport;

namespace {

// A config script with one platform whose fields are given as Lua text.
std::string configWith(const std::string& platformFields, const std::string& rest = "currentPlatform = 'p'")
{
    return "config = { platforms = { { " + platformFields + " } }, " + rest + " }";
}

const char* const GOOD_PLATFORM = "name = 'p', directories = { 'd' }, resolution = { 1280, 720 }";

}  // namespace

using ConfigManagerTest = ContentTest;

TEST_F(ConfigManagerTest, SelectsThePlatformAndLogsIt)
{
    writeContent("config.lua",
                 "config = { platforms = {"
                 "  { name = 'pc', directories = { 'common', 5, {}, true, 'pc' }, resolution = { 1726, '970' },"
                 "    fullscreenFitType = 1, fullscreenMinimalAspect = '1.5', workspaceZoom = 3 },"
                 "  { name = 'pc', directories = { 'second' }, resolution = { 1, 1 } },"
                 "}, currentPlatform = 'pc', currentLanguage = 'de', defaultLanguage = 'en' }");
    loadConfig();

    const VQ::Platform* platform = mConfig->currentPlatform();
    ASSERT_NE(platform, nullptr);
    // The first of two platforms with the same name.
    EXPECT_EQ(platform, &mConfig->platforms()[0]);
    EXPECT_EQ(mConfig->platforms().size(), 2u);
    EXPECT_EQ(platform->name, "pc");
    EXPECT_EQ(platform->directories, (std::vector<std::string>{"common", "5", "pc"}));
    EXPECT_EQ(platform->width, 1726);
    EXPECT_EQ(platform->height, 970);
    EXPECT_EQ(platform->fullscreenFitType, 1u);
    EXPECT_FLOAT_EQ(platform->fullscreenMinimalAspect, 1.5f);
    // The zoom is only read for fit type 2.
    EXPECT_FLOAT_EQ(platform->workspaceZoom, 1.0f);
    EXPECT_EQ(mConfig->getPlatformDirectories(), &platform->directories);

    EXPECT_EQ(VQ::currentPlatformName(), "pc");
    EXPECT_EQ(mConfig->currentLanguage(), "de");
    EXPECT_EQ(mConfig->defaultLanguage(), "en");
    EXPECT_EQ(mConfig->vertexFormat(), 21u);
    EXPECT_EQ(countLogLines("Current platform: pc"), 1);
    EXPECT_EQ(countLogLines("Current language: de"), 1);
}

TEST_F(ConfigManagerTest, OptionalValuesTakeTheirDefaults)
{
    struct Case {
        const char* extraFields;
        uint32_t fitType;
        float minimalAspect;
        float zoom;
    };
    const Case cases[] = {
        {"", 0, 1.33f, 1.0f},
        {", fullscreenFitType = 2", 2, 1.33f, 1.0f},
        {", fullscreenFitType = '2', workspaceZoom = 1.5", 2, 1.33f, 1.5f},
        {", fullscreenFitType = 3, workspaceZoom = 1.5", 3, 1.33f, 1.0f},
        {", fullscreenFitType = 'wide', fullscreenMinimalAspect = 1.6", 0, 1.6f, 1.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.extraFields);
        writeContent("config.lua", configWith(std::string(GOOD_PLATFORM) + c.extraFields));
        loadConfig();
        const VQ::Platform& platform = *mConfig->currentPlatform();
        EXPECT_EQ(platform.fullscreenFitType, c.fitType);
        EXPECT_FLOAT_EQ(platform.fullscreenMinimalAspect, c.minimalAspect);
        EXPECT_FLOAT_EQ(platform.workspaceZoom, c.zoom);
        // No language given: "en", and no default language.
        EXPECT_EQ(mConfig->currentLanguage(), "en");
        EXPECT_EQ(mConfig->defaultLanguage(), "");
    }
}

TEST_F(ConfigManagerTest, MissingRequiredValuesStopWithTheirReport)
{
    struct Case {
        std::string script;  // empty: no config.lua at all
        int line;
        const char* description;
    };
    const std::string platformRest = "directories = { 'd' }, resolution = { 1280, 720 }";
    const Case cases[] = {
        {"", 45, "Failed to load config file"},
        {"config = {", 45, "Failed to load config file"},
        {"error('stop')", 45, "Failed to load config file"},
        {"settings = {}", 46, "Failed to open table"},
        {"config = { currentPlatform = 'p' }", 48, ""},
        {"config = { platforms = { 'p' }, currentPlatform = 'p' }", 51, ""},
        {configWith(GOOD_PLATFORM, "currentLanguage = 'en'"), 58, ""},
        {configWith(GOOD_PLATFORM, "currentPlatform = 'q'"), 111, "Failed to find platform with specified name"},
        {configWith(platformRest), 78, ""},
        {configWith("name = 'p', resolution = { 1280, 720 }"), 80, ""},
        {configWith("name = 'p', directories = { 'd' }"), 88, ""},
        {configWith("name = 'p', directories = { 'd' }, resolution = { 1280 }"), 88, ""},
        {configWith("name = 'p', directories = { 'd' }, resolution = { 1280, 'tall' }"), 88, ""},
        {configWith("name = 'p', directories = { 'd' }, resolution = '1280x720'"), 88, ""},
        {configWith("name = 'p', directories = { 'd' }, resolution = { 1280, 0 }"), 88, ""},
        {configWith("name = 'p', directories = { 'd' }, resolution = { -1280, 720 }"), 88, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        std::filesystem::remove(contentPath("config.lua"));
        if (!c.script.empty())
            writeContent("config.lua", c.script);
        VQ::ConfigManager config;
        const VQ::FatalReport report = catchFatal([&] { config.load(); });
        EXPECT_EQ(report.line, c.line);
        EXPECT_EQ(report.file, "config_manager");
        EXPECT_EQ(report.name, "VQ");
        EXPECT_EQ(report.description, c.description);
    }
}

TEST_F(ConfigManagerTest, ShippedConfigurationSelectsThePcPlatform)
{
    std::filesystem::copy(std::string(LANTERRA_SOURCE_DIR) + "/media", mDir.path() + "/media",
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    loadAll();
    const VQ::Platform& platform = *mConfig->currentPlatform();
    EXPECT_EQ(platform.name, "pc");
    EXPECT_EQ(platform.width, 1726);
    EXPECT_EQ(platform.height, 970);
    EXPECT_EQ(mConfig->currentLanguage(), "en");
    // English is the only language: no default language to read it twice.
    EXPECT_EQ(mConfig->defaultLanguage(), "");

    // The platform's own list replaces the common entry.
    VQ::LuaScript2 script;
    ASSERT_TRUE(script.load("content_info_lua", "default"));
    std::string name;
    EXPECT_TRUE(script.getString("platform", name));
    EXPECT_EQ(name, "pc");

    // The shipped content is complete: every listed resource opens.
    for (const char* package : {"default", "en"}) {
        for (const auto& [resource, path] : mFileSystem->filesOfPackage(package)) {
            std::unique_ptr<VQ::File> file(mFileSystem->openFile(package, resource));
            EXPECT_TRUE(file) << package << " / " << resource << " -> " << path;
        }
    }
    for (const std::string& line : logLines())
        EXPECT_EQ(line.rfind("WARNING", 0), std::string::npos) << line;
}
