#pragma once
// The social layer's login state and the player's social user; it works
// offline. Created first in the game's set-up, deleted at shut-down.

#include <cstdint>

#include "facebook_message_dispatcher.h"
#include "singleton.h"

class FacebookIntegration : public VQ::Singleton<FacebookIntegration>, public FacebookMessageListener {
public:
    // Logged out; creates the message bus and the photo worker when absent
    // and joins the bus.
    FacebookIntegration();
    ~FacebookIntegration() override;

    void onMessage(const SocialMessage* message) override;

    uint8_t loggedIn = 0;
};
