#pragma once
// The booster's bubble over a slot of the level start window
// ("info_passive_bonus_window_ui"): what the booster does and its price in
// silver. "btnBuy" arms it for the next level when the silver suffices and
// closes with `result` 1; without enough silver the currency shop opens
// over it instead.

#include "dialogs/dialog_window.h"
#include "vector2.h"

namespace AE {
class ISceneNode;
}
namespace VQ {
class UIWidget;
}

class InfoPassiveBonusWindow : public DialogWindow {
public:
    static constexpr int32_t BOUGHT = 1;

    InfoPassiveBonusWindow();

    // Fills the bubble for booster `kind` and shows it at once above the
    // start window; `placement` ("left", "center", "right") turns the
    // bubble towards the middle of the start window.
    void open(int kind, const std::string& placement);
    // The bubble's point goes to the workspace point `at`; its buttons
    // follow their faces.
    void anchorAt(VQ::Vector2f at);
    void refreshScene() override;
    void update(float dt) override;

    void buy();
    void close();

    AE::ISceneNode* rootGroup = nullptr;
    AE::ISceneNode* icon = nullptr;
    AE::ISceneNode* title = nullptr;
    AE::ISceneNode* desc = nullptr;
    // Set by the start window before each opening: the moves booster of a
    // timed level adds time.
    bool timeLimit = false;
    int kind = 0;
};

// The sprite names and text keys of a booster kind; the moves booster has
// its time form on a timed level.
struct BoosterLook {
    const char* slotSprite;
    const char* windowIcon;
    const char* titleKey;
    const char* descKey;
};
const BoosterLook& boosterLook(int kind, bool timeLimit);

// The widget `name` under `root` moves onto the scene node `node`, so that
// a button stays on the face its scene draws; nothing when either is
// missing.
void placeWidgetOver(VQ::UIWidget* root, const std::string& name, AE::ISceneNode* node);
