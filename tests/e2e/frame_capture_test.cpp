// The game's frames as a player sees them, saved by the capture driver.

#include <gtest/gtest.h>

#include <png.h>

#include <cstdio>

#include "support/game_sandbox.h"

using namespace TestSupport;

namespace {

bool readPngSize(const std::string& path, uint32_t& width, uint32_t& height)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    width = image.width;
    height = image.height;
    png_image_free(&image);
    return true;
}

}  // namespace

TEST(FrameCapture, TheGameDrawsThroughTheRenderDeviceAndEndsCleanly)
{
    GameSandbox sandbox;
    ChildProcess driver;
    const std::string picture = sandbox.file("frame.png");
    ASSERT_TRUE(driver.start(testProgramPath("frame_capture"), {picture, "20"}, sandbox.path(), sandbox.env()));
    const ProcessResult result = driver.wait(60);
    ASSERT_TRUE(result.exited) << result.output;
    EXPECT_EQ(result.exitCode, 0) << result.output;

    uint32_t width = 0;
    uint32_t height = 0;
    ASSERT_TRUE(readPngSize(picture, width, height)) << result.output;
    EXPECT_GT(width, 0u);
    EXPECT_GT(height, 0u);
    for (const char* line : {"Device Capabilities...", "Resetting DirectX device...", "Resetting done."})
        EXPECT_TRUE(sandbox.logContains(line)) << line;
}
