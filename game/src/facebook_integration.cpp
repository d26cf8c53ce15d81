#include "facebook_integration.h"

#include <algorithm>
#include <sstream>

#include "facebook_data_streamer.h"
#include "log_system.h"
#include "pugixml.hpp"
#include "sprite.h"
#include "sprite_manager.h"
#include "utils.h"

namespace {

const char* const PACKAGE = "default";
const char* const FRIEND_PHOTO = "face1_image";
constexpr int FRIEND_COUNT = 29;

void releasePhoto(SocialUser& user)
{
    if (user.photo)
        if (auto* sprites = VQ::SpriteManager<VQ::Sprite>::instancePtr())
            sprites->releaseSprite(user.photo);
    user.photo = nullptr;
}

void setNames(SocialUser& user, const std::string& first, const std::string& middle, const std::string& last)
{
    user.firstName = VQ::utf8ToWide(first);
    user.middleName = VQ::utf8ToWide(middle);
    user.lastName = VQ::utf8ToWide(last);
    user.fullName = VQ::utf8ToWide(first + " " + last);
}

}  // namespace

std::string makeRequestParams(const std::string& kind)
{
    pugi::xml_document document;
    pugi::xml_node params = document.append_child("params");
    params.append_attribute("type") = kind.c_str();
    params.append_attribute("value") = "1";
    std::ostringstream out;
    document.save(out, "\t");
    return out.str();
}

// --- FacebookIntegrationBase ---

SocialUser* FacebookIntegrationBase::findUser(uint64_t id)
{
    if (currentUser.id == id)
        return &currentUser;
    std::lock_guard userGuard(currentUser.lock);
    std::lock_guard listGuard(friendsLock);
    for (SocialUser* user : friends) {
        std::lock_guard guard(user->lock);
        if (user->id == id)
            return user;
    }
    return nullptr;
}

void FacebookIntegrationBase::clearUser()
{
    {
        std::lock_guard guard(currentUser.lock);
        releasePhoto(currentUser);
        currentUser.id = 0;
        currentUser.idText.clear();
        currentUser.fullName.clear();
        currentUser.firstName.clear();
        currentUser.middleName.clear();
        currentUser.lastName.clear();
        currentUser.extra.clear();
        currentUser.photoLoaded = 0;
        currentUser.photoWanted = 1;
        currentUser.answeredRequestIds.clear();
        currentUser.requestGroups.clear();
    }
    userLoaded = 0;
}

void FacebookIntegrationBase::clearFriends()
{
    std::lock_guard listGuard(friendsLock);
    for (SocialUser* user : friends) {
        {
            std::lock_guard guard(user->lock);
            releasePhoto(*user);
        }
        delete user;
    }
    friends.clear();
    friendsLoaded = 0;
}

// --- FacebookIntegrationWIN ---

void FacebookIntegrationWIN::openSession()
{
    VQ::log("FACEBOOK session opened");
    setLoggedIn(true);
    SocialMessage message;
    message.type = SOCIAL_LOGGED_IN;
    if (FacebookMessageDispatcher* bus = FacebookMessageDispatcher::instancePtr())
        bus->dispatch(&message);
}

void FacebookIntegrationWIN::closeSession()
{
    VQ::log("FACEBOOK session closed");
    SocialMessage message;
    message.type = SOCIAL_LOGGED_OUT;
    if (FacebookMessageDispatcher* bus = FacebookMessageDispatcher::instancePtr())
        bus->dispatch(&message);
    setLoggedIn(false);
}

void FacebookIntegrationWIN::fetchUser()
{
    VQ::log("FACEBOOK: Get facebook user data");
    {
        std::lock_guard guard(currentUser.lock);
        currentUser.id = 0;
        currentUser.idText = "0";
        currentUser.askable = 1;
        setNames(currentUser, "Robin", "Ashford", "Lamplight");
    }
    userLoaded = 1;
}

void FacebookIntegrationWIN::fetchFriends()
{
    VQ::log("FACEBOOK: Get facebook user's friends data");
    friendsLoaded = 1;
    {
        std::lock_guard userGuard(currentUser.lock);
        std::lock_guard listGuard(friendsLock);
        auto* sprites = VQ::SpriteManager<VQ::Sprite>::instancePtr();
        for (int i = 1; i <= FRIEND_COUNT; ++i) {
            auto* user = new SocialUser();
            // From the fourth on the ids repeat the second's.
            user->id = i <= 3 ? uint64_t(i) : 2;
            user->idText = std::to_string(user->id);
            const std::string name = "Friend" + std::to_string(std::min(i, 4));
            setNames(*user, name, name, name);
            user->askable = i == 1 ? 1 : 0;
            std::lock_guard guard(user->lock);
            user->photo = sprites ? sprites->createSpriteFromImage(FRIEND_PHOTO, PACKAGE) : nullptr;
            user->photoLoaded = 1;
            friends.push_back(user);
        }
    }
    SocialMessage message;
    message.type = SOCIAL_FRIENDS_READY;
    if (FacebookMessageDispatcher* bus = FacebookMessageDispatcher::instancePtr())
        bus->dispatch(&message);
}

void FacebookIntegrationWIN::loadRequests()
{
    if (!isLoggedIn())
        return;
    SocialMessage message;
    message.type = SOCIAL_REQUESTS;
    const char* kinds[] = {"takeLife", "takeSteps", "giveLife"};
    {
        std::lock_guard listGuard(friendsLock);
        for (size_t i = 0; i < 3 && i < friends.size(); ++i) {
            SocialRequest request;
            request.id = std::to_string(i);
            request.senderId = friends[i]->id;
            request.senderName = friends[i]->fullName;
            request.params = makeRequestParams(kinds[i]);
            message.requests.push_back(request);
        }
    }
    if (FacebookMessageDispatcher* bus = FacebookMessageDispatcher::instancePtr())
        bus->dispatch(&message);
}

// --- FacebookIntegration ---

FacebookIntegration::FacebookIntegration()
{
    if (!FacebookMessageDispatcher::exists())
        new FacebookMessageDispatcher();
    if (!FacebookDataStreamer::exists())
        new FacebookDataStreamer();
    FacebookMessageDispatcher::instance()->addListener(this);
}

FacebookIntegration::~FacebookIntegration()
{
    if (FacebookMessageDispatcher* bus = FacebookMessageDispatcher::instancePtr())
        bus->removeListener(this);
    clearUser();
    clearFriends();
}

void FacebookIntegration::onMessage(const SocialMessage* message)
{
    switch (message->type) {
    case SOCIAL_LOGGED_IN:
        fetchUser();
        fetchFriends();
        if (FacebookDataStreamer* streamer = FacebookDataStreamer::instancePtr())
            streamer->start();
        break;
    case SOCIAL_LOGGED_OUT:
        clearUser();
        clearFriends();
        break;
    case SOCIAL_USER_READY:
        userLoaded = 1;
        break;
    case SOCIAL_FRIENDS_READY:
        friendsLoaded = 1;
        break;
    case SOCIAL_ANSWER:
    case SOCIAL_ANSWER_2:
        onAnswer(message->group);
        break;
    case SOCIAL_REQUEST_REMOVED:
        onRequestRemoved(message->userId, message->removedRequestId);
        break;
    default:
        break;
    }
}

void FacebookIntegration::onAnswer(const RequestGroup& group)
{
    SocialUser* user = findUser(group.userId);
    if (!user)
        return;
    std::vector<std::string>& answered = user->answeredRequestIds;
    const auto found = std::find(answered.begin(), answered.end(), group.requestId);
    const bool matched = found != answered.end();
    if (matched)
        user->pendingRequests -= 1;
    else
        answered.push_back(group.requestId);
    user->requestGroups.push_back(group);
    if (matched && user->pendingRequests < 1) {
        user->requestState = 2;
        user->pendingRequests = 0;
        SocialMessage done;
        done.type = SOCIAL_ALL_ANSWERED;
        done.userId = user->id;
        if (FacebookMessageDispatcher* bus = FacebookMessageDispatcher::instancePtr())
            bus->dispatch(&done);
    }
}

void FacebookIntegration::onRequestRemoved(uint64_t userId, const std::string& requestId)
{
    if (requestId.empty())
        return;
    SocialUser* user = findUser(userId);
    if (!user)
        return;
    auto& groups = user->requestGroups;
    const auto group = std::find_if(groups.begin(), groups.end(),
                                    [&](const RequestGroup& g) { return g.requestId == requestId; });
    if (group != groups.end())
        groups.erase(group);
    auto& answered = user->answeredRequestIds;
    if (const auto id = std::find(answered.begin(), answered.end(), requestId); id != answered.end())
        answered.erase(id);
}
