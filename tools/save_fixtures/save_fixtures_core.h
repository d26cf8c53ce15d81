#pragma once
// The values and the byte layout of the save-file fixtures. Every field is
// written here as the saved form lays it out (little-endian, unaligned,
// counted lists, NUL-terminated names), with a comment per field, so the
// committed hex files can be read and checked by eye.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace SaveFixtures {

struct Counter {
    int32_t count = 0;
    int64_t time = 0;
    bool operator==(const Counter&) const = default;
};

// The saved fields of a profile. `armed` and `bonus` hold what the section
// lists: 3 and 4 entries in the current form, the raw bytes of the older
// form (3 and 4 bytes), or longer lists to check that extra entries are
// skipped.
struct ProfileValues {
    uint64_t profileId = 0;
    uint8_t fullscreen = 0;
    uint8_t gameCursor = 0;
    float musicVolume = 0.0f;
    float soundVolume = 0.0f;
    int32_t gold = 0;
    int32_t silver = 0;
    int32_t levelStars = 0;
    std::vector<int32_t> armed;
    std::vector<int32_t> bonus;
    uint8_t levelWon = 0;
    std::vector<int32_t> unlockedBonuses;
    std::vector<int32_t> unlockedPassiveBonuses;
    std::vector<Counter> starPurchases;
    uint8_t wasReset = 0;
    int64_t createdAt = 0;
    int64_t bonusDayStart = 0;
    int32_t everydayBonusDay = 0;
    int32_t launchCount = 0;
    uint8_t newPassiveBonus = 0;
    std::vector<Counter> passiveBonusPurchases;
    std::vector<Counter> bonusPurchases;
    uint64_t goldPurchaseCounter = 0;
    // In the order written (a forged section may repeat a key).
    std::vector<std::pair<std::string, std::string>> flags;
    uint64_t reserved = 0;
    bool operator==(const ProfileValues&) const = default;
};

// The saved fields of the campaign's "MainMode" section. `episodes` holds
// per episode its parts (layouts 11 and below keep only the first episode).
struct LevelValues {
    uint8_t completed = 0;
    int32_t bestScore = 0;
    bool operator==(const LevelValues&) const = default;
};
struct PartValues {
    uint8_t locked = 1;
    std::vector<LevelValues> levels;
    bool operator==(const PartValues&) const = default;
};
struct MainModeValues {
    int32_t lives = 5;
    int64_t lastLifeChange = 0;
    uint8_t hasProgress = 0;
    int32_t extraMoves = 0;
    int32_t episodeIndex = 0;
    int32_t partIndex = 0;
    int32_t levelIndex = 0;
    std::vector<std::vector<PartValues>> episodes;
    bool operator==(const MainModeValues&) const = default;
};

// Bytes with a line of hex and a comment per field.
class HexText {
public:
    void field(const std::vector<uint8_t>& bytes, const std::string& comment);
    void u8(uint8_t value, const std::string& comment);
    void u32(uint32_t value, const std::string& comment);
    void i32(int32_t value, const std::string& comment);
    void u64(uint64_t value, const std::string& comment);
    void i64(int64_t value, const std::string& comment);
    void f32(float value, const std::string& comment);
    void cString(const std::string& value, const std::string& comment);
    void counter(const Counter& value, const std::string& comment);
    void comment(const std::string& text);
    void append(const HexText& other);

    const std::vector<uint8_t>& bytes() const { return mBytes; }
    const std::string& text() const { return mText; }

private:
    std::vector<uint8_t> mBytes;
    std::string mText;
};

// The fixed clock of the fixtures: 2023-11-14 22:13:20 UTC.
constexpr int64_t FIXED_NOW = 1700000000;

// A "profile" section of `version` holding the fields of `values` that the
// version has. Versions 0 to 9 take `armed` and `bonus` as raw bytes.
HexText profileSection(int32_t version, const ProfileValues& values);

// A profile as the game constructs it with the clock at FIXED_NOW.
ProfileValues freshProfile();
// The values the section of an older version (0 to 9) holds.
ProfileValues olderVersionValues(int32_t version);
// A current section listing 5 booster bytes and 6 bonus counts.
ProfileValues longListValues();

// A "MainMode" section: version 12 (or more) lays out every episode, 11 the
// part count and parts of the first episode, and below 11 (`version` is
// then not written: the first word is `lives`) the first episode's parts
// without a count.
HexText mainModeSection(int32_t version, const MainModeValues& values);
// The values of the fixtures: a campaign of `episodes` x `parts` x `levels`.
MainModeValues mainModeValues(int episodes, int parts, int levels);

// A save file: checksum, tag (platform code 0) and the payload.
HexText saveFile(const HexText& payload);

// A whole profile file of platform code 0 holding the version 10 section of
// `values` and an empty "tutorial" section.
HexText profileFileOf(const ProfileValues& values);
// The same with the campaign's "MainMode" section (version 12) first, as
// the game writes it.
HexText profileFileOf(const ProfileValues& values, const MainModeValues& campaign);

// Parses the hex text: pairs of hex digits, '#' to the end of a line a
// comment. False for any other character.
bool parseHex(const std::string& text, std::vector<uint8_t>& bytes);

struct Fixture {
    std::string fileName;
    HexText content;
};
// Every fixture, in the order the folder lists them.
std::vector<Fixture> allFixtures();

}  // namespace SaveFixtures
