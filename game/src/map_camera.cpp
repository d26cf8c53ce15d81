#include "map_camera.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

bool isValueChar(char c)
{
    return (c >= '0' && c <= '9') || c == '.' || c == '-';
}

bool startsWith(const std::string& text, std::string_view prefix)
{
    return text.size() >= prefix.size() && std::string_view(text).substr(0, prefix.size()) == prefix;
}

// Two values separated by one character; the second is read from nothing
// when the text ends early (0).
void readPair(std::string_view text, float& a, float& b, bool& second)
{
    size_t used = 0;
    a = readCameraValue(text, used);
    second = used < text.size();
    text.remove_prefix(std::min(text.size(), used + 1));
    b = readCameraValue(text, used);
}

void setRange(float a, float b, float& low, float& high)
{
    low = std::min(a, b);
    high = std::max(a, b);
}

// Whole-number part, as a cast truncates.
float whole(float v)
{
    return std::trunc(v);
}

}  // namespace

float readCameraValue(std::string_view text, size_t& used)
{
    used = 0;
    while (used < text.size() && used < static_cast<size_t>(MapCamera::VALUE_CHARS) && isValueChar(text[used]))
        ++used;
    float value = 0.0f;
    const char* begin = text.data();
    const auto result = std::from_chars(begin, begin + used, value, std::chars_format::fixed);
    if (result.ec != std::errc() || !std::isfinite(value))
        return 0.0f;
    return value;
}

bool MapCamera::readMarker(const std::string& name)
{
    static constexpr std::string_view PREFIXES[] = {"#h:bound-hor:", "#h:bound-ver:", "#v:bound-hor:", "#v:bound-ver:",
                                                    "#over:"};
    for (size_t k = 0; k < std::size(PREFIXES); ++k) {
        if (!startsWith(name, PREFIXES[k]))
            continue;
        float a = 0.0f, b = 0.0f;
        bool second = false;
        readPair(std::string_view(name).substr(PREFIXES[k].size()), a, b, second);
        if (k == 4) {
            overscroll = {a, second ? b : a};
            return true;
        }
        CameraBounds& record = orientationBounds[k / 2];
        if (k % 2 == 0)
            setRange(a, b, record.xMin, record.xMax);
        else
            setRange(a, b, record.yMin, record.yMax);
        return true;
    }
    return false;
}

void MapCamera::applyBounds(bool portrait, VQ::Vector2f scene, const VQ::WorkspaceViewport& viewport)
{
    settling = true;
    bounds = orientationBounds[portrait ? 1 : 0];
    const float scale = viewport.scale > 0.0f ? viewport.scale : 1.0f;
    const float mx = -std::min(viewport.offset.x, 0.0f) / scale;
    const float my = -std::min(viewport.offset.y, 0.0f) / scale;
    // The visible part of the workspace runs from mx to W - mx: the camera
    // may go mx further left (up) and must stop where the visible part's far
    // edge meets the map's, W - mx short of it (W - 2 mx would show mx of
    // the black beyond the map on a cropped screen). An axis whose two
    // limits are equal stays pinned.
    if (bounds.xMax != bounds.xMin) {
        bounds.xMin -= mx;
        bounds.xMax -= scene.x - mx;
    }
    if (bounds.yMax != bounds.yMin) {
        bounds.yMin -= my;
        bounds.yMax -= scene.y - my;
    }
}

VQ::Vector2f MapCamera::clampToBounds(VQ::Vector2f target) const
{
    if (target.x < bounds.xMin)
        target.x = bounds.xMin;
    else if (target.x > bounds.xMax)
        target.x = bounds.xMax;
    if (target.y < bounds.yMin)
        target.y = bounds.yMin;
    else if (target.y > bounds.yMax)
        target.y = bounds.yMax;
    return target;
}

bool MapCamera::update(VQ::Vector2f& position, float dt, const CameraInput& input)
{
    VQ::Vector2f pos = position;
    const VQ::Vector2f p = input.pointer;
    if (input.inputAllowed) {
        if (dragging) {
            if (input.leftDown || !input.leftWasDown) {
                pos = pos + (lastPointer - p);
                lastPointer = p;
            } else {
                dragging = false;
                settling = true;
                // A release within no time (a build's step, a zero frame)
                // leaves no glide rather than an endless one.
                velocity = dt > 0.0f ? (lastPointer - p) / dt * RELEASE_FACTOR : VQ::Vector2f(0.0f, 0.0f);
                if (std::fabs(velocity.x) < MIN_SPEED)
                    velocity.x = 0.0f;
                if (std::fabs(velocity.y) < MIN_SPEED)
                    velocity.y = 0.0f;
                inertia = velocity.x != 0.0f || velocity.y != 0.0f;
            }
        } else {
            if (input.leftDown && !input.leftWasDown && !input.guiHit) {
                if (input.episodeButtonActive)
                    return false;
                velocity = {0.0f, 0.0f};
                dragging = true;
                settling = false;
                lastPointer = p;
            }
            if (input.wheel != 0) {
                velocity.y += input.wheel < 1 ? WHEEL_SPEED : -WHEEL_SPEED;
                settling = true;
                inertia = true;
            }
        }
    }
    if (inertia) {
        const VQ::Vector2f step = velocity * dt;
        velocity = velocity - step * FRICTION;
        pos = pos + step;
        if (std::fabs(velocity.x) < MIN_SPEED)
            velocity.x = 0.0f;
        if (std::fabs(velocity.y) < MIN_SPEED)
            velocity.y = 0.0f;
        inertia = velocity.x != 0.0f || velocity.y != 0.0f;
    }
    VQ::Vector2f lo(bounds.xMin, bounds.yMin);
    VQ::Vector2f hi(bounds.xMax, bounds.yMax);
    if (input.walkIdle) {
        lo = lo - overscroll;
        hi = hi + overscroll;
    }
    if (pos.x < lo.x || pos.x > hi.x) {
        pos.x = std::clamp(pos.x, lo.x, std::max(lo.x, hi.x));
        velocity.x = 0.0f;
    }
    if (pos.y < lo.y || pos.y > hi.y) {
        pos.y = std::clamp(pos.y, lo.y, std::max(lo.y, hi.y));
        velocity.y = 0.0f;
    }
    if (settling && !dragging && !inertia) {
        auto springSpeed = [](float v, float low, float high) {
            if (whole(v) < whole(low))
                return SPRING_SPEED;
            if (whole(v) > whole(high))
                return -SPRING_SPEED;
            return 0.0f;
        };
        const VQ::Vector2f speed(springSpeed(pos.x, bounds.xMin, bounds.xMax),
                                 springSpeed(pos.y, bounds.yMin, bounds.yMax));
        settling = speed.x != 0.0f || speed.y != 0.0f;
        const VQ::Vector2f step = speed * dt;
        pos = pos + step;
        auto snap = [](float& v, float step, float low, float high) {
            if (std::fabs(v - low) < std::fabs(step))
                v = low;
            else if (std::fabs(v - high) < std::fabs(step))
                v = high;
        };
        snap(pos.x, step.x, bounds.xMin, bounds.xMax);
        snap(pos.y, step.y, bounds.yMin, bounds.yMax);
    }
    position = {std::trunc(pos.x), std::trunc(pos.y)};
    return true;
}
