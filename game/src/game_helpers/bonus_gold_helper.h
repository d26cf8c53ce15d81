#pragma once
// The level's bonus panel: up to four buttons, one per bonus kind the
// player has unlocked, each showing its stock. A press fires the bonus or,
// with none left, opens the bonus shop at the button; the tutorial hears of
// every press. While a bonus, a fusion or a limit's addition plays the panel
// is disabled and ignores the mouse.

#include <array>
#include <memory>
#include <string>

#include "animationeditor/marker.h"
#include "dialogs/dialog_window.h"
#include "game_helpers/bonus.h"
#include "game_helpers/game_helper.h"
#include "vector2.h"

namespace AE {
class ISceneNode;
}
class BuyBonusWindow;
class GoalsHelper;
class PlayerProfile;

class BonusGoldHelper : public GameHelper, public AE::MarkerListener, public DialogWindowListener {
public:
    static constexpr int SLOTS = 4;

    struct Button {
        std::unique_ptr<AE::ISceneNode> ownedScene;  // until attached
        AE::ISceneNode* scene = nullptr;             // "#bonus_root", under its slot
        int state = 0;                               // 0 regular, 1 select, 2 pressed
        bool enabled = true;
        void play(const char* marker);
    };

    BonusGoldHelper(const std::string& sceneName, GoalsHelper* goals);
    ~BonusGoldHelper() override;

    void reset() override;
    void update(float dt) override;
    void drawOverField() override;

    void resetButtons();
    // Unresponsive, its buttons back to regular, while something else
    // plays on the board.
    void hold();
    void refreshButtons();
    void applyOrientation();
    // World position of "#center" in the slot holding that kind; (0, 0)
    // when no button holds it.
    VQ::Vector2f getButtonCenter(int kind) const;
    // The slot of the button holding that kind, or -1.
    int slotOfKind(int kind) const;

    // The tutorial's hooks.
    void showFreeBonusWindow(int kind);
    void activateBonus(int kind);

    // The buttons' hover and press states under the cursor (workspace
    // units); `released`: the left button went up this frame.
    void updateButtons(const VQ::Vector2f& cursor, bool down, bool released);
    // A press of the button in `slot`, as the mouse gives it.
    void press(int slot);
    void onHidden(DialogWindow* window) override;

    GoalsHelper* goals;  // not owned
    PlayerProfile* profile;  // not owned; the game's player by default
    std::unique_ptr<AE::ISceneNode> panelScene;
    std::array<AE::ISceneNode*, SLOTS> slots{};
    std::array<std::unique_ptr<Button>, SLOTS> buttons;
    std::array<std::unique_ptr<Bonus>, SLOTS> bonuses;
    int buttonCount = 0;
    float position[2] = {0.0f, 0.0f};
    float scale = 1.0f;
    bool enabled = true;
    bool hintShown = false;
    bool refreshPending = false;
    std::unique_ptr<BuyBonusWindow> buyWindow;

private:
    void updateAvailability();
    int stockOf(int kind) const;
    void openShop(int slot, int kind, bool free);
    void startTimer();
};

// The bonus panel of the level being played (its mode's component of kind
// 4); null without one.
BonusGoldHelper* currentBonusPanel();
