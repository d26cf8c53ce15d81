#include "facebook_message_dispatcher.h"

#include <algorithm>
#include <cstdio>

#include "facebook_integration.h"

FacebookMessageListener::~FacebookMessageListener()
{
    if (FacebookMessageDispatcher* dispatcher = FacebookMessageDispatcher::instancePtr())
        dispatcher->removeListener(this);
}

void FacebookMessageDispatcher::addListener(FacebookMessageListener* listener)
{
    if (std::find(listeners.begin(), listeners.end(), listener) == listeners.end())
        listeners.push_back(listener);
}

void FacebookMessageDispatcher::removeListener(FacebookMessageListener* listener)
{
    if (auto found = std::find(listeners.begin(), listeners.end(), listener); found != listeners.end())
        listeners.erase(found);
}

void FacebookMessageDispatcher::dispatch(const SocialMessage* message)
{
    std::fflush(stdout);
    if (!message)
        return;
    const FacebookIntegration* integration = FacebookIntegration::instancePtr();
    const bool loggedIn = integration && integration->loggedIn != 0;
    if (!loggedIn && message->type != SOCIAL_LOGGED_OUT)
        return;
    // Listeners come and go as they react (a window closes, a row leaves the
    // bus): walk the list as it was, asking each time whether the listener
    // is still in it.
    const std::vector<FacebookMessageListener*> snapshot = listeners;
    for (FacebookMessageListener* listener : snapshot)
        if (std::find(listeners.begin(), listeners.end(), listener) != listeners.end())
            listener->onMessage(message);
}
