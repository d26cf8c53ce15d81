#include "dialogs/dialog_window_manager.h"

#include <algorithm>

namespace {

void eraseFirst(std::vector<DialogWindow*>& list, DialogWindow* window)
{
    if (auto found = std::find(list.begin(), list.end(), window); found != list.end())
        list.erase(found);
}

}  // namespace

DialogWindowManager::~DialogWindowManager()
{
    while (deleteMarkedWindows()) {
    }
}

void DialogWindowManager::registerWindow(DialogWindow* window)
{
    std::lock_guard<std::recursive_mutex> lock(mListMutex);
    if (std::find(windows.begin(), windows.end(), window) == windows.end())
        windows.push_back(window);
}

std::vector<DialogWindow*> DialogWindowManager::windowsSnapshot() const
{
    std::lock_guard<std::recursive_mutex> lock(mListMutex);
    return windows;
}

void DialogWindowManager::unregisterWindow(DialogWindow* window)
{
    std::lock_guard<std::recursive_mutex> lock(mListMutex);
    auto found = std::find(windows.begin(), windows.end(), window);
    if (found == windows.end())
        return;
    windows.erase(found);
    eraseFirst(shownStack, window);
    if (pendingWindow == window)
        pendingWindow = nullptr;
}

void DialogWindowManager::show(DialogWindow* window, bool queued)
{
    if (queued) {
        if (shownStack.empty() && !pendingWindow) {
            window->show(false);
            return;
        }
        pendingWindow = window;
        if (DialogWindow* top = topWindow())
            top->hide();
        return;
    }
    if (std::find(shownStack.begin(), shownStack.end(), window) != shownStack.end())
        return;
    shownStack.push_back(window);
    window->addListener(this);
    pendingWindow = nullptr;
}

void DialogWindowManager::onHidden(DialogWindow* window)
{
    eraseFirst(shownStack, window);
    if (shownStack.empty() && pendingWindow)
        pendingWindow->show(false);
}

void DialogWindowManager::update(float dt)
{
    for (DialogWindow* window : std::vector<DialogWindow*>(shownStack)) {
        // A window deleted by an earlier one's update is not on the stack any more.
        if (std::find(shownStack.begin(), shownStack.end(), window) != shownStack.end())
            window->update(dt);
    }
    // A deleted window may give up its own sub-windows.
    while (deleteMarkedWindows()) {
    }
}

bool DialogWindowManager::deleteMarkedWindows()
{
    std::vector<DialogWindow*> marked;
    {
        std::lock_guard<std::recursive_mutex> lock(mListMutex);
        for (DialogWindow* window : windows) {
            if (window->removalMark)
                marked.push_back(window);
        }
    }
    // Deleted outside the lock: each deletion takes it again to leave the
    // lists, and the rest of a destructor need not hold up a loading job.
    for (DialogWindow* window : marked)
        unregisterWindow(window);
    for (DialogWindow* window : marked)
        delete window;
    return !marked.empty();
}
