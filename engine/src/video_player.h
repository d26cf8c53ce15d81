#pragma once
// Plays a queue of full-screen videos in place of the game's own frame;
// while the queue is not empty the application neither updates nor draws
// the game.

#include <cstdint>
#include <mutex>

#include "singleton.h"

namespace VQ {

class VideoPlayer : public Singleton<VideoPlayer> {
public:
    VideoPlayer() = default;

    // The frame's work on the queue (main thread).
    void update() {}
    // Draws the playing video as the whole frame.
    void render() {}

    // Videos queued; 0 while none plays.
    uint32_t slotCount() const { return mSlotCount; }

private:
    uint32_t mSlotCount = 0;
    std::recursive_mutex mMutex;
};

}  // namespace VQ
