// The shops over the shipped windows: the bonus offer paid in silver or
// handed out free, the moves offer paid in gold, the heart shop's countdown
// and purchase, the currency shop's star rows and their purchases, and the
// festival offer's items, and the level start window's refund of a disarmed
// booster. A short purse opens the shared currency shop on a
// page the store leaves empty, so nothing opens and the offer stays.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

#include "animationeditor/scene_node.h"
#include "animationeditor/sprite_scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "dialogs/buy_bonus_window.h"
#include "dialogs/buy_heart_window.h"
#include "dialogs/buy_moves_time_window.h"
#include "dialogs/buy_valuta_window.h"
#include "dialogs/dialog_window_manager.h"
#include "dialogs/holiday_purchase_window.h"
#include "dialogs/play_level_window.h"
#include "game_properties.h"
#include "game_state_manager.h"
#include "game_time.h"
#include "main_mode.h"
#include "platform_config.h"
#include "player_profile.h"
#include "progress_saver.h"
#include "store.h"
#include "support/game_windows_fixture.h"
#include "support/ui_scene_fixture.h"
#include "tutorial/tutorial_registry.h"
#include "ui/text_manager.h"
#include "ui/ui_scene_list.h"
#include "utils.h"

using namespace TestSupport;

namespace {

constexpr int64_t NOW = 1700000000;

int64_t fixedNow()
{
    return NOW;
}

class ShopWindowsTest : public GameWindowsTest {
protected:
    void SetUp() override
    {
        setTimeSource(fixedNow);
        GameWindowsTest::SetUp();
        mShop = std::make_unique<BuyValutaWindowSingleton>();
    }
    void TearDown() override
    {
        mShop.reset();
        GameWindowsTest::TearDown();
        setTimeSource(nullptr);
    }

    // A window opened queued reaches the screen through the manager.
    void shown(DialogWindow& w)
    {
        mManager->update(0.0f);
        if (w.state == DialogWindow::SHOWING)
            finishShow(w);
        ASSERT_EQ(w.state, DialogWindow::SHOWN);
    }
    static std::string textOf(AE::ISceneNode* node)
    {
        auto* text = dynamic_cast<AE::TextSceneNode*>(node);
        return text ? VQ::wideToUtf8(text->displayText) : "none";
    }
    static std::string localized(const std::string& key) { return VQ::wideToUtf8(VQ::TextManager::instance()->text(key)); }
    // The node shows the sprite `table` of `script`.
    static bool showsSprite(AE::ISceneNode* node, const std::string& script, const std::string& table)
    {
        auto* spriteNode = dynamic_cast<AE::SpriteSceneNode*>(node);
        auto* sprites = VQ::SpriteManager<VQ::Sprite>::instance();
        VQ::Sprite* expected = sprites->tryCreateSpriteFromScript(script, table, "default");
        bool same = spriteNode && spriteNode->sprite && expected &&
                    spriteNode->sprite->texture() == expected->texture() &&
                    !spriteNode->sprite->sourceRects().empty() && !expected->sourceRects().empty();
        if (same) {
            const VQ::Rect a = spriteNode->sprite->sourceRects()[0];
            const VQ::Rect b = expected->sourceRects()[0];
            same = a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
        }
        if (expected)
            sprites->releaseSprite(expected);
        return same;
    }

    std::unique_ptr<BuyValutaWindowSingleton> mShop;
};

}  // namespace

TEST_F(ShopWindowsTest, TheLightningSellsForTwoHundredSilverAndAShortPurseKeepsTheOffer)
{
    struct Case {
        int silver;
        int result;
        int silverAfter;
        int stock;
    };
    for (const Case c : {Case{199, 0, 199, 0}, Case{200, 1, 0, 1}}) {
        profile().silver = c.silver;
        profile().bonusCounts = {0, 0, 0, 0};
        profile().bonusPurchases = {};
        BuyBonusWindow offer;
        offer.open(1, "bonus2", false);
        shown(offer);
        EXPECT_EQ(textOf(offer.priceText), "200");
        EXPECT_EQ(textOf(offer.title), localized("BONUS_ZEUS_TITLE"));
        EXPECT_TRUE(showsSprite(offer.icon, "ui_sprites", "s_buster_zeus_busters_psd"));
        offer.update(0.0f);
        EXPECT_EQ(textOf(offer.silverText), std::to_string(c.silver));
        offer.buy();
        EXPECT_EQ(offer.result, c.result) << c.silver;
        EXPECT_EQ(profile().silver, c.silverAfter);
        EXPECT_EQ(profile().bonusCounts[1], c.stock);
        EXPECT_EQ(profile().bonusPurchases[1].count, c.stock);
        EXPECT_EQ(profile().bonusPurchases[1].time, c.stock ? NOW : 0);
        // Short: the shop's silver page has nothing, so only the offer is up,
        // waiting on the shop.
        EXPECT_EQ(offer.state, c.stock ? DialogWindow::HIDING : DialogWindow::SHOWN);
        EXPECT_EQ(mShop->state, DialogWindow::HIDDEN);
        const bool listening = std::find(mShop->listeners.begin(), mShop->listeners.end(),
                                         static_cast<DialogWindowListener*>(&offer)) != mShop->listeners.end();
        EXPECT_EQ(listening, c.stock == 0);
        if (c.stock)
            finishHide(offer);
    }
    // The purchase was saved.
    mProperties->load(0);
    EXPECT_EQ(profile().bonusCounts[1], 1);
    EXPECT_EQ(profile().silver, 0);
}

TEST_F(ShopWindowsTest, TheFreeOfferCannotBeClosedAndCostsNothing)
{
    profile().silver = 0;
    const int stock = profile().bonusCounts[2];
    const int taken = profile().bonusPurchases[2].count;
    BuyBonusWindow offer;
    offer.open(2, "bonus0", true);
    shown(offer);
    EXPECT_FALSE(offer.sceneNode("btnClose")->enabled);
    EXPECT_EQ(textOf(offer.priceText), localized("FREE_PRICE"));
    offer.close();
    EXPECT_EQ(offer.state, DialogWindow::SHOWN);
    EXPECT_EQ(offer.result, 0);
    offer.buy();
    EXPECT_EQ(offer.result, BuyBonusWindow::BOUGHT);
    EXPECT_EQ(profile().bonusCounts[2], stock + 1);
    EXPECT_EQ(profile().bonusPurchases[2].count, taken + 1);
    EXPECT_EQ(profile().silver, 0);
    finishHide(offer);
    // What was taken is saved at once, as a purchase would be.
    mProperties->load(0);
    EXPECT_EQ(profile().bonusCounts[2], stock + 1);

    // Paid again, the close button is back and closes with 2.
    offer.open(2, "bonus0", false);
    shown(offer);
    EXPECT_TRUE(offer.sceneNode("btnClose")->enabled);
    offer.close();
    EXPECT_EQ(offer.result, BuyBonusWindow::CLOSED);
}

TEST_F(ShopWindowsTest, TheOfferSitsBesideItsButtonAndItsButtonsFollowTheBubble)
{
    BuyBonusWindow offer;
    offer.setPosition(300.0f, 500.0f);
    offer.open(0, "bonus1", false);
    shown(offer);
    EXPECT_FLOAT_EQ(offer.rootGroup->worldPosition.x, 300.0f);
    EXPECT_FLOAT_EQ(offer.rootGroup->worldPosition.y, 500.0f);
    // Landscape: the bubble right of the button.
    EXPECT_GT(offer.sceneNode("bubble")->worldPosition.x, 300.0f);
    offer.update(0.0f);
    AE::ISceneNode* buyNode = offer.sceneNode("btnBuy");
    const VQ::Vector2f at = offer.requireWidget("btnBuy")->absolutePosition();
    EXPECT_FLOAT_EQ(at.x, buyNode->worldPosition.x);
    EXPECT_FLOAT_EQ(at.y, buyNode->worldPosition.y);
}

TEST_F(ShopWindowsTest, MovesCostTwoHundredFiftyGold)
{
    struct Case {
        int gold;
        int result;
        int goldAfter;
    };
    for (const Case c : {Case{250, 1, 0}, Case{249, 0, 249}}) {
        profile().gold = c.gold;
        BuyMovesTimeWindow offer;
        offer.price = 250;
        offer.setupForMoves();
        offer.refreshScene();
        offer.show(true);
        shown(offer);
        EXPECT_EQ(textOf(offer.title), localized("BUY_MOVES_TITLE"));
        EXPECT_EQ(textOf(offer.priceText), "250");
        offer.buy();
        EXPECT_EQ(offer.result, c.result) << c.gold;
        EXPECT_EQ(profile().gold, c.goldAfter);
        EXPECT_EQ(offer.state, c.result ? DialogWindow::HIDING : DialogWindow::SHOWN);
        if (c.result)
            finishHide(offer);
    }
    BuyMovesTimeWindow time;
    time.price = 4;
    time.setupForTime();
    EXPECT_TRUE(showsSprite(time.icon, "ui_sprites", "s_plus_15_time_icon_select_ui_p_psd"));
    EXPECT_EQ(textOf(time.desc), localized("BUY_TIME_DESC"));
}

TEST_F(ShopWindowsTest, TheHeartShopCountsDownSellsAHeartAndClosesOnceOneIsThere)
{
    MainMode mode("");
    BuyHeartWindow heart(&mode);
    EXPECT_EQ(textOf(heart.sceneNode("#heart_price")), "-11");
    mode.lives = 0;
    mode.lastLifeChange = NOW - 1000;
    heart.show(false);
    finishShow(heart);
    heart.update(0.0f);
    EXPECT_EQ(textOf(heart.timeText), "03:20");
    EXPECT_TRUE(heart.timeText->enabled);
    EXPECT_TRUE(heart.buyButton->enabled);
    EXPECT_TRUE(heart.buyButton->parent->visible);
    EXPECT_EQ(heart.state, DialogWindow::SHOWN);

    // Ten gold is short: the gold page has nothing and the shop stays.
    profile().gold = 10;
    heart.buy();
    EXPECT_EQ(profile().gold, 10);
    EXPECT_EQ(mode.lives, 0);
    EXPECT_EQ(heart.state, DialogWindow::SHOWN);
    heart.askFriends();
    EXPECT_EQ(heart.requestKind, "giveLife");
    EXPECT_NE(heart.requestParams.find("type=\"giveLife\""), std::string::npos) << heart.requestParams;
    EXPECT_EQ(heart.requestText, localized("ASK_FOR_LIFES_REQUEST_TEXT"));

    profile().gold = 11;
    heart.buy();
    EXPECT_EQ(profile().gold, 0);
    EXPECT_EQ(mode.lives, 1);
    EXPECT_EQ(heart.state, DialogWindow::HIDING);
    finishHide(heart);

    // With every heart there the countdown goes and the shop closes itself.
    mode.lives = 5;
    heart.show(false);
    finishShow(heart);
    heart.update(0.0f);
    EXPECT_FALSE(heart.timeText->enabled);
    EXPECT_FALSE(heart.timeTextTitle->enabled);
    EXPECT_FALSE(heart.buyButton->enabled);
    EXPECT_EQ(heart.state, DialogWindow::HIDING);
}

TEST_F(ShopWindowsTest, TheStarPageListsFourPacksAndOnlyItHasRows)
{
    for (const int page : {1, 2}) {
        mShop->open(page, false);
        EXPECT_EQ(mShop->state, DialogWindow::HIDDEN) << page;
    }
    mShop->open(3, false);
    EXPECT_EQ(mShop->state, DialogWindow::SHOWING);
    EXPECT_EQ(mShop->page, 3);
    EXPECT_EQ(textOf(mShop->sceneNode("#title")), localized("WINDOW_SHOPPING_STARS_TITLE"));
    EXPECT_FALSE(mShop->sceneNode("#action_strip")->enabled);
    ASSERT_EQ(mShop->list->items.size(), 4u);
    const char* names[] = {"item:0", "item:0", "item:1", "item:1"};
    const char* amounts[] = {"1", "5", "15", "20"};
    const char* prices[] = {"75", "150", "450", "600"};
    for (size_t i = 0; i < 4; ++i) {
        AE::ISceneNode* row = mShop->list->items[i]->scene;
        EXPECT_EQ(mShop->list->items[i]->name, names[i]);
        EXPECT_EQ(textOf(row->findNode("#amount")), amounts[i]);
        EXPECT_EQ(textOf(row->findNode("#price")), prices[i]);
        EXPECT_TRUE(showsSprite(row->findNode("#icon"), "map_sprites", "s_star_valuta_sale_" + std::to_string(i + 1)));
        EXPECT_TRUE(showsSprite(row->findNode("#btnIcon"), "targets_sprites", "s_Layer_4_panel_valuta_psd"));
        EXPECT_FALSE(row->findNode("#action")->enabled);
    }
    // Opening again builds the rows anew.
    finishShow(*mShop);
    mShop->open(3, false);
    EXPECT_EQ(mShop->list->items.size(), 4u);
    EXPECT_EQ(mShop->rows.size(), 4u);
}

TEST_F(ShopWindowsTest, ARowShowsItsIconPriceAndSale)
{
    struct Case {
        int index;
        int rewardKind;
        int priceKind;
        float price;
        int multiplier;
        const char* icon;  // "" keeps the scene's
        const char* priceText;
    };
    const Case cases[] = {
        {6, 3, 1, 75.0f, 1, "s_star_valuta_sale_6", "75"},
        {9, 3, 1, 75.0f, 1, "s_star_valuta_sale_6", "75"},
        {0, 3, 0, 1.99f, 1, "s_star_valuta_sale_1", "1.99 EUR"},
        {1, 3, 3, 12.0f, 1, "s_star_valuta_sale_2", "12"},
        {1, 3, -2, 12.0f, 1, "s_star_valuta_sale_2", "12"},
        {1, 3, 4, 12.0f, 3, "s_star_valuta_sale_2", "0"},
        // No silver heaps are drawn: the row keeps its picture.
        {0, 1, 1, 5.0f, 1, "s_star_valuta_sale_1", "5"},
        {0, 7, 1, 5.0f, 1, "s_star_valuta_sale_1", "5"},
    };
    for (const Case& c : cases) {
        StoreOffer offer;
        offer.rewardKind = c.rewardKind;
        offer.amount = 4;
        offer.price = c.price;
        offer.priceKind = c.priceKind;
        offer.currencyLabel = "EUR";
        VQ::UISceneListItem item("valuta_purchase_item_xml", "item:0");
        ValutaPurchaseItem row(&item, c.index, c.multiplier, mShop.get(), offer);
        const std::string what = std::to_string(c.index) + " kind " + std::to_string(c.priceKind);
        EXPECT_TRUE(showsSprite(item.scene->findNode("#icon"), "map_sprites", c.icon)) << what;
        EXPECT_EQ(textOf(item.scene->findNode("#price")), c.priceText) << what;
        EXPECT_EQ(item.scene->findNode("#btnIcon")->enabled, c.priceKind >= 1 && c.priceKind <= 3) << what;
        EXPECT_EQ(item.scene->findNode("#action")->enabled, c.multiplier > 1) << what;
        EXPECT_EQ(textOf(item.scene->findNode("#action_amount")), std::to_string(4 * c.multiplier)) << what;
    }
}

TEST_F(ShopWindowsTest, AStarPackIsPaidInSilverAndAShortPurseKeepsTheShop)
{
    struct Case {
        int silver;
        bool bought;
    };
    for (const Case c : {Case{149, false}, Case{350, true}}) {
        profile().silver = c.silver;
        profile().starPurchases.clear();
        const int stars = profile().totalStars();
        mShop->open(3, false);
        finishShow(*mShop);
        ValutaPurchaseItem& fivePack = *mShop->rows[1];
        fivePack.elementClicked("somethingElse");
        EXPECT_EQ(profile().silver, c.silver);
        fivePack.elementClicked("purchaseItem");
        EXPECT_EQ(profile().silver, c.bought ? 200 : 149);
        EXPECT_EQ(profile().totalStars(), stars + (c.bought ? 5 : 0));
        EXPECT_EQ(mShop->state, c.bought ? DialogWindow::HIDING : DialogWindow::SHOWN);
        EXPECT_EQ(mShop->result, 0);
        // Short: the row's own shop tried the silver page, which has nothing.
        EXPECT_EQ(fivePack.ownShop != nullptr, !c.bought);
        if (fivePack.ownShop) {
            EXPECT_EQ(fivePack.ownShop->state, DialogWindow::HIDDEN);
        }
        if (c.bought)
            finishHide(*mShop);
    }
    mProperties->load(0);
    ASSERT_EQ(profile().starPurchases.size(), 1u);
    EXPECT_EQ(profile().starPurchases[0].count, 5);
    EXPECT_EQ(profile().starPurchases[0].time, NOW);
}

TEST_F(ShopWindowsTest, TheFestivalOfferShowsOnlyWhileOneRuns)
{
    HolidayPurchaseWindow holiday;
    holiday.show(false);
    EXPECT_EQ(holiday.state, DialogWindow::HIDDEN) << "no offer runs";

    auto offer = std::make_unique<TimedOffer>();
    offer->bundle = std::make_unique<OfferBundle>();
    offer->bundle->items = {{CURRENCY_GOLD, 30}, {CURRENCY_STARS, 5}};
    offer->bundle->priceText = "4.99";
    offer->bundle->currencyText = "EUR";
    offer->name = "lanterns";
    const std::time_t now = NOW;
    std::tm start = *std::localtime(&now);
    std::tm end = start;
    start.tm_hour -= 1;
    end.tm_hour += 1;
    offer->start = start;
    offer->end = end;
    mStore->offers.push_back(std::move(offer));

    holiday.show(false);
    EXPECT_EQ(holiday.state, DialogWindow::SHOWING);
    EXPECT_TRUE(holiday.sceneNode("#item0")->enabled);
    EXPECT_TRUE(holiday.sceneNode("#item1")->enabled);
    EXPECT_FALSE(holiday.sceneNode("#item2")->enabled);
    EXPECT_EQ(textOf(holiday.sceneNode("#item1")->findNode("#amount")), "5");
    EXPECT_TRUE(showsSprite(holiday.sceneNode("#item0")->findNode("#icon"), "targets_sprites",
                            "s_Layer_3_panel_valuta_psd"));
    EXPECT_EQ(textOf(holiday.sceneNode("#price")), "4.99");
    EXPECT_EQ(textOf(holiday.sceneNode("#price_valuta")), "EUR");
    finishShow(holiday);
    holiday.buy();
    EXPECT_EQ(holiday.state, DialogWindow::HIDING);
}

TEST_F(ShopWindowsTest, DisarmingABoosterRefundsItsPriceAndTakesBackItsPurchase)
{
    PlayLevelWindow window;
    window.show(false);
    shown(window);
    window.slotKinds = {0, 1, 2};
    PlayerProfile& player = profile();
    player.silver = 100;
    player.passiveBonusArmed = {0, 0, 1};
    player.passiveBonusPurchases[2].count = 3;
    player.passiveBonusPurchases[1].count = 4;
    const auto firstCount = player.passiveBonusPurchases[0].count;

    window.clickSlot(2);
    EXPECT_EQ(player.passiveBonusPurchases[2].count, 2);
    EXPECT_EQ(player.passiveBonusArmed[2], 0);
    EXPECT_EQ(player.silver, 100 + boosterPrice(2));
    // The other boosters' purchases stay.
    EXPECT_EQ(player.passiveBonusPurchases[1].count, 4);
    EXPECT_EQ(player.passiveBonusPurchases[0].count, firstCount);
}
