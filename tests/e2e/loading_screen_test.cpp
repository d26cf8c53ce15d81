// The base loading screen of a real headless run, saved as a picture: the
// frame-rate line at the workspace's top-left corner, "Loading..." 20 units
// below it, nothing else.

#include <gtest/gtest.h>

#include "support/game_sandbox.h"
#include "support/picture.h"

using namespace TestSupport;

TEST(LoadingScreen, ShowsTheFrameRateAndLoadingWithTheSystemFont)
{
    GameSandbox sandbox;
    // A window of the workspace's own shape (1726 x 970 at 0.74), so that
    // the whole workspace is on screen.
    writeFile(sandbox.file("resolution.txt"), "1280\n720\n");
    ChildProcess driver;
    const std::string picture = sandbox.file("loading.png");
    ASSERT_TRUE(driver.start(testProgramPath("loading_screen_capture"), {picture, "10"}, sandbox.path(), sandbox.env()));
    const ProcessResult result = driver.wait(60);
    ASSERT_TRUE(result.exited) << result.output;
    EXPECT_EQ(result.exitCode, 0) << result.output;

    Picture p;
    ASSERT_TRUE(p.read(picture)) << result.output;
    ASSERT_EQ(p.width, 1280u);
    ASSERT_EQ(p.height, 720u);
    const float scale = 1280.0f / 1726.0f;
    const auto at = [scale](float units) { return uint32_t(units * scale); };
    // "FPS 60..." from (0, 0), "Loading..." from (0, 20); the system font's
    // lines are 17 units tall.
    EXPECT_GT(p.lit(0, 0, at(120), at(17)), 40);
    EXPECT_GT(p.lit(0, at(20), at(80), at(37)), 40);
    // "Loading..." is shorter than the frame-rate line.
    EXPECT_EQ(p.lit(at(80), at(21), 1280, 720), 0);
    EXPECT_EQ(p.lit(at(160), 0, 1280, 720), 0);
    EXPECT_TRUE(sandbox.logContains("Init UIFontManager..."));
}
