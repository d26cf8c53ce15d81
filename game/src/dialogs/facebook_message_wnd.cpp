#include "dialogs/facebook_message_wnd.h"

FacebookMessageWnd::FacebookMessageWnd() : DialogWindow("facebook_message_wnd_ui", "FacebookMessageWnd", "gui")
{
    if (FacebookMessageDispatcher* dispatcher = FacebookMessageDispatcher::instancePtr())
        dispatcher->addListener(this);
}

void FacebookMessageWnd::onMessage(const SocialMessage* message)
{
    (void)message;
}
