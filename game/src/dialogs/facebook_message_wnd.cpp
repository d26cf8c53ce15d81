#include "dialogs/facebook_message_wnd.h"

#include "animationeditor/scene_node.h"
#include "facebook_data_saver.h"
#include "facebook_integration.h"
#include "ui/ui_widget.h"

FacebookMessageWnd::FacebookMessageWnd() : DialogWindow("facebook_message_wnd_ui", "FacebookMessageWnd", "gui")
{
    if (FacebookMessageDispatcher* dispatcher = FacebookMessageDispatcher::instancePtr())
        dispatcher->addListener(this);
    bindButton("btnClose", this, &FacebookMessageWnd::close);
    bindButton("btnLogout", this, &FacebookMessageWnd::logout);
    AE::ISceneNode** modes[] = {&waitMode, &failedMode, &successMode, &questionMode, &closedMode};
    const char* names[] = {"wait_mode", "failed_mode", "success_mode", "close_connection_question",
                           "connection_closed"};
    for (size_t i = 0; i < std::size(modes); ++i) {
        *modes[i] = sceneNode(names[i]);
        if (*modes[i])
            (*modes[i])->setEnabled(false);
    }
    closeButton = root ? root->findChild("btn_close") : nullptr;
    logoutButton = root ? root->findChild("btnLogout") : nullptr;
    if (logoutButton)
        logoutButton->setVisible(false);
}

FacebookMessageWnd::~FacebookMessageWnd()
{
    if (FacebookMessageDispatcher* dispatcher = FacebookMessageDispatcher::instancePtr())
        dispatcher->removeListener(this);
}

void FacebookMessageWnd::setMode(AE::ISceneNode* node, int32_t newState)
{
    if (currentMode) {
        currentMode->stop(true);
        currentMode->setEnabled(false);
    }
    currentMode = node;
    messageState = newState;
    if (closeButton)
        closeButton->setVisible(node != waitMode);
    // The logout button stands only beside its question.
    if (logoutButton)
        logoutButton->setVisible(node && node == questionMode);
    if (node) {
        node->setEnabled(true);
        node->play(true);
    }
}

void FacebookMessageWnd::onMessage(const SocialMessage* message)
{
    switch (message->type) {
    case SOCIAL_LOGGED_IN:
        setMode(successMode, SUCCESS);
        break;
    case SOCIAL_LOGIN_FAILED:
        setMode(failedMode, FAILED);
        break;
    case SOCIAL_LOGGED_OUT:
        setMode(closedMode, LOGGED_OUT);
        break;
    default:
        break;
    }
}

void FacebookMessageWnd::close()
{
    if (waitMode && waitMode->enabled)
        return;
    hide();
}

void FacebookMessageWnd::logout()
{
    if (!questionMode || !questionMode->enabled)
        return;
    setMode(waitMode, WAITING);
    if (FacebookIntegration* integration = FacebookIntegration::instancePtr())
        integration->closeSession();
    FacebookDataSaver::instance()->save();
}
