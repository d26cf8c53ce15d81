#pragma once
// The social login message window ("facebook_message_wnd_ui"): waiting,
// success, failure and the logout question. Owned by the options window and
// the level windows.

#include "dialogs/dialog_window.h"
#include "facebook_message_dispatcher.h"

class FacebookMessageWnd : public DialogWindow, public FacebookMessageListener {
public:
    // Builds the window hidden and joins the social message bus.
    FacebookMessageWnd();

    void onMessage(const SocialMessage* message) override;

    int32_t messageState = 0;
};
