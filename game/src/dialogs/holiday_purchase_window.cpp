#include "dialogs/holiday_purchase_window.h"

#include <algorithm>

#include "animationeditor/scene_node.h"
#include "animationeditor/sprite_scene_node.h"
#include "dialogs/buy_valuta_window.h"
#include "sprite_manager.h"
#include "store.h"
#include "log_system.h"
#include "utils.h"

HolidayPurchaseWindow::HolidayPurchaseWindow()
    : DialogWindow("holiday_purchase_window_ui", "HolidayPurchaseWindow", "gui")
{
    bindButton("btnBuy", this, &HolidayPurchaseWindow::buy);
    bindButton("btnClose", this, &HolidayPurchaseWindow::close);
}

TimedOffer* HolidayPurchaseWindow::runningOffer()
{
    if (!Store::exists())
        return nullptr;
    for (const auto& offer : Store::instance()->offers)
        if (offer && offer->secondsLeft() > 0)
            return offer.get();
    return nullptr;
}

void HolidayPurchaseWindow::show(bool queued)
{
    TimedOffer* offer = runningOffer();
    if (!offer)
        return;
    const std::vector<OfferItem> none;
    const std::vector<OfferItem>& items = offer->bundle ? offer->bundle->items : none;
    const size_t shown = std::min<size_t>(items.size(), 3);
    auto* sprites = VQ::SpriteManager<VQ::Sprite>::instance();
    for (size_t i = 0; i < 3; ++i) {
        AE::ISceneNode* slot = sceneNode(VQ::formatString("#item%d", int(i)));
        if (!slot)
            continue;
        slot->setEnabled(i < shown);
        if (i >= shown)
            continue;
        if (const char* coin = BuyValutaWindow::buttonIcon(items[i].kind))
            if (auto* icon = dynamic_cast<AE::SpriteSceneNode*>(slot->findNode("#icon")))
                if (VQ::Sprite* sprite = sprites->tryCreateSpriteFromScript("targets_sprites", coin, "default"))
                    icon->setSprite(sprite);
        setSceneText(slot->findNode("#amount"), VQ::formatString("%d", items[i].amount), false);
    }
    if (offer->bundle) {
        setSceneText(sceneNode("#price"), offer->bundle->priceText, false);
        setSceneText(sceneNode("#price_valuta"), offer->bundle->currencyText, false);
    }
    if (auto* image = dynamic_cast<AE::SpriteSceneNode*>(sceneNode("#image")); image && offer->picture)
        image->setSprite(sprites->cloneSprite(offer->picture));
    DialogWindow::show(queued);
}

void HolidayPurchaseWindow::buy()
{
    // The store has no purchase for a time-limited offer: looking it up is
    // all there is to do before closing.
    (void)runningOffer();
    hide();
}
