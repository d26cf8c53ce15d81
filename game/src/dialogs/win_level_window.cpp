#include "dialogs/win_level_window.h"

WinLevelWindow::WinLevelWindow() : DialogWindow("win_level_window_ui", "WinLevelWindow", "gui")
{
    bindButton("btnClose", this, &WinLevelWindow::close);
    bindButton("btnNext", this, &WinLevelWindow::next);
}

void WinLevelWindow::open(LevelInfo* info, int levelScore, int coinsWon)
{
    level = info;
    score = levelScore;
    coins = coinsWon;
    show(true);
}

void WinLevelWindow::next()
{
    if (state != SHOWN)
        return;
    result = NEXT;
    hide();
}

void WinLevelWindow::close()
{
    if (state != SHOWN)
        return;
    result = CLOSED;
    hide();
}
