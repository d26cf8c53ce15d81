#pragma once
// The picture every image fixture shows, shared by the fixture generator
// and the tests that check the decoded pixels. Every pixel of a 16 x 16
// image has its own palette index (x + 16 y), so a pixel in the wrong place
// shows; the image never has more than 256 colours, so the palette formats
// can hold it; the channels change smoothly, so JPEG keeps them close.

#include <cstdint>

namespace FixturePattern {

struct Rgba {
    uint8_t r, g, b, a;
};

inline uint8_t index(uint32_t x, uint32_t y)
{
    return uint8_t(x + y * 16);
}

inline Rgba colour(uint8_t i)
{
    const uint8_t alpha = i < 128 ? uint8_t(i * 2) : uint8_t(255 - (i - 128) * 2);
    return Rgba{i, uint8_t(i / 2 + 64), uint8_t(255 - i), alpha};
}

inline Rgba pixel(uint32_t x, uint32_t y)
{
    return colour(index(x, y));
}

}  // namespace FixturePattern
