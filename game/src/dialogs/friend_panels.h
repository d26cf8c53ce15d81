#pragma once
// The friends' scores on a level, in the side and bottom panels of the
// level start, win and fail windows: while logged out the panels offer the
// friends' button, logged in they list a card per friend of the ranking.

#include <memory>
#include <vector>

#include "dialogs/social_rows.h"

class DialogWindow;
class MainMode;
struct LevelInfo;

class FriendPanels {
public:
    FriendPanels() = default;
    // The cards deleted and both lists emptied.
    ~FriendPanels();
    FriendPanels(const FriendPanels&) = delete;
    FriendPanels& operator=(const FriendPanels&) = delete;

    // The window's lists "leftListFriends" and "bottomListFriends", its
    // buttons and titles; any of them may be missing.
    void attach(DialogWindow* window);
    // "leftPanel" and "bottomPanel" back to their first pose.
    void rewind();
    // The friends' buttons visible exactly while logged out, the list
    // titles on exactly while logged in.
    void setSocialButtons(bool loggedIn);
    // One controller per ranked friend, the leaders marked; only with a
    // level and a mode while logged in.
    void fillFriendRows(LevelInfo* level, MainMode* mode);
    void clear();

    DialogWindow* window = nullptr;
    VQ::UISceneList* leftList = nullptr;  // the window's
    VQ::UISceneList* bottomList = nullptr;
    std::vector<std::unique_ptr<UserItemController>> rows;
};

// The logged-in state of the social layer (false without it).
bool socialSessionOpen();
