#include "dialogs/buy_valuta_window.h"

#include <algorithm>

#include "animationeditor/marker.h"
#include "animationeditor/scene_node.h"
#include "animationeditor/sprite_scene_node.h"
#include "sprite_manager.h"
#include "ui/ui_scene_list.h"
#include "log_system.h"
#include "utils.h"

namespace {

VQ::Sprite* tryCreate(const std::string& script, const std::string& name)
{
    return VQ::SpriteManager<VQ::Sprite>::instance()->tryCreateSpriteFromScript(script, name, "default");
}

void setNodeSprite(AE::ISceneNode* node, VQ::Sprite* sprite)
{
    if (!sprite)
        return;
    if (auto* spriteNode = dynamic_cast<AE::SpriteSceneNode*>(node))
        spriteNode->setSprite(sprite);
    else
        VQ::SpriteManager<VQ::Sprite>::instance()->releaseSprite(sprite);
}

void startIfPresent(AE::ISceneNode* scene, const char* name)
{
    if (AE::Marker* marker = scene ? scene->getMarker(name) : nullptr)
        marker->start(true);
}

AE::ISceneNode* findIn(AE::ISceneNode* scene, const char* name)
{
    return scene ? scene->findNode(name) : nullptr;
}

void enableNode(AE::ISceneNode* node, bool on)
{
    if (node)
        node->setEnabled(on);
}

}  // namespace

// --- ValutaPurchaseItem ---

ValutaPurchaseItem::ValutaPurchaseItem(VQ::UISceneListItem* item, int index, int multiplier, BuyValutaWindow* owner,
                                       const StoreOffer& product) :
    offer(product), owner(owner)
{
    AE::ISceneNode* scene = item ? item->scene : nullptr;
    if (item)
        item->addListener(this);
    if (scene)
        scene->setEnabled(true);
    if (const char* format = BuyValutaWindow::rowIconFormat(offer.rewardKind))
        setNodeSprite(findIn(scene, "#icon"),
                      tryCreate("map_sprites", VQ::formatString(format, std::min(index + 1, 6))));
    AE::ISceneNode* button = findIn(scene, "#btnIcon");
    const char* coin = BuyValutaWindow::buttonIcon(offer.priceKind);
    enableNode(button, coin != nullptr);
    if (coin)
        setNodeSprite(button, tryCreate("targets_sprites", coin));
    std::string price;
    if (BuyValutaWindow::priceText(offer, price))
        setSceneText(findIn(scene, "#price"), price, false);
    startIfPresent(scene, offer.profit != 0 ? "profit" : "default");
    setSceneText(findIn(scene, "#amount"), VQ::formatString("%d", offer.amount), false);
    enableNode(findIn(scene, "#old_amount_strip"), multiplier > 1);
    enableNode(findIn(scene, "#action"), multiplier > 1);
    setSceneText(findIn(scene, "#action_amount"), VQ::formatString("%d", offer.amount * multiplier), false);
}

ValutaPurchaseItem::~ValutaPurchaseItem() = default;

void ValutaPurchaseItem::onElementClicked(VQ::UISceneListItem* item, const std::string& element)
{
    (void)item;
    elementClicked(element);
}

void ValutaPurchaseItem::elementClicked(const std::string& element)
{
    if (element != buttonName || !owner || owner->state != DialogWindow::SHOWN)
        return;
    if (ownShop && ownShop->state != DialogWindow::HIDDEN)
        return;
    Store* store = Store::instancePtr();
    if (!store)
        return;
    if (store->applyPurchase(offer)) {
        owner->result = 0;
        owner->hide();
        return;
    }
    if (!ownShop)
        ownShop = std::make_unique<BuyValutaWindow>();
    ownShop->open(offer.priceKind, false);
}

// --- BuyValutaWindow ---

const char* BuyValutaWindow::rowIconFormat(int kind)
{
    static const char* const names[] = {"s_silver_valuta_sale_%d", "s_gold_valuta_sale_%d", "s_star_valuta_sale_%d"};
    return kind >= 1 && kind <= 3 ? names[kind - 1] : nullptr;
}

const char* BuyValutaWindow::buttonIcon(int kind)
{
    static const char* const names[] = {"s_Layer_4_panel_valuta_psd", "s_Layer_3_panel_valuta_psd",
                                        "s_Layer_5_panel_valuta_psd"};
    return kind >= 1 && kind <= 3 ? names[kind - 1] : nullptr;
}

bool BuyValutaWindow::priceText(const StoreOffer& offer, std::string& text)
{
    if (offer.priceKind == 0) {
        text = VQ::formatString("%.2f %s", double(offer.price), offer.currencyLabel.c_str());
        return true;
    }
    if (offer.priceKind < 4) {
        text = VQ::formatString("%.0f", double(offer.price));
        return true;
    }
    return false;
}

BuyValutaWindow::BuyValutaWindow() : DialogWindow("buy_valuta_window_ui", "BuyValutaWindow", "gui")
{
    bindButton("btnClose", this, &BuyValutaWindow::close);
    list = dynamic_cast<VQ::UISceneList*>(requireWidget("list"));
    actionTimeText = sceneNode("#action_time_text");
    enableNode(actionTimeText, false);
}

BuyValutaWindow::~BuyValutaWindow()
{
    // The list deletes its items with the tree; the rows only listen to them.
    rows.clear();
}

void BuyValutaWindow::open(int kind, bool queued)
{
    if (list)
        list->setScrollPosition(0.0f);
    const std::vector<StoreOffer> products =
        Store::exists() ? Store::instance()->getProducts(kind) : std::vector<StoreOffer>();
    if (products.empty())
        return;
    if (list)
        list->clearItems();
    rows.clear();
    for (size_t i = 0; i < products.size(); ++i) {
        auto* item = new VQ::UISceneListItem("valuta_purchase_item_xml", VQ::formatString("item:%d", int(i) / 2));
        if (list)
            list->addItem(item);
        rows.push_back(std::make_unique<ValutaPurchaseItem>(item, int(i), 1, this, products[i]));
        if (!list)
            delete item;
    }
    setSceneText(sceneNode("#title"), kind == CURRENCY_STARS ? "WINDOW_SHOPPING_STARS_TITLE"
                                                             : "WINDOW_SHOPPING_CURRENCY_TITLE",
                 true);
    enableNode(sceneNode("#action_strip"), false);
    enableNode(sceneNode("#action_time"), false);
    setSceneText(sceneNode("#action_title"), VQ::formatString("x%d", 1), false);
    page = kind;
    show(queued);
}
