#pragma once
// Packed colour 0xAARRGGBB, stored as the bytes b, g, r, a. Per-channel
// arithmetic wraps like bytes: animation and particles rely on it.

#include <cstdint>

namespace VQ {

struct Color {
    uint8_t b = 0;
    uint8_t g = 0;
    uint8_t r = 0;
    uint8_t a = 0;

    constexpr Color() = default;
    constexpr explicit Color(uint32_t argb)
        : b(uint8_t(argb)), g(uint8_t(argb >> 8)), r(uint8_t(argb >> 16)), a(uint8_t(argb >> 24))
    {
    }
    // Each channel is value * 255 truncated toward zero, keeping the low
    // 8 bits (1.5 gives 126).
    Color(float red, float green, float blue, float alpha)
        : b(floatToByte(blue)), g(floatToByte(green)), r(floatToByte(red)), a(floatToByte(alpha))
    {
    }
    explicit Color(float v) : Color(v, v, v, v) {}

    static Color fromBytes(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha)
    {
        Color c;
        c.r = red;
        c.g = green;
        c.b = blue;
        c.a = alpha;
        return c;
    }

    constexpr uint32_t argb() const
    {
        return (uint32_t(a) << 24) | (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
    }

    static uint8_t floatToByte(float v) { return uint8_t(static_cast<int64_t>(v * 255.0f)); }

    Color operator+(const Color& o) const { return fromBytes(r + o.r, g + o.g, b + o.b, a + o.a); }
    Color operator-(const Color& o) const { return fromBytes(r - o.r, g - o.g, b - o.b, a - o.a); }
    // A channel divided by 0 gives 0 (callers divide by positive counts).
    Color operator/(const Color& o) const
    {
        return fromBytes(div(r, o.r), div(g, o.g), div(b, o.b), div(a, o.a));
    }
    // Modulate: ((a + 1) * b) >> 8, the +1 on this (the weight or parent).
    Color operator*(const Color& o) const
    {
        return fromBytes(mod(r, o.r), mod(g, o.g), mod(b, o.b), mod(a, o.a));
    }
    constexpr bool operator==(const Color& o) const { return argb() == o.argb(); }
    constexpr bool operator!=(const Color& o) const { return !(*this == o); }

private:
    static uint8_t div(uint8_t x, uint8_t y) { return y ? uint8_t(x / y) : 0; }
    static uint8_t mod(uint8_t x, uint8_t y) { return uint8_t(((unsigned(x) + 1) * unsigned(y)) >> 8); }
};

static_assert(sizeof(Color) == 4, "Color is a packed 32-bit value");

}  // namespace VQ
