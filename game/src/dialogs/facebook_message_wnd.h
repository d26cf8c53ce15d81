#pragma once
// The social login message window ("facebook_message_wnd_ui"): waiting,
// success, failure and the logout question. Owned by the options window and
// the level windows. The modes arrive with the social windows; until then
// "btnClose" closes it and "btnLogout" does nothing.

#include "dialogs/dialog_window.h"
#include "facebook_message_dispatcher.h"

class FacebookMessageWnd : public DialogWindow, public FacebookMessageListener {
public:
    // Builds the window hidden and joins the social message bus.
    FacebookMessageWnd();
    ~FacebookMessageWnd() override;

    void onMessage(const SocialMessage* message) override;

    // The buttons.
    void close() { hide(); }
    void logout() {}

    int32_t messageState = 0;
};
