#pragma once
// Looks after the social users' photos on a worker thread while the player
// is logged in: it releases photos no longer wanted and counts the users
// still waiting for one. Offline the photos come with the friend data, so
// the worker never has one to fetch. Started by the first login, stopped
// and joined when the streamer goes at shut-down.

#include <atomic>
#include <functional>
#include <vector>

#include "platform/thread_posix.h"
#include "singleton.h"

struct SocialUser;

class FacebookDataStreamer : public VQ::Singleton<FacebookDataStreamer> {
public:
    using Predicate = std::function<bool(const SocialUser&)>;

    FacebookDataStreamer() = default;
    // Stops and joins the worker when it was started.
    ~FacebookDataStreamer() override;

    // 1 when already started; 0 once a stop was asked for; else the worker
    // is created (once) and 0 returned, or the creation's failure (-1).
    int start();
    // The current user, then the friends in order, that match.
    void collectUsers(std::vector<SocialUser*>& list, const Predicate& predicate);
    // 1: the users waiting for a photo, less one (0 when none wait);
    // 0: releases the photos no longer wanted; else only collects.
    int process(int mode);

    static bool waitsForPhoto(const SocialUser& user);
    static bool photoUnwanted(const SocialUser& user);

    std::atomic<bool> threadCreated{false};
    std::atomic<bool> started{false};
    std::atomic<bool> stopRequested{false};

private:
    void run();
    void releaseUnwantedPhotos();

    VQ::Thread mThread;
};
