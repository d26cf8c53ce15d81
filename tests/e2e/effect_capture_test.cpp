// Particle effects as a player sees them: the capture driver steps a shipped
// effect headless and saves it drawn through OpenGL over a dark board of
// 80-pixel cells, one centred on the effect's start.

#include <gtest/gtest.h>

#include "support/game_sandbox.h"
#include "support/picture.h"

using namespace TestSupport;

namespace {

// Runs the driver in a window the size of the workspace (one pixel a unit).
Picture capture(const std::vector<std::string>& arguments)
{
    GameSandbox sandbox;
    writeFile(sandbox.file("resolution.txt"), "1726\n970\n");
    const std::string picture = sandbox.file("effect.png");
    std::vector<std::string> args = {arguments[0], picture};
    args.insert(args.end(), arguments.begin() + 1, arguments.end());
    ChildProcess driver;
    EXPECT_TRUE(driver.start(testProgramPath("effect_capture"), args, sandbox.path(), sandbox.env()));
    const ProcessResult result = driver.wait(60);
    EXPECT_TRUE(result.exited && result.exitCode == 0) << result.output;
    Picture p;
    EXPECT_TRUE(p.read(picture)) << result.output;
    return p;
}

// Warm light: red well above the board's indigo.
bool glowing(uint8_t r, uint8_t g, uint8_t)
{
    return r > 140 && g > 90;
}

TEST(EffectCapture, TheHintGlowsGoldInsideItsCell)
{
    const Picture p = capture({"hint_fx", "1.0"});
    ASSERT_EQ(p.width, 1726u);
    // The centre cell: (823, 445) to (903, 525).
    EXPECT_GT(p.count(823, 445, 903, 525, glowing), 200);
    EXPECT_EQ(p.count(0, 0, 1726, 440, glowing), 0);
    EXPECT_EQ(p.count(0, 530, 1726, 970, glowing), 0);
    EXPECT_EQ(p.count(0, 0, 818, 970, glowing), 0);
    EXPECT_EQ(p.count(908, 0, 1726, 970, glowing), 0);
}

TEST(EffectCapture, TheCometLeavesItsTrailBehindItsHead)
{
    // Falling 600 pixels a second from y = 150: the head is at y = 510.
    const Picture p = capture({"meteorite_fx", "0.6", "--at", "863", "150", "--velocity", "0", "600"});
    ASSERT_EQ(p.width, 1726u);
    EXPECT_GT(p.count(843, 490, 883, 530, glowing), 200);  // the head
    EXPECT_GT(p.count(853, 330, 873, 470, glowing), 300);  // the ribbon above it
    EXPECT_EQ(p.count(0, 560, 1726, 970, glowing), 0);     // nothing ahead of it
}

}  // namespace
