#pragma once
// The level's move or time limit. The remaining amount stands in a small
// interface panel; every addition flies in as a "+N" preview that lands on
// the panel; the panel warns when little is left and offers to buy more;
// the listeners learn when the limit is shown, changed and used up.

#include <memory>
#include <string>
#include <vector>

#include "animationeditor/marker.h"
#include "animationeditor/scene_node.h"
#include "dialogs/dialog_window.h"
#include "game_helpers/game_helper.h"

namespace AE {
class ISceneNode;
class TextSceneNode;
}  // namespace AE
namespace VQ {
class UIWidget;
}
class BuyMovesTimeWindow;

class LimitHelperListener {
public:
    virtual ~LimitHelperListener() = default;
    // An addition has landed on the panel.
    virtual void onLimitShown() {}
    virtual void onLimitReached() {}
    virtual void onLimitChanged(int previous, int current) { (void)previous, (void)current; }
    virtual void onTimerStarted() {}
};

class LimitHelper : public GameHelper {
public:
    // Builds and shows the panel from the UI script; its child "scene" hosts
    // the panel scene, which must hold "#textNode".
    LimitHelper(const std::string& uiTable, const std::string& uiScript);
    ~LimitHelper() override;

    virtual bool isLimitReached() = 0;
    // One move was made.
    virtual void consume() {}
    // Counts the remaining amount down to 0.
    virtual void zero() = 0;
    // Where the "+N" previews start, in workspace units.
    virtual void setPosition(const float xy[2]) = 0;
    // Shows the level's limit for the first time.
    virtual void start() = 0;
    virtual bool isWarning() = 0;
    // Offers to buy more.
    virtual void buy() = 0;

    // Once each; not owned.
    void addListener(LimitHelperListener* listener);
    void removeListener(LimitHelperListener* listener);
    bool hasListener(const LimitHelperListener* listener) const;
    // Each listener in turn; one may leave the list meanwhile.
    template <typename F>
    void tellListeners(F tell)
    {
        for (LimitHelperListener* listener : std::vector<LimitHelperListener*>(listeners))
            tell(*listener);
    }

    VQ::UIWidget* root = nullptr;          // the UI manager owns the tree
    AE::ISceneNode* panelScene = nullptr;  // of the "scene" child, a scene-node host
    AE::TextSceneNode* counterText = nullptr;
    bool unusedFlag = false;
    std::vector<LimitHelperListener*> listeners;

protected:
    void showCounter(const std::string& text);
    void playPanelMarker(const std::string& name);

private:
    void onBuyClicked() { buy(); }
};

// What the two limit kinds share: the "+N" preview's entry, flight and
// landing, and the buy window.
class FlyingLimitHelper : public LimitHelper, public AE::MarkerListener, public DialogWindowListener {
public:
    static constexpr float FLIGHT_TIME = 0.41f;

    enum PreviewState { PREVIEW_ENTRY = 0, PREVIEW_FLYING = 1, PREVIEW_LANDED = 2 };

    FlyingLimitHelper(const std::string& uiTable, const std::string& uiScript, const char* titleKey,
                      const char* iconSprite, const char* previewTitleKey);
    ~FlyingLimitHelper() override;

    void setPosition(const float xy[2]) override;
    void drawOverField() override;
    void onMarkerFinished(AE::Marker* marker) override;

    int state = PREVIEW_ENTRY;
    std::unique_ptr<AE::ISceneNode> previewScene;
    AE::ISceneNode* centreNode = nullptr;
    float startPosition[2] = {0.0f, 0.0f};
    float flyTimer = 0.0f;
    int flightSound = 0;
    std::unique_ptr<BuyMovesTimeWindow> buyWindow;
    AE::ISceneNode* buyNode = nullptr;

protected:
    // The level is held, the board's tasks and effects wait, and the
    // preview plays its entry showing `text`. An addition while one is
    // still in flight joins it.
    void launchPreview(const std::string& text);
    // The preview's flight; true on the frame it lands, when the level,
    // the board and the panel have been given back.
    bool updateFlight(float dt);
    bool inFlight = false;
};

class MoveLimitHelper : public FlyingLimitHelper {
public:
    MoveLimitHelper(const std::string& uiTable, const std::string& uiScript, int moves, float countDuration);

    void update(float dt) override;
    int getType() override { return 1; }
    bool isLimitReached() override;
    void consume() override;
    void zero() override;
    void start() override;
    bool isWarning() override;
    void buy() override;
    void onHidden(DialogWindow* window) override;

    // Flies n more moves in.
    void addMoves(int n);
    // Immediate: the counter shows the new number at once; else it counts.
    void setMoves(int n, bool immediate);

    int moves = 0;
    int previousMoves = 0;
    float countDuration;
    float countTimer = 0.0f;
    int pendingMoves;
    bool dialogShown = false;
};

class TimerHelper : public FlyingLimitHelper {
public:
    TimerHelper(const std::string& uiTable, const std::string& uiScript, float seconds, float countDuration);

    void update(float dt) override;
    int getType() override { return 2; }
    bool isLimitReached() override;
    void zero() override;
    void start() override;
    bool isWarning() override;
    void buy() override;
    void onHidden(DialogWindow* window) override;

    // Flies s more seconds in.
    void addTime(float seconds);
    // The counter shows the time left at once.
    void showTime();

    float pendingSeconds;
    float timeLeft = 0.0f;
    float previousTime = 0.0f;
    float countDuration;
    float countTimer = 0.0f;
    // Set on the first kept move; never cleared by the timer itself.
    bool running = false;
};

// "%02d:%02d" of the whole seconds.
std::string formatLimitTime(float seconds);
