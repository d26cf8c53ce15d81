#include "dialogs/dialog_window_manager.h"

#include <algorithm>

void DialogWindowManager::registerWindow(DialogWindow* window)
{
    if (std::find(windows.begin(), windows.end(), window) == windows.end())
        windows.push_back(window);
}

void DialogWindowManager::unregisterWindow(DialogWindow* window)
{
    if (auto found = std::find(windows.begin(), windows.end(), window); found != windows.end())
        windows.erase(found);
}
