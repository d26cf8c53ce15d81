#include "dialogs/map_menu_window.h"

#include "dialogs/help_window.h"

MapMenuWindow::MapMenuWindow() :
    DialogWindow("map_menu_ui", "MapMenu", "gui"), sliders(*this, this), help(new HelpWindow())
{
    bindButton("btnAccept", this, &MapMenuWindow::accept);
    bindButton("btnClose", this, &MapMenuWindow::close);
    bindButton("btnMainMenu", this, &MapMenuWindow::goToMainMenu);
    bindButton("btnHelp", this, &MapMenuWindow::showHelp);
}

MapMenuWindow::~MapMenuWindow()
{
    help->removalMark = true;
}

void MapMenuWindow::open()
{
    sliders.takeFromProfile();
    show(true);
}

void MapMenuWindow::update(float dt)
{
    (void)dt;
    sliders.update(isTopmost());
}

void MapMenuWindow::onScroll(ScrollBar* bar, float value)
{
    sliders.onScroll(bar, value);
}

void MapMenuWindow::accept()
{
    if (state != SHOWN)
        return;
    result = 1;
    saveProfileNow();
    hide();
}

void MapMenuWindow::close()
{
    if (state != SHOWN)
        return;
    result = 1;
    sliders.restore();
    hide();
}

void MapMenuWindow::goToMainMenu()
{
    if (state != SHOWN)
        return;
    sliders.restore();
    result = 0;
    hide();
}

void MapMenuWindow::showHelp()
{
    if (state == SHOWN)
        help->open();
}
