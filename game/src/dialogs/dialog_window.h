#pragma once
// What the rest of the game sees of a dialog window: its result code, the
// mark its owner sets when it gives the window up, and the listeners told
// when it has finished showing and hiding. The windows themselves (UI tree,
// scene, show and hide markers) are built on this.

#include <algorithm>
#include <cstdint>
#include <vector>

class DialogWindow;

class DialogWindowListener {
public:
    virtual ~DialogWindowListener() = default;
    virtual void onShown(DialogWindow* window) { (void)window; }
    virtual void onHidden(DialogWindow* window) { (void)window; }
};

class DialogWindow {
public:
    DialogWindow() = default;
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;
    virtual ~DialogWindow() = default;

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

    std::vector<DialogWindowListener*> listeners;  // not owned
    // Set by the owner that gives the window up.
    bool removalMark = false;
    // How the window was closed; its meaning is the window's own.
    int32_t result = 0;
};
