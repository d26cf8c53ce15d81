#pragma once
// A modal window of the game: a widget tree built from a Lua UI script whose
// child "gui" hosts the window's animated scene. Built hidden; the window
// manager knows every window. Listeners are told when it has finished
// showing and hiding; its owner marks it when it gives it up.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace VQ {
class UIWidget;
}
class DialogWindow;

class DialogWindowListener {
public:
    virtual ~DialogWindowListener() = default;
    virtual void onShown(DialogWindow* window) { (void)window; }
    virtual void onHidden(DialogWindow* window) { (void)window; }
};

class DialogWindow {
public:
    // Loads the UI script `script`, table `table` (package "default"; a
    // missing one is fatal) and hides the tree at once. `child` names the
    // widget hosting the scene ("gui").
    DialogWindow(const std::string& script, const std::string& table, const std::string& child);
    // A window whose UI script the game does not have yet: no tree, never
    // shown, unknown to the manager.
    DialogWindow() = default;
    // The UI manager deletes the tree at its next update.
    virtual ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Re-lays the tree out for the current orientation.
    virtual void refreshScene() {}
    virtual void update(float dt) { (void)dt; }

    // Once each.
    void addListener(DialogWindowListener* listener)
    {
        if (std::find(listeners.begin(), listeners.end(), listener) == listeners.end())
            listeners.push_back(listener);
    }
    void removeListener(DialogWindowListener* listener)
    {
        auto it = std::find(listeners.begin(), listeners.end(), listener);
        if (it != listeners.end())
            listeners.erase(it);
    }

    VQ::UIWidget* root = nullptr;  // the UI manager's
    int32_t state = 1;             // 0 shown, 1 hidden, 2 showing, 3 hiding
    std::vector<DialogWindowListener*> listeners;  // not owned
    // Set by the owner that gives the window up.
    bool removalMark = false;
    // How the window was closed; its meaning is the window's own.
    int32_t result = 0;
};
