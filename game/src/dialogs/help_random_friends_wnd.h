#pragma once
// The offer to ask friends for extra moves ("help_random_friends_wnd_ui"),
// made once per map visit to a player logged in for more than a day: up to
// five askable friends in a random order, all marked.

#include <string>

#include "dialogs/dialog_window.h"
#include "dialogs/social_rows.h"

class HelpRandomFriendsWnd : public DialogWindow, public CheckBoxListener {
public:
    // Built hidden.
    HelpRandomFriendsWnd();

    // The rows rebuilt; shown queued when there is any.
    void open();
    // Prepares the request for the marked friends; nothing sends it in
    // this build.
    void askForMoves();

    // The buttons.
    void ok();
    void selectAll() { toggleAll(); }
    void close() { hide(); }

    // The last request prepared: the friends' ids joined with ",", the
    // parameters and the message.
    std::string preparedIds;
    std::string preparedParams;
    std::string preparedMessage;
};
