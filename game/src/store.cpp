#include "store.h"

#include <algorithm>
#include <climits>

#include "behavior.h"
#include "chip.h"
#include "game_properties.h"
#include "game_time.h"
#include "log_system.h"
#include "progress_saver.h"

namespace {

constexpr int BLOCKER_PRICES[] = {0, 40, 85, 135, 170, 220, 260, 320};

// What counts as the balance of a real-money price: always affordable up to
// this amount.
constexpr int64_t REAL_MONEY_BALANCE = 100500;

struct ChipReward {
    int type;
    int32_t silver;
};
constexpr ChipReward BONUS_CHIP_REWARDS[] = {
    {BEHAVIOR_BOMB_STAGE2, 4},       {BEHAVIOR_WAVE_DSIDE, 5},       {BEHAVIOR_WAVE_VER, 5},
    {BEHAVIOR_WAVE_HOR, 5},          {BEHAVIOR_CROSS, 6},            {BEHAVIOR_SUPER_BOMB, 7},
    {BEHAVIOR_SUPER_WAVE_DSIDE, 8},  {BEHAVIOR_SUPER_WAVE_VER, 8},   {BEHAVIOR_SUPER_WAVE_HOR, 8},
    {BEHAVIOR_STAR, 10},             {BEHAVIOR_SUPER_STAR, 12},
};

struct LevelUnlock {
    int level;
    int32_t kind;
};
// BonusKind: 0 comet, 1 lightning, 2 arrows, 3 detonator.
constexpr LevelUnlock BONUS_UNLOCKS[] = {{5, 2}, {17, 3}, {25, 0}, {41, 1}};
// PassiveBonusKind: 0 colour, 1 moves, 2 bomb.
constexpr LevelUnlock PASSIVE_BONUS_UNLOCKS[] = {{11, 1}, {22, 2}, {36, 0}};

template <size_t N>
std::vector<int32_t> unlocksAt(const LevelUnlock (&table)[N], int level)
{
    for (const LevelUnlock& unlock : table) {
        if (unlock.level == level)
            return {unlock.kind};
    }
    return {};
}

int32_t clampToInt32(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// The price as whole coins, truncated towards zero.
int64_t wholePrice(float price)
{
    if (!(price > -9.0e18f && price < 9.0e18f))
        return price > 0 ? INT64_MAX / 2 : 0;
    return static_cast<int64_t>(price);
}

PlayerProfile& profile()
{
    return *GameProperties::instance()->profile();
}

}  // namespace

Store::~Store()
{
    clearOffers();
    clearProducts();
}

void Store::clearOffers()
{
    offers.clear();
}

void Store::clearProducts()
{
    products.clear();
}

std::vector<CurrencyAmount> Store::everydayBonusReward(int day) const
{
    switch (day) {
    case 1:
        return {{50, CURRENCY_SILVER}};
    case 2:
        return {{100, CURRENCY_SILVER}};
    case 3:
        return {{150, CURRENCY_SILVER}};
    case 4:
        return {{200, CURRENCY_SILVER}};
    case 5:
        return {{250, CURRENCY_SILVER}, {5, CURRENCY_GOLD}};
    default:
        return {};
    }
}

int Store::blockerStarPrice(int index) const
{
    if (index < 0 || index >= static_cast<int>(std::size(BLOCKER_PRICES))) {
        // No total of stars reaches it, so the blocker stays closed.
        VQ::logIfPossible(VQ::formatString("WARNING: Store::blockerStarPrice: there is no blocker %d", index));
        return INT32_MAX;
    }
    return BLOCKER_PRICES[index];
}

std::vector<StoreOffer> Store::getProducts(int kind) const
{
    if (kind != CURRENCY_STARS)
        return {};
    std::vector<StoreOffer> products;
    for (const auto& [stars, silver] : {std::pair{1, 75.0f}, {5, 150.0f}, {15, 450.0f}, {20, 600.0f}}) {
        StoreOffer offer;
        offer.rewardKind = CURRENCY_STARS;
        offer.amount = stars;
        offer.price = silver;
        offer.priceKind = CURRENCY_SILVER;
        products.push_back(offer);
    }
    return products;
}

CurrencyAmount Store::bonusChipReward(const ChipSnapshot& snapshot) const
{
    CurrencyAmount result{0, CURRENCY_SILVER};
    for (int type : snapshot.types) {
        for (const ChipReward& reward : BONUS_CHIP_REWARDS) {
            if (reward.type == type) {
                result.amount = reward.silver;
                return result;
            }
        }
    }
    return result;
}

std::vector<int32_t> Store::bonusesUnlockedAtLevel(int level) const
{
    return unlocksAt(BONUS_UNLOCKS, level);
}

std::vector<int32_t> Store::passiveBonusesUnlockedAtLevel(int level) const
{
    return unlocksAt(PASSIVE_BONUS_UNLOCKS, level);
}

bool Store::applyPurchase(const StoreOffer& offer)
{
    PlayerProfile& player = profile();
    const int64_t silver = player.silver;
    const int64_t gold = player.gold;
    const int64_t balance = offer.priceKind == CURRENCY_SILVER ? silver
                            : offer.priceKind == CURRENCY_GOLD ? gold
                                                               : REAL_MONEY_BALANCE;
    if (offer.price > static_cast<float>(balance))
        return false;

    const int64_t price = wholePrice(offer.price);
    if (offer.priceKind == CURRENCY_SILVER) {
        player.silver = clampToInt32(std::max<int64_t>(silver - price, 0));
        ProgressSaver::instance()->saveNow();
    } else if (offer.priceKind == CURRENCY_GOLD) {
        player.gold = clampToInt32(std::max<int64_t>(gold - price, 0));
        ProgressSaver::instance()->saveNow();
    }

    switch (offer.rewardKind) {
    case CURRENCY_SILVER:
        player.setSilver(clampToInt32(int64_t(player.silver) + offer.amount));
        break;
    case CURRENCY_GOLD:
        player.goldPurchaseCounter += 7;
        player.setGold(clampToInt32(int64_t(player.gold) + offer.amount));
        break;
    case CURRENCY_STARS:
        if (const int64_t now = currentTime(); now != 0)
            player.addStarPurchase(offer.amount, now);
        else
            player.levelStars = clampToInt32(int64_t(player.levelStars) + offer.amount);
        break;
    default:
        break;
    }
    return true;
}

std::string TimedOffer::key() const
{
    switch (keyKind) {
    case 0:
        return name;
    case 1:
        return name + ":" + std::to_string(start.tm_mon);
    case 2:
        return name + ":" + std::to_string(start.tm_year);
    default:
        return {};
    }
}

int32_t TimedOffer::secondsLeft()
{
    const int64_t startTime = static_cast<int64_t>(std::mktime(&start));
    const int64_t endTime = static_cast<int64_t>(std::mktime(&end));
    const int64_t now = currentTime();
    if (now < startTime || now > endTime)
        return 0;
    if (profile().hasFlag(key()))
        return 0;
    return clampToInt32(endTime - now);
}
