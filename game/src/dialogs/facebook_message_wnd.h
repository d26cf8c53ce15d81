#pragma once
// The social login message window ("facebook_message_wnd_ui"): one mode at
// a time of waiting, success, failure, the logout question and the closed
// connection. Owned by the options window and the level windows.

#include "dialogs/dialog_window.h"
#include "facebook_message_dispatcher.h"

namespace VQ {
class UIWidget;
}

class FacebookMessageWnd : public DialogWindow, public FacebookMessageListener {
public:
    enum Mode : int32_t { WAITING = 0, SUCCESS = 1, FAILED = 2, LOGGED_OUT = 4 };

    // Built hidden, every mode node off; joins the social message bus.
    FacebookMessageWnd();
    ~FacebookMessageWnd() override;

    // The current mode node stopped and disabled, `node` enabled and played;
    // the close button hidden while waiting, shown otherwise.
    void setMode(AE::ISceneNode* node, int32_t newState);
    void onMessage(const SocialMessage* message) override;

    // The buttons. A login in progress cannot be dismissed; the logout
    // acts only on the logout question.
    void close();
    void logout();

    AE::ISceneNode* waitMode = nullptr;  // the scene's, all of them
    AE::ISceneNode* failedMode = nullptr;
    AE::ISceneNode* successMode = nullptr;
    AE::ISceneNode* questionMode = nullptr;
    AE::ISceneNode* closedMode = nullptr;
    AE::ISceneNode* currentMode = nullptr;
    VQ::UIWidget* closeButton = nullptr;  // "btn_close"; may be null
    VQ::UIWidget* logoutButton = nullptr;  // "btnLogout"; may be null
    int32_t messageState = WAITING;
};
