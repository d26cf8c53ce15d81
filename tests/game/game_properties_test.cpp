#include <gtest/gtest.h>

#include <filesystem>

#include "animationeditor/vector_stream.h"
#include "facebook_message_dispatcher.h"
#include "game_properties.h"
#include "save_file.h"
#include "support/save_fixture.h"
#include "tutorial/tutorial_registry.h"

using namespace TestSupport;
using SaveFixtures::HexText;

namespace {

using Bytes = std::vector<uint8_t>;

// A mode that saves fixed bytes and records what is done to it.
class SavingMode : public Mode, public FacebookMessageListener {
public:
    SavingMode(std::string name, std::vector<std::string>& log) : mName(std::move(name)), mLog(log) {}
    ~SavingMode() override { mLog.push_back(mName + " deleted"); }

    void start() override { mLog.push_back(mName + " start"); }
    void save(AE::DataStream& stream) override { stream.write(mName.data(), uint32_t(mName.size())); }
    void load(AE::DataStream& stream) override
    {
        std::string bytes(size_t(stream.size()), '\0');
        if (!bytes.empty())
            stream.read(bytes.data(), uint32_t(bytes.size()));
        mLog.push_back(mName + " load " + bytes);
    }
    void resetProgress(bool full) override { mLog.push_back(mName + (full ? " reset true" : " reset false")); }
    bool hasLevelBegun() override { return false; }
    bool onMatch(const ChipSelection&) override { return false; }
    bool onBonusSwap(Chip*, Chip*) override { return false; }
    void onMessage(const SocialMessage*) override {}

private:
    std::string mName;
    std::vector<std::string>& mLog;
};

class GamePropertiesTest : public SaveFolderTest {
protected:
    void addMode(GameProperties& properties, const std::string& name)
    {
        properties.modes[name] = std::make_unique<SavingMode>(name, mModeLog);
    }

    // The section names of a profile file, in file order.
    std::vector<std::string> sectionNames(const std::string& file)
    {
        Bytes payload(65536);
        payload.resize(size_t(SaveFile::read(file, payload.data(), 0)));
        std::vector<std::string> names;
        size_t at = 4;
        while (at < payload.size()) {
            std::string name(reinterpret_cast<const char*>(&payload[at]));
            at += name.size() + 1;
            const uint32_t length = payload[at] | payload[at + 1] << 8 | payload[at + 2] << 16 | payload[at + 3] << 24;
            at += 4 + length;
            names.push_back(name);
        }
        return names;
    }

    // A profile file of the given sections, in the given order.
    void writeProfileFile(const std::string& file, const std::vector<std::pair<std::string, Bytes>>& sections,
                          uint32_t count)
    {
        HexText payload;
        payload.u32(count, "count");
        for (const auto& [name, data] : sections) {
            payload.cString(name, "name");
            payload.u32(uint32_t(data.size()), "length");
            payload.field(data, "data");
        }
        writeSaveBytes(file, SaveFixtures::saveFile(payload).bytes());
    }

    bool logContains(const std::string& text) const
    {
        for (const std::string& line : logLines())
            if (line.find(text) != std::string::npos)
                return true;
        return false;
    }

    int countLines(const std::string& prefix) const
    {
        int count = 0;
        for (const std::string& line : logLines())
            count += line.rfind(prefix, 0) == 0;
        return count;
    }

    std::vector<std::string> mModeLog;
};

Bytes richProfileSection()
{
    SaveFixtures::ProfileValues values = SaveFixtures::freshProfile();
    values.silver = 999;
    values.flags = {{"spring:2", "true"}};
    return SaveFixtures::profileSection(10, values).bytes();
}

}  // namespace

TEST_F(GamePropertiesTest, FirstStartReadsNothingAndTheFirstSaveWritesBothFiles)
{
    GameProperties properties;
    EXPECT_EQ(valuesOf(*properties.profile()), SaveFixtures::freshProfile());
    EXPECT_TRUE(std::filesystem::is_empty(saveFolder()));

    EXPECT_TRUE(properties.save());
    EXPECT_EQ(saveBytes("last_profile.dat"), saveFixture("last_profile.dat.hex"));
    EXPECT_EQ(saveBytes("profile_0.dat"), saveFixture("profile_0.dat.hex"));

    // The golden file loads to a fresh profile.
    properties.profile()->gold = 3;
    EXPECT_TRUE(properties.load(0));
    EXPECT_EQ(valuesOf(*properties.profile()), SaveFixtures::freshProfile());
}

TEST_F(GamePropertiesTest, TheProfileSavedLastIsLoadedAtStart)
{
    {
        GameProperties properties;
        properties.profile()->profileId = 42;
        properties.profile()->silver = 777;
        ASSERT_TRUE(properties.save());
    }
    const Bytes last = saveBytes("last_profile.dat");
    EXPECT_EQ(Bytes(last.begin() + 8, last.end()), (Bytes{42, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(std::filesystem::exists(savePath("profile_42.dat")));
    EXPECT_FALSE(std::filesystem::exists(savePath("profile_0.dat")));

    GameProperties restarted;
    EXPECT_EQ(restarted.profile()->profileId, 42u);
    EXPECT_EQ(restarted.profile()->silver, 777);
}

TEST_F(GamePropertiesTest, LastProfileThatIsShortOrDamagedNamesProfileZero)
{
    writeProfileFile("profile_0.dat", {{"profile", richProfileSection()}}, 1);
    HexText shortId;
    shortId.u32(42, "four bytes of an id");
    Bytes damaged = SaveFixtures::saveFile([] {
                        HexText id;
                        id.u64(42, "id");
                        return id;
                    }())
                        .bytes();
    damaged.back() ^= 1;
    for (const Bytes& last : {SaveFixtures::saveFile(shortId).bytes(), damaged}) {
        writeSaveBytes("last_profile.dat", last);
        GameProperties properties;
        EXPECT_EQ(properties.profile()->silver, 999);
    }
}

TEST_F(GamePropertiesTest, SectionsAreWrittenInNameOrderAndReadByName)
{
    GameProperties properties;
    addMode(properties, "Zeta");
    addMode(properties, "MainMode");
    ASSERT_TRUE(properties.save());
    const Bytes first = saveBytes("profile_0.dat");
    ASSERT_TRUE(properties.save());
    EXPECT_EQ(saveBytes("profile_0.dat"), first);
    EXPECT_EQ(sectionNames("profile_0.dat"), (std::vector<std::string>{"MainMode", "Zeta", "profile", "tutorial"}));

    // An unknown section is passed over, a mode without a section keeps its
    // reset progress, a repeated name keeps the later section.
    writeProfileFile("profile_0.dat",
                     {{"Other", {1, 2}}, {"MainMode", {'o', 'l', 'd'}}, {"profile", richProfileSection()},
                      {"MainMode", {'n', 'e', 'w'}}},
                     4);
    mModeLog.clear();
    EXPECT_TRUE(properties.load(0));
    EXPECT_EQ(mModeLog, (std::vector<std::string>{"MainMode reset false", "Zeta reset false", "MainMode load new"}));
    EXPECT_EQ(properties.profile()->silver, 999);
    EXPECT_TRUE(properties.profile()->hasFlag("spring:2"));
}

TEST_F(GamePropertiesTest, LoadResetsEvenWhenNothingCanBeRead)
{
    GameProperties properties;
    addMode(properties, "MainMode");
    properties.profile()->silver = 5;
    properties.profile()->profileId = 8;
    EXPECT_FALSE(properties.load(7));
    EXPECT_EQ(properties.profile()->silver, 350);
    EXPECT_EQ(properties.profile()->profileId, 8u);  // the id only names the file
    EXPECT_EQ(mModeLog, std::vector<std::string>{"MainMode reset false"});

    Bytes damaged = saveFixture("profile_0.dat.hex");
    damaged[20] ^= 1;
    writeSaveBytes("profile_7.dat", damaged);
    properties.profile()->silver = 5;
    EXPECT_FALSE(properties.load(7));
    EXPECT_EQ(properties.profile()->silver, 350);
}

TEST_F(GamePropertiesTest, BrokenSectionTablesKeepWhatWasReadWhole)
{
    GameProperties properties;
    addMode(properties, "MainMode");

    // No "profile" section: the profile keeps its reset values, flags too.
    properties.profile()->flags["old"] = "true";
    properties.profile()->gold = 1;
    writeProfileFile("profile_0.dat", {{"MainMode", {'m'}}}, 1);
    EXPECT_TRUE(properties.load(0));
    EXPECT_EQ(properties.profile()->gold, 20);
    EXPECT_TRUE(properties.profile()->flags.empty());

    // The table announces three sections and breaks off in the second.
    Bytes file = SaveFixtures::saveFile([] {
                     HexText payload;
                     payload.u32(3, "count");
                     payload.cString("MainMode", "name");
                     payload.u32(1, "length");
                     payload.field({'x'}, "data");
                     payload.cString("profile", "name");
                     payload.u32(240, "length");
                     payload.field({10, 0, 0, 0}, "4 of the 240 bytes");
                     return payload;
                 }())
                     .bytes();
    writeSaveBytes("profile_0.dat", file);
    mModeLog.clear();
    const int before = countLines("WARNING: ");
    EXPECT_TRUE(properties.load(0));
    EXPECT_EQ(mModeLog, (std::vector<std::string>{"MainMode reset false", "MainMode load x"}));
    EXPECT_EQ(countLines("WARNING: Save section 'profile_0.dat' ends before"), 1);
    // The profile section is missing as well.
    EXPECT_EQ(countLines("WARNING: ") - before, 2);

    // A count no table could hold ends the read at once.
    writeProfileFile("profile_0.dat", {{"MainMode", {'y'}}}, 0xFFFFFFFF);
    mModeLog.clear();
    EXPECT_TRUE(properties.load(0));
    EXPECT_EQ(mModeLog, std::vector<std::string>{"MainMode reset false"});
}

TEST_F(GamePropertiesTest, ResetsReachTheModesInNameOrder)
{
    GameProperties properties;
    addMode(properties, "b");
    addMode(properties, "a");
    properties.profile()->starPurchases = {{5, 1}};
    properties.profile()->musicVolume = 0.5f;
    properties.profile()->flags["k"] = "true";
    properties.profile()->silver = 1;

    properties.resetProgress();
    EXPECT_EQ(properties.profile()->silver, 350);
    EXPECT_EQ(properties.profile()->starPurchases.size(), 1u);
    EXPECT_EQ(properties.profile()->musicVolume, 0.5f);
    EXPECT_TRUE(properties.profile()->hasFlag("k"));

    properties.newProfile();
    EXPECT_TRUE(properties.profile()->starPurchases.empty());
    EXPECT_EQ(properties.profile()->musicVolume, 0.8f);

    properties.startModes();
    EXPECT_EQ(mModeLog, (std::vector<std::string>{"a reset true", "b reset true", "a reset false", "b reset false",
                                                  "a start", "b start"}));
}

TEST_F(GamePropertiesTest, OnlyTheMainModeJoinsTheSocialMessages)
{
    {
        GameProperties properties;
        addMode(properties, "Other");
        // Without a "MainMode" the message bus is not needed.
        properties.registerMainModeSocialListener();

        FacebookMessageDispatcher dispatcher;
        addMode(properties, "MainMode");
        properties.registerMainModeSocialListener();
        properties.registerMainModeSocialListener();
        ASSERT_EQ(dispatcher.listeners.size(), 1u);
        EXPECT_EQ(dispatcher.listeners[0],
                  dynamic_cast<FacebookMessageListener*>(properties.modes.at("MainMode").get()));
        mModeLog.clear();
    }
    // Modes are deleted in name order.
    EXPECT_EQ(mModeLog, (std::vector<std::string>{"MainMode deleted", "Other deleted"}));
}

TEST_F(GamePropertiesTest, FailedProfileWriteIsReported)
{
    GameProperties properties;
    std::filesystem::create_directories(savePath("profile_0.dat/x"));
    EXPECT_FALSE(properties.save());
    EXPECT_EQ(countLines("ERROR: Save file '" + savePath("profile_0.dat") + "' not written: "), 1);
    EXPECT_TRUE(std::filesystem::exists(savePath("last_profile.dat")));
}

TEST_F(GamePropertiesTest, TutorialSectionIsReadToItsEnd)
{
    Bytes saved;
    {
        AE::VectorStream stream(saved);
        TutorialRegistry::instance()->save(stream);
    }
    EXPECT_EQ(saved, (Bytes{0, 0, 0, 0}));

    struct Case {
        const char* what;
        Bytes section;
        int warnings;
    };
    const Case cases[] = {
        {"entries naming no sequence", {2, 0, 0, 0, 'a', 0, 4, 0, 0, 0, 1, 0, 0, 0, 'b', 0, 0, 0, 0, 0}, 0},
        {"a blob longer than the section", {1, 0, 0, 0, 'a', 0, 200, 0, 0, 0, 1}, 1},
        {"a name without its end", {1, 0, 0, 0, 'a', 'b', 'c'}, 1},
        {"a count no section could hold", {0xFF, 0xFF, 0xFF, 0x7F}, 1},
        {"nothing", {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int before = countLines("WARNING: Save section 'tutorial'");
        Bytes section = c.section;
        AE::VectorStream stream(section);
        TutorialRegistry::instance()->load(stream);
        EXPECT_EQ(countLines("WARNING: Save section 'tutorial'") - before, c.warnings);
    }
}

// Without a readable "last_profile.dat" the game still loads profile 0 (and
// says why), so its next save cannot wipe the player's profile.
TEST_F(GamePropertiesTest, AMissingOrUnreadableLastProfileLoadsProfileZero)
{
    for (const char* kind : {"missing", "empty", "folder"}) {
        SCOPED_TRACE(kind);
        writeProfileFile("profile_0.dat", {{"profile", richProfileSection()}}, 1);
        std::filesystem::remove_all(savePath("last_profile.dat"));
        if (std::string(kind) == "empty")
            writeSaveBytes("last_profile.dat", {});
        else if (std::string(kind) == "folder")
            std::filesystem::create_directory(savePath("last_profile.dat"));
        {
            GameProperties properties;
            EXPECT_EQ(properties.profile()->silver, 999);
            EXPECT_TRUE(properties.save());
        }
        EXPECT_TRUE(logContains("WARNING: Save file '" + savePath("last_profile.dat") +
                                "' is missing or unreadable; profile 0 is loaded"));
        GameProperties restarted;
        EXPECT_EQ(restarted.profile()->silver, 999) << "the save kept the player's profile";
    }
}

// A profile file that fails its checks says why when it is loaded and is
// kept as "<name>.bad" (replacing an older copy) before the first save over
// it; later saves write over the new file only.
TEST_F(GamePropertiesTest, ARejectedProfileIsKeptAsBadBeforeTheFirstSaveOverIt)
{
    Bytes damaged = saveFixture("profile_0.dat.hex");
    damaged[20] ^= 1;
    HexText negative;
    negative.u32(1, "count");
    negative.cString("profile", "name");
    const Bytes section = SaveFixtures::profileSection(-3, SaveFixtures::freshProfile()).bytes();
    negative.u32(uint32_t(section.size()), "length");
    negative.field(section, "data");
    struct Case {
        const char* name;
        Bytes bytes;
        bool folder;
        const char* reason;
    };
    const Case cases[] = {
        {"empty", {}, false, "0 bytes is not the size of a save file"},
        {"over-size", Bytes(SaveFile::MAX_PAYLOAD_BYTES + 9, 1), false, "is not the size of a save file"},
        {"damaged", damaged, false, "its checksum does not match"},
        {"negative version", SaveFixtures::saveFile(negative).bytes(), false, "version -3 was never written"},
        {"folder", {}, true, "it is not a file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(savePath("profile_0.dat"));
        std::filesystem::remove_all(savePath("last_profile.dat"));
        writeSaveBytes("profile_0.dat.bad", {7, 7});
        if (c.folder)
            std::filesystem::create_directory(savePath("profile_0.dat"));
        else
            writeSaveBytes("profile_0.dat", c.bytes);
        GameProperties properties;
        EXPECT_TRUE(logContains(c.reason));
        EXPECT_EQ(properties.profile()->silver, 350);
        ASSERT_TRUE(properties.save());
        EXPECT_TRUE(logContains("WARNING: Save file '" + savePath("profile_0.dat") + "' failed its checks; kept as '" +
                                savePath("profile_0.dat.bad") + "'"));
        if (c.folder) {
            EXPECT_TRUE(std::filesystem::is_directory(savePath("profile_0.dat.bad")));
        } else {
            EXPECT_EQ(saveBytes("profile_0.dat.bad"), c.bytes);
        }
        properties.profile()->silver = 400;
        ASSERT_TRUE(properties.save());
        if (!c.folder) {
            EXPECT_EQ(saveBytes("profile_0.dat.bad"), c.bytes) << "the second save moves nothing";
        }
        GameProperties restarted;
        EXPECT_EQ(restarted.profile()->silver, 400);
    }
}

// Saves killed half-way leave "<file>.tmp-<pid>"; the next start removes
// them (and nothing else) and logs each.
TEST_F(GamePropertiesTest, TemporaryFilesOfUnfinishedSavesAreRemovedAtStart)
{
    writeSaveBytes("profile_0.dat.tmp-1234", {1});
    writeSaveBytes("facebook_data.dat.tmp-99", {1});
    writeSaveBytes("notes.tmp-x", {1});
    writeSaveBytes("tmp-5", {1});
    GameProperties properties;
    EXPECT_FALSE(std::filesystem::exists(savePath("profile_0.dat.tmp-1234")));
    EXPECT_FALSE(std::filesystem::exists(savePath("facebook_data.dat.tmp-99")));
    EXPECT_TRUE(std::filesystem::exists(savePath("notes.tmp-x")));
    EXPECT_TRUE(std::filesystem::exists(savePath("tmp-5")));
    EXPECT_TRUE(logContains("WARNING: Removed '" + savePath("profile_0.dat.tmp-1234") +
                            "', left by a save that did not finish"));
}
