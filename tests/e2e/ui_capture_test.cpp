// The widget gallery as a player meets it: shown by the UI capture driver on
// the OpenGL device, clicked and typed into through SDL events.

#include <gtest/gtest.h>

#include "support/game_sandbox.h"
#include "support/picture.h"

using namespace TestSupport;

namespace {

// The gallery window covers (563, 275) to (1163, 695); its close button
// (603, 387) to (763, 435), the check box (611, 475) to (643, 507), the name
// field (763, 537) to (1083, 573).

ProcessResult runDriver(GameSandbox& sandbox, const std::vector<std::string>& steps)
{
    writeFile(sandbox.file("resolution.txt"), "1726\n970\n");
    std::vector<std::string> args = {"widget_gallery_ui", "WidgetGallery"};
    args.insert(args.end(), steps.begin(), steps.end());
    ChildProcess driver;
    EXPECT_TRUE(driver.start(testProgramPath("ui_capture"), args, sandbox.path(), sandbox.env()));
    const ProcessResult result = driver.wait(90);
    EXPECT_TRUE(result.exited && result.exitCode == 0) << result.output;
    return result;
}

Picture picture(const GameSandbox& sandbox, const std::string& name)
{
    Picture p;
    EXPECT_TRUE(p.read(sandbox.file(name))) << name;
    return p;
}

bool parchment(uint8_t r, uint8_t g, uint8_t b)
{
    return r > 200 && g > 180 && b > 120 && b < 200;
}
bool gold(uint8_t r, uint8_t g, uint8_t b)
{
    return r > 230 && g > 170 && b < 150;
}
// Darker than the paper: ink of the text and the caret.
bool ink(uint8_t r, uint8_t g, uint8_t b)
{
    return r < 120 && g < 90 && b < 70;
}
bool grey(uint8_t r, uint8_t g, uint8_t b)
{
    return r > 110 && r < 170 && std::abs(int(r) - int(g)) < 12 && std::abs(int(g) - int(b)) < 16;
}

}  // namespace

TEST(UICapture, TheGalleryShowsEveryWidget)
{
    GameSandbox sandbox;
    runDriver(sandbox, {"wait:0.6", "save:before.png", "click:627,491", "move:683,411", "type:lantern7", "caret",
                        "save:gallery.png"});
    const Picture before = picture(sandbox, "before.png");
    const Picture p = picture(sandbox, "gallery.png");
    ASSERT_EQ(p.width, 1726u);
    // The panel, and nothing of it outside the window.
    EXPECT_GT(p.count(600, 450, 1120, 660, parchment), 50000);
    EXPECT_EQ(p.count(0, 720, 1726, 970, parchment), 0);
    // The title in gold on the indigo band.
    EXPECT_GT(p.count(700, 310, 1030, 350, gold), 100);
    // The pointed-at button is lighter than it was before.
    auto light = [](uint8_t r, uint8_t g, uint8_t b) { return r > 250 && g > 225 && b > 130; };
    EXPECT_GT(p.count(610, 392, 756, 410, light), before.count(610, 392, 756, 410, light) + 150);
    // The disabled button in grey.
    EXPECT_GT(p.count(790, 392, 935, 430, grey), 3000);
    // The tick appears in the box.
    EXPECT_GT(p.count(611, 475, 643, 507, gold), before.count(611, 475, 643, 507, gold) + 40);
    // The typed text and the caret in the field.
    EXPECT_GT(p.count(770, 540, 1076, 570, ink), before.count(770, 540, 1076, 570, ink) + 150);
    // Shut down with the roots before the managers they use, nothing leaked.
    EXPECT_TRUE(sandbox.logContains("MemoryManager: Memory Leaks not found"));
}

TEST(UICapture, TheCloseButtonHidesTheWindowWithItsSound)
{
    GameSandbox sandbox;
    const ProcessResult result =
        runDriver(sandbox, {"wait:0.6", "sound", "click:683,411", "sound", "wait:0.5", "save:after.png"});
    EXPECT_NE(result.output.find("silent\nplaying button_clicked_sound\n"), std::string::npos) << result.output;
    const Picture p = picture(sandbox, "after.png");
    EXPECT_EQ(p.count(563, 275, 1163, 695, parchment), 0);
    EXPECT_EQ(p.count(563, 275, 1163, 695, gold), 0);
}

TEST(UICapture, TypedKeysAppearInTheNextFrame)
{
    GameSandbox sandbox;
    runDriver(sandbox, {"wait:0.6", "save:empty.png", "key:w", "save:typed.png", "keyup:w"});
    const Picture empty = picture(sandbox, "empty.png");
    const Picture typed = picture(sandbox, "typed.png");
    EXPECT_GT(typed.count(770, 540, 1076, 570, ink), empty.count(770, 540, 1076, 570, ink) + 40);
}
