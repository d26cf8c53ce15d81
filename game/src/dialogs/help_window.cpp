#include "dialogs/help_window.h"

HelpWindow::HelpWindow() : DialogWindow("help_window_ui", "HelpWindow", "gui")
{
    bindButton("btnClose", this, &HelpWindow::close);
}

void HelpWindow::open()
{
    show(false);
}
