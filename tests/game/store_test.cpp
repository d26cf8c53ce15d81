#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <ctime>

#include "behavior.h"
#include "chip.h"
#include "game_properties.h"
#include "progress_saver.h"
#include "store.h"
#include "support/save_fixture.h"

using namespace TestSupport;

namespace {

class StoreTest : public SaveFolderTest {
protected:
    void SetUp() override
    {
        SaveFolderTest::SetUp();
        if (const char* tz = getenv("TZ"))
            mOldTz = tz;
        // Three hours east of UTC, no daylight saving: local and UTC days differ.
        setenv("TZ", "LNT-3", 1);
        tzset();
        createSavers();
        mStore = std::make_unique<Store>();
    }
    void TearDown() override
    {
        mStore.reset();
        if (mOldTz.empty())
            unsetenv("TZ");
        else
            setenv("TZ", mOldTz.c_str(), 1);
        tzset();
        SaveFolderTest::TearDown();
    }

    // What the file on disk holds.
    PlayerProfile& reloaded()
    {
        mProperties->load(0);
        return profile();
    }

    static std::tm localTime(int year, int month, int day, int hour)
    {
        std::tm t{};
        t.tm_year = year - 1900;
        t.tm_mon = month;
        t.tm_mday = day;
        t.tm_hour = hour;
        t.tm_isdst = -1;
        return t;
    }

    std::string mOldTz;
    std::unique_ptr<Store> mStore;
};

StoreOffer offer(int32_t reward, int32_t amount, float price, int32_t priceKind)
{
    StoreOffer o;
    o.rewardKind = reward;
    o.amount = amount;
    o.price = price;
    o.priceKind = priceKind;
    return o;
}

}  // namespace

TEST_F(StoreTest, Tables)
{
    EXPECT_TRUE(mStore->everydayBonusReward(0).empty());
    EXPECT_TRUE(mStore->everydayBonusReward(6).empty());
    for (int day = 1; day <= 4; ++day) {
        const auto reward = mStore->everydayBonusReward(day);
        ASSERT_EQ(reward.size(), 1u);
        EXPECT_EQ(reward[0].amount, 50 * day);
        EXPECT_EQ(reward[0].kind, CURRENCY_SILVER);
    }
    const auto fifth = mStore->everydayBonusReward(5);
    ASSERT_EQ(fifth.size(), 2u);
    EXPECT_EQ(fifth[0].amount, 250);
    EXPECT_EQ(fifth[0].kind, CURRENCY_SILVER);
    EXPECT_EQ(fifth[1].amount, 5);
    EXPECT_EQ(fifth[1].kind, CURRENCY_GOLD);

    const int prices[] = {0, 40, 85, 135, 170, 220, 260, 320};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(mStore->blockerStarPrice(i), prices[i]);
    EXPECT_EQ(mStore->blockerStarPrice(8), INT32_MAX);
    EXPECT_EQ(mStore->blockerStarPrice(-1), INT32_MAX);
    EXPECT_EQ(countLogLines("WARNING: Store::blockerStarPrice: there is no blocker 8"), 1);

    EXPECT_TRUE(mStore->getProducts(CURRENCY_SILVER).empty());
    EXPECT_TRUE(mStore->getProducts(CURRENCY_GOLD).empty());
    const auto packs = mStore->getProducts(CURRENCY_STARS);
    ASSERT_EQ(packs.size(), 4u);
    const int stars[] = {1, 5, 15, 20};
    const float silver[] = {75, 150, 450, 600};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(packs[i].rewardKind, CURRENCY_STARS);
        EXPECT_EQ(packs[i].amount, stars[i]);
        EXPECT_EQ(packs[i].price, silver[i]);
        EXPECT_EQ(packs[i].priceKind, CURRENCY_SILVER);
        EXPECT_EQ(packs[i].profit, 0);
    }

    EXPECT_EQ(mStore->bonusesUnlockedAtLevel(5), std::vector<int32_t>{2});
    EXPECT_TRUE(mStore->bonusesUnlockedAtLevel(6).empty());
    EXPECT_EQ(mStore->bonusesUnlockedAtLevel(41), std::vector<int32_t>{1});
    EXPECT_EQ(mStore->passiveBonusesUnlockedAtLevel(11), std::vector<int32_t>{1});
    EXPECT_EQ(mStore->passiveBonusesUnlockedAtLevel(36), std::vector<int32_t>{0});
    EXPECT_TRUE(mStore->passiveBonusesUnlockedAtLevel(5).empty());
}

TEST_F(StoreTest, BonusChipRewardTakesTheLowestListedLayer)
{
    Chip chip;
    ChipSnapshot snapshot(chip);
    struct Case {
        std::vector<int> types;
        int32_t silver;
    };
    const Case cases[] = {
        {{}, 0},
        {{BEHAVIOR_SUPER_CROSS, BEHAVIOR_STAR}, 10},
        {{BEHAVIOR_SIMPLE, BEHAVIOR_BOMB_STAGE2}, 4},
        {{BEHAVIOR_WAVE_HOR, BEHAVIOR_SUPER_STAR}, 5},
        {{BEHAVIOR_CROSS}, 6},
        {{BEHAVIOR_SUPER_BOMB}, 7},
        {{BEHAVIOR_SUPER_WAVE_DSIDE}, 8},
        {{BEHAVIOR_SUPER_STAR}, 12},
        {{BEHAVIOR_BOMB_STAGE1, BEHAVIOR_SUPER_CROSS}, 0},
    };
    for (const Case& c : cases) {
        snapshot.types = c.types;
        const CurrencyAmount reward = mStore->bonusChipReward(snapshot);
        EXPECT_EQ(reward.amount, c.silver) << ::testing::PrintToString(c.types);
        EXPECT_EQ(reward.kind, CURRENCY_SILVER);
    }
}

TEST_F(StoreTest, PurchasesPayAndGrant)
{
    // The 5-star pack costs 150 silver.
    profile().silver = 149;
    EXPECT_FALSE(mStore->applyPurchase(offer(CURRENCY_STARS, 5, 150, CURRENCY_SILVER)));
    EXPECT_EQ(profile().silver, 149);
    EXPECT_TRUE(profile().starPurchases.empty());

    profile().silver = 150;
    EXPECT_TRUE(mStore->applyPurchase(offer(CURRENCY_STARS, 5, 150, CURRENCY_SILVER)));
    EXPECT_EQ(reloaded().silver, 0);
    EXPECT_EQ(profile().starPurchases, (std::vector<TimedCounter>{{5, now()}}));

    // Half a coin truncates to nothing.
    profile().silver = 1;
    EXPECT_TRUE(mStore->applyPurchase(offer(CURRENCY_SILVER, 10, 0.5f, CURRENCY_SILVER)));
    EXPECT_EQ(reloaded().silver, 11);

    // Gold pays for silver.
    profile().gold = 30;
    EXPECT_TRUE(mStore->applyPurchase(offer(CURRENCY_SILVER, 100, 25, CURRENCY_GOLD)));
    EXPECT_EQ(reloaded().gold, 5);
    EXPECT_EQ(profile().silver, 111);

    // A real-money price needs no balance and is granted unpaid.
    profile().gold = 0;
    profile().silver = 0;
    EXPECT_TRUE(mStore->applyPurchase(offer(CURRENCY_GOLD, 40, 4.99f, 0)));
    EXPECT_EQ(reloaded().gold, 40);
    EXPECT_EQ(profile().goldPurchaseCounter, 7u);
    EXPECT_EQ(profile().silver, 0);
    EXPECT_FALSE(mStore->applyPurchase(offer(CURRENCY_GOLD, 40, 100501, 0)));

    // With the clock at 0 stars go to the level stars, unsaved.
    now() = 0;
    profile().silver = 75;
    EXPECT_TRUE(mStore->applyPurchase(offer(CURRENCY_STARS, 1, 75, CURRENCY_SILVER)));
    EXPECT_EQ(profile().levelStars, 1);
    EXPECT_EQ(profile().starPurchases.size(), 1u);
    EXPECT_EQ(reloaded().levelStars, 0);

    // An unknown reward is paid for and grants nothing.
    profile().silver = 10;
    EXPECT_TRUE(mStore->applyPurchase(offer(9, 1, 4, CURRENCY_SILVER)));
    EXPECT_EQ(reloaded().silver, 6);
}

TEST_F(StoreTest, TimedOfferCountsDownInLocalTime)
{
    TimedOffer spring;
    spring.name = "spring";
    spring.keyKind = 1;
    spring.start = localTime(2024, 2, 10, 10);
    spring.end = localTime(2024, 2, 10, 12);
    std::tm start = spring.start;
    const int64_t ten = int64_t(std::mktime(&start));
    // 10:00 local is 07:00 UTC.
    EXPECT_EQ(ten % 86400, 7 * 3600);

    struct Case {
        int64_t at;
        int32_t left;
    };
    for (const Case& c : {Case{ten - 1, 0}, Case{ten, 7200}, Case{ten + 3600, 3600}, Case{ten + 7199, 1},
                          Case{ten + 7200, 0}, Case{ten + 7201, 0}}) {
        now() = c.at;
        EXPECT_EQ(spring.secondsLeft(), c.left) << c.at - ten;
    }

    now() = ten;
    EXPECT_EQ(spring.key(), "spring:2");
    profile().flags["spring:2"] = "true";
    EXPECT_EQ(spring.secondsLeft(), 0);

    // The key kinds; out-of-range fields are normalised first.
    TimedOffer other;
    other.name = "fair";
    other.start = localTime(2024, 13, 1, 0);  // month 13 of 2024: February 2025
    other.end = localTime(2025, 5, 1, 0);
    now() = ten;
    EXPECT_EQ(other.secondsLeft(), 0);
    const std::pair<int32_t, std::string> keys[] = {{0, "fair"}, {1, "fair:1"}, {2, "fair:125"}, {3, ""}};
    for (const auto& [kind, key] : keys) {
        other.keyKind = kind;
        EXPECT_EQ(other.key(), key);
    }
}

TEST_F(StoreTest, CatalogueIsEmptiedOnRequest)
{
    mStore->offers.push_back(std::make_unique<TimedOffer>());
    mStore->offers.back()->bundle = std::make_unique<OfferBundle>();
    mStore->offers.back()->bundle->items.push_back({CURRENCY_GOLD, 5});
    mStore->products.push_back(std::make_unique<StoreProduct>());
    mStore->clearOffers();
    mStore->clearProducts();
    EXPECT_TRUE(mStore->offers.empty());
    EXPECT_TRUE(mStore->products.empty());
}
