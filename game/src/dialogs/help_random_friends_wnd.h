#pragma once
// The offer to help friends ("help_random_friends_wnd_ui"), made once on the
// map to a player logged in to the social network. Its rows come with the
// social windows; until then it is built and never shown.

#include "dialogs/dialog_window.h"

class HelpRandomFriendsWnd : public DialogWindow {
public:
    // Built hidden.
    HelpRandomFriendsWnd();

    void open() {}
    // The friends' photos in its rows; nothing yet.
    void refreshPhotos() {}
};
