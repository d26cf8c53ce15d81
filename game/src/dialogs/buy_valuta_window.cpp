#include "dialogs/buy_valuta_window.h"

BuyValutaWindow::BuyValutaWindow() : DialogWindow("buy_valuta_window_ui", "BuyValutaWindow", "gui")
{
    bindButton("btnClose", this, &BuyValutaWindow::close);
}

void BuyValutaWindow::open(int kind, bool queued)
{
    page = kind;
    result = 0;
    show(queued);
}
