#include "dialogs/friend_passed_wnd.h"

#include "dialogs/dialog_window_manager.h"
#include "dialogs/social_rows.h"
#include "facebook_integration.h"
#include "localized_format.h"
#include "main_mode.h"
#include "ui/text_manager.h"
#include "utils.h"

FriendPassedWnd::FriendPassedWnd() : DialogWindow("friend_passed_wnd_ui", "FriendPassedWnd", "gui")
{
    bindButton("btnClose", this, &FriendPassedWnd::close);
    bindButton("btnSend", this, &FriendPassedWnd::sendClicked);
}

void FriendPassedWnd::open(LevelInfo* info, int newScore, const FriendValue& leader)
{
    level = info;
    score = newScore;
    FacebookIntegration* integration = FacebookIntegration::instancePtr();
    user = integration ? integration->findUser(leader.userId) : nullptr;
    if (integration)
        showUserPhoto(sceneNode("#user_photo"), &integration->currentUser);
    setSceneText(sceneNode("#user_score"), std::to_string(info ? info->bestScore : 0), false);
    showUserPhoto(sceneNode("#leader_photo"), user);
    setSceneText(sceneNode("#leader_score"), std::to_string(leader.value), false);
    show(true);
}

void FriendPassedWnd::send()
{
    feedName = formatLocalized("LEVEL_FRIEND_PASSED_FEED_NAME", level ? level->id + 1 : 0);
    feedCaption = formatLocalized("LEVEL_FRIEND_PASSED_FEED_CAPTION", score);
    auto text = [](const char* key) {
        return VQ::TextManager::exists() ? VQ::wideToUtf8(VQ::TextManager::instance()->text(key)) : std::string(key);
    };
    feedPicture = text("LEVEL_FRIEND_PASSED_FEED_PIC_URL");
    feedLink = text("LEVEL_FRIEND_PASSED_FEED_LINK");
}
