#include "facebook_message_dispatcher.h"

#include <algorithm>

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
