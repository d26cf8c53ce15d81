#include "player_profile.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

#include "game_properties.h"
#include "game_time.h"
#include "log_system.h"
#include "progress_saver.h"
#include "save_section.h"
#include "sound_system/sound_manager.h"

namespace {

constexpr size_t TIMED_COUNTER_BYTES = 16;

int64_t dayStart(int64_t time)
{
    return time - time % PlayerProfile::SECONDS_PER_DAY;
}

void writeCounter(SectionWriter& out, const TimedCounter& counter)
{
    out.i32(counter.count);
    out.u32(0);
    out.i64(counter.time);
}

bool readCounter(SectionReader& in, TimedCounter& counter)
{
    TimedCounter read;
    if (!in.i32(read.count) || !in.skip(4) || !in.i64(read.time))
        return false;
    counter = read;
    return true;
}

bool readIntList(SectionReader& in, std::vector<int32_t>& list)
{
    uint32_t n = 0;
    if (!in.count(n, 4))
        return false;
    std::vector<int32_t> read(n);
    for (int32_t& value : read) {
        if (!in.i32(value))
            return false;
    }
    list = std::move(read);
    return true;
}

// A counted list of records of which the first `N` go into the array (the
// rest are skipped, missing ones leave their entries).
template <size_t N>
bool readCounterArray(SectionReader& in, std::array<TimedCounter, N>& array)
{
    uint32_t n = 0;
    if (!in.count(n, TIMED_COUNTER_BYTES))
        return false;
    for (uint32_t i = 0; i < n; ++i) {
        TimedCounter counter;
        if (!readCounter(in, counter))
            return false;
        if (i < N)
            array[i] = counter;
    }
    return true;
}

template <typename T, size_t N>
bool readValueArray(SectionReader& in, std::array<T, N>& array, bool (SectionReader::*readOne)(T&))
{
    uint32_t n = 0;
    if (!in.count(n, sizeof(T)))
        return false;
    for (uint32_t i = 0; i < n; ++i) {
        T value{};
        if (!(in.*readOne)(value))
            return false;
        if (i < N)
            array[i] = value;
    }
    return true;
}

}  // namespace

std::string formatU64(uint64_t value)
{
    char text[24];
    std::snprintf(text, sizeof(text), "%llu", static_cast<unsigned long long>(value));
    return text;
}

bool isZeroId(uint64_t value)
{
    return value == 0;
}

PlayerProfile::PlayerProfile() : createdAt(currentTime())
{
    reset();
    fullscreen = 1;
    gameCursor = 1;
}

PlayerProfile::~PlayerProfile() = default;

void PlayerProfile::resetProgress()
{
    if (profileId != 0)
        wasReset = 1;
    levelStars = 0;
    silver = START_SILVER;
    gold = START_GOLD;
    passiveBonusArmed = {0, 0, 0};
    bonusCounts = {0, 0, 0, 0};
    levelWon = 0;
    unlockedBonuses.clear();
    unlockedPassiveBonuses.clear();
    bonusDayStart = dayStart(currentTime());
    everydayBonusDay = 0;
    newPassiveBonus = 0;
}

void PlayerProfile::reset()
{
    resetProgress();
    starPurchases.clear();
    musicVolume = START_VOLUME;
    soundVolume = START_VOLUME;
    fullscreen = 1;
    gameCursor = 1;
    bonusDayStart = 0;
    launchCount = 0;
    clearFriendEntries();
    newPassiveBonus = 0;
    passiveBonusPurchases.fill(TimedCounter{1, 0});
    bonusPurchases.fill(TimedCounter{1, 0});
    reserved = 0;
}

void PlayerProfile::save(AE::DataStream& stream) const
{
    SectionWriter out(stream);
    out.u32(SECTION_VERSION);
    out.u64(profileId);
    out.u8(fullscreen);
    out.u8(gameCursor);
    out.f32(musicVolume);
    out.f32(soundVolume);
    out.i32(gold);
    out.i32(silver);
    out.i32(levelStars);
    out.u32(passiveBonusArmed.size());
    for (uint8_t armed : passiveBonusArmed)
        out.u8(armed);
    out.u32(bonusCounts.size());
    for (int32_t count : bonusCounts)
        out.i32(count);
    out.u8(levelWon);
    out.u32(static_cast<uint32_t>(unlockedBonuses.size()));
    for (int32_t kind : unlockedBonuses)
        out.i32(kind);
    out.u32(static_cast<uint32_t>(unlockedPassiveBonuses.size()));
    for (int32_t kind : unlockedPassiveBonuses)
        out.i32(kind);
    out.u32(static_cast<uint32_t>(starPurchases.size()));
    for (const TimedCounter& purchase : starPurchases)
        writeCounter(out, purchase);
    out.u8(wasReset);
    out.i64(createdAt);
    out.i64(bonusDayStart);
    out.i32(everydayBonusDay);
    out.i32(launchCount);
    out.u8(newPassiveBonus);
    out.u32(passiveBonusPurchases.size());
    for (const TimedCounter& purchase : passiveBonusPurchases)
        writeCounter(out, purchase);
    out.u32(bonusPurchases.size());
    for (const TimedCounter& purchase : bonusPurchases)
        writeCounter(out, purchase);
    out.u64(goldPurchaseCounter);
    out.u32(static_cast<uint32_t>(flags.size()));
    for (const auto& [key, value] : flags) {
        out.cString(key);
        out.cString(value);
    }
    out.u64(reserved);
}

bool PlayerProfile::load(AE::DataStream& stream)
{
    SectionReader in(stream, "profile");
    // Every version empties the flags; doing it first keeps a section that
    // ends early from leaving the previous profile's flags behind.
    flags.clear();

    int32_t version = 0;
    if (!in.i32(version))
        return true;
    if (version < 0) {
        VQ::logIfPossible(VQ::formatString("WARNING: Save file section 'profile' ignored: version %d was never written",
                                           version));
        return false;
    }

    if (!in.u64(profileId) || !in.u8(fullscreen) || !in.u8(gameCursor) || !in.f32(musicVolume) ||
        !in.f32(soundVolume))
        return true;
    setMusicVolume(musicVolume);
    setSoundVolume(soundVolume);
    if (!in.i32(gold) || !in.i32(silver) || !in.i32(levelStars))
        return true;

    if (version >= 10) {
        if (!readValueArray(in, passiveBonusArmed, &SectionReader::u8) ||
            !readValueArray(in, bonusCounts, &SectionReader::i32))
            return true;
    } else {
        // Older sections kept one more leading entry in both arrays, and
        // bonuses as owned-or-not bytes.
        uint8_t armed[3];
        for (uint8_t& byte : armed) {
            if (!in.u8(byte))
                return true;
        }
        passiveBonusArmed[0] = armed[1];
        passiveBonusArmed[1] = armed[2];
        uint8_t owned[4];
        for (uint8_t& byte : owned) {
            if (!in.u8(byte))
                return true;
        }
        for (int i = 0; i < 3; ++i)
            bonusCounts[i] = owned[i + 1] != 0 ? 1 : 0;
    }

    if (!in.u8(levelWon) || !readIntList(in, unlockedBonuses) || !readIntList(in, unlockedPassiveBonuses))
        return true;
    uint32_t purchases = 0;
    if (!in.count(purchases, TIMED_COUNTER_BYTES))
        return true;
    std::vector<TimedCounter> stars(purchases);
    for (TimedCounter& purchase : stars) {
        if (!readCounter(in, purchase))
            return true;
    }
    starPurchases = std::move(stars);

    if (version >= 1 && !in.u8(wasReset))
        return true;
    if (version >= 2 && !in.i64(createdAt))
        return true;
    if (version >= 3 && (!in.i64(bonusDayStart) || !in.i32(everydayBonusDay)))
        return true;
    if (version >= 4 && !in.i32(launchCount))
        return true;
    if (version >= 5 && !in.u8(newPassiveBonus))
        return true;
    if (version >= 6 && (!readCounterArray(in, passiveBonusPurchases) || !readCounterArray(in, bonusPurchases)))
        return true;
    if (version >= 7 && !in.u64(goldPurchaseCounter))
        return true;
    if (version >= 8) {
        uint32_t n = 0;
        if (!in.count(n, 2))
            return true;
        for (uint32_t i = 0; i < n; ++i) {
            std::string key;
            std::string value;
            if (!in.cString(key) || !in.cString(value))
                return true;
            flags[key] = value;
        }
    }
    if (version >= 9)
        in.u64(reserved);
    return true;
}

void PlayerProfile::setGold(int value)
{
    gold = value > 0 ? value : 0;
    ProgressSaver::instance()->saveNow();
}

void PlayerProfile::setSilver(int value)
{
    silver = value > 0 ? value : 0;
    ProgressSaver::instance()->saveNow();
}

void PlayerProfile::setMusicVolume(float volume)
{
    musicVolume = volume;
    if (VQ::SoundManager* sound = VQ::SoundManager::instancePtr(); sound && sound->isReady()) {
        sound->setGroup1Volume(volume);
        sound->setGroup2Volume(volume);
    }
}

void PlayerProfile::setSoundVolume(float volume)
{
    soundVolume = volume;
    if (VQ::SoundManager* sound = VQ::SoundManager::instancePtr(); sound && sound->isReady())
        sound->setGroup0Volume(volume);
}

void PlayerProfile::addStarPurchase(int stars, int64_t time)
{
    starPurchases.push_back({stars, time});
    ProgressSaver::instance()->notifyChanged();
    RemoteStorage::checkInstance();
    GameProperties::instance()->save();
}

int PlayerProfile::totalStars() const
{
    int64_t total = levelStars;
    for (const TimedCounter& purchase : starPurchases)
        total += purchase.count;
    return static_cast<int>(std::clamp<int64_t>(total, INT32_MIN, INT32_MAX));
}

void PlayerProfile::unlockBonus(int kind)
{
    if (!isBonusUnlocked(kind))
        unlockedBonuses.push_back(kind);
}

void PlayerProfile::unlockPassiveBonus(int kind)
{
    if (std::find(unlockedPassiveBonuses.begin(), unlockedPassiveBonuses.end(), kind) != unlockedPassiveBonuses.end())
        return;
    unlockedPassiveBonuses.push_back(kind);
    newPassiveBonus = 1;
}

bool PlayerProfile::isBonusUnlocked(int kind) const
{
    return std::find(unlockedBonuses.begin(), unlockedBonuses.end(), kind) != unlockedBonuses.end();
}

bool PlayerProfile::hasFlag(const std::string& key) const
{
    return flags.count(key) != 0;
}

int64_t PlayerProfile::daysSinceCreation() const
{
    const int64_t created = dayStart(createdAt);
    const int64_t today = dayStart(currentTime());
    return today >= created ? (today - created) / SECONDS_PER_DAY : 0;
}

FriendRequestEntry* PlayerProfile::findFriendEntry(uint64_t friendId) const
{
    for (const auto& entry : friendEntries) {
        if (entry->friendId == friendId)
            return entry.get();
    }
    return nullptr;
}

void PlayerProfile::clearFriendEntries()
{
    friendEntries.clear();
}
