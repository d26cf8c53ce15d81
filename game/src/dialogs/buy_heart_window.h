#pragma once
// The heart shop ("buy_heart_window_ui"): while the player has no heart it
// counts down to the next one, sells one for gold and offers to ask friends
// for one; it closes itself as soon as a heart is there. The map keeps one;
// nothing in the game opens it yet.

#include <string>

#include "dialogs/dialog_window.h"

namespace AE {
class ISceneNode;
}
namespace VQ {
class UIWidget;
}
class MainMode;

class BuyHeartWindow : public DialogWindow {
public:
    // The price of a heart, in gold.
    static constexpr int PRICE = 11;
    // A new heart comes this many seconds after the last change.
    static constexpr int64_t SECONDS_PER_LIFE = 1200;

    // Built hidden, for the mode whose hearts it sells.
    explicit BuyHeartWindow(MainMode* mode);

    // The countdown, the buy button and closing once a heart is there.
    void update(float dt) override;
    // Seconds to the next heart; -1 with every heart there.
    int countdown() const;

    // Buttons.
    void buy();
    void close() { hide(); }
    void askFriends();

    MainMode* mode;  // not owned
    AE::ISceneNode* timeText = nullptr;
    AE::ISceneNode* timeTextTitle = nullptr;
    AE::ISceneNode* buyNode = nullptr;
    VQ::UIWidget* buyButton = nullptr;
    // The friends' request "btnAskFriends" prepares; there is no one to
    // send it to.
    std::string requestKind;
    std::string requestParams;
    std::string requestText;
};
