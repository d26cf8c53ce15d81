#include "save_fixtures_core.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace SaveFixtures {

namespace {

template <typename T>
std::vector<uint8_t> littleEndian(T value)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof(T));
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < sizeof(T); ++i)
        bytes.push_back(static_cast<uint8_t>(bits >> (8 * i)));
    return bytes;
}

std::string number(long long value)
{
    return std::to_string(value);
}

void intList(HexText& out, const std::vector<int32_t>& list, const std::string& name)
{
    out.u32(static_cast<uint32_t>(list.size()), name + ": count");
    for (size_t i = 0; i < list.size(); ++i)
        out.i32(list[i], name + "[" + number(long(i)) + "]");
}

void counterList(HexText& out, const std::vector<Counter>& list, const std::string& name)
{
    out.u32(static_cast<uint32_t>(list.size()), name + ": count");
    for (size_t i = 0; i < list.size(); ++i)
        out.counter(list[i], name + "[" + number(long(i)) + "]");
}

}  // namespace

void HexText::field(const std::vector<uint8_t>& bytes, const std::string& comment)
{
    std::string line;
    char hex[4];
    for (uint8_t byte : bytes) {
        std::snprintf(hex, sizeof(hex), "%02x ", byte);
        line += hex;
    }
    if (line.size() < 28)
        line.resize(28, ' ');
    mText += line + "# " + comment + "\n";
    mBytes.insert(mBytes.end(), bytes.begin(), bytes.end());
}

void HexText::u8(uint8_t value, const std::string& comment)
{
    field({value}, comment + " = " + number(value));
}

void HexText::u32(uint32_t value, const std::string& comment)
{
    field(littleEndian(value), comment + " = " + number(value));
}

void HexText::i32(int32_t value, const std::string& comment)
{
    field(littleEndian(value), comment + " = " + number(value));
}

void HexText::u64(uint64_t value, const std::string& comment)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%llu", static_cast<unsigned long long>(value));
    field(littleEndian(value), comment + " = " + text);
}

void HexText::i64(int64_t value, const std::string& comment)
{
    field(littleEndian(value), comment + " = " + number(value));
}

void HexText::f32(float value, const std::string& comment)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%g", double(value));
    field(littleEndian(value), comment + " = " + text);
}

void HexText::cString(const std::string& value, const std::string& comment)
{
    std::vector<uint8_t> bytes(value.begin(), value.end());
    bytes.push_back(0);
    field(bytes, comment + " = \"" + value + "\"");
}

void HexText::counter(const Counter& value, const std::string& comment)
{
    std::vector<uint8_t> bytes = littleEndian(value.count);
    bytes.insert(bytes.end(), 4, 0);
    const std::vector<uint8_t> time = littleEndian(value.time);
    bytes.insert(bytes.end(), time.begin(), time.end());
    field(bytes, comment + " = {count " + number(value.count) + ", 4 reserved, time " + number(value.time) + "}");
}

void HexText::comment(const std::string& text)
{
    mText += "# " + text + "\n";
}

void HexText::append(const HexText& other)
{
    mText += other.mText;
    mBytes.insert(mBytes.end(), other.mBytes.begin(), other.mBytes.end());
}

HexText mainModeSection(int32_t version, const MainModeValues& v)
{
    HexText out;
    if (version >= 11)
        out.u32(static_cast<uint32_t>(version), "version");
    out.i32(v.lives, "lives");
    out.i64(v.lastLifeChange, "lastLifeChange");
    out.u8(v.hasProgress, "hasProgress");
    out.i32(v.extraMoves, "extraMoves");
    if (version >= 12)
        out.i32(v.episodeIndex, "episodeIndex");
    out.i32(v.partIndex, "partIndex");
    out.i32(v.levelIndex, "levelIndex");
    const size_t episodes = version >= 12 ? v.episodes.size() : std::min<size_t>(1, v.episodes.size());
    if (version >= 12)
        out.u32(static_cast<uint32_t>(episodes), "episode count");
    for (size_t e = 0; e < episodes; ++e) {
        const std::vector<PartValues>& parts = v.episodes[e];
        if (version >= 11)
            out.u32(static_cast<uint32_t>(parts.size()), "episode " + number(long(e)) + ": part count");
        for (size_t p = 0; p < parts.size(); ++p) {
            const std::string part = "episode " + number(long(e)) + " part " + number(long(p));
            out.u8(parts[p].locked, part + ": locked");
            for (size_t l = 0; l < parts[p].levels.size(); ++l) {
                const std::string level = part + " level " + number(long(l));
                out.u8(parts[p].levels[l].completed, level + ": completed");
                out.i32(parts[p].levels[l].bestScore, level + ": bestScore");
            }
        }
    }
    return out;
}

MainModeValues mainModeValues(int episodes, int parts, int levels)
{
    MainModeValues v;
    v.lives = 3;
    v.lastLifeChange = FIXED_NOW - 600;
    v.hasProgress = 1;
    v.extraMoves = 5;
    v.episodeIndex = 1;
    v.partIndex = 0;
    v.levelIndex = 2;
    // Everything before episode 1, part 0, level 2 is completed and open.
    for (int e = 0; e < episodes; ++e) {
        std::vector<PartValues> episode;
        for (int p = 0; p < parts; ++p) {
            PartValues part;
            const bool open = e == 0 || (e == 1 && p == 0);
            part.locked = open ? 0 : 1;
            for (int l = 0; l < levels; ++l) {
                const bool done = e == 0 || (e == 1 && p == 0 && l < 2);
                part.levels.push_back({uint8_t(done ? 1 : 0), done ? 1000 * (e + 1) + 100 * p + 10 * l : 0});
            }
            episode.push_back(part);
        }
        v.episodes.push_back(episode);
    }
    return v;
}

HexText profileSection(int32_t version, const ProfileValues& v)
{
    HexText out;
    out.u32(static_cast<uint32_t>(version), "version");
    out.u64(v.profileId, "profileId");
    out.u8(v.fullscreen, "fullscreen");
    out.u8(v.gameCursor, "gameCursor");
    out.f32(v.musicVolume, "musicVolume");
    out.f32(v.soundVolume, "soundVolume");
    out.i32(v.gold, "gold");
    out.i32(v.silver, "silver");
    out.i32(v.levelStars, "levelStars");
    if (version >= 10) {
        out.u32(static_cast<uint32_t>(v.armed.size()), "passiveBonusArmed: count");
        for (size_t i = 0; i < v.armed.size(); ++i)
            out.u8(static_cast<uint8_t>(v.armed[i]), "passiveBonusArmed[" + number(long(i)) + "]");
        intList(out, v.bonus, "bonusCounts");
    } else {
        for (size_t i = 0; i < v.armed.size(); ++i)
            out.u8(static_cast<uint8_t>(v.armed[i]), "old booster byte " + number(long(i)));
        for (size_t i = 0; i < v.bonus.size(); ++i)
            out.u8(static_cast<uint8_t>(v.bonus[i]), "old bonus byte " + number(long(i)));
    }
    out.u8(v.levelWon, "levelWon");
    intList(out, v.unlockedBonuses, "unlockedBonuses");
    intList(out, v.unlockedPassiveBonuses, "unlockedPassiveBonuses");
    counterList(out, v.starPurchases, "starPurchases");
    if (version >= 1)
        out.u8(v.wasReset, "wasReset");
    if (version >= 2)
        out.i64(v.createdAt, "createdAt");
    if (version >= 3) {
        out.i64(v.bonusDayStart, "bonusDayStart");
        out.i32(v.everydayBonusDay, "everydayBonusDay");
    }
    if (version >= 4)
        out.i32(v.launchCount, "launchCount");
    if (version >= 5)
        out.u8(v.newPassiveBonus, "newPassiveBonus");
    if (version >= 6) {
        counterList(out, v.passiveBonusPurchases, "passiveBonusPurchases");
        counterList(out, v.bonusPurchases, "bonusPurchases");
    }
    if (version >= 7)
        out.u64(v.goldPurchaseCounter, "goldPurchaseCounter");
    if (version >= 8) {
        out.u32(static_cast<uint32_t>(v.flags.size()), "flags: count");
        for (const auto& [key, value] : v.flags) {
            out.cString(key, "flag key");
            out.cString(value, "flag value");
        }
    }
    if (version >= 9)
        out.u64(v.reserved, "reserved");
    return out;
}

ProfileValues freshProfile()
{
    ProfileValues v;
    v.fullscreen = 1;
    v.gameCursor = 1;
    v.musicVolume = 0.8f;
    v.soundVolume = 0.8f;
    v.gold = 20;
    v.silver = 350;
    v.armed = {0, 0, 0};
    v.bonus = {0, 0, 0, 0};
    v.createdAt = FIXED_NOW;
    v.passiveBonusPurchases = {{1, 0}, {1, 0}, {1, 0}};
    v.bonusPurchases = {{1, 0}, {1, 0}, {1, 0}, {1, 0}};
    return v;
}

ProfileValues olderVersionValues(int32_t version)
{
    ProfileValues v;
    v.profileId = 100 + uint64_t(version);
    v.fullscreen = uint8_t(version % 2);
    v.gameCursor = uint8_t((version + 1) % 2);
    v.musicVolume = 0.25f;
    v.soundVolume = 0.5f;
    v.gold = 40 + version;
    v.silver = 500 + version;
    v.levelStars = 3 * version;
    // The first byte of each is passed over; a bonus byte of 5 means one
    // bonus owned.
    v.armed = {7, 1, version % 2};
    v.bonus = {9, 5, 0, 1};
    v.levelWon = 1;
    v.unlockedBonuses = {2, 3};
    v.unlockedPassiveBonuses = {1};
    v.starPurchases = {{5, 1600000500}};
    v.wasReset = 0;
    v.createdAt = 1600000000 + version;
    v.bonusDayStart = 1599955200;
    v.everydayBonusDay = 3;
    v.launchCount = 7 + version;
    v.newPassiveBonus = 1;
    // Fewer records than the array holds, and more.
    v.passiveBonusPurchases = {{4, 1600000100}, {2, 1600000200}};
    v.bonusPurchases = {{6, 1600000300}, {0, 0}, {3, 1600000400}, {8, 1600000600}, {99, 99}};
    v.goldPurchaseCounter = 21;
    // A forged repeat of a key: the later value stands.
    v.flags = {{"MoneyHasBeenIssued:CometBonus", "true"}, {"spring:2", "true"}, {"spring:2", "yes"}};
    v.reserved = 0x1122334455667788ull;
    return v;
}

ProfileValues longListValues()
{
    ProfileValues v = olderVersionValues(9);
    v.profileId = 4242;
    v.armed = {1, 0, 1, 9, 9};
    v.bonus = {4, 0, 2, 7, 99, 99};
    v.passiveBonusPurchases = {{2, 1700000100}, {1, 0}, {5, 1700000200}};
    v.bonusPurchases = {{1, 0}, {3, 1700000300}, {1, 0}, {2, 1700000400}};
    v.flags = {{"MoneyHasBeenIssued:LightBonus", "true"}};
    return v;
}

HexText saveFile(const HexText& payload)
{
    uint32_t sum = 0;
    for (uint8_t byte : payload.bytes())
        sum += byte;
    HexText out;
    out.u32(sum, "checksum: the sum of the payload bytes");
    out.u32(65, "tag: platform code 0 * 65536 + 65");
    out.comment("payload, " + number(long(payload.bytes().size())) + " bytes");
    out.append(payload);
    return out;
}

HexText profileFileOf(const ProfileValues& values)
{
    HexText sections;
    const HexText profile = profileSection(10, values);
    sections.u32(2, "section count");
    sections.cString("profile", "section name");
    sections.u32(static_cast<uint32_t>(profile.bytes().size()), "section length");
    sections.append(profile);
    sections.cString("tutorial", "section name");
    sections.u32(4, "section length");
    sections.u32(0, "tutorial: sequence count");
    return saveFile(sections);
}

HexText profileFileOf(const ProfileValues& values, const MainModeValues& campaign)
{
    HexText sections;
    const HexText mainMode = mainModeSection(12, campaign);
    const HexText profile = profileSection(10, values);
    sections.u32(3, "section count");
    sections.cString("MainMode", "section name");
    sections.u32(static_cast<uint32_t>(mainMode.bytes().size()), "section length");
    sections.append(mainMode);
    sections.cString("profile", "section name");
    sections.u32(static_cast<uint32_t>(profile.bytes().size()), "section length");
    sections.append(profile);
    sections.cString("tutorial", "section name");
    sections.u32(4, "section length");
    sections.u32(0, "tutorial: sequence count");
    return saveFile(sections);
}

bool parseHex(const std::string& text, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    int high = -1;
    bool inComment = false;
    for (char c : text) {
        if (inComment) {
            inComment = c != '\n';
            continue;
        }
        if (c == '#') {
            inComment = true;
            continue;
        }
        if (c == ' ' || c == '\n' || c == '\t' || c == '\r')
            continue;
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return false;
        if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(static_cast<uint8_t>(high * 16 + digit));
            high = -1;
        }
    }
    return high < 0;
}

std::vector<Fixture> allFixtures()
{
    std::vector<Fixture> fixtures;
    auto section = [&](const std::string& name, const std::string& title, int32_t version, const ProfileValues& v) {
        HexText text;
        text.comment(title);
        text.append(profileSection(version, v));
        fixtures.push_back({name, text});
    };
    section("profile_v10_fresh.hex",
            "The \"profile\" section (version 10) of a fresh profile, the clock at 1700000000.", 10,
            freshProfile());
    for (int32_t version = 0; version <= 9; ++version) {
        section("profile_v" + number(version) + ".hex",
                "A \"profile\" section of version " + number(version) + ": only the fields that version held.",
                version, olderVersionValues(version));
    }
    section("profile_v10_long_lists.hex",
            "A version 10 section listing 5 booster bytes and 6 bonus counts: the first 3 and 4 count.", 10,
            longListValues());

    auto mainMode = [&](const std::string& name, const std::string& title, int32_t version,
                        const MainModeValues& v) {
        HexText text;
        text.comment(title);
        text.append(mainModeSection(version, v));
        fixtures.push_back({name, text});
    };
    mainMode("main_mode_v12.hex",
             "A \"MainMode\" section of version 12: 2 episodes x 3 parts x 4 levels, the player at episode 1, "
             "part 0, level 2.",
             12, mainModeValues(2, 3, 4));
    mainMode("main_mode_v11.hex",
             "A \"MainMode\" section of version 11: no episodeIndex, the first episode's 3 parts of 4 levels.", 11,
             mainModeValues(2, 3, 4));
    MainModeValues older = mainModeValues(2, 3, 4);
    older.lives = 4;
    mainMode("main_mode_v10.hex",
             "A \"MainMode\" section older than version 11: no version word (the first word is lives), no "
             "episodeIndex, the first episode's 3 parts of 4 levels without a count.",
             10, older);

    HexText profileFile;
    profileFile.comment("profile_0.dat of a first save: no modes, no tutorial sequences, the clock at 1700000000.");
    profileFile.append(profileFileOf(freshProfile()));
    fixtures.push_back({"profile_0.dat.hex", profileFile});

    HexText id;
    id.u64(0, "profileId of the profile saved last");
    HexText lastProfile;
    lastProfile.comment("last_profile.dat of a first save.");
    lastProfile.append(saveFile(id));
    fixtures.push_back({"last_profile.dat.hex", lastProfile});
    return fixtures;
}

}  // namespace SaveFixtures
