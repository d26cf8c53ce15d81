#include <gtest/gtest.h>

#include "platform_config.h"
#include "support/content_fixture.h"

using namespace TestSupport;

namespace {

class PlatformConfigTest : public ContentTest {
protected:
    void SetUp() override
    {
        ContentTest::SetUp();
        writeContent("config.lua",
                     "config = { platforms = { { name = \"pc\", directories = { \"common\" }, resolution = { 800, "
                     "600 } } }, currentPlatform = \"pc\" }\n");
        writeContent("filelist.lua", "directories = { common = { { \"lists/all.lua\" } } }\n");
        writeContent("lists/all.lua",
                     "name = \"default\"\nfilelist = { { name = \"platform_config_lua\", filename = "
                     "\"platform_config.lua\" } }\n");
        loadAll();
    }

    std::unique_ptr<PlatformConfig> load(const std::string& script)
    {
        writeContent("platform_config.lua", script);
        return std::make_unique<PlatformConfig>();
    }
};

}  // namespace

TEST_F(PlatformConfigTest, ReadsCodeAndModesInOrder)
{
    auto config = load(
        "platformCode = \"3\"\n"
        "modes = {\n"
        "  { class = \"MainMode\", params = { { key = \"suffix\", val = \"_a\" }, { key = \"suffix\", val = \"_b\" },\n"
        "                                  { key = \"other\", val = 7 } } },\n"
        "  { class = 5 },\n"
        "  { params = { { val = \"x\" } } },\n"
        "}\n");
    EXPECT_EQ(config->platformCode, 3);
    ASSERT_EQ(config->modes.size(), 3u);
    EXPECT_EQ(config->modes[0].className, "MainMode");
    EXPECT_EQ(config->modes[0].params.at("suffix"), "_b");
    EXPECT_EQ(config->modes[0].params.at("other"), "7");
    EXPECT_EQ(config->modes[1].className, "5");
    EXPECT_TRUE(config->modes[1].params.empty());
    EXPECT_EQ(config->modes[2].className, "");
    EXPECT_EQ(config->modes[2].params.at(""), "x");
    EXPECT_EQ(PlatformConfig::instance(), config.get());
}

TEST_F(PlatformConfigTest, CodeOtherThanANumberReadsZero)
{
    for (const char* value : {"true", "\"three\"", "nil"}) {
        auto config = load(std::string("platformCode = ") + value + "\nmodes = {}\n");
        EXPECT_EQ(config->platformCode, 0) << value;
        EXPECT_TRUE(config->modes.empty());
    }
}

TEST_F(PlatformConfigTest, MissingModesIsAWarning)
{
    auto config = load("platformCode = 2\n");
    EXPECT_EQ(config->platformCode, 2);
    EXPECT_TRUE(config->modes.empty());
    EXPECT_EQ(countLogLines("WARNING: platform_config_lua has no table \"modes\"; the game has no mode"), 1);
}

TEST_F(PlatformConfigTest, ScriptThatDoesNotRunIsFatal)
{
    writeContent("platform_config.lua", "modes = {\n");
    const VQ::FatalReport report = catchFatal([] { PlatformConfig config; });
    EXPECT_EQ(report.file, "platform_config");
    EXPECT_NE(report.description.find("Failed to load platform_config_lua"), std::string::npos);
}
