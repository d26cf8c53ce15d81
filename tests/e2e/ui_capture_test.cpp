// The widget gallery as a player meets it: shown by the UI capture driver on
// the OpenGL device, clicked and typed into through SDL events.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/game_sandbox.h"
#include "support/picture.h"

using namespace TestSupport;

namespace {

// The gallery window covers (563, 275) to (1163, 695); its close button
// (603, 387) to (763, 435), the check box (611, 475) to (643, 507), the name
// field (763, 537) to (1083, 573). The scene window beside it covers (93,
// 315) to (513, 595), its lantern (393, 405) to (483, 562).
//
// In the scene-list gallery the strip's window stands at (300, 160), its
// well (324, 252) to (744, 752), rows of 96 every 104 from y 262 with their
// buy buttons at x 614 to 726, 26 below the row's top; the book's window at
// (946, 160), its well (986, 252) to (1386, 692), the page bar's dots at
// (1120 + 36 i, 720), 24 across, "#btn_next" at (1274, 704), 56 across.

ProcessResult runDriver(GameSandbox& sandbox, const std::vector<std::string>& steps,
                        const std::string& script = "widget_gallery_ui", const std::string& table = "WidgetGallery")
{
    writeFile(sandbox.file("resolution.txt"), "1726\n970\n");
    std::vector<std::string> args = {script, table};
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

TEST(UICapture, TheSceneWindowFollowsTheGalleryAndItsLanternRisesUnderThePointer)
{
    GameSandbox sandbox;
    runDriver(sandbox, {"wait:0.8", "save:window.png", "move:420,420", "wait:0.4", "save:lifted.png",
                        "click:683,411", "wait:0.6", "save:closed.png"});
    const Picture window = picture(sandbox, "window.png");
    const Picture lifted = picture(sandbox, "lifted.png");
    const Picture closed = picture(sandbox, "closed.png");
    // Shown ("onIdle" played to its end): the panel and its gold title.
    EXPECT_GT(window.count(100, 380, 370, 570, parchment), 40000);
    EXPECT_GT(window.count(150, 330, 450, 365, gold), 200);
    // The borrowed lantern, offset by its host, leaves the bottom of its place.
    auto lanternPaper = [](uint8_t r, uint8_t g, uint8_t b) { return r > 200 && g > 100 && g < 200 && b < 120; };
    EXPECT_LT(lifted.count(380, 520, 500, 570, lanternPaper), window.count(380, 520, 500, 570, lanternPaper) - 100);
    // Hidden with the gallery ("onHide").
    EXPECT_EQ(closed.count(93, 315, 513, 595, parchment), 0);
}

namespace {

// The lines "list NAME P D I" of the driver's "lists" steps for one list.
struct ListLine {
    float position;
    int dragging;
    int coasting;
};
std::vector<ListLine> listLines(const std::string& output, const std::string& name)
{
    std::vector<ListLine> lines;
    const std::string prefix = "list " + name + " ";
    for (size_t at = output.find(prefix); at != std::string::npos; at = output.find(prefix, at + 1)) {
        ListLine line{};
        if (std::sscanf(output.c_str() + at + prefix.size(), "%f %d %d", &line.position, &line.dragging,
                        &line.coasting) == 3)
            lines.push_back(line);
    }
    return lines;
}

}  // namespace

TEST(UICapture, TheStripCoastsToRestAndTheBookTurnsToPageTwo)
{
    GameSandbox sandbox;
    // A flick upwards that leaves the well on the right, then two presses
    // of "#btn_next".
    const ProcessResult result = runDriver(
        sandbox,
        {"wait:0.5", "move:700,600", "press:700,600", "move:720,560", "move:740,520", "move:760,480", "release:780,440",
         "lists", "wait:0.1", "lists", "wait:1.5", "lists", "move:1302,732", "click:1302,732", "wait:0.3",
         "click:1302,732", "wait:0.5", "lists", "move:1600,900", "wait:0.3", "save:lists.png"},
        "scene_list_gallery_ui", "SceneListGallery");
    const std::vector<ListLine> strip = listLines(result.output, "stripList");
    ASSERT_EQ(strip.size(), 4u) << result.output;
    EXPECT_LT(strip[0].position, -40.0f);  // followed the pointer up
    EXPECT_EQ(strip[0].coasting, 1);
    EXPECT_LT(strip[1].position, strip[0].position);  // and coasted on
    // At rest within the content (the end is -144), where it stays.
    EXPECT_EQ(strip[2].coasting, 0);
    EXPECT_EQ(strip[2].dragging, 0);
    EXPECT_GE(strip[2].position, -144.0f);
    EXPECT_LT(strip[2].position, strip[0].position);
    EXPECT_FLOAT_EQ(strip[3].position, strip[2].position);
    const std::vector<ListLine> book = listLines(result.output, "bookList");
    ASSERT_EQ(book.size(), 4u);
    EXPECT_FLOAT_EQ(book[3].position, -800.0f);

    const Picture p = picture(sandbox, "lists.png");
    // The page bar lights the third dot only.
    auto lit = [](uint8_t r, uint8_t g, uint8_t b) { return r > 220 && g > 140 && b < 190; };
    EXPECT_GT(p.count(1192, 720, 1216, 744, lit), 150);
    EXPECT_LT(p.count(1120, 720, 1144, 744, lit), 20);
    // The strip's thumb has left the head of its track.
    auto brass = [](uint8_t r, uint8_t g, uint8_t b) { return r > 150 && g > 110 && b < 110 && r > b + 60; };
    EXPECT_LT(p.count(748, 252, 776, 300, brass), 50);
    EXPECT_GT(p.count(748, 300, 776, 740, brass), 600);
}

TEST(UICapture, ABuyButtonClickReachesTheItemsListenerOnce)
{
    GameSandbox sandbox;
    const ProcessResult result =
        runDriver(sandbox, {"wait:0.5", "move:670,304", "click:670,304", "wait:0.2", "move:900,900", "wait:0.1"},
                  "scene_list_gallery_ui", "SceneListGallery");
    const size_t first = result.output.find("clicked oil:buy\n");
    ASSERT_NE(first, std::string::npos) << result.output;
    EXPECT_EQ(result.output.find("clicked", first + 1), std::string::npos) << result.output;
}
