#pragma once
// The news that a won level's score passed a friend's
// ("friend_passed_wnd_ui"): the player's and the friend's portraits and
// scores; "btnSend" prepares the feed post, which nothing sends in this
// build.

#include <string>

#include "dialogs/dialog_window.h"

struct FriendValue;
struct LevelInfo;
struct SocialUser;

class FriendPassedWnd : public DialogWindow {
public:
    FriendPassedWnd();

    // A friend the social layer does not know shows no portrait.
    void open(LevelInfo* level, int score, const FriendValue& leader);
    void send();

    // The buttons.
    void close() { hide(); }
    void sendClicked()
    {
        send();
        hide();
    }

    LevelInfo* level = nullptr;  // the mode's
    SocialUser* user = nullptr;  // the integration's
    int score = 0;
    // The feed texts the last send prepared (UTF-8).
    std::string feedName;
    std::string feedCaption;
    std::string feedPicture;
    std::string feedLink;
};
