#include "support/save_fixture.h"

#include <cstdlib>
#include <filesystem>

#include "animationeditor/vector_stream.h"
#include "game_time.h"
#include "tutorial/tutorial_registry.h"

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
    useDataHome(mDir.path() + "/data");
    now() = SaveFixtures::FIXED_NOW;
    setTimeSource(readNow);
    mFileSystem->filesOfPackage("default")["platform_config_lua"] = "platform_config.lua";
    usePlatform(0);
}

void SaveFolderTest::useDataHome(const std::string& path)
{
    mDataHome = path;
    setenv("XDG_DATA_HOME", path.c_str(), 1);
}

void SaveFolderTest::createSavers()
{
    mProperties = std::make_unique<GameProperties>();
    mSaver = std::make_unique<ProgressSaver>();
    mRemote = std::make_unique<RemoteStorage>();
}

void SaveFolderTest::TearDown()
{
    mRemote.reset();
    mSaver.reset();
    mProperties.reset();
    TutorialRegistry::destroy();
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

SaveFixtures::ProfileValues valuesOf(const PlayerProfile& p)
{
    SaveFixtures::ProfileValues v;
    v.profileId = p.profileId;
    v.fullscreen = p.fullscreen;
    v.gameCursor = p.gameCursor;
    v.musicVolume = p.musicVolume;
    v.soundVolume = p.soundVolume;
    v.gold = p.gold;
    v.silver = p.silver;
    v.levelStars = p.levelStars;
    v.armed.assign(p.passiveBonusArmed.begin(), p.passiveBonusArmed.end());
    v.bonus.assign(p.bonusCounts.begin(), p.bonusCounts.end());
    v.levelWon = p.levelWon;
    v.unlockedBonuses = p.unlockedBonuses;
    v.unlockedPassiveBonuses = p.unlockedPassiveBonuses;
    for (const TimedCounter& c : p.starPurchases)
        v.starPurchases.push_back({c.count, c.time});
    v.wasReset = p.wasReset;
    v.createdAt = p.createdAt;
    v.bonusDayStart = p.bonusDayStart;
    v.everydayBonusDay = p.everydayBonusDay;
    v.launchCount = p.launchCount;
    v.newPassiveBonus = p.newPassiveBonus;
    for (const TimedCounter& c : p.passiveBonusPurchases)
        v.passiveBonusPurchases.push_back({c.count, c.time});
    for (const TimedCounter& c : p.bonusPurchases)
        v.bonusPurchases.push_back({c.count, c.time});
    v.goldPurchaseCounter = p.goldPurchaseCounter;
    v.flags.assign(p.flags.begin(), p.flags.end());
    v.reserved = p.reserved;
    return v;
}

void assignValues(PlayerProfile& p, const SaveFixtures::ProfileValues& v)
{
    p.profileId = v.profileId;
    p.fullscreen = v.fullscreen;
    p.gameCursor = v.gameCursor;
    p.musicVolume = v.musicVolume;
    p.soundVolume = v.soundVolume;
    p.gold = v.gold;
    p.silver = v.silver;
    p.levelStars = v.levelStars;
    for (size_t i = 0; i < p.passiveBonusArmed.size(); ++i)
        p.passiveBonusArmed[i] = static_cast<uint8_t>(v.armed.at(i));
    for (size_t i = 0; i < p.bonusCounts.size(); ++i)
        p.bonusCounts[i] = v.bonus.at(i);
    p.levelWon = v.levelWon;
    p.unlockedBonuses = v.unlockedBonuses;
    p.unlockedPassiveBonuses = v.unlockedPassiveBonuses;
    p.starPurchases.clear();
    for (const SaveFixtures::Counter& c : v.starPurchases)
        p.starPurchases.push_back({c.count, c.time});
    p.wasReset = v.wasReset;
    p.createdAt = v.createdAt;
    p.bonusDayStart = v.bonusDayStart;
    p.everydayBonusDay = v.everydayBonusDay;
    p.launchCount = v.launchCount;
    p.newPassiveBonus = v.newPassiveBonus;
    for (size_t i = 0; i < p.passiveBonusPurchases.size(); ++i)
        p.passiveBonusPurchases[i] = {v.passiveBonusPurchases.at(i).count, v.passiveBonusPurchases.at(i).time};
    for (size_t i = 0; i < p.bonusPurchases.size(); ++i)
        p.bonusPurchases[i] = {v.bonusPurchases.at(i).count, v.bonusPurchases.at(i).time};
    p.goldPurchaseCounter = v.goldPurchaseCounter;
    p.flags.clear();
    for (const auto& [key, value] : v.flags)
        p.flags[key] = value;
    p.reserved = v.reserved;
}

std::vector<uint8_t> savedSection(const PlayerProfile& profile)
{
    std::vector<uint8_t> bytes;
    AE::VectorStream stream(bytes);
    profile.save(stream);
    return bytes;
}

bool loadSection(PlayerProfile& profile, std::vector<uint8_t> bytes)
{
    AE::VectorStream stream(bytes);
    return profile.load(stream);
}

}  // namespace TestSupport
