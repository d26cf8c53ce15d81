#pragma once
// The map's message on a closed blocker ("blocker_message_window_ui"):
// "btnClose" closes it, "btnBuyStars" opens the currency shop's star page
// above it.

#include "dialogs/dialog_window.h"

class BlockerMessageWindow : public DialogWindow {
public:
    BlockerMessageWindow();

    void close() { hide(); }
    void buyStars();
};
