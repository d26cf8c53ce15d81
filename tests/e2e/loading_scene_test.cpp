// The game's loading screen in a real headless run: while a job loads, the
// loading scene is drawn and moves; every one of its sprites loads.

#include <gtest/gtest.h>

#include <algorithm>

#include "support/game_sandbox.h"
#include "support/picture.h"

using namespace TestSupport;

TEST(GameLoadingScene, IsDrawnAndMovesWhileAJobRuns)
{
    GameSandbox sandbox;
    // A window of the workspace's own size: one pixel a unit.
    writeFile(sandbox.file("resolution.txt"), "1726\n970\n");
    ChildProcess driver;
    const std::string first = sandbox.file("first.png");
    const std::string second = sandbox.file("second.png");
    ASSERT_TRUE(driver.start(testProgramPath("loading_scene_capture"), {first, second}, sandbox.path(),
                             sandbox.env()));
    const ProcessResult result = driver.wait(60);
    ASSERT_TRUE(result.exited) << result.output;
    EXPECT_EQ(result.exitCode, 0) << result.output;

    Picture a;
    Picture b;
    ASSERT_TRUE(a.read(first)) << result.output;
    ASSERT_TRUE(b.read(second)) << result.output;
    ASSERT_EQ(a.width, b.width);
    const uint32_t w = a.width;
    const uint32_t h = a.height;
    // The indigo sky over the top of the screen, the lantern's warm light
    // at the centre top.
    EXPECT_GT(a.count(0, 0, w, h / 10, [](uint8_t r, uint8_t, uint8_t b) { return b > r && b > 30; }),
              int(w * (h / 10) * 9 / 10));
    EXPECT_GT(a.count(w / 3, 0, w * 2 / 3, h / 3, [](uint8_t r, uint8_t g, uint8_t) { return r > 220 && g > 150; }),
              500);
    // "Loading..." in light letters under the gems (the camera moves the
    // scene by up to 30 units). The workspace fills the picture's height,
    // its sides cropped alike. (How far the embers have risen depends on
    // how fast the machine draws; the scene's own drawn test checks them.)
    const float scale = float(h) / 970.0f;
    const float left = (float(w) - 1726.0f * scale) / 2.0f;
    auto px = [&](float x) { return uint32_t(std::max(0.0f, left + x * scale)); };
    auto py = [&](float y) { return uint32_t(y * scale); };
    auto light = [](uint8_t r, uint8_t g, uint8_t b) { return r > 200 && g > 200 && b > 180; };
    EXPECT_GT(a.count(px(700), py(805), px(1030), py(875), light), 60);
    EXPECT_GT(b.count(px(700), py(805), px(1030), py(875), light), 60);
    // A second later the scene has moved.
    int changed = 0;
    for (size_t i = 0; i < a.rgb.size(); i += 3)
        changed += (std::abs(int(a.rgb[i]) - int(b.rgb[i])) > 40) ? 1 : 0;
    EXPECT_GT(changed, 500);
    EXPECT_TRUE(sandbox.logContains("void GameApplication::create()"));
    EXPECT_FALSE(sandbox.logContains("Failed to create sprite"));
}
