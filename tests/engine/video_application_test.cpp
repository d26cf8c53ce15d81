// A queued video in the engine's frame: while it plays the game is neither
// updated nor drawn, the video thread follows the application's activity,
// and the game's update runs again in the frame the queue empties.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "application.h"
#include "file_system.h"
#include "support/game_sandbox.h"
#include "video_player.h"
#include "video_surface.h"
#include "video_writer.h"

using namespace TestSupport;

namespace {

class CountingApplication : public Application {
public:
    void update() override { ++updates; }
    void render() override { ++renders; }
    int updates = 0;
    int renders = 0;
};

}  // namespace

TEST(VideoApplication, TheGameWaitsForTheQueueAndTheVideoClockFollowsActivation)
{
    GameSandbox sandbox;
    const std::filesystem::path oldCwd = std::filesystem::current_path();
    std::filesystem::current_path(sandbox.path());
    const std::string oldRoot = VQ::contentRoot();
    VQ::contentRoot() = "./media/";
    {
        VideoGen::Clip clip;
        clip.frames = 8;
        clip.pixel = [](uint32_t frame, uint32_t, uint32_t) { return VideoGen::Rgb{uint8_t(frame * 20), 0, 0}; };
        ASSERT_TRUE(VideoGen::writeBytes("clip.ogv", VideoGen::encodeTheora(clip)));
        auto app = std::make_unique<CountingApplication>();
        VQ::FileSystem::instance()->filesOfPackage("default")["app_clip"] = "clip.ogv";
        VQ::VideoPlayer* player = VQ::VideoPlayer::instance();
        ASSERT_TRUE(player->enqueue("app_clip", "", {}, {}, {}, nullptr, "", std::nullopt, "", VQ::Color(), {}));

        app->frameUpdate();
        app->frameRender();
        ASSERT_EQ(player->currentSlot(), 0);
        VQ::VideoSurface* surface = player->slot(0).surface;
        ASSERT_NE(surface, nullptr);
        // Inactive: nothing is ticked, and the video's clock stands.
        app->onDeactivate();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const uint32_t paused = surface->frameCount;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        EXPECT_EQ(surface->frameCount, paused);
        app->onActivate();

        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (player->slotCount() != 0 && std::chrono::steady_clock::now() < deadline) {
            EXPECT_EQ(app->updates, 0);
            EXPECT_EQ(app->renders, 0);
            app->frameUpdate();
            app->frameRender();
        }
        EXPECT_EQ(player->slotCount(), 0u);
        // The update that emptied the queue already ran the game.
        EXPECT_EQ(app->updates, 1);
        EXPECT_EQ(app->renders, 1);
        app->shutdownEngine();
    }
    VQ::contentRoot() = oldRoot;
    std::filesystem::current_path(oldCwd);
}
