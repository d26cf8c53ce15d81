#include "dialogs/facebook_message_wnd.h"

#include <algorithm>

FacebookMessageWnd::FacebookMessageWnd() : DialogWindow("facebook_message_wnd_ui", "FacebookMessageWnd", "gui")
{
    if (FacebookMessageDispatcher* dispatcher = FacebookMessageDispatcher::instancePtr())
        dispatcher->addListener(this);
    bindButton("btnClose", this, &FacebookMessageWnd::close);
    bindButton("btnLogout", this, &FacebookMessageWnd::logout);
}

FacebookMessageWnd::~FacebookMessageWnd()
{
    if (FacebookMessageDispatcher* dispatcher = FacebookMessageDispatcher::instancePtr())
        dispatcher->removeListener(this);
}

void FacebookMessageWnd::onMessage(const SocialMessage* message)
{
    (void)message;
}
