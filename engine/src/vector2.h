#pragma once
// The engine's 2D vector value type.

#include <cmath>

namespace VQ {

template <typename T>
struct Vector2 {
    T x{};
    T y{};

    constexpr Vector2() = default;
    constexpr Vector2(T x_, T y_) : x(x_), y(y_) {}

    constexpr Vector2 operator+(const Vector2& o) const { return {x + o.x, y + o.y}; }
    constexpr Vector2 operator-(const Vector2& o) const { return {x - o.x, y - o.y}; }
    constexpr Vector2 operator*(T s) const { return {x * s, y * s}; }
    constexpr Vector2 operator/(T s) const { return {x / s, y / s}; }
    Vector2& operator+=(const Vector2& o)
    {
        x += o.x;
        y += o.y;
        return *this;
    }
    Vector2& operator-=(const Vector2& o)
    {
        x -= o.x;
        y -= o.y;
        return *this;
    }
    Vector2& operator*=(T s)
    {
        x *= s;
        y *= s;
        return *this;
    }
    constexpr bool operator==(const Vector2& o) const { return x == o.x && y == o.y; }
    constexpr bool operator!=(const Vector2& o) const { return !(*this == o); }

    T length() const { return static_cast<T>(std::sqrt(x * x + y * y)); }

    T distanceTo(const Vector2& o) const { return (*this - o).length(); }

    // A zero (or non-positive) length leaves the vector unchanged.
    void normalize()
    {
        const T len = length();
        if (len > 0) {
            x /= len;
            y /= len;
        }
    }
};

using Vector2f = Vector2<float>;

}  // namespace VQ
