#include "dialogs/fail_level_window.h"

FailLevelWindow::FailLevelWindow() : DialogWindow("fail_level_window_ui", "FailLevelWindow", "gui")
{
    bindButton("btnClose", this, &FailLevelWindow::close);
    bindButton("btnReplay", this, &FailLevelWindow::replay);
}

void FailLevelWindow::open(LevelInfo* info, int levelScore)
{
    level = info;
    score = levelScore;
    show(true);
}

void FailLevelWindow::replay()
{
    if (state != SHOWN)
        return;
    result = REPLAY;
    hide();
}

void FailLevelWindow::close()
{
    if (state != SHOWN)
        return;
    result = CLOSED;
    hide();
}
