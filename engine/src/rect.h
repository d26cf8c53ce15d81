#pragma once
// Axis-aligned rectangle in float units (left, top, right, bottom).

namespace VQ {

struct Rect {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;

    constexpr Rect() = default;
    constexpr Rect(float l, float t, float r, float b) : left(l), top(t), right(r), bottom(b) {}

    constexpr float width() const { return right - left; }
    constexpr float height() const { return bottom - top; }
    constexpr bool contains(float x, float y) const { return x >= left && x < right && y >= top && y < bottom; }
    constexpr bool operator==(const Rect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    constexpr bool operator!=(const Rect& o) const { return !(*this == o); }
};

}  // namespace VQ
