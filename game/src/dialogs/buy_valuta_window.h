#pragma once
// The currency shop ("buy_valuta_window_ui"): the store's products of one
// currency page as a scrolling list of rows; a click on a row buys it
// through the store. One shared instance, created at start-up, serves every
// part of the game that lacks a currency. A page without products does not
// open, and the window that asked stays as it was.

#include <memory>
#include <string>
#include <vector>

#include "dialogs/dialog_window.h"
#include "singleton.h"
#include "store.h"
#include "ui/ui_scene_list.h"

namespace AE {
class ISceneNode;
}
namespace VQ {
class UISceneList;
class UISceneListItem;
}
class BuyValutaWindow;

// One product row of the shop: its icon, amount and price, and the
// purchase on a click of its "purchaseItem" button.
class ValutaPurchaseItem : public VQ::UISceneListItemListener {
public:
    // The row of `item` (the `index`-th of its page), its amount shown
    // `multiplier` times in a sale.
    ValutaPurchaseItem(VQ::UISceneListItem* item, int index, int multiplier, BuyValutaWindow* owner,
                       const StoreOffer& offer);
    ~ValutaPurchaseItem() override;

    void onElementClicked(VQ::UISceneListItem* item, const std::string& element) override;
    // The row's reaction to a click of `element`.
    void elementClicked(const std::string& element);

    StoreOffer offer;
    BuyValutaWindow* owner;  // not owned
    // The shop of the price currency, opened when the purse is short.
    std::unique_ptr<BuyValutaWindow> ownShop;
    std::string buttonName = "purchaseItem";
};

class BuyValutaWindow : public DialogWindow {
public:
    // The row icon ("map_sprites", with the row's number in "%d") and the
    // button icon ("targets_sprites") of a currency kind; null outside 1..3.
    static const char* rowIconFormat(int kind);
    static const char* buttonIcon(int kind);
    // The price text of a row: kind 0 with two decimals and the label,
    // kinds below 4 a whole number, none from 4 on (returns false).
    static bool priceText(const StoreOffer& offer, std::string& text);

    // Built hidden.
    BuyValutaWindow();
    ~BuyValutaWindow() override;

    // Opens on the page of currency `kind` (1 silver, 2 gold, 3 stars), at
    // once or queued; a page without products opens nothing.
    void open(int kind, bool queued);
    void close() { hide(); }

    VQ::UISceneList* list = nullptr;  // the tree's
    std::vector<std::unique_ptr<ValutaPurchaseItem>> rows;
    AE::ISceneNode* actionTimeText = nullptr;
    // 1 silver, 2 gold, 3 stars.
    int page = 1;
};

class BuyValutaWindowSingleton : public BuyValutaWindow, public VQ::Singleton<BuyValutaWindowSingleton> {
public:
    BuyValutaWindowSingleton() = default;
};
