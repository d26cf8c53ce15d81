#pragma once
// The rows of the social windows and of the level windows' friend panels:
// a friend's request, a friend to ask for moves, and a friend's card with
// its score. Rows live in a scene list, which deletes them.

#include <cstdint>
#include <memory>
#include <string>

#include "facebook_message_dispatcher.h"
#include "ui/ui_scene_list.h"

namespace AE {
class ISceneNode;
}
struct SocialRequest;
struct SocialUser;

// A node and every node below it on or off.
void setTreeEnabled(AE::ISceneNode* node, bool on);
// "#photo" (a sprite node) shows a copy of the user's photo, sized to the
// node, copied under the user's lock since the photo worker may release
// it. Nothing without a node, a user or a photo.
void showUserPhoto(AE::ISceneNode* photoNode, SocialUser* user);

// The part of the request and help windows their rows report to: the
// select-all mark follows the rows' marks.
class CheckBoxListener {
public:
    virtual ~CheckBoxListener() = default;
    // "#thumb" (and its children) on exactly when every row is marked.
    virtual void onCheckChanged(bool checked);
    // "#thumb" turned over and every row's mark set to match it.
    void toggleAll();
    // A row's "#check" node; null for a row of another kind.
    AE::ISceneNode* rowCheck(VQ::UISceneListItem* item) const;
    // While logged in every row's photo again; logged out, the rows go.
    void refreshPhotos();

    VQ::UISceneList* list = nullptr;  // "requests_list", the window's
    AE::ISceneNode* thumb = nullptr;  // "#thumb"; may be null
    bool busy = false;
};

class DialogWindow;
// The window's list "requests_list" and its mark "#thumb" (in the window's
// scene or the list's).
void attachRequestList(DialogWindow& window, CheckBoxListener& parts);

// A row's mark turned over and its owner told.
void toggleRowMark(AE::ISceneNode* check, CheckBoxListener* owner);

// A row of the request windows: a click anywhere turns its mark over.
class MarkedRow : public VQ::UISceneListItem, public VQ::UISceneListItemListener {
public:
    MarkedRow(const std::string& sceneName, const std::string& itemName, CheckBoxListener* owner);

    void onElementClicked(VQ::UISceneListItem* item, const std::string& element) override;
    virtual void refreshPhoto() = 0;

    CheckBoxListener* owner;
    AE::ISceneNode* check = nullptr;  // "#check"
};

class RequestItem : public MarkedRow {
public:
    RequestItem(const SocialRequest& request, CheckBoxListener* owner);

    void refreshPhoto() override;
    // Grants what the request gives (a life, extra moves); the row is
    // accepted in every case.
    void accept();

    uint64_t senderId;
    std::u16string senderName;
    std::string requestId;
    std::string kind;
    int value = 0;
    bool accepted = false;
};

class HelpItem : public MarkedRow {
public:
    HelpItem(CheckBoxListener* owner, SocialUser* user);

    void refreshPhoto() override;

    SocialUser* user;  // the integration's
};

// A friend's card in a level window's side ("user_item_left_xml") or
// bottom ("user_item_bottom_xml") panel.
class UserItem : public VQ::UISceneListItem {
public:
    UserItem(SocialUser* user, int score, bool leader, bool side);

    // The heart (ask for a life) while not sent, the check once sent.
    void setRequestSent(bool sent);
};

// The two cards of one friend; a click asks the friend for a life once.
class UserItemController : public VQ::UISceneListItemListener, public FacebookMessageListener {
public:
    UserItemController(bool sent, int score, SocialUser* user, bool leader);
    ~UserItemController() override;

    void onElementClicked(VQ::UISceneListItem* item, const std::string& element) override;
    void onMessage(const SocialMessage* message) override;

    // Hands the two cards to their lists, which then own them.
    UserItem* takeSideRow() { return side.release(); }
    UserItem* takeBottomRow() { return bottom.release(); }

    SocialUser* user;  // the integration's
    // Owned until a list takes them; the controller keeps pointing at them.
    std::unique_ptr<UserItem> side;
    std::unique_ptr<UserItem> bottom;
    UserItem* sideRow = nullptr;
    UserItem* bottomRow = nullptr;
    int32_t requestId = 0;
    bool requestSent = false;
    // What the last click prepared; nothing sends it in this build.
    std::string preparedParams;
    std::string preparedMessage;
};
