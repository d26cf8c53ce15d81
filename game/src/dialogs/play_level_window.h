#pragma once
// The level start window ("play_level_window_ui"): the preview of a level
// before it starts, with its goals counted from the level script, the stars
// already earned and the boosters the player may arm. "btnPlay" closes it
// with `result` 1 (play), "btnClose" with 0.

#include <array>
#include <vector>

#include "dialogs/dialog_window.h"

struct lua_State;
namespace AE {
class ISceneNode;
}
class InfoPassiveBonusWindow;
class MainMode;
struct LevelInfo;

// What the start window previews of a level script.
struct LevelPreview {
    bool timeLimit = false;
    int targetChips = 0;
    std::array<int, 2> goalKinds{0, 0};
    std::array<int, 7> counts{};  // by goal kind
};

// Reads the global table "GameField" of a level script; false without it.
bool readLevelPreview(lua_State* state, LevelPreview& preview);
// The goal kinds that take the window's two panels, in their order.
std::vector<int> goalPanelKinds(const LevelPreview& preview);
// A booster's price in silver; 0 for another kind.
int boosterPrice(int kind);

#include "dialogs/friend_panels.h"

class PlayLevelWindow : public DialogWindow, public DialogWindowListener {
public:
    static constexpr int32_t PLAY = 1;
    static constexpr int32_t CLOSED = 0;

    PlayLevelWindow();
    ~PlayLevelWindow() override;

    // Previews `level` and opens queued; nothing for no level or a level
    // script without "GameField". `showCurrencyPanel` when a lost level is
    // offered again.
    void open(LevelInfo* level, bool showCurrencyPanel);
    void hide() override;
    void update(float dt) override;
    void onMarkerFinished(AE::Marker* marker) override;
    void refreshScene() override;
    // A booster bought in the information window plays its slot's "buy".
    void onHidden(DialogWindow* window) override;

    // The buttons.
    void play();
    void close();
    void clickSlot(int index);
    void clickSlot0() { clickSlot(0); }
    void clickSlot1() { clickSlot(1); }
    void clickSlot2() { clickSlot(2); }

    MainMode* mode = nullptr;      // set by the owner
    LevelInfo* level = nullptr;    // the mode's
    bool showCurrencyPanel = false;
    LevelPreview preview;
    int starCount = 0;
    std::array<int, 3> slotKinds{-1, -1, -1};
    // The booster bubble (owned: marked for removal with this window) and
    // the slot it is open at.
    InfoPassiveBonusWindow* info = nullptr;
    int infoSlot = 0;
    // The friends' buttons and score cards (defined with the panels).
    void setSocialButtons(bool loggedIn);
    void fillFriendRows();
    FriendPanels friendPanels;

private:
    void fillGoals();
    void fillSlots();
    // The bubble's point: the top middle of the slot's face.
    void anchorInfo();
};
