#pragma once
// Looks after the social users' photos on a worker thread while the player
// is logged in. Offline the photos come with the friend data, so the worker
// has nothing to fetch; it starts when the player logs in.

#include "singleton.h"

class FacebookDataStreamer : public VQ::Singleton<FacebookDataStreamer> {
public:
    FacebookDataStreamer() = default;
    // Stops and joins the worker when it was started.
    ~FacebookDataStreamer() override;

    bool threadCreated = false;
    bool started = false;
    bool stopRequested = false;
};
