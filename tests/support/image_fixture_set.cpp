#include "support/image_fixture_set.h"

#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "../../tools/image_tools/fixture_pattern.h"
#include "support/test_support.h"

namespace TestSupport {

std::string toolPath(const std::string& relativePath)
{
    return std::string(LANTERRA_TEST_PROGRAMS_DIR) + "/../tools/" + relativePath;
}

const std::string& imageFixtureFolder()
{
    // Kept for the whole process: the tests only read it.
    static std::unique_ptr<TempDir> folder;
    if (!folder) {
        folder = std::make_unique<TempDir>();
        const ProcessResult result = runProcess(toolPath("image_tools/image_fixtures"), {folder->path()}, ".", {});
        if (!result.exited || result.exitCode != 0)
            throw std::runtime_error("image_fixtures failed: " + result.output);
    }
    return folder->path();
}

std::vector<uint8_t> imageFixture(const std::string& fileName)
{
    const std::string bytes = readFile(imageFixtureFolder() + "/" + fileName);
    if (bytes.empty())
        throw std::runtime_error("missing fixture " + fileName);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

int patternMismatches(const uint8_t* rgba, uint32_t width, uint32_t height, PatternChannels channels, int tolerance)
{
    int mismatches = 0;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const FixturePattern::Rgba p = FixturePattern::pixel(x, y);
            uint8_t expected[4] = {p.r, p.g, p.b, p.a};
            if (channels == PatternChannels::GREY_OPAQUE || channels == PatternChannels::GREY_ALPHA)
                expected[1] = expected[2] = p.r;
            if (channels == PatternChannels::RGB_OPAQUE || channels == PatternChannels::GREY_OPAQUE)
                expected[3] = 0xFF;
            const uint8_t* actual = rgba + (size_t(y) * width + x) * 4;
            for (int c = 0; c < 4; ++c)
                if (std::abs(int(actual[c]) - int(expected[c])) > tolerance) {
                    ++mismatches;
                    break;
                }
        }
    return mismatches;
}

}  // namespace TestSupport
