#include "dialogs/offer_window.h"

#include <algorithm>

#include "animationeditor/marker.h"
#include "animationeditor/scene_node.h"
#include "animationeditor/sprite_scene_node.h"
#include "dialogs/buy_valuta_window.h"
#include "dialogs/dialog_window_manager.h"
#include "game_helpers/bonus.h"
#include "player_profile.h"
#include "progress_saver.h"
#include "sprite_manager.h"
#include "ui/ui_manager.h"
#include "ui/ui_widget.h"
#include "log_system.h"
#include "utils.h"

namespace {

// Windows need the interface and the window manager.
bool canHaveWindows()
{
    return VQ::UIManager::exists() && DialogWindowManager::exists();
}

}  // namespace

OfferWindow::OfferWindow() : profile(gameProfile())
{
    if (!canHaveWindows())
        return;
    loadTree("buy_bonus_window_ui", "BuyBonusWindow", "gui");
    rootGroup = sceneNode("root_group");
    icon = sceneNode("#icon");
    title = sceneNode("#title");
    desc = sceneNode("#desc");
    priceIcon = sceneNode("#priceIcon");
    priceText = sceneNode("#price");
    goldText = sceneNode("#gold");
    silverText = sceneNode("#silver");
}

OfferWindow::~OfferWindow()
{
    if (BuyValutaWindowSingleton* shop = BuyValutaWindowSingleton::instancePtr())
        shop->removeListener(this);
}

int OfferWindow::balance() const
{
    if (!profile)
        return 0;
    return priceCurrency == SILVER ? profile->silver : profile->gold;
}

void OfferWindow::fill(VQ::Sprite* iconSprite, const std::string& titleKey, const std::string& descKey)
{
    if (auto* node = dynamic_cast<AE::SpriteSceneNode*>(icon); node && iconSprite)
        node->setSprite(iconSprite);
    else if (iconSprite)
        VQ::SpriteManager<VQ::Sprite>::instance()->releaseSprite(iconSprite);
    setSceneText(title, titleKey, true);
    setSceneText(desc, descKey, true);
}

void OfferWindow::showPrice()
{
    if (auto* node = dynamic_cast<AE::SpriteSceneNode*>(priceIcon)) {
        const char* coin = priceCurrency == SILVER ? "s_bonus_valuta_silver_ui_p_psd" : "s_bonus_valuta_gold_ui_p_psd";
        if (VQ::Sprite* sprite =
                VQ::SpriteManager<VQ::Sprite>::instance()->tryCreateSpriteFromScript("ui_sprites", coin, "default"))
            node->setSprite(sprite);
    }
    setSceneText(priceText, VQ::formatString("%d", price), false);
}

void OfferWindow::refreshPurse()
{
    if (!profile)
        return;
    setSceneText(silverText, VQ::formatString("%d", profile->silver), false);
    setSceneText(goldText, VQ::formatString("%d", profile->gold), false);
}

void OfferWindow::update(float dt)
{
    (void)dt;
    refreshPurse();
    placeButtons();
}

void OfferWindow::onHidden(DialogWindow* window)
{
    window->removeListener(this);
    refreshPurse();
}

void OfferWindow::placeRoot(float x, float y)
{
    if (!rootGroup)
        return;
    rootGroup->setPosition(x, y);
    AE::ISceneNode::update(rootGroup, 0.0f);
    refreshScene();
}

void OfferWindow::startLayout(const std::string& name)
{
    if (!scene)
        return;
    if (AE::Marker* marker = scene->getMarker(name))
        marker->start(true);
    AE::ISceneNode::update(scene, 0.0f);
    placeButtons();
}

void OfferWindow::placeButtons()
{
    for (const char* name : {"btnBuy", "btnClose"}) {
        AE::ISceneNode* node = sceneNode(name);
        VQ::UIWidget* widget = root ? root->findChild(name) : nullptr;
        if (!node || !widget)
            continue;
        const VQ::Vector2f origin = widget->parent ? widget->parent->absolutePosition() : VQ::Vector2f(0.0f, 0.0f);
        widget->position = VQ::Vector2f(node->worldPosition.x - origin.x, node->worldPosition.y - origin.y);
        widget->setVisible(node->enabled);
    }
}

void OfferWindow::openCurrencyShop()
{
    BuyValutaWindowSingleton* shop = BuyValutaWindowSingleton::instancePtr();
    if (!shop)
        return;
    shop->addListener(this);
    shop->open(priceCurrency, false);
}

void OfferWindow::pay()
{
    if (!profile)
        return;
    const int left = std::max(balance() - price, 0);
    if (priceCurrency == SILVER)
        profile->silver = left;
    else
        profile->gold = left;
    if (ProgressSaver* saver = ProgressSaver::instancePtr())
        saver->saveNow();
}

void OfferWindow::showOrClose(bool queued)
{
    if (root) {
        DialogWindow::show(queued);
        return;
    }
    for (DialogWindowListener* listener : std::vector<DialogWindowListener*>(listeners))
        listener->onHidden(this);
}
