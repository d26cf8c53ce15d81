#pragma once
// The game's economy: the everyday-bonus rewards, the map's blocker prices,
// the star packs of the currency shop, the silver that destroyed bonus
// chips are worth, the unlocks of completed levels, purchases against the
// player's balances and the timing of time-limited offers. The catalogue of
// offers and further products starts empty; the map empties it on unload.

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "singleton.h"

namespace VQ {
class Sprite;
}
struct ChipSnapshot;

enum CurrencyKind : int32_t {
    CURRENCY_SILVER = 1,
    CURRENCY_GOLD = 2,
    CURRENCY_STARS = 3,
};

struct CurrencyAmount {
    int32_t amount = 0;
    int32_t kind = CURRENCY_SILVER;
};

// A shop product.
struct StoreOffer {
    int32_t rewardKind = 0;  // CurrencyKind of what is bought
    int32_t amount = 0;
    float price = 0.0f;
    // CurrencyKind paid with; any other value is a price in real money.
    int32_t priceKind = 0;
    std::string currencyLabel;  // of a real-money price
    std::string spareText1;     // no reader
    int32_t profit = 0;         // the shop row plays its "profit" marker
    std::string spareText2;     // no reader
};

struct OfferItem {
    int32_t kind = 0;  // CurrencyKind
    int32_t amount = 0;
};

struct OfferBundle {
    std::vector<OfferItem> items;
    std::string priceText;
    std::string currencyText;
};

// A time-limited offer, running from `start` to `end` in local time.
struct TimedOffer {
    // Seconds until the offer ends; 0 before its start, after its end and
    // once the profile's flags mark it bought. Normalises `start` and `end`
    // in place, as the calendar conversion does.
    int32_t secondsLeft();
    // The flag that marks the offer bought, from the normalised start:
    // keyKind 0 the name, 1 "name:month" (0..11), 2 "name:year-1900";
    // empty for any other kind.
    std::string key() const;

    std::unique_ptr<OfferBundle> bundle;
    std::string name;
    std::string spareText1;  // no reader
    std::string spareText2;  // no reader
    VQ::Sprite* picture = nullptr;  // not released by the offer
    int32_t keyKind = 0;
    std::tm start{};
    std::tm end{};
};

// A further product of the catalogue; nothing in the game makes one yet.
class StoreProduct {
public:
    virtual ~StoreProduct() = default;
};

class Store : public VQ::Singleton<Store> {
public:
    Store() = default;
    ~Store() override;

    void clearOffers();
    void clearProducts();

    // Days 1..5; any other day has no reward.
    std::vector<CurrencyAmount> everydayBonusReward(int day) const;
    // Stars needed to open blocker 0..7 of the map.
    int blockerStarPrice(int index) const;
    // The currency shop's page of a CurrencyKind (only stars have products).
    std::vector<StoreOffer> getProducts(int kind) const;
    // Silver for a destroyed bonus chip: its lowest layer in the table
    // decides; a chip with none is worth 0.
    CurrencyAmount bonusChipReward(const ChipSnapshot& snapshot) const;
    // What completing a level unlocks: at most one kind each.
    std::vector<int32_t> bonusesUnlockedAtLevel(int level) const;
    std::vector<int32_t> passiveBonusesUnlockedAtLevel(int level) const;
    // Pays for the offer and grants it; false, changing nothing, when the
    // balance of the price currency is below the price. Real-money prices
    // are granted without payment (there is no payment interface).
    bool applyPurchase(const StoreOffer& offer);

    std::vector<std::unique_ptr<TimedOffer>> offers;
    std::vector<std::unique_ptr<StoreProduct>> products;
};
