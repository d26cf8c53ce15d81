#pragma once
// The social layer's login state, the player's social user and the
// friends. It works offline: logging in succeeds at once, the player is a
// placeholder, and the friends and their requests are fixed. Created first
// in the game's set-up, deleted at shut-down.
//
// Lock order, on the main thread and the photo worker alike: the current
// user's lock, then `friendsLock`, then a friend's own lock.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "facebook_message_dispatcher.h"
#include "singleton.h"
#include "social_records.h"

class FacebookIntegrationBase {
public:
    FacebookIntegrationBase() = default;
    virtual ~FacebookIntegrationBase() = default;
    FacebookIntegrationBase(const FacebookIntegrationBase&) = delete;
    FacebookIntegrationBase& operator=(const FacebookIntegrationBase&) = delete;

    // The player when the id is the player's, else the first friend with
    // that id; null for nobody.
    SocialUser* findUser(uint64_t id);
    // The player back to a new record, its photo released.
    void clearUser();
    // Every friend deleted, their photos released.
    void clearFriends();

    SocialUser currentUser;
    std::vector<SocialUser*> friends;  // owned
    // Read by the photo worker between its passes.
    std::atomic<uint8_t> userLoaded{0};
    std::atomic<uint8_t> friendsLoaded{0};
    std::recursive_mutex friendsLock;
};

// The offline session; each step writes its line to the log.
class FacebookIntegrationWIN : public FacebookIntegrationBase {
public:
    // Logged in at once: message 1.
    void openSession();
    // Message 2 while still logged in, then logged out.
    void closeSession();
    // The placeholder player.
    void fetchUser();
    // The fixed friends, each with the photo "face1_image"; message 6.
    void fetchFriends();
    // While logged in: message 8 with the three fixed requests.
    void loadRequests();

protected:
    virtual void setLoggedIn(bool on) = 0;
    virtual bool isLoggedIn() const = 0;
};

class FacebookIntegration : public VQ::Singleton<FacebookIntegration>,
                            public FacebookIntegrationWIN,
                            public FacebookMessageListener {
public:
    // Logged out; creates the message bus and the photo worker when absent
    // and joins the bus.
    FacebookIntegration();
    // Leaves the bus and frees the player's and the friends' records.
    ~FacebookIntegration() override;

    void onMessage(const SocialMessage* message) override;

    // Written by the main thread, read by the photo worker.
    std::atomic<uint8_t> loggedIn{0};

protected:
    void setLoggedIn(bool on) override { loggedIn = on ? 1 : 0; }
    bool isLoggedIn() const override { return loggedIn != 0; }

private:
    void onAnswer(const RequestGroup& group);
    void onRequestRemoved(uint64_t userId, const std::string& requestId);
};

// The request parameters the social windows send: root "params" with the
// kind and the value "1", indented by tabs.
std::string makeRequestParams(const std::string& kind);
