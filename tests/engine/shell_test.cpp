#include <gtest/gtest.h>

#include "shell.h"

using namespace VQ;

namespace {

WindowSizeInputs inputs(int width, int height, uint32_t fitType, IntRect workArea)
{
    WindowSizeInputs in;
    in.configuredWidth = width;
    in.configuredHeight = height;
    in.fullscreenFitType = fitType;
    in.fullscreenMinimalAspect = 1.33f;
    in.workArea = workArea;
    in.metrics = {4, 23};
    in.desktop = {workArea.width, workArea.height + 40};
    return in;
}

// A work area leaving exactly this client area inside the decorations.
IntRect leaving(int clientWidth, int clientHeight)
{
    return {0, 0, clientWidth + 8, clientHeight + 8 + 23};
}

}  // namespace

TEST(ComputeWindowSize, WindowedSizesTable)
{
    struct Case {
        const char* name;
        WindowSizeInputs in;
        int width;
        int height;
    };
    auto withFile = [](WindowSizeInputs in, const char* text) {
        in.resolutionFile = std::string(text);
        return in;
    };
    const Case cases[] = {
        {"fits as configured", inputs(1726, 970, 1, {0, 0, 1920, 1040}), 1726, 970},
        {"type 0 keeps the aspect, width bound", inputs(1920, 1080, 0, leaving(1000, 700)), 1000, 562},
        {"type 0 keeps the aspect, height bound", inputs(1080, 1920, 0, leaving(1000, 700)), 393, 700},
        {"type 1 narrows to the available aspect", inputs(1920, 1080, 1, leaving(1200, 800)), 1200, 800},
        {"type 1 stops at the minimal aspect", inputs(1920, 1080, 1, leaving(1000, 800)), 1000, 751},
        {"resolution.txt, landscape", withFile(inputs(1726, 970, 1, {0, 0, 1920, 1040}), "800\n600\n"), 800, 600},
        {"resolution.txt, portrait", withFile(inputs(970, 1726, 1, {0, 0, 1920, 1040}), "800\n600\n"), 600, 800},
        {"resolution.txt beyond the work area", withFile(inputs(1726, 970, 0, leaving(1000, 700)), "2560\r\n1440"),
         2560, 1440},
        {"resolution.txt with a zero is ignored", withFile(inputs(1920, 1080, 0, leaving(1000, 700)), "0\n600\n"),
         1000, 562},
        {"resolution.txt not a number is ignored", withFile(inputs(1726, 970, 1, {0, 0, 1920, 1040}), "wide\n"),
         1726, 970},
        {"resolution.txt negative is ignored", withFile(inputs(1726, 970, 1, {0, 0, 1920, 1040}), "-800\n600"),
         1726, 970},
    };
    for (const Case& c : cases) {
        const WindowSizeResult result = computeWindowSizeFrom(c.in);
        EXPECT_EQ(result.renderSize.width, c.width) << c.name;
        EXPECT_EQ(result.renderSize.height, c.height) << c.name;
        EXPECT_EQ(result.windowSize.width, c.width + 8) << c.name;
        EXPECT_EQ(result.windowSize.height, c.height + 8 + 23) << c.name;
        const bool badFile = std::string(c.name).find("ignored") != std::string::npos;
        EXPECT_EQ(result.resolutionFileIgnored, badFile) << c.name;
    }
}

TEST(ComputeWindowSize, CentresTheClientAreaInTheWorkArea)
{
    const WindowSizeResult result = computeWindowSizeFrom(inputs(1726, 970, 1, {100, 50, 1920, 1040}));
    EXPECT_EQ(result.position.x, 1920 / 2 + 100 - 1726 / 2);
    EXPECT_EQ(result.position.y, 1040 / 2 - 23 / 2 + 50 - 970 / 2);
}

TEST(ComputeWindowSize, FullScreenTakesTheDesktop)
{
    WindowSizeInputs in = inputs(1726, 970, 1, {0, 0, 1366, 728});
    in.fullscreen = true;
    in.desktop = {1366, 768};
    in.resolutionFile = std::string("800\n600\n");  // windowed form only
    const WindowSizeResult result = computeWindowSizeFrom(in);
    EXPECT_EQ(result.renderSize.width, 1366);
    EXPECT_EQ(result.renderSize.height, 768);
    EXPECT_EQ(result.windowSize.width, 1366);
    EXPECT_EQ(result.windowSize.height, 768);
    EXPECT_EQ(result.position.x, 0);
    EXPECT_EQ(result.position.y, 0);
}

TEST(ComputeWindowSize, TinyWorkAreaStillGivesAWindow)
{
    const WindowSizeResult result = computeWindowSizeFrom(inputs(1726, 970, 0, {0, 0, 4, 4}));
    EXPECT_GE(result.renderSize.width, 1);
    EXPECT_GE(result.renderSize.height, 1);
}
