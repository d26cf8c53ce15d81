#include "dialogs/dialog_window.h"

#include "dialogs/dialog_window_manager.h"
#include "log_system.h"
#include "ui/ui_manager.h"
#include "ui/ui_widget.h"
#include "utils.h"

DialogWindow::DialogWindow(const std::string& script, const std::string& table, const std::string& child)
{
    (void)child;
    VQ::log(VQ::formatString("loading ui: %s", script.c_str()));
    root = VQ::UIManager::instance()->loadUI(script, table, nullptr, "default");
    root->hideForcibly();
    DialogWindowManager::instance()->registerWindow(this);
}

DialogWindow::~DialogWindow()
{
    if (root)
        root->deleteMark = true;
    if (DialogWindowManager* manager = DialogWindowManager::instancePtr())
        manager->unregisterWindow(this);
}
