#pragma once
// Owns the video surfaces and the video thread, which decodes the frames of
// the playing ones at their rate while the application is active (their
// clocks stand still while it is not); the main thread uploads the decoded
// frames at the end of each frame.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "platform/thread_posix.h"
#include "singleton.h"

namespace VQ {

class VideoSurface;

class VideoSurfaceStreamer : public Singleton<VideoSurfaceStreamer> {
public:
    static constexpr uint32_t MAX_SURFACES = 127;

    // Whether the application is active; the application installs it. With
    // none the application counts as absent and no video clock runs.
    using ActiveQuery = bool (*)();
    static void setActiveQuery(ActiveQuery query);

    // Starts the video thread (nothing is reported when it cannot start).
    VideoSurfaceStreamer();
    // Stops and joins the thread. Surfaces still listed are left to whoever
    // made them.
    ~VideoSurfaceStreamer() override;

    // A new surface playing the resource (package "default"); null when it
    // cannot be opened or 127 exist.
    VideoSurface* createSurface(const char* name);
    // 0 when the surface was listed and is destroyed; 1 otherwise.
    uint32_t destroySurface(VideoSurface* surface);
    // Main thread, at the end of each frame.
    void uploadFrames();

    // One pass of the video thread over the surfaces; true when any played.
    bool pass();

    uint32_t surfaceCount();
    bool started() const { return mThread.started(); }

private:
    void threadMain();

    VideoSurface* mSurfaces[MAX_SURFACES] = {};
    uint32_t mSurfaceCount = 0;
    std::recursive_mutex mMutex;
    Thread mThread;
    std::atomic<bool> mStopRequested{false};
    // Wakes the idle thread at once when it is asked to stop.
    std::mutex mWakeMutex;
    std::condition_variable mWake;
};

}  // namespace VQ
