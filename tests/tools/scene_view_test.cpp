// The scene viewer over the shipped scenes: their trees as checked in, and
// their frames as a player sees them.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "support/content_fixture.h"
#include "support/picture.h"
#include "support/test_support.h"

using namespace TestSupport;

namespace {

struct ViewRun {
    std::string output;
    int exitCode = -1;
};

ViewRun runSceneView(const TempDir& dir, const std::string& arguments)
{
    const std::string command = "cd '" + dir.path() + "' && SDL_VIDEODRIVER=offscreen '" LANTERRA_SCENE_VIEW "' '" +
                                std::string(LANTERRA_SOURCE_DIR) + "/media' " + arguments + " 2> stderr.txt";
    ViewRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        run.output.append(buffer, n);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

Picture frame(const TempDir& dir, const std::string& name)
{
    Picture p;
    EXPECT_TRUE(p.read(dir.file(name))) << name;
    return p;
}

// The topmost row in [x0, x1) holding a saturated (gem) colour, scanning
// rows y0 to y1.
int topOfGem(const Picture& p, uint32_t x0, uint32_t x1, uint32_t y0, uint32_t y1)
{
    for (uint32_t y = y0; y < y1; ++y)
        if (p.count(x0, y, x1, y + 1, [](uint8_t r, uint8_t g, uint8_t b) {
                return std::max({r, g, b}) - std::min({r, g, b}) > 110;
            }) > 3)
            return int(y);
    return -1;
}

// The mean column of the lantern's bright paper in rows [y0, y1).
double lanternColumn(const Picture& p, uint32_t y0, uint32_t y1)
{
    double sum = 0;
    int n = 0;
    for (uint32_t x = 600; x < 1130; ++x) {
        const int c = p.count(x, y0, x + 1, y1, [](uint8_t r, uint8_t g, uint8_t) { return r > 220 && g > 150; });
        sum += double(x) * c;
        n += c;
    }
    return n ? sum / n : 0.0;
}

}  // namespace

TEST(SceneViewProgram, ShippedTreesMatchTheirExpectations)
{
    TempDir dir;
    for (const std::string scene : {"loading_scene", "dialog_example", "scene_window", "scene_list_item"}) {
        const ViewRun run = runSceneView(dir, scene + "_xml --dump");
        ASSERT_EQ(run.exitCode, 0) << readFile(dir.file("stderr.txt"));
        EXPECT_EQ(run.output, readFile(fixturePath("scene_view/" + scene + "_dump.txt"))) << scene;
    }
    const ViewRun missing = runSceneView(dir, "no_such_scene_xml --dump");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.output.empty());
}

TEST(SceneViewProgram, LoadingSceneMoves)
{
    TempDir dir;
    const ViewRun run = runSceneView(dir, "loading_scene_xml --play --png '" + dir.file("load") + "' --at 0.25,1.0");
    ASSERT_EQ(run.exitCode, 0) << readFile(dir.file("stderr.txt"));
    EXPECT_EQ(run.output, "saved " + dir.file("load") + "-0.25.png\nsaved " + dir.file("load") + "-1.0.png\n");
    const Picture early = frame(dir, "load-0.25.png");
    const Picture late = frame(dir, "load-1.0.png");
    ASSERT_EQ(early.width, 1726u);
    ASSERT_EQ(early.height, 970u);

    // The lantern hangs from (863, 80): its lower body swings to one side,
    // then to the other.
    const double before = lanternColumn(early, 250, 320);
    const double after = lanternColumn(late, 250, 320);
    EXPECT_GT(before, 0.0);
    EXPECT_GT(std::abs(after - before), 10.0) << before << " " << after;

    // Gem 0 (x 531) is rising at 0.25 s and back at rest at 1.0 s; gem 1
    // (x 651) is then in the air.
    const int gem0Early = topOfGem(early, 531, 595, 600, 800);
    const int gem0Late = topOfGem(late, 531, 595, 600, 800);
    const int gem1Early = topOfGem(early, 651, 715, 600, 800);
    const int gem1Late = topOfGem(late, 651, 715, 600, 800);
    EXPECT_LT(gem0Early, gem0Late - 10);
    EXPECT_LT(gem1Late, gem1Early - 10);
    // The sky is indigo at the top, nothing is drawn past the picture.
    EXPECT_EQ(early.count(0, 0, 1726, 40, [](uint8_t r, uint8_t, uint8_t b) { return b > r; }), 1726 * 40);
}

TEST(SceneViewProgram, DialogExampleFadesInAndMasksItsPortrait)
{
    TempDir dir;
    ViewRun run = runSceneView(dir, "dialog_example_xml --marker init --png '" + dir.file("init") + "' --at 0");
    ASSERT_EQ(run.exitCode, 0) << readFile(dir.file("stderr.txt"));
    run = runSceneView(dir, "dialog_example_xml --marker show --png '" + dir.file("show") + "' --at 0.1667,0.3333");
    ASSERT_EQ(run.exitCode, 0) << readFile(dir.file("stderr.txt"));
    const Picture init = frame(dir, "init-0.png");
    const Picture half = frame(dir, "show-0.1667.png");
    const Picture whole = frame(dir, "show-0.3333.png");

    // The panel's parchment at the workspace centre: nothing, half, whole.
    auto red = [](const Picture& p, uint32_t x, uint32_t y) { return int(p.rgb[(size_t(y) * p.width + x) * 3]); };
    EXPECT_EQ(init.lit(0, 0, 1726, 970), 0);
    EXPECT_NEAR(red(half, 900, 560), red(whole, 900, 560) / 2, 25);
    EXPECT_GT(red(whole, 900, 560), 200);

    // The portrait's circle (centre (731, 437), radius 44) shows the night
    // picture; the corner of its square, outside the circle, the parchment.
    EXPECT_LT(red(whole, 731, 437), 140);
    EXPECT_GT(red(whole, 689, 395), 180);
    EXPECT_GT(red(whole, 774, 480), 180);
}

TEST(SceneViewProgram, MeshesReplaceTheMeshNodesAndMove)
{
    TempDir dir;
    const std::string scene = "'" + fixturePath("scenes/meshes.xml") + "'";
    const ViewRun run =
        runSceneView(dir, scene + " --meshes --dump --play --png '" + dir.file("mesh") + "' --at 0.5,1.0");
    ASSERT_EQ(run.exitCode, 0) << readFile(dir.file("stderr.txt"));
    EXPECT_NE(run.output.find("group \"#mesh:banner\""), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("mesh 12x3 size (512.00, 256.00) transformer Wind"), std::string::npos);
    EXPECT_NE(run.output.find("mesh 48x1 size (1728.00, 256.00) transformer Water"), std::string::npos);
    const Picture early = frame(dir, "mesh-0.5.png");
    const Picture late = frame(dir, "mesh-1.0.png");
    // The banner's free left part and the water's surface have moved.
    auto moved = [&](uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1) {
        int n = 0;
        for (uint32_t y = y0; y < y1; ++y)
            for (uint32_t x = x0; x < x1; ++x) {
                const size_t i = (size_t(y) * early.width + x) * 3;
                n += std::abs(int(early.rgb[i + 2]) - int(late.rgb[i + 2])) > 12;
            }
        return n;
    };
    EXPECT_GT(moved(540, 100, 800, 400), 100);
    EXPECT_GT(moved(0, 680, 1726, 730), 100);
}
