#pragma once
// The player's record: the two currencies, stars, the bonus inventory and
// unlocks, the booster choices, the window and sound settings, time stamps,
// counters and one-time flags. There is one, owned by GameProperties; it is
// written as the "profile" section of the profile file (version 10) and
// read back from every older version.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace AE {
class DataStream;
}

// A count with a time (seconds since 1970, UTC); 16 bytes when saved, the
// 4 between the two being reserved (written as zeros, ignored when read).
struct TimedCounter {
    int32_t count = 0;
    int64_t time = 0;
    bool operator==(const TimedCounter&) const = default;
};

// A friend asked for a life, and when. Never saved.
struct FriendRequestEntry {
    uint64_t friendId = 0;
    int64_t time = 0;
};

class PlayerProfile {
public:
    static constexpr uint32_t SECTION_VERSION = 10;
    static constexpr int32_t START_GOLD = 20;
    static constexpr int32_t START_SILVER = 350;
    static constexpr float START_VOLUME = 0.8f;
    static constexpr int64_t SECONDS_PER_DAY = 86400;

    // Fully reset, created now.
    PlayerProfile();
    ~PlayerProfile();
    PlayerProfile(const PlayerProfile&) = delete;
    PlayerProfile& operator=(const PlayerProfile&) = delete;

    // The "profile" section, version 10.
    void save(AE::DataStream& stream) const;
    // Reads a "profile" section of any version from the stream (which holds
    // the section to its end). Fields the version does not hold keep their
    // values; a section that ends early keeps what was read before the end.
    // False only for a section whose version no game wrote (negative),
    // which is logged; a section that breaks off keeps what it read.
    bool load(AE::DataStream& stream);

    // For a new profile: progress, star purchases, settings, counters.
    void reset();
    // The options' progress reset: currencies, stars of levels, bonuses and
    // unlocks; star purchases, settings and flags stay.
    void resetProgress();

    // Never below 0; the progress is saved at once.
    void setGold(int value);
    void setSilver(int value);
    // Store the volume and apply it to its sound groups (music: groups 1 and
    // 2; sounds: group 0) while the audio device is open.
    void setMusicVolume(float volume);
    void setSoundVolume(float volume);

    // Records a bought star pack and saves.
    void addStarPurchase(int stars, int64_t time);
    int totalStars() const;
    void unlockBonus(int kind);
    // Also marks the booster new for its tutorial lesson, when it was not
    // unlocked yet.
    void unlockPassiveBonus(int kind);
    bool isBonusUnlocked(int kind) const;
    bool hasFlag(const std::string& key) const;
    // Whole UTC days from the day of creation to today; 0 when the clock
    // reads earlier than the creation.
    int64_t daysSinceCreation() const;

    FriendRequestEntry* findFriendEntry(uint64_t friendId) const;
    void clearFriendEntries();

    uint8_t wasReset = 0;
    uint64_t profileId = 0;  // 0: not bound to a social user
    int32_t gold = START_GOLD;
    int32_t silver = START_SILVER;
    int32_t levelStars = 0;
    std::vector<TimedCounter> starPurchases;
    std::array<uint8_t, 3> passiveBonusArmed{};  // per PassiveBonusKind
    std::array<int32_t, 4> bonusCounts{};        // per BonusKind
    uint8_t levelWon = 0;
    std::vector<int32_t> unlockedBonuses;
    std::vector<int32_t> unlockedPassiveBonuses;
    uint8_t fullscreen = 1;  // the wanted window form
    uint8_t gameCursor = 1;  // the game draws its own cursor
    float musicVolume = START_VOLUME;
    float soundVolume = START_VOLUME;
    std::vector<std::unique_ptr<FriendRequestEntry>> friendEntries;
    int64_t createdAt = 0;
    uint64_t goldPurchaseCounter = 0;
    uint64_t reserved = 0;
    int64_t bonusDayStart = 0;
    int32_t everydayBonusDay = 0;
    int32_t launchCount = 0;
    uint8_t newPassiveBonus = 0;
    std::array<TimedCounter, 3> passiveBonusPurchases;
    std::array<TimedCounter, 4> bonusPurchases;
    std::map<std::string, std::string> flags;
};

// The decimal text of an id, as profile file names carry it.
std::string formatU64(uint64_t value);
bool isZeroId(uint64_t value);
