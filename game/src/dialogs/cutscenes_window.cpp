#include "dialogs/cutscenes_window.h"

CutscenesWindow::CutscenesWindow() : DialogWindow("authors_window_ui", "AuthorsWindow", "gui")
{
    bindButton("btnClose", this, &CutscenesWindow::close);
}
