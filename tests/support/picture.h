#pragma once
// A PNG saved by a capture driver, read back as RGB for the whole-program
// tests to count pixels in regions of it.

#include <png.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace TestSupport {

struct Picture {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgb;

    bool read(const std::string& path)
    {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_file(&image, path.c_str()))
            return false;
        image.format = PNG_FORMAT_RGB;
        width = image.width;
        height = image.height;
        rgb.assign(PNG_IMAGE_SIZE(image), 0);
        return png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) != 0;
    }
    // Pixels in [x0, x1) x [y0, y1) for which `test(r, g, b)` holds.
    template <typename Test>
    int count(uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1, Test test) const
    {
        int n = 0;
        for (uint32_t y = y0; y < std::min(y1, height); ++y)
            for (uint32_t x = x0; x < std::min(x1, width); ++x) {
                const uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
                n += test(p[0], p[1], p[2]) ? 1 : 0;
            }
        return n;
    }
    // Pixels in [x0, x1) x [y0, y1) brighter than mid-grey.
    int lit(uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1) const
    {
        return count(x0, y0, x1, y1, [](uint8_t, uint8_t g, uint8_t) { return g > 128; });
    }
};

}  // namespace TestSupport
