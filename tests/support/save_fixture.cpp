#include "support/save_fixture.h"

#include <cstdlib>
#include <filesystem>

#include "game_time.h"
#include "save_fixtures_core.h"

namespace TestSupport {

namespace {

int64_t readNow()
{
    return SaveFolderTest::now();
}

}  // namespace

int64_t& SaveFolderTest::now()
{
    static int64_t value = SaveFixtures::FIXED_NOW;
    return value;
}

void SaveFolderTest::SetUp()
{
    ContentTest::SetUp();
    if (const char* old = getenv("XDG_DATA_HOME")) {
        mHadDataHome = true;
        mOldDataHome = old;
    }
    setenv("XDG_DATA_HOME", (mDir.path() + "/data").c_str(), 1);
    now() = SaveFixtures::FIXED_NOW;
    setTimeSource(readNow);
    mFileSystem->filesOfPackage("default")["platform_config_lua"] = "platform_config.lua";
    usePlatform(0);
}

void SaveFolderTest::TearDown()
{
    mPlatformConfig.reset();
    setTimeSource(nullptr);
    if (mHadDataHome)
        setenv("XDG_DATA_HOME", mOldDataHome.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
    ContentTest::TearDown();
}

void SaveFolderTest::usePlatform(int code, const std::string& modes)
{
    mPlatformConfig.reset();
    writeContent("platform_config.lua", "platformCode = " + std::to_string(code) + "\nmodes = " + modes + "\n");
    mPlatformConfig = std::make_unique<PlatformConfig>();
}

std::vector<uint8_t> SaveFolderTest::saveBytes(const std::string& name) const
{
    const std::string text = readFile(savePath(name));
    return std::vector<uint8_t>(text.begin(), text.end());
}

void SaveFolderTest::writeSaveBytes(const std::string& name, const std::vector<uint8_t>& bytes) const
{
    std::filesystem::create_directories(saveFolder());
    writeFile(savePath(name), std::string(bytes.begin(), bytes.end()));
}

std::vector<uint8_t> saveFixture(const std::string& name)
{
    std::vector<uint8_t> bytes;
    if (!SaveFixtures::parseHex(readFile(fixturePath("saves/" + name)), bytes))
        ADD_FAILURE() << "tests/fixtures/saves/" << name << " is not hex";
    return bytes;
}

}  // namespace TestSupport
