#pragma once
// The currency shop ("buy_valuta_window_ui"): the store's products of one
// currency page. One shared instance, created at start-up, serves every
// part of the game that lacks a currency. The pages' products arrive with
// the shop itself; until then it opens on its page and closes with
// "btnClose".

#include "dialogs/dialog_window.h"
#include "singleton.h"

class BuyValutaWindow : public DialogWindow {
public:
    // Built hidden.
    BuyValutaWindow();

    // Opens on the page of currency `kind` (1 silver, 2 gold, 3 stars), at
    // once or queued.
    void open(int kind, bool queued);
    void close() { hide(); }

    // 1 silver, 2 gold, 3 stars.
    int page = 1;
};

class BuyValutaWindowSingleton : public BuyValutaWindow, public VQ::Singleton<BuyValutaWindowSingleton> {
public:
    BuyValutaWindowSingleton() = default;
};
