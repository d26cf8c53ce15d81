#pragma once
// A modal window of the game: a widget tree built from a Lua UI script whose
// child "gui" hosts the window's animated scene. Built hidden; the window
// manager knows every window.

#include <cstdint>
#include <string>

namespace VQ {
class UIWidget;
}

class DialogWindow {
public:
    // Loads the UI script `script`, table `table` (package "default"; a
    // missing one is fatal) and hides the tree at once. `child` names the
    // widget hosting the scene ("gui").
    DialogWindow(const std::string& script, const std::string& table, const std::string& child);
    // The UI manager deletes the tree at its next update.
    virtual ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Re-lays the tree out for the current orientation.
    virtual void refreshScene() {}
    virtual void update(float dt) { (void)dt; }

    VQ::UIWidget* root = nullptr;  // the UI manager's
    int32_t state = 1;             // 0 shown, 1 hidden, 2 showing, 3 hiding
    bool removalMark = false;
    int32_t result = 0;
};
