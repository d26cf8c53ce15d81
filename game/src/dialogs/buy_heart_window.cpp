#include "dialogs/buy_heart_window.h"

BuyHeartWindow::BuyHeartWindow(MainMode* mode)
    : DialogWindow("buy_heart_window_ui", "BuyHeartWindow", "gui"), mode(mode)
{
}
