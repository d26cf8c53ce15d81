#include "dialogs/buy_bonus_window.h"

#include "animationeditor/scene_node.h"
#include "game_helpers/goals_helper.h"
#include "game_state_manager.h"
#include "game_time.h"
#include "player_profile.h"
#include "progress_saver.h"
#include "ui/text_manager.h"
#include "log_system.h"
#include "utils.h"

namespace {

struct BonusOffer {
    const char* title;
    const char* desc;
    int price;
};

constexpr BonusOffer OFFERS[] = {
    {"BONUS_GEFEST_TITLE", "BONUS_GEFEST_DESC", 110},
    {"BONUS_ZEUS_TITLE", "BONUS_ZEUS_DESC", 200},
    {"BONUS_ARTEMIDA_TITLE", "BONUS_ARTEMIDA_DESC", 50},
    {"BONUS_ARES_TITLE", "BONUS_ARES_DESC", 90},
};

bool portrait()
{
    const GameStateManager* states = GameStateManager::instancePtr();
    return states && states->isPortrait();
}

}  // namespace

int BuyBonusWindow::priceOf(int bonusKind)
{
    return bonusKind >= 0 && bonusKind < 4 ? OFFERS[bonusKind].price : 0;
}

BuyBonusWindow::BuyBonusWindow()
{
    if (!root)
        return;
    bindButton("btnBuy", this, &BuyBonusWindow::buy);
    bindButton("btnClose", this, &BuyBonusWindow::close);
}

void BuyBonusWindow::open(int bonusKind, bool free)
{
    // Kinds outside the table have nothing to sell.
    const BonusOffer* offer = bonusKind >= 0 && bonusKind < 4 ? &OFFERS[bonusKind] : nullptr;
    price = offer ? offer->price : 0;
    priceCurrency = SILVER;
    freeOffer = free;
    if (AE::ISceneNode* closeNode = sceneNode("btnClose"))
        closeNode->setEnabled(!free);
    if (free) {
        setSceneText(priceText, "FREE_PRICE", true);
    } else {
        showPrice();
    }
    if (offer && root)
        fill(createBonusSprite(bonusKind), offer->title, offer->desc);
    kind = bonusKind;
    refreshScene();
    result = 0;
    showOrClose(true);
    result = 0;
}

void BuyBonusWindow::refreshScene()
{
    DialogWindow::refreshScene();
    startLayout(VQ::formatString("%s%c", name.c_str(), portrait() ? 'v' : 'h'));
}

void BuyBonusWindow::buy()
{
    if (state != SHOWN || !profile)
        return;
    if (kind < 0 || kind >= 4)
        return;
    const size_t k = static_cast<size_t>(kind);
    if (!freeOffer) {
        result = 0;
        if (balance() < price) {
            openCurrencyShop();
            return;
        }
    }
    profile->bonusPurchases[k].count += 1;
    profile->bonusPurchases[k].time = currentTime();
    profile->bonusCounts[k] += 1;
    if (freeOffer) {
        // Taken, not bought: the purchase is still saved.
        if (ProgressSaver* saver = ProgressSaver::instancePtr())
            saver->saveNow();
    } else {
        pay();
    }
    result = BOUGHT;
    refreshPurse();
    hide();
}

void BuyBonusWindow::close()
{
    if (freeOffer || state != SHOWN)
        return;
    result = CLOSED;
    hide();
}
