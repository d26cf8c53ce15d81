#include "ui/ui_state.h"

#include <algorithm>
#include <cstdlib>

namespace VQ {

namespace {

constexpr float FLOAT_EPSILON = 1.1920929e-7f;

float moveToward(float current, float value, float f)
{
    return current + f * (value - current);
}

Vector2f moveToward(const Vector2f& current, const Vector2f& value, float f)
{
    return Vector2f(moveToward(current.x, value.x, f), moveToward(current.y, value.y, f));
}

Color moveToward(const Color& current, const Color& value, float f)
{
    const int q = int(f * 255.0f);
    return Color::fromBytes(stepColorChannel(current.r, value.r, q), stepColorChannel(current.g, value.g, q),
                            stepColorChannel(current.b, value.b, q), stepColorChannel(current.a, value.a, q));
}

}  // namespace

uint8_t stepColorChannel(uint8_t from, uint8_t to, int q)
{
    const int d = int(to) - int(from);
    const int step = ((q + 1) * std::abs(d)) >> 8;
    return uint8_t(d >= 0 ? from + step : from - step);
}

template <typename T>
void UIState::PropertyChange<T>::update(float dt)
{
    if (!active)
        return;
    elapsed += dt;
    const float remaining = std::max(duration - elapsed, 0.0f);
    if (remaining < FLOAT_EPSILON) {
        *target = value;
        active = false;
        return;
    }
    const float f = std::clamp(std::min(remaining, dt) / remaining, 0.0f, 1.0f);
    *target = moveToward(*target, value, f);
}

template class UIState::PropertyChange<float>;
template class UIState::PropertyChange<Vector2f>;
template class UIState::PropertyChange<Color>;

}  // namespace VQ
