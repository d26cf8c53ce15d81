#include "dialogs/blocker_message_window.h"

#include "dialogs/buy_valuta_window.h"
#include "store.h"

BlockerMessageWindow::BlockerMessageWindow() : DialogWindow("blocker_message_window_ui", "BlockerMessageWindow", "gui")
{
    bindButton("btnClose", this, &BlockerMessageWindow::close);
    bindButton("btnBuyStars", this, &BlockerMessageWindow::buyStars);
}

void BlockerMessageWindow::buyStars()
{
    if (state != SHOWN)
        return;
    if (BuyValutaWindowSingleton* shop = BuyValutaWindowSingleton::instancePtr())
        shop->open(CURRENCY_STARS, false);
}
