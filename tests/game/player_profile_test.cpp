#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>

#include "game_properties.h"
#include "progress_saver.h"
#include "save_fixtures_core.h"
#include "support/save_fixture.h"

using namespace TestSupport;
using SaveFixtures::ProfileValues;

namespace {

using Bytes = std::vector<uint8_t>;

// A value in every field that no fixture writes, so that a field a section
// does not hold is seen to keep it.
ProfileValues sentinel()
{
    ProfileValues v;
    v.profileId = 9999;
    v.fullscreen = 7;
    v.gameCursor = 7;
    v.musicVolume = 0.125f;
    v.soundVolume = 0.125f;
    v.gold = 1;
    v.silver = 2;
    v.levelStars = 3;
    v.armed = {5, 5, 5};
    v.bonus = {6, 6, 6, 6};
    v.levelWon = 9;
    v.unlockedBonuses = {8};
    v.unlockedPassiveBonuses = {8};
    v.starPurchases = {{77, 77}};
    v.wasReset = 9;
    v.createdAt = 111;
    v.bonusDayStart = 222;
    v.everydayBonusDay = 4;
    v.launchCount = 333;
    v.newPassiveBonus = 9;
    v.passiveBonusPurchases = {{11, 11}, {12, 12}, {13, 13}};
    v.bonusPurchases = {{21, 21}, {22, 22}, {23, 23}, {24, 24}};
    v.goldPurchaseCounter = 444;
    v.flags = {{"old", "x"}};
    v.reserved = 555;
    return v;
}

// What a section of `version` holding `w` leaves in a profile that held
// `e`, by the table of fields per version.
ProfileValues expectedAfterLoad(int32_t version, const ProfileValues& w, ProfileValues e)
{
    e.flags.clear();
    if (version < 0)
        return e;
    e.profileId = w.profileId;
    e.fullscreen = w.fullscreen;
    e.gameCursor = w.gameCursor;
    e.musicVolume = w.musicVolume;
    e.soundVolume = w.soundVolume;
    e.gold = w.gold;
    e.silver = w.silver;
    e.levelStars = w.levelStars;
    if (version >= 10) {
        for (size_t i = 0; i < std::min<size_t>(3, w.armed.size()); ++i)
            e.armed[i] = w.armed[i];
        for (size_t i = 0; i < std::min<size_t>(4, w.bonus.size()); ++i)
            e.bonus[i] = w.bonus[i];
    } else {
        e.armed[0] = w.armed[1];
        e.armed[1] = w.armed[2];
        for (size_t i = 0; i < 3; ++i)
            e.bonus[i] = w.bonus[i + 1] != 0 ? 1 : 0;
    }
    e.levelWon = w.levelWon;
    e.unlockedBonuses = w.unlockedBonuses;
    e.unlockedPassiveBonuses = w.unlockedPassiveBonuses;
    e.starPurchases = w.starPurchases;
    if (version >= 1)
        e.wasReset = w.wasReset;
    if (version >= 2)
        e.createdAt = w.createdAt;
    if (version >= 3) {
        e.bonusDayStart = w.bonusDayStart;
        e.everydayBonusDay = w.everydayBonusDay;
    }
    if (version >= 4)
        e.launchCount = w.launchCount;
    if (version >= 5)
        e.newPassiveBonus = w.newPassiveBonus;
    if (version >= 6) {
        for (size_t i = 0; i < std::min<size_t>(3, w.passiveBonusPurchases.size()); ++i)
            e.passiveBonusPurchases[i] = w.passiveBonusPurchases[i];
        for (size_t i = 0; i < std::min<size_t>(4, w.bonusPurchases.size()); ++i)
            e.bonusPurchases[i] = w.bonusPurchases[i];
    }
    if (version >= 7)
        e.goldPurchaseCounter = w.goldPurchaseCounter;
    if (version >= 8) {
        std::map<std::string, std::string> flags;
        for (const auto& [key, value] : w.flags)
            flags[key] = value;
        e.flags.assign(flags.begin(), flags.end());
    }
    if (version >= 9)
        e.reserved = w.reserved;
    return e;
}

class PlayerProfileTest : public SaveFolderTest {
protected:
    int warnings() const
    {
        const auto lines = logLines();
        return int(std::count_if(lines.begin(), lines.end(),
                                 [](const std::string& line) { return line.rfind("WARNING: ", 0) == 0; }));
    }
};

}  // namespace

TEST_F(PlayerProfileTest, FreshProfileWritesTheGoldenSection)
{
    PlayerProfile profile;
    EXPECT_EQ(valuesOf(profile), SaveFixtures::freshProfile());
    const Bytes golden = saveFixture("profile_v10_fresh.hex");
    EXPECT_EQ(golden.size(), 240u);
    EXPECT_EQ(savedSection(profile), golden);
}

TEST_F(PlayerProfileTest, EveryVersionLoadsItsFieldsAndSavesTheCurrentForm)
{
    struct Case {
        std::string fixture;
        int32_t version;
        ProfileValues written;
    };
    std::vector<Case> cases = {{"profile_v10_fresh.hex", 10, SaveFixtures::freshProfile()},
                               {"profile_v10_long_lists.hex", 10, SaveFixtures::longListValues()}};
    for (int32_t version = 0; version <= 9; ++version)
        cases.push_back({"profile_v" + std::to_string(version) + ".hex", version,
                         SaveFixtures::olderVersionValues(version)});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        PlayerProfile profile;
        assignValues(profile, sentinel());
        loadSection(profile, saveFixture(c.fixture));
        const ProfileValues expected = expectedAfterLoad(c.version, c.written, sentinel());
        EXPECT_EQ(valuesOf(profile), expected);
        EXPECT_EQ(savedSection(profile), SaveFixtures::profileSection(10, expected).bytes());
    }
    EXPECT_EQ(warnings(), 0);
}

TEST_F(PlayerProfileTest, OlderVersionsEdgeCases)
{
    PlayerProfile v9;
    loadSection(v9, saveFixture("profile_v9.hex"));
    // Booster bytes 7, 1, 1: the first is passed over, entry 2 keeps 0.
    EXPECT_EQ(v9.passiveBonusArmed, (std::array<uint8_t, 3>{1, 1, 0}));
    // Bonus bytes 9, 5, 0, 1: 5 counts as one owned, entry 3 keeps 0.
    EXPECT_EQ(v9.bonusCounts, (std::array<int32_t, 4>{1, 0, 1, 0}));
    EXPECT_EQ(v9.flags, (std::map<std::string, std::string>{{"MoneyHasBeenIssued:CometBonus", "true"},
                                                            {"spring:2", "yes"}}));

    PlayerProfile v7;
    v7.reserved = 31;
    v7.flags["kept?"] = "true";
    loadSection(v7, saveFixture("profile_v7.hex"));
    EXPECT_TRUE(v7.flags.empty());
    EXPECT_EQ(v7.reserved, 31u);

    PlayerProfile v10;
    loadSection(v10, saveFixture("profile_v10_long_lists.hex"));
    EXPECT_EQ(v10.passiveBonusArmed, (std::array<uint8_t, 3>{1, 0, 1}));
    EXPECT_EQ(v10.bonusCounts, (std::array<int32_t, 4>{4, 0, 2, 7}));
    EXPECT_EQ(v10.levelWon, 1);  // the stream stayed aligned after the lists
    EXPECT_EQ(v10.reserved, 0x1122334455667788ull);
}

TEST_F(PlayerProfileTest, VersionsOutsideTheTable)
{
    Bytes section = saveFixture("profile_v10_fresh.hex");
    // Above 10 reads like 10.
    section[0] = 11;
    PlayerProfile newer;
    newer.gold = 5;
    loadSection(newer, section);
    EXPECT_EQ(valuesOf(newer), SaveFixtures::freshProfile());

    // A negative version holds no field: only the flags are emptied, and the
    // section is refused with its reason.
    section[0] = 0xFF;
    section[1] = section[2] = section[3] = 0xFF;
    PlayerProfile older;
    assignValues(older, sentinel());
    EXPECT_FALSE(loadSection(older, section));
    EXPECT_EQ(valuesOf(older), expectedAfterLoad(-1, {}, sentinel()));
    EXPECT_EQ(warnings(), 1);
}

TEST_F(PlayerProfileTest, SectionThatEndsEarlyKeepsWhatWasRead)
{
    const Bytes full = saveFixture("profile_v9.hex");
    const ProfileValues written = SaveFixtures::olderVersionValues(9);
    const ProfileValues whole = expectedAfterLoad(9, written, sentinel());
    for (size_t length = 0; length < full.size(); ++length) {
        SCOPED_TRACE(length);
        PlayerProfile profile;
        assignValues(profile, sentinel());
        const int before = warnings();
        loadSection(profile, Bytes(full.begin(), full.begin() + length));
        EXPECT_EQ(warnings(), before + 1);
        const ProfileValues loaded = valuesOf(profile);
        // Every field is either the sentinel or its loaded value; lists are
        // replaced whole or not at all.
        EXPECT_TRUE(loaded.gold == sentinel().gold || loaded.gold == whole.gold);
        EXPECT_TRUE(loaded.starPurchases == sentinel().starPurchases || loaded.starPurchases == whole.starPurchases);
        EXPECT_TRUE(loaded.unlockedBonuses == sentinel().unlockedBonuses ||
                    loaded.unlockedBonuses == whole.unlockedBonuses);
        EXPECT_NE(loaded.reserved, whole.reserved);
    }
    // Cut right after the silver: the fields before it are read.
    PlayerProfile cut;
    assignValues(cut, sentinel());
    loadSection(cut, Bytes(full.begin(), full.begin() + 30));
    EXPECT_EQ(cut.gold, written.gold);
    EXPECT_EQ(cut.silver, written.silver);
    EXPECT_EQ(cut.levelStars, sentinel().levelStars);
    EXPECT_EQ(logLines().back(), "WARNING: Save section 'profile' ends before the data it announces; the rest of "
                                 "it is not read");
}

TEST_F(PlayerProfileTest, CountsTheSectionCannotHoldEndTheRead)
{
    // The count of unlocked bonuses sits at byte 62 of the fresh section.
    for (uint32_t forged : {0xFFFFFFFFu, 0x40000000u, 49u}) {
        SCOPED_TRACE(forged);
        Bytes section = saveFixture("profile_v10_fresh.hex");
        for (int i = 0; i < 4; ++i)
            section[62 + i] = uint8_t(forged >> (8 * i));
        PlayerProfile profile;
        profile.unlockedBonuses = {3};
        loadSection(profile, section);
        EXPECT_EQ(profile.unlockedBonuses, std::vector<int32_t>{3});
        EXPECT_EQ(profile.levelWon, 0);
    }
}

TEST_F(PlayerProfileTest, ResetsKeepWhatTheyShould)
{
    PlayerProfile profile;
    assignValues(profile, sentinel());
    profile.profileId = 0;
    profile.resetProgress();
    ProfileValues progress = sentinel();
    progress.profileId = 0;
    progress.levelStars = 0;
    progress.silver = 350;
    progress.gold = 20;
    progress.armed = {0, 0, 0};
    progress.bonus = {0, 0, 0, 0};
    progress.levelWon = 0;
    progress.unlockedBonuses.clear();
    progress.unlockedPassiveBonuses.clear();
    progress.bonusDayStart = SaveFixtures::FIXED_NOW - SaveFixtures::FIXED_NOW % 86400;
    progress.everydayBonusDay = 0;
    progress.newPassiveBonus = 0;
    EXPECT_EQ(valuesOf(profile), progress);  // wasReset kept: the id is 0
    EXPECT_EQ(profile.totalStars(), 77);     // the star purchases stay

    profile.wasReset = 0;
    profile.profileId = 5;
    profile.resetProgress();
    EXPECT_EQ(profile.wasReset, 1);

    assignValues(profile, sentinel());
    profile.friendEntries.push_back(std::make_unique<FriendRequestEntry>(FriendRequestEntry{8, 9}));
    profile.reset();
    ProfileValues full = SaveFixtures::freshProfile();
    full.profileId = 9999;
    full.wasReset = 1;
    full.createdAt = 111;
    full.goldPurchaseCounter = 444;
    full.flags = {{"old", "x"}};
    EXPECT_EQ(valuesOf(profile), full);
    EXPECT_TRUE(profile.friendEntries.empty());
}

TEST_F(PlayerProfileTest, SettersAndUnlocks)
{
    createSavers();
    PlayerProfile& profile = this->profile();
    struct Case {
        int value;
        int32_t stored;
    };
    for (const Case& c : {Case{-5, 0}, Case{0, 0}, Case{17, 17}, Case{INT_MIN, 0}}) {
        profile.setSilver(c.value);
        profile.setGold(c.value);
        EXPECT_EQ(profile.silver, c.stored);
        EXPECT_EQ(profile.gold, c.stored);
    }
    // Each setter saves at once: the file holds the last values.
    profile.setSilver(31);
    profile.silver = 1;
    ASSERT_TRUE(mProperties->load(0));
    EXPECT_EQ(profile.silver, 31);
    EXPECT_EQ(profile.gold, 0);

    profile.unlockPassiveBonus(1);
    EXPECT_EQ(profile.newPassiveBonus, 1);
    profile.newPassiveBonus = 0;
    profile.unlockPassiveBonus(1);
    EXPECT_EQ(profile.newPassiveBonus, 0);
    EXPECT_EQ(profile.unlockedPassiveBonuses, std::vector<int32_t>{1});
    profile.unlockBonus(2);
    profile.unlockBonus(2);
    profile.unlockBonus(0);
    EXPECT_EQ(profile.unlockedBonuses, (std::vector<int32_t>{2, 0}));
    EXPECT_TRUE(profile.isBonusUnlocked(0));
    EXPECT_FALSE(profile.isBonusUnlocked(1));

    profile.levelStars = 4;
    profile.addStarPurchase(5, 1234);
    EXPECT_EQ(profile.totalStars(), 9);
    mProperties->profile()->levelStars = 0;
    ASSERT_TRUE(mProperties->load(0));
    EXPECT_EQ(mProperties->profile()->starPurchases, (std::vector<TimedCounter>{{5, 1234}}));
    EXPECT_EQ(mProperties->profile()->levelStars, 4);

    EXPECT_EQ(profile.findFriendEntry(3), nullptr);
    profile.friendEntries.push_back(std::make_unique<FriendRequestEntry>(FriendRequestEntry{3, 10}));
    ASSERT_NE(profile.findFriendEntry(3), nullptr);
    EXPECT_EQ(profile.findFriendEntry(3)->time, 10);
}

TEST_F(PlayerProfileTest, DaysCountFromUtcMidnight)
{
    constexpr int64_t midnight = 1699920000;  // 2023-11-14 00:00:00 UTC
    struct Case {
        int64_t created;
        int64_t now;
        int64_t days;
    };
    for (const Case& c : {
             Case{midnight + 86399, midnight + 86399, 0},  // created a second before midnight
             Case{midnight + 86399, midnight + 86400, 1},
             Case{midnight, midnight + 86399, 0},
             Case{midnight, midnight + 86400, 1},
             Case{midnight + 5, midnight + 3 * 86400 + 4, 3},
             Case{midnight + 86400, midnight, 0},  // the clock went back
         }) {
        SCOPED_TRACE(c.now - c.created);
        PlayerProfile profile;
        profile.createdAt = c.created;
        now() = c.now;
        EXPECT_EQ(profile.daysSinceCreation(), c.days);
    }
}

TEST(ProfileIds, FormatAndZero)
{
    EXPECT_EQ(formatU64(0), "0");
    EXPECT_EQ(formatU64(42), "42");
    EXPECT_EQ(formatU64(UINT64_MAX), "18446744073709551615");
    EXPECT_TRUE(isZeroId(0));
    EXPECT_FALSE(isZeroId(1));
}
