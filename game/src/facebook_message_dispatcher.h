#pragma once
// The social layer's message bus: the listeners that hear of logins,
// friends and requests, in registration order.

#include <vector>

#include "singleton.h"
#include "social_records.h"

class FacebookMessageListener {
public:
    // Leaves the dispatcher's list, when the dispatcher still exists.
    virtual ~FacebookMessageListener();
    virtual void onMessage(const SocialMessage* message) = 0;
};

class FacebookMessageDispatcher : public VQ::Singleton<FacebookMessageDispatcher> {
public:
    FacebookMessageDispatcher() = default;

    // Appends the listener unless it is already in the list.
    void addListener(FacebookMessageListener* listener);
    // Erases its first occurrence.
    void removeListener(FacebookMessageListener* listener);
    // Delivers to every listener while the player is logged in; a logout
    // (type 2) always. A listener removed during the delivery is not called
    // any more, and one added during it waits for the next message.
    void dispatch(const SocialMessage* message);

    std::vector<FacebookMessageListener*> listeners;  // not owned
};
