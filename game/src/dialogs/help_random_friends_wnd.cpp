#include "dialogs/help_random_friends_wnd.h"

#include <algorithm>
#include <cstdlib>

#include "animationeditor/scene_node.h"
#include "facebook_integration.h"
#include "ui/text_manager.h"
#include "ui/ui_widget.h"
#include "utils.h"

namespace {

constexpr size_t MAX_ROWS = 5;

}  // namespace

HelpRandomFriendsWnd::HelpRandomFriendsWnd() :
    DialogWindow("help_random_friends_wnd_ui", "HelpRandomFriendsWnd", "gui")
{
    attachRequestList(*this, *this);
    bindButton("btnOk", this, &HelpRandomFriendsWnd::ok);
    bindButton("btnSelectAll", this, &HelpRandomFriendsWnd::selectAll);
    bindButton("btnClose", this, &HelpRandomFriendsWnd::close);
}

void HelpRandomFriendsWnd::open()
{
    FacebookIntegration* integration = FacebookIntegration::instancePtr();
    if (!list || !integration)
        return;
    std::vector<SocialUser*> candidates;
    {
        std::lock_guard guard(integration->friendsLock);
        for (SocialUser* user : integration->friends)
            if (user->askable)
                candidates.push_back(user);
    }
    list->clearItems();
    const size_t count = std::min(candidates.size(), MAX_ROWS);
    for (size_t n = 0; n < count; ++n) {
        const size_t k = static_cast<size_t>(std::rand()) % candidates.size();
        list->addItem(new HelpItem(this, candidates[k]));
        candidates.erase(candidates.begin() + static_cast<std::ptrdiff_t>(k));
    }
    if (list->items.empty())
        return;
    setTreeEnabled(thumb, true);
    show(true);
}

void HelpRandomFriendsWnd::askForMoves()
{
    preparedIds.clear();
    if (list)
        for (VQ::UISceneListItem* item : list->items) {
            auto* row = dynamic_cast<HelpItem*>(item);
            if (!row || !row->user || !row->check || !row->check->enabled)
                continue;
            if (!preparedIds.empty())
                preparedIds += ",";
            preparedIds += row->user->idText;
        }
    preparedParams = makeRequestParams("takeSteps");
    preparedMessage = VQ::TextManager::exists()
                          ? VQ::wideToUtf8(VQ::TextManager::instance()->text("SEND_STEPS_REQUEST_TEXT"))
                          : std::string("SEND_STEPS_REQUEST_TEXT");
}

void HelpRandomFriendsWnd::ok()
{
    askForMoves();
    hide();
}
