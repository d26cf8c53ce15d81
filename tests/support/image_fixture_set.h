#pragma once
// The image fixture set, written once per test process by the project's
// image_fixtures tool into a temporary folder, and checks of decoded pixels
// against the picture the fixtures show.

#include <cstdint>
#include <string>
#include <vector>

namespace TestSupport {

// The folder holding the 16 x 16 fixture set (made on first use).
const std::string& imageFixtureFolder();
std::vector<uint8_t> imageFixture(const std::string& fileName);

// Path of a tool built with the project, e.g. "image_tools/vqt_tool".
std::string toolPath(const std::string& relativePath);

// How a decoded image relates to the fixture pattern.
enum class PatternChannels { RGBA, RGB_OPAQUE, GREY_OPAQUE, GREY_ALPHA };

// Counts the pixels of `rgba` (width x height, 4 bytes each) whose channels
// differ from the pattern by more than `tolerance`.
int patternMismatches(const uint8_t* rgba, uint32_t width, uint32_t height, PatternChannels channels,
                      int tolerance = 0);

}  // namespace TestSupport
