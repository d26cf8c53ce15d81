#include "dialogs/friend_panels.h"

#include "animationeditor/marker.h"
#include "animationeditor/scene_node.h"
#include "dialogs/dialog_window.h"
#include "dialogs/play_level_window.h"
#include "facebook_integration.h"
#include "game_properties.h"
#include "game_time.h"
#include "main_mode.h"
#include "player_profile.h"
#include "ui/ui_widget.h"

namespace {

constexpr int64_t ASKED_RECENTLY_SECONDS = 86400;

VQ::UIWidget* widgetOf(DialogWindow* window, const char* name)
{
    return window && window->root ? window->root->findChild(name) : nullptr;
}

}  // namespace

bool socialSessionOpen()
{
    const FacebookIntegration* integration = FacebookIntegration::instancePtr();
    return integration && integration->loggedIn != 0;
}

FriendPanels::~FriendPanels()
{
    clear();
}

void FriendPanels::attach(DialogWindow* owner)
{
    window = owner;
    leftList = dynamic_cast<VQ::UISceneList*>(widgetOf(owner, "leftListFriends"));
    bottomList = dynamic_cast<VQ::UISceneList*>(widgetOf(owner, "bottomListFriends"));
}

void FriendPanels::rewind()
{
    if (!window || !window->scene)
        return;
    for (const char* name : {"leftPanel", "bottomPanel"})
        if (AE::Marker* marker = window->scene->getMarker(name)) {
            marker->setReverse(false);
            marker->start(true);
            marker->stop(false);
        }
}

void FriendPanels::setSocialButtons(bool loggedIn)
{
    for (const char* name : {"facebook_btn_left", "facebook_btn_bottom"})
        if (VQ::UIWidget* button = widgetOf(window, name))
            button->setVisible(!loggedIn);
    if (window)
        for (const char* name : {"#left_list_title", "#bottom_list_title"})
            if (AE::ISceneNode* title = window->sceneNode(name))
                title->setEnabled(loggedIn);
}

void FriendPanels::clear()
{
    rows.clear();
    if (leftList)
        leftList->clearItems();
    if (bottomList)
        bottomList->clearItems();
}

void FriendPanels::fillFriendRows(LevelInfo* level, MainMode* mode)
{
    FacebookIntegration* integration = FacebookIntegration::instancePtr();
    if (!level || !mode || !integration || !integration->loggedIn)
        return;
    clear();
    GameProperties* properties = GameProperties::instancePtr();
    const PlayerProfile* player = properties ? properties->profile() : nullptr;
    const int64_t now = currentTime();
    bool first = true;
    int best = 0;
    for (const FriendValue& entry : mode->friendsRanking()) {
        const FriendRequestEntry* asked = player ? player->findFriendEntry(entry.userId) : nullptr;
        const bool askedRecently = asked && now - asked->time < ASKED_RECENTLY_SECONDS;
        const bool leader = first || entry.value == best;
        if (first)
            best = entry.value;
        first = false;
        auto row = std::make_unique<UserItemController>(askedRecently, entry.value,
                                                        integration->findUser(entry.userId), leader);
        // A card without its list stays with the controller.
        if (leftList)
            leftList->addItem(row->takeSideRow());
        if (bottomList)
            bottomList->addItem(row->takeBottomRow());
        rows.push_back(std::move(row));
    }
    if (window)
        for (const char* name : {"#left_list_title", "#bottom_list_title"})
            if (AE::ISceneNode* title = window->sceneNode(name))
                title->setEnabled(true);
}

// The level start window's panels.

void PlayLevelWindow::setSocialButtons(bool loggedIn)
{
    friendPanels.setSocialButtons(loggedIn);
}

void PlayLevelWindow::fillFriendRows()
{
    friendPanels.fillFriendRows(level, mode);
}
