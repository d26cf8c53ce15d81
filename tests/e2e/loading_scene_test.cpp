// The game's loading screen in a real headless run: while a job loads, the
// loading scene is drawn and moves; every one of its sprites loads.

#include <gtest/gtest.h>

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
    // A second later the scene has moved.
    int changed = 0;
    for (size_t i = 0; i < a.rgb.size(); i += 3)
        changed += (std::abs(int(a.rgb[i]) - int(b.rgb[i])) > 40) ? 1 : 0;
    EXPECT_GT(changed, 500);
    EXPECT_TRUE(sandbox.logContains("void GameApplication::create()"));
    EXPECT_FALSE(sandbox.logContains("Failed to create sprite"));
}
