#include "facebook_data_streamer.h"

#include <chrono>
#include <mutex>
#include <thread>

#include "facebook_integration.h"
#include "sprite.h"
#include "sprite_manager.h"

namespace {

constexpr auto IDLE_PAUSE = std::chrono::milliseconds(250);

}  // namespace

FacebookDataStreamer::~FacebookDataStreamer()
{
    if (started && !stopRequested) {
        stopRequested = true;
        if (threadCreated)
            mThread.join();
    }
    started = false;
}

bool FacebookDataStreamer::waitsForPhoto(const SocialUser& user)
{
    return user.photoWanted && !user.photoLoaded;
}

bool FacebookDataStreamer::photoUnwanted(const SocialUser& user)
{
    return user.photoLoaded && !user.photoWanted;
}

int FacebookDataStreamer::start()
{
    if (started)
        return 1;
    if (stopRequested)
        return 0;
    started = true;
    if (threadCreated)
        return 0;
    if (!mThread.start([this] { run(); }))
        return -1;
    threadCreated = true;
    return 0;
}

void FacebookDataStreamer::collectUsers(std::vector<SocialUser*>& list, const Predicate& predicate)
{
    list.clear();
    FacebookIntegration* integration = FacebookIntegration::instancePtr();
    if (!integration)
        return;
    {
        std::lock_guard guard(integration->currentUser.lock);
        if (predicate(integration->currentUser))
            list.push_back(&integration->currentUser);
    }
    std::lock_guard listGuard(integration->friendsLock);
    for (SocialUser* user : integration->friends) {
        std::lock_guard guard(user->lock);
        if (predicate(*user))
            list.push_back(user);
    }
}

void FacebookDataStreamer::releaseUnwantedPhotos()
{
    FacebookIntegration* integration = FacebookIntegration::instancePtr();
    if (!integration)
        return;
    std::lock_guard userGuard(integration->currentUser.lock);
    std::lock_guard listGuard(integration->friendsLock);
    std::vector<SocialUser*> unwanted;
    collectUsers(unwanted, photoUnwanted);
    for (SocialUser* user : unwanted) {
        std::lock_guard guard(user->lock);
        if (user->photo)
            if (auto* sprites = VQ::SpriteManager<VQ::Sprite>::instancePtr())
                sprites->releaseSprite(user->photo);
        user->photo = nullptr;
        user->photoLoaded = 0;
    }
}

int FacebookDataStreamer::process(int mode)
{
    FacebookIntegration* integration = FacebookIntegration::instancePtr();
    if (!integration)
        return 0;
    std::lock_guard userGuard(integration->currentUser.lock);
    std::lock_guard listGuard(integration->friendsLock);
    std::vector<SocialUser*> users;
    if (mode == 1) {
        collectUsers(users, waitsForPhoto);
        return users.empty() ? 0 : int(users.size()) - 1;
    }
    if (mode == 0) {
        releaseUnwantedPhotos();
        return 0;
    }
    collectUsers(users, [](const SocialUser&) { return true; });
    return 0;
}

void FacebookDataStreamer::run()
{
    while (!stopRequested) {
        int count = 0;
        const FacebookIntegration* integration = FacebookIntegration::instancePtr();
        if (integration && integration->userLoaded && integration->friendsLoaded) {
            releaseUnwantedPhotos();
            count = process(1);
        }
        if (count == 0)
            std::this_thread::sleep_for(IDLE_PAUSE);
    }
}
