#pragma once
// A modal window of the game: a widget tree built from a Lua UI script whose
// child "gui" hosts the window's animated scene, opened by its "show" marker
// and closed by its "hide" marker; its buttons act only while it is fully
// shown. The window manager knows every window. Listeners are told when it
// has finished showing and hiding; its owner marks it when it gives it up,
// and the manager deletes it then.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "animationeditor/marker.h"
#include "function.h"

namespace AE {
class ISceneNode;
class Marker;
}
namespace VQ {
class UIWidget;
}
class DialogWindow;

// A text node of a window scene shows `text`, looked up as a localisation
// key when `localized`; nothing for a node that is not a text node.
void setSceneText(AE::ISceneNode* node, const std::string& text, bool localized);

class DialogWindowListener {
public:
    // Leaves the listener list of every window the manager knows, so that
    // no window calls a listener that is gone.
    virtual ~DialogWindowListener();
    virtual void onShown(DialogWindow* window) { (void)window; }
    virtual void onHidden(DialogWindow* window) { (void)window; }
};

class DialogWindow : public AE::MarkerListener {
public:
    enum State : int32_t { SHOWN = 0, HIDDEN = 1, SHOWING = 2, HIDING = 3 };

    // Loads the UI script `script`, table `table` (package "default"; a
    // missing one is fatal) and hides the tree at once. `child` names the
    // widget hosting the scene ("gui"), which must have the markers "show"
    // and "hide"; "init" poses it when present.
    DialogWindow(const std::string& script, const std::string& table, const std::string& child);
    // A window whose UI script the game does not have yet: no tree, never
    // shown, unknown to the manager.
    DialogWindow() = default;
    // The UI manager deletes the tree at its next update.
    ~DialogWindow() override;
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Completes showing and hiding.
    void onMarkerFinished(AE::Marker* marker) override;
    // At once, or through the manager's queue when `queued`.
    virtual void show(bool queued);
    // Only while shown.
    virtual void hide();
    // Re-lays the tree out for the current orientation.
    virtual void refreshScene();
    // Each frame while on the manager's shown stack.
    virtual void update(float dt) { (void)dt; }

    // Once each; under the manager's list lock (any thread).
    void addListener(DialogWindowListener* listener);
    void removeListener(DialogWindowListener* listener);

    // The buttons of the tree under `widget` (null: the root), depth first;
    // other widgets keep their state.
    void setButtonsEnabled(bool enable, VQ::UIWidget* widget);

    // The widget `name` under the root; a fatal report naming it and the
    // script when the script lacks it.
    VQ::UIWidget* requireWidget(const std::string& name) const;
    // Connects "clicked" of the widget `name` to `method` of `target`.
    template <typename T>
    void bindButton(const std::string& name, T* target, void (T::*method)())
    {
        connectClicked(requireWidget(name), std::make_unique<VQ::Function<T>>(target, method));
    }
    // The node `name` of the window's scene; null when absent.
    AE::ISceneNode* sceneNode(const std::string& name) const;
    // True when this window is the topmost of the manager's shown stack.
    bool isTopmost() const;
    // The scene's marker `name`, which this window now listens to; a fatal
    // report naming it and the script when the scene lacks it.
    AE::Marker* listenToMarker(const std::string& name);

    VQ::UIWidget* root = nullptr;  // the UI manager's
    AE::ISceneNode* scene = nullptr;  // the tree's
    int32_t state = HIDDEN;
    std::vector<DialogWindowListener*> listeners;  // not owned
    AE::Marker* showMarker = nullptr;  // the scene's
    AE::Marker* hideMarker = nullptr;
    // Set by the owner that gives the window up; the manager deletes it.
    bool removalMark = false;
    // How the window was closed; its meaning is the window's own.
    int32_t result = 0;
    std::string scriptName;

protected:
    // What the loading constructor does, for a window that learns only at
    // run time whether it can have a tree.
    void loadTree(const std::string& script, const std::string& table, const std::string& child);

private:
    static void connectClicked(VQ::UIWidget* widget, std::unique_ptr<VQ::IFunction> function);
};
