#include "dialogs/holiday_purchase_window.h"

HolidayPurchaseWindow::HolidayPurchaseWindow()
    : DialogWindow("holiday_purchase_window_ui", "HolidayPurchaseWindow", "gui")
{
}
