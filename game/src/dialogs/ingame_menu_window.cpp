#include "dialogs/ingame_menu_window.h"

#include "dialogs/confirm_window.h"
#include "dialogs/help_window.h"

IngameMenuWindow::IngameMenuWindow() :
    DialogWindow("ingame_menu_ui", "InGameMenu", "gui"),
    sliders(*this, this),
    exitQuestion(new ConfirmWindow("ConfirmExitLevelWindow", "confirm_exit_level_window_ui")),
    help(new HelpWindow())
{
    exitQuestion->addListener(this);
    bindButton("btnAccept", this, &IngameMenuWindow::accept);
    bindButton("btnClose", this, &IngameMenuWindow::close);
    bindButton("btnMap", this, &IngameMenuWindow::goToMap);
    bindButton("btnHelp", this, &IngameMenuWindow::showHelp);
}

IngameMenuWindow::~IngameMenuWindow()
{
    exitQuestion->removalMark = true;
    help->removalMark = true;
}

void IngameMenuWindow::open()
{
    result = 1;
    sliders.takeFromProfile();
    show(true);
}

void IngameMenuWindow::update(float dt)
{
    (void)dt;
    sliders.update(isTopmost());
}

void IngameMenuWindow::onScroll(ScrollBar* bar, float value)
{
    sliders.onScroll(bar, value);
}

void IngameMenuWindow::onHidden(DialogWindow* window)
{
    if (window == exitQuestion && exitQuestion->result == ConfirmWindow::ACCEPTED) {
        result = 0;
        hide();
    }
}

void IngameMenuWindow::accept()
{
    if (state != SHOWN)
        return;
    saveProfileNow();
    hide();
}

void IngameMenuWindow::close()
{
    // Also while showing: the volumes go back whatever the state.
    sliders.restore();
    hide();
}

void IngameMenuWindow::goToMap()
{
    if (state == SHOWN)
        exitQuestion->show(false);
}

void IngameMenuWindow::showHelp()
{
    if (state == SHOWN)
        help->open();
}
