#pragma once
// Shows the dialog windows over every game state: the windows on screen as a
// stack and at most one queued window, which opens once the screen is free
// of dialogs. While one is shown or waiting the level, the board and the map
// ignore input. Windows whose owners gave them up are deleted here.

#include <mutex>
#include <vector>

#include "dialogs/dialog_window.h"
#include "singleton.h"

class DialogWindowManager : public VQ::Singleton<DialogWindowManager>, public DialogWindowListener {
public:
    DialogWindowManager() = default;
    // Deletes the given-up windows it still holds.
    ~DialogWindowManager() override;

    // Once per game frame: the shown windows' updates, then the given-up
    // windows leave every list and are deleted.
    void update(float dt);

    // True while a window is shown or waiting to be shown.
    bool hasActiveWindow() const { return !shownStack.empty() || pendingWindow; }

    // Called by the window's constructor: appended unless listed. Any
    // thread: a state-loading job builds its windows on its own thread.
    void registerWindow(DialogWindow* window);
    // Called by the window's destructor.
    void unregisterWindow(DialogWindow* window);
    // Called by DialogWindow::show.
    void show(DialogWindow* window, bool queued);
    void onHidden(DialogWindow* window) override;

    // The topmost window on screen; null when none.
    DialogWindow* topWindow() const { return shownStack.empty() ? nullptr : shownStack.back(); }

    // `windows` as it is now, read under the list's lock.
    std::vector<DialogWindow*> windowsSnapshot() const;

    // Guards `windows` and every window's listener list. A job builds a
    // state's windows (and adds their listeners) on its own thread while
    // the main thread may still delete the windows and listeners the old
    // state gave up: a state entered from a button's click starts its job
    // inside the UI update, and the frame's game update follows.
    std::recursive_mutex& listMutex() const { return mListMutex; }

    // Every constructed window, in construction order; not owned. Off the
    // main thread only under `listMutex`.
    std::vector<DialogWindow*> windows;
    // On screen, bottom first.
    std::vector<DialogWindow*> shownStack;
    DialogWindow* pendingWindow = nullptr;

private:
    mutable std::recursive_mutex mListMutex;

    // Drops the marked windows from the lists and deletes them; true when
    // any was found.
    bool deleteMarkedWindows();
};
