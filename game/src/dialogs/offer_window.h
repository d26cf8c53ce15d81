#pragma once
// What the bonus offer and the moves and time offer share: the speech
// bubble of "buy_bonus_window_ui" with its icon, texts, price and the
// player's purse, the price paid from the profile, and the shared currency
// shop opened over the offer when the purse is short. The bubble's buttons
// are widgets kept on the bubble's nodes as it moves.
//
// Without an interface or a window manager (the headless board) an offer
// has no bubble: it closes as soon as it opens, with nothing bought, so
// that whoever holds the level for it lets go again.

#include <cstdint>
#include <string>

#include "dialogs/dialog_window.h"

namespace AE {
class ISceneNode;
}
namespace VQ {
class Sprite;
}
class PlayerProfile;

class OfferWindow : public DialogWindow, public DialogWindowListener {
public:
    // `result` values.
    static constexpr int32_t BOUGHT = 1;
    static constexpr int32_t CLOSED = 2;
    // Price currencies.
    static constexpr int32_t SILVER = 1;
    static constexpr int32_t GOLD = 2;

    OfferWindow();
    ~OfferWindow() override;

    // "#silver" and "#gold" follow the purse every frame.
    void update(float dt) override;
    // The currency shop closed: it is let go, the purse shown anew.
    void onHidden(DialogWindow* window) override;

    // The player's balance in the price currency.
    int balance() const;

    PlayerProfile* profile;  // not owned; the game's player by default
    AE::ISceneNode* rootGroup = nullptr;
    AE::ISceneNode* icon = nullptr;
    AE::ISceneNode* title = nullptr;
    AE::ISceneNode* desc = nullptr;
    AE::ISceneNode* priceIcon = nullptr;
    AE::ISceneNode* priceText = nullptr;
    AE::ISceneNode* goldText = nullptr;
    AE::ISceneNode* silverText = nullptr;
    int32_t price = 0;
    int32_t priceCurrency = SILVER;

protected:
    // The icon sprite (kept when null), the title and description keys.
    void fill(VQ::Sprite* iconSprite, const std::string& titleKey, const std::string& descKey);
    // The price with its currency's coin.
    void showPrice();
    void refreshPurse();
    // The bubble's root at `point` in the window's scene, posed at once.
    void placeRoot(float x, float y);
    // Starts the layout marker `name` when the scene has it, then puts the
    // buttons back on their nodes.
    void startLayout(const std::string& name);
    // Too little in the purse: the shared shop opens over the offer on the
    // price currency's page and the offer hears when it closes.
    void openCurrencyShop();
    // Pays the price (never below 0) and saves.
    void pay();
    // Opens at once or queued; an offer without a bubble is closed at once.
    void showOrClose(bool queued);

private:
    void placeButtons();
};
