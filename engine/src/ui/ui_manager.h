#pragma once
// Owns the interface's widget trees (the roots), keeps the order in which
// widgets were shown, lets the input controller feed events into the
// trees, runs the signal callbacks queued during a dispatch, updates and
// draws the trees and deletes the roots their owners discard. Builds trees
// from Lua UI scripts. Registers the script commands "hide",
// "hideForcibly", "show" and "showForcibly", which show or hide a widget by
// name.

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "singleton.h"
#include "ui/ui_widget.h"

namespace VQ {

class LuaScript2;
class UIController;

// Told when a widget is shown, hidden or removed. Not owned by the manager.
class UIManagerListener {
public:
    virtual ~UIManagerListener() = default;
    virtual void onWidgetShown(UIWidget* widget) = 0;
    virtual void onWidgetHidden(UIWidget* widget) = 0;
    virtual void onWidgetRemoved(UIWidget* widget) = 0;
};

class UIManager : public Singleton<UIManager> {
public:
    UIManager();
    // Deletes every root; unregisters its commands so that no script
    // reaches a deleted manager.
    ~UIManager() override;

    // --- Building (UI scripts) ---
    // Builds the table `table` of the UI script `script` (package
    // `package`): appended to `parent`, or a new root without one. Missing
    // scripts, tables, ids and classes are fatal.
    UIWidget* loadUI(const std::string& script, const std::string& table, UIWidget* parent,
                     const std::string& package = "default");
    // Builds the widget of the table open in `script`, with its subtree.
    UIWidget* createWidget(LuaScript2& script, UIWidget* parent);

    // --- Roots and the shown stack ---
    void addRoot(UIWidget* widget);
    // Deletes the widget (a root, or a tree of its own); 0 when it was a
    // root, 1 otherwise (also for null, which does nothing). Called while
    // the trees are updated or the signals run, the deletion waits for the
    // end of that pass.
    int32_t removeRoot(UIWidget* widget);
    void showRoot(UIWidget* widget);
    UIWidget* topmostVisibleRoot();
    bool isReachable(const UIWidget* widget);
    void hideAllForcibly();
    // Called by hiding: the controller and the listeners learn of it.
    void onWidgetHidden(UIWidget* widget);
    // A widget going away: out of the shown stack and the capture.
    void forgetWidget(const UIWidget* widget);

    // --- The frame ---
    // Once per frame, unless a loading job runs or a video plays: input,
    // then the trees advance by the engine's frame step (at most 0.1 s).
    void update();
    // The same with a given frame step (capped the same way).
    void update(float frameStep);
    // Draws the shown widgets, oldest first.
    void render();

    // --- Signals ---
    void queueSignal(UICallbackList& list);
    // Takes every queued reference to the list out of the queue.
    void forgetSignal(const UICallbackList& list);
    // Runs the queued lists, outside the mutex.
    void runPendingSignals();

    // --- Extension points ---
    void addListener(UIManagerListener* listener);
    void removeListener(UIManagerListener* listener);
    void registerComponentFactory(const std::string& className, std::unique_ptr<UIComponentFactory> factory);
    UIComponentFactory* findComponentFactory(const std::string& className);

    // The script commands; the argument is a widget name, searched in the
    // roots in order; a name no widget has does nothing.
    void show(std::string name);
    void hide(std::string name);
    void showForcibly(std::string name);
    void hideForcibly(std::string name);

    // While one exists, removeRoot only detaches: the trees are being
    // walked or their callbacks run, and the deletion waits for the end.
    class Pass {
    public:
        explicit Pass(UIManager& manager) : mManager(manager) { mManager.beginPass(); }
        ~Pass() { mManager.endPass(); }
        Pass(const Pass&) = delete;
        Pass& operator=(const Pass&) = delete;

    private:
        UIManager& mManager;
    };

    const std::vector<UIWidget*>& roots() const { return mRoots; }
    const std::vector<UIWidget*>& shownStack() const { return mShownStack; }
    UIController* controller() const { return mController.get(); }
    std::recursive_mutex& mutex() { return mMutex; }

    // Read and written by the widget classes.
    UIWidget* capturedWidget = nullptr;
    std::string clickSoundName = "button_clicked_sound";

private:
    UIWidget* findByName(const std::string& name);
    void beginPass();
    void endPass();
    // Out of the roots, the shown stack and the capture; deleted now, or
    // at the end of the present pass.
    void discard(UIWidget* widget);

    UIWidget* createWidgetAt(LuaScript2& script, UIWidget* parent, const std::string& scriptName, int depth);
    // `addAsRoot` false: a parentless result is the caller's ("instance").
    UIWidget* loadUIAt(const std::string& script, const std::string& table, UIWidget* parent,
                       const std::string& package, int depth, bool addAsRoot);

    std::vector<UIWidget*> mRoots;  // owned
    std::vector<UIWidget*> mShownStack;
    std::unique_ptr<UIController> mController;
    std::deque<UICallbackList*> mPendingSignals;
    std::recursive_mutex mMutex;
    std::vector<UIManagerListener*> mListeners;
    std::map<std::string, std::unique_ptr<UIComponentFactory>> mComponentFactories;
    int mPassDepth = 0;
    std::vector<UIWidget*> mDeferredDeletes;
};

}  // namespace VQ
