#include "dialogs/confirm_window.h"

ConfirmWindow::ConfirmWindow(const std::string& table, const std::string& script) : DialogWindow(script, table, "gui")
{
    bindButton("btnAccept", this, &ConfirmWindow::accept);
    bindButton("btnReject", this, &ConfirmWindow::reject);
}

void ConfirmWindow::accept()
{
    if (state != SHOWN)
        return;
    result = ACCEPTED;
    hide();
}

void ConfirmWindow::reject()
{
    if (state != SHOWN)
        return;
    result = REJECTED;
    hide();
}
