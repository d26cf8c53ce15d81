#include "dialogs/buy_valuta_window.h"

BuyValutaWindow::BuyValutaWindow() : DialogWindow("buy_valuta_window_ui", "BuyValutaWindow", "gui") {}
