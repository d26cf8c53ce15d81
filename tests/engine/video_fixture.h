#pragma once
// Video tests' common ground: clips made at run time by the project's video
// writer and registered as resources of package "default", the streamer
// (with the application's activity under the test's control) over the
// sprite fixture's engine, and a main-thread loop that uploads as the frame
// end does.

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "file_system.h"
#include "support/sprite_fixture.h"
#include "video_surface.h"
#include "video_surface_streamer.h"
#include "video_writer.h"

namespace VideoTestSupport {

inline std::atomic<bool>& appActive()
{
    static std::atomic<bool> active{true};
    return active;
}

inline bool testActiveQuery()
{
    return appActive().load();
}

// A clip of `frames` frames at 25 a second whose frame i is flat grey
// (i * 4 % 256); `adjust` changes the description before encoding.
inline std::vector<uint8_t> makeClip(uint32_t width, uint32_t height, uint32_t frames,
                                     const std::function<void(VideoGen::Clip&)>& adjust = nullptr)
{
    VideoGen::Clip clip;
    clip.width = width;
    clip.height = height;
    clip.frames = frames;
    clip.pixel = [](uint32_t frame, uint32_t, uint32_t) {
        const uint8_t v = uint8_t(frame * 4);
        return VideoGen::Rgb{v, v, v};
    };
    if (adjust)
        adjust(clip);
    return VideoGen::encodeTheora(clip);
}

class VideoTest : public TestSupport::SpriteTest {
protected:
    void SetUp() override
    {
        SpriteTest::SetUp();
        appActive() = true;
        VQ::VideoSurfaceStreamer::setActiveQuery(testActiveQuery);
    }
    void TearDown() override
    {
        mStreamer.reset();
        VQ::VideoSurfaceStreamer::setActiveQuery(nullptr);
        appActive() = true;
        SpriteTest::TearDown();
    }

    // Writes the clip under media/videos/ and lists it as `name`; before or
    // after the engine started.
    void addClip(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        writeContent("videos/" + name + ".ogv", std::string(bytes.begin(), bytes.end()));
        mClips.push_back(name);
        if (VQ::FileSystem::exists())
            registerClips();
    }
    void registerClips()
    {
        for (const std::string& name : mClips)
            VQ::FileSystem::instance()->filesOfPackage("default")[name] = "videos/" + name + ".ogv";
    }
    void startVideo(uint32_t windowWidth = 1024, uint32_t windowHeight = 768)
    {
        startEngine(windowWidth, windowHeight);
        registerClips();
        mStreamer = std::make_unique<VQ::VideoSurfaceStreamer>();
    }

    // Runs the main thread's side for `seconds` of wall time: frame ends
    // every 10 ms (texture creation and uploads), stopping early once
    // `until` holds.
    void runFrames(double seconds, const std::function<bool()>& until = nullptr)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < end) {
            mTextures->processQueues();
            mStreamer->uploadFrames();
            if (until && until())
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    std::vector<std::string> mClips;
    std::unique_ptr<VQ::VideoSurfaceStreamer> mStreamer;
};

}  // namespace VideoTestSupport
