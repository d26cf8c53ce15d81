#include "video_surface_streamer.h"

#include <chrono>
#include <thread>

#include "video_surface.h"

namespace VQ {

namespace {

std::atomic<VideoSurfaceStreamer::ActiveQuery> gActiveQuery{nullptr};

constexpr auto IDLE_SLEEP = std::chrono::milliseconds(100);

}  // namespace

void VideoSurfaceStreamer::setActiveQuery(ActiveQuery query)
{
    gActiveQuery = query;
}

VideoSurfaceStreamer::VideoSurfaceStreamer()
{
    mThread.start([this] { threadMain(); });
}

VideoSurfaceStreamer::~VideoSurfaceStreamer()
{
    {
        std::lock_guard<std::mutex> lock(mWakeMutex);
        mStopRequested = true;
    }
    mWake.notify_all();
    mThread.join();
}

VideoSurface* VideoSurfaceStreamer::createSurface(const char* name)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (mSurfaceCount >= MAX_SURFACES)
        return nullptr;
    auto surface = std::make_unique<VideoSurface>();
    if (surface->open(name) != 0)
        return nullptr;
    mSurfaces[mSurfaceCount++] = surface.get();
    return surface.release();
}

uint32_t VideoSurfaceStreamer::destroySurface(VideoSurface* surface)
{
    if (!surface)
        return 1;
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    for (uint32_t i = 0; i < mSurfaceCount; ++i) {
        if (mSurfaces[i] != surface)
            continue;
        delete surface;
        for (uint32_t k = i + 1; k < mSurfaceCount; ++k)
            mSurfaces[k - 1] = mSurfaces[k];
        mSurfaces[--mSurfaceCount] = nullptr;
        return 0;
    }
    return 1;
}

void VideoSurfaceStreamer::uploadFrames()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    for (uint32_t i = 0; i < mSurfaceCount; ++i)
        mSurfaces[i]->uploadFrame();
}

uint32_t VideoSurfaceStreamer::surfaceCount()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    return mSurfaceCount;
}

bool VideoSurfaceStreamer::pass()
{
    const ActiveQuery query = gActiveQuery.load();
    const bool active = query && query();
    bool worked = false;
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    for (uint32_t i = 0; i < mSurfaceCount; ++i) {
        VideoSurface& surface = *mSurfaces[i];
        if (surface.playing && !surface.ended && active) {
            worked = true;
            if (!surface.clockRunning) {
                surface.clock.reset();
                surface.ended = false;
            }
            surface.clockRunning = true;
            surface.advance();
        } else if (surface.clockRunning) {
            // The time played so far is banked while the clock stands.
            surface.bankedTime += surface.clock.elapsedSeconds();
            surface.clockRunning = false;
        }
    }
    return worked;
}

void VideoSurfaceStreamer::threadMain()
{
    while (!mStopRequested) {
        if (pass()) {
            std::this_thread::yield();
            continue;
        }
        std::unique_lock<std::mutex> lock(mWakeMutex);
        mWake.wait_for(lock, IDLE_SLEEP, [this] { return mStopRequested.load(); });
    }
}

}  // namespace VQ
