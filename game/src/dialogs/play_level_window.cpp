#include "dialogs/play_level_window.h"

PlayLevelWindow::PlayLevelWindow() : DialogWindow("play_level_window_ui", "PlayLevelWindow", "gui")
{
    bindButton("btnPlay", this, &PlayLevelWindow::play);
    bindButton("btnClose", this, &PlayLevelWindow::close);
}

void PlayLevelWindow::open(LevelInfo* info, bool currencyPanel)
{
    if (!info)
        return;
    level = info;
    showCurrencyPanel = currencyPanel;
    result = CLOSED;
    show(true);
}

void PlayLevelWindow::play()
{
    if (state != SHOWN)
        return;
    result = PLAY;
    hide();
}

void PlayLevelWindow::close()
{
    hide();
}
