// Videos in the real game, headless: the capture driver queues two clips
// made at run time and saves a frame during each and one after the queue
// has run out.

#include <gtest/gtest.h>

#include <png.h>

#include <array>

#include "support/game_sandbox.h"

using namespace TestSupport;

namespace {

struct Picture {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgb;
    // Red, green and blue of a pixel.
    std::array<int, 3> at(uint32_t x, uint32_t y) const
    {
        const size_t i = (size_t(y) * width + x) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
};

bool readPicture(const std::string& path, Picture& picture)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGB;
    picture.width = image.width;
    picture.height = image.height;
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr) != 0;
}

// The night sky of the clips: blue well above red and green.
bool isNightSky(const std::array<int, 3>& c)
{
    return c[2] > 60 && c[2] > c[0] + 25 && c[2] > c[1] + 25;
}

}  // namespace

TEST(VideoCapture, TwoQueuedClipsFillTheWindowAndThenTheGameReturns)
{
    GameSandbox sandbox;
    ChildProcess driver;
    const std::string prefix = sandbox.file("video");
    ASSERT_TRUE(driver.start(testProgramPath("video_capture"), {prefix}, sandbox.path(), sandbox.env()));
    const ProcessResult result = driver.wait(120);
    ASSERT_TRUE(result.exited) << result.output;
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output.find("gave up"), std::string::npos) << result.output;

    Picture first, second, after;
    ASSERT_TRUE(readPicture(prefix + "_1.png", first)) << result.output;
    ASSERT_TRUE(readPicture(prefix + "_2.png", second)) << result.output;
    ASSERT_TRUE(readPicture(prefix + "_3.png", after)) << result.output;
    // The sky covers the window's top from edge to edge during both clips.
    for (const Picture* shot : {&first, &second})
        for (uint32_t x : {2u, shot->width / 2, shot->width - 3})
            EXPECT_TRUE(isNightSky(shot->at(x, shot->height / 5))) << x;
    // After the queue: the game's own frame, the main menu's parchment panel
    // beside its buttons (left of the middle button; the menu scales with the
    // window's height).
    const std::array<int, 3> panel = after.at(after.width / 2 - after.height * 12 / 100, after.height / 2);
    EXPECT_TRUE(panel[0] > 180 && panel[1] > 160 && panel[2] > 110) << panel[0] << " " << panel[1] << " " << panel[2];

    int comments = 0;
    for (const std::string& line : sandbox.logLines())
        comments += line == "VideoSurface: dump comments";
    EXPECT_EQ(comments, 2);
    EXPECT_TRUE(sandbox.logContains("TITLE=Lantern"));
}
