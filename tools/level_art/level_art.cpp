// Writes the level screen's content: the two painted backgrounds (a
// lantern-lit meadow at dusk with drifting fireflies, a harbour at night
// with swaying lights), the carved wooden frame around the 9 x 9 board with
// its layout anchors, the round menu button of the level interface, the
// move warning banner and the five result-effect scenes.
//
//     level_art <media folder>
//
// Pictures go to images/, their sprite table to scripts/, scenes to
// scenes/ and the interface script to ui/; the output is the same on every
// run.

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "image_writers.h"

namespace {

constexpr float PI = 3.14159265f;
constexpr int WORKSPACE_WIDTH = 1726;
constexpr int WORKSPACE_HEIGHT = 970;
constexpr int CELL = 80;
constexpr int CELLS = 9;
constexpr int BOARD = CELL * CELLS;
constexpr int FRAME_BORDER = 30;
// Windows down to 4:3 show the workspace's middle 1290 units (x 218 to
// 1508): the board sits right of the middle and the panels' column left of
// it, both inside that.
constexpr int BOARD_X = 733;  // the first play row's top-left corner
constexpr int BOARD_Y = (WORKSPACE_HEIGHT - BOARD) / 2;
constexpr float BOARD_CENTRE_X = BOARD_X + BOARD / 2.0f;
// The backgrounds are painted at half size and drawn twice as large.
constexpr int BACK_WIDTH = WORKSPACE_WIDTH / 2 + 1;
constexpr int BACK_HEIGHT = WORKSPACE_HEIGHT / 2 + 1;

struct Rgb {
    float r, g, b;
};

Rgb mix(Rgb a, Rgb b, float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb scale(Rgb c, float k)
{
    return {c.r * k, c.g * k, c.b * k};
}

Rgb hex(uint32_t v)
{
    return {float((v >> 16) & 0xFF) / 255.0f, float((v >> 8) & 0xFF) / 255.0f, float(v & 0xFF) / 255.0f};
}

// The palette.
const Rgb NIGHT_TOP = hex(0x151336);
const Rgb NIGHT_MID = hex(0x2C2A6B);
const Rgb DUSK_GLOW = hex(0xE59A4A);
const Rgb AMBER = hex(0xF2B64C);
const Rgb GOLD = hex(0xFFD77A);
const Rgb WOOD_DARK = hex(0x3B2414);
const Rgb WOOD = hex(0x6B4423);
const Rgb BRASS = hex(0xC9A04A);
const Rgb PARCHMENT = hex(0xF1E2BE);
const Rgb INK = hex(0x3A210E);

class Canvas {
public:
    Canvas(int w, int h) : width(w), height(h), pixels(size_t(w) * size_t(h) * 4, 0.0f) {}

    // Paints `c` with coverage `a` over what is there.
    void blend(int x, int y, Rgb c, float a)
    {
        if (x < 0 || y < 0 || x >= width || y >= height || a <= 0.0f)
            return;
        a = std::min(a, 1.0f);
        float* p = &pixels[(size_t(y) * size_t(width) + size_t(x)) * 4];
        const float outA = a + p[3] * (1.0f - a);
        if (outA <= 0.0f)
            return;
        const float k = a / outA;
        p[0] = p[0] + (c.r - p[0]) * k;
        p[1] = p[1] + (c.g - p[1]) * k;
        p[2] = p[2] + (c.b - p[2]) * k;
        p[3] = outA;
    }
    // Adds light (for glows over an opaque picture).
    void add(int x, int y, Rgb c, float a)
    {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return;
        float* p = &pixels[(size_t(y) * size_t(width) + size_t(x)) * 4];
        p[0] = std::min(1.0f, p[0] + c.r * a);
        p[1] = std::min(1.0f, p[1] + c.g * a);
        p[2] = std::min(1.0f, p[2] + c.b * a);
        p[3] = std::max(p[3], std::min(1.0f, a));
    }
    // Every pixel of the box: colour and coverage from the point.
    void shade(int x0, int y0, int w, int h, const std::function<bool(float, float, Rgb&, float&)>& at)
    {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) {
                Rgb c{};
                float a = 0.0f;
                if (at(float(x) + 0.5f, float(y) + 0.5f, c, a))
                    blend(x, y, c, a);
            }
    }
    // A soft round light.
    void glow(float cx, float cy, float r, Rgb c, float strength)
    {
        for (int y = int(cy - r) - 1; y <= int(cy + r) + 1; ++y)
            for (int x = int(cx - r) - 1; x <= int(cx + r) + 1; ++x) {
                const float d = std::hypot(float(x) + 0.5f - cx, float(y) + 0.5f - cy) / r;
                if (d < 1.0f)
                    add(x, y, c, strength * (1.0f - d) * (1.0f - d));
            }
    }
    bool save(const std::string& path) const
    {
        ImageWriters::Bytes rows(pixels.size());
        for (size_t i = 0; i < pixels.size(); ++i)
            rows[i] = uint8_t(std::lround(std::clamp(pixels[i], 0.0f, 1.0f) * 255.0f));
        ImageWriters::PngDescription png;
        png.width = uint32_t(width);
        png.height = uint32_t(height);
        png.colourType = PNG_COLOR_TYPE_RGBA;
        png.rows = rows;
        ImageWriters::Bytes out;
        std::string error;
        if (!ImageWriters::writePng(png, out, error) || !ImageWriters::writeFile(path, out)) {
            std::fprintf(stderr, "level_art: cannot write %s: %s\n", path.c_str(), error.c_str());
            return false;
        }
        return true;
    }

    int width;
    int height;
    std::vector<float> pixels;
};

// Anti-aliased coverage of a signed distance (negative inside).
float cover(float d)
{
    return std::clamp(0.5f - d, 0.0f, 1.0f);
}

float roundedBox(float x, float y, float cx, float cy, float hw, float hh, float r)
{
    const float qx = std::fabs(x - cx) - hw + r;
    const float qy = std::fabs(y - cy) - hh + r;
    return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - r;
}

// A fixed pseudo-random value in 0..1 for an integer.
float noise1(int n)
{
    uint32_t v = uint32_t(n) * 747796405u + 2891336453u;
    v = ((v >> ((v >> 28u) + 4u)) ^ v) * 277803737u;
    return float((v >> 22u) ^ v) / 4294967295.0f;
}

// Smooth value noise over x.
float smoothNoise(float x, int seed)
{
    const int i = int(std::floor(x));
    const float f = x - float(i);
    const float t = f * f * (3.0f - 2.0f * f);
    return noise1(i * 31 + seed) * (1.0f - t) + noise1((i + 1) * 31 + seed) * t;
}

float hillHeight(float x, float base, float amplitude, float period, int seed)
{
    return base - amplitude * (0.6f * smoothNoise(x / period, seed) + 0.4f * smoothNoise(x / (period * 0.37f), seed + 7));
}

// Sky gradient from the top colour to the horizon's glow, with stars.
void paintSky(Canvas& c, float horizon, Rgb glow, int starSeed)
{
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            const float t = float(y) / horizon;
            Rgb col = t < 0.55f ? mix(NIGHT_TOP, NIGHT_MID, t / 0.55f) : mix(NIGHT_MID, glow, (t - 0.55f) / 0.45f);
            c.blend(x, y, col, 1.0f);
        }
    for (int i = 0; i < 140; ++i) {
        const float x = noise1(i * 3 + starSeed) * float(c.width);
        const float y = noise1(i * 3 + starSeed + 1) * horizon * 0.6f;
        const float b = 0.35f + 0.65f * noise1(i * 3 + starSeed + 2);
        c.glow(x, y, 1.6f + b, hex(0xFFF4D6), 0.8f * b);
    }
}

// A lantern on a post: wood, brass cap, amber glass and its halo.
void paintLanternPost(Canvas& c, float x, float ground, float h)
{
    c.shade(int(x - 3), int(ground - h), 6, int(h), [&](float px, float, Rgb& col, float& a) {
        col = mix(WOOD_DARK, WOOD, (px - (x - 3)) / 6.0f);
        a = 1.0f;
        return true;
    });
    const float ly = ground - h - 10;
    c.shade(int(x - 9), int(ly - 12), 18, 24, [&](float px, float py, Rgb& col, float& a) {
        const float d = roundedBox(px, py, x, ly, 7, 10, 3);
        a = cover(d);
        col = d > -1.6f ? scale(BRASS, 0.45f) : mix(GOLD, AMBER, std::fabs(px - x) / 7.0f);
        return a > 0.0f;
    });
    c.glow(x, ly, 46, AMBER, 0.45f);
    c.glow(x, ly, 14, GOLD, 0.6f);
}

// The meadow at dusk: hills in three layers, a path of lanterns.
Canvas paintMeadow()
{
    Canvas c(BACK_WIDTH, BACK_HEIGHT);
    const float horizon = float(BACK_HEIGHT) * 0.62f;
    paintSky(c, horizon, DUSK_GLOW, 11);
    c.glow(float(BACK_WIDTH) * 0.78f, horizon * 0.42f, 26, hex(0xFFF1C9), 0.9f);
    const Rgb layers[3] = {hex(0x3A3470), hex(0x2A2D52), hex(0x1C2638)};
    const float bases[3] = {horizon + 10, horizon + 60, horizon + 140};
    for (int l = 0; l < 3; ++l)
        for (int x = 0; x < c.width; ++x) {
            const float top = hillHeight(float(x), bases[l], 40.0f + 20.0f * float(l), 140.0f - 30.0f * float(l), l * 5);
            for (int y = int(top); y < c.height; ++y) {
                const float depth = (float(y) - top) / 200.0f;
                Rgb col = scale(layers[l], 1.0f - 0.35f * std::min(depth, 1.0f));
                if (float(y) - top < 2.0f)
                    col = mix(col, DUSK_GLOW, 0.35f - 0.1f * float(l));
                c.blend(x, y, col, std::min(1.0f, float(y) - top + 1.0f));
            }
        }
    // Grass tufts along the front hill.
    for (int i = 0; i < 220; ++i) {
        const float x = noise1(i + 900) * float(c.width);
        const float top = hillHeight(x, bases[2], 80.0f, 80.0f, 10);
        const float h = 6 + 10 * noise1(i + 1900);
        for (int k = 0; k < int(h); ++k)
            c.blend(int(x + float(k) * 0.2f * (noise1(i) - 0.5f)), int(top - float(k) + 4), hex(0x24324A), 0.9f);
    }
    for (int i = 0; i < 5; ++i) {
        const float x = 70.0f + float(i) * 180.0f + 30.0f * noise1(i + 50);
        const float ground = hillHeight(x, bases[1], 60.0f, 110.0f, 5) + 8;
        paintLanternPost(c, x, ground, 46 + 8 * noise1(i + 70));
    }
    return c;
}

// The harbour at night: the town on the far shore, a lighthouse, piers and
// boats over dark water with the lights' reflections.
Canvas paintHarbour()
{
    Canvas c(BACK_WIDTH, BACK_HEIGHT);
    const float horizon = float(BACK_HEIGHT) * 0.55f;
    paintSky(c, horizon, hex(0x4A3C78), 23);
    c.glow(float(BACK_WIDTH) * 0.2f, horizon * 0.35f, 22, hex(0xEDEBFF), 0.85f);
    // The far shore with houses.
    for (int x = 0; x < c.width; ++x) {
        const float top = horizon - 18 - 14 * smoothNoise(float(x) / 90.0f, 3);
        for (int y = int(top); y < int(horizon) + 1; ++y)
            c.blend(x, y, hex(0x1E1D3F), 1.0f);
    }
    for (int i = 0; i < 26; ++i) {
        const float x = noise1(i + 300) * float(c.width);
        const float w = 14 + 14 * noise1(i + 400);
        const float h = 16 + 20 * noise1(i + 500);
        c.shade(int(x), int(horizon - h - 10), int(w), int(h) + 11, [&](float, float, Rgb& col, float& a) {
            col = hex(0x24224A);
            a = 1.0f;
            return true;
        });
        if (noise1(i + 600) > 0.3f)
            c.glow(x + w / 2, horizon - h * 0.5f - 10, 5, AMBER, 0.9f);
    }
    // The lighthouse on the right.
    const float lx = float(c.width) * 0.86f;
    c.shade(int(lx - 16), int(horizon - 150), 32, 150, [&](float px, float py, Rgb& col, float& a) {
        const float half = 10.0f + 6.0f * (py - (horizon - 150)) / 150.0f;
        const float d = std::fabs(px - lx) - half;
        a = cover(d);
        const bool band = int((py - (horizon - 150)) / 22.0f) % 2 == 1;
        col = band ? hex(0x8C2F2F) : PARCHMENT;
        col = scale(col, 0.55f + 0.45f * (1.0f - (px - lx + half) / (2.0f * half)));
        return a > 0.0f;
    });
    c.glow(lx, horizon - 158, 60, GOLD, 0.55f);
    c.glow(lx, horizon - 158, 12, hex(0xFFF6D8), 0.9f);
    // Water: bands of indigo with the lights' reflections.
    for (int y = int(horizon); y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            const float t = (float(y) - horizon) / (float(c.height) - horizon);
            const float ripple = 0.5f + 0.5f * std::sin(float(x) * 0.05f + float(y) * 0.7f + 3.0f * smoothNoise(float(x) / 40.0f, y));
            Rgb col = mix(hex(0x2A2860), hex(0x0F1026), t);
            col = mix(col, hex(0x4C4A8A), 0.12f * ripple);
            c.blend(x, y, col, 1.0f);
        }
    for (int i = 0; i < 26; ++i) {
        const float x = noise1(i + 300) * float(c.width) + 10;
        for (int k = 0; k < 14; ++k)
            c.glow(x + 6 * std::sin(float(k)), horizon + 6 + float(k) * 5, 4, AMBER, 0.25f * (1.0f - float(k) / 14.0f));
    }
    // A pier with posts in the front.
    const float pierY = float(c.height) - 70;
    c.shade(0, int(pierY), int(float(c.width) * 0.45f), 14, [&](float, float py, Rgb& col, float& a) {
        col = mix(WOOD, WOOD_DARK, (py - pierY) / 14.0f);
        a = 1.0f;
        return true;
    });
    for (int i = 0; i < 6; ++i) {
        const float px = 20.0f + float(i) * 62.0f;
        c.shade(int(px), int(pierY), 9, 80, [&](float, float, Rgb& col, float& a) {
            col = WOOD_DARK;
            a = 1.0f;
            return true;
        });
    }
    // Two moored boats.
    for (int b = 0; b < 2; ++b) {
        const float bx = float(c.width) * (0.55f + 0.18f * float(b));
        const float by = horizon + 70 + 40 * float(b);
        c.shade(int(bx - 60), int(by - 70), 120, 90, [&](float px, float py, Rgb& col, float& a) {
            const float hull = std::max(std::fabs(px - bx) - 50.0f + (py - by) * 0.8f, std::fabs(py - (by + 8)) - 9.0f);
            const float mast = std::max(std::fabs(px - bx) - 1.5f, std::fabs(py - (by - 32)) - 32.0f);
            const float d = std::min(hull, mast);
            a = cover(d);
            col = hull < mast ? mix(hex(0x3B2414), hex(0x1A0F08), (py - by) / 18.0f) : WOOD_DARK;
            return a > 0.0f;
        });
    }
    return c;
}

// The carved frame: dark wood with a bevel, brass corner caps and an inset
// well behind the cells.
Canvas paintFrame()
{
    const int size = BOARD + 2 * FRAME_BORDER;
    Canvas c(size, size);
    const float centre = float(size) / 2.0f;
    c.shade(0, 0, size, size, [&](float x, float y, Rgb& col, float& a) {
        const float outer = roundedBox(x, y, centre, centre, centre - 1, centre - 1, 22);
        const float inner = roundedBox(x, y, centre, centre, BOARD / 2.0f + 2, BOARD / 2.0f + 2, 8);
        a = cover(outer);
        if (a <= 0.0f)
            return false;
        if (inner < 0.0f) {
            // The well: deep indigo, darker at its rim.
            col = mix(hex(0x1B1A3A), hex(0x0E0D22), std::clamp((inner + 30.0f) / 30.0f, 0.0f, 1.0f));
            a *= 0.92f;
            return true;
        }
        // Wood grain along the frame's side.
        const bool horizontal = std::fabs(y - centre) > std::fabs(x - centre);
        const float along = horizontal ? x : y;
        const float across = horizontal ? y : x;
        const float grain = 0.5f + 0.5f * std::sin(across * 0.9f + 3.0f * std::sin(along * 0.021f + across * 0.13f));
        col = mix(WOOD_DARK, WOOD, 0.35f + 0.45f * grain);
        // Bevel: light from the top left.
        const float depth = std::min(-outer, inner);
        const float bevel = std::clamp(depth / 10.0f, 0.0f, 1.0f);
        const float light = (x + y) < float(size) ? 1.18f : 0.82f;
        col = scale(col, 0.7f + 0.3f * bevel * light);
        // A brass trim line in the middle of the border.
        const float mid = std::fabs(depth - FRAME_BORDER / 2.0f + 2.0f);
        if (mid < 1.6f)
            col = mix(col, BRASS, 0.85f);
        if (-outer < 2.0f || inner < 2.0f)
            col = scale(col, 0.4f);
        return true;
    });
    // Brass caps at the corners.
    const float caps[4][2] = {{22, 22}, {float(size) - 22, 22}, {22, float(size) - 22}, {float(size) - 22, float(size) - 22}};
    for (const auto& cap : caps)
        c.shade(int(cap[0] - 18), int(cap[1] - 18), 36, 36, [&](float x, float y, Rgb& col, float& a) {
            const float d = std::hypot(x - cap[0], y - cap[1]) - 15.0f;
            a = cover(d);
            const float shine = std::clamp(1.0f - std::hypot(x - cap[0] + 5, y - cap[1] + 5) / 14.0f, 0.0f, 1.0f);
            col = d > -2.2f ? scale(BRASS, 0.4f) : mix(BRASS, GOLD, shine);
            return a > 0.0f;
        });
    return c;
}

// --- The atlas of small pieces ---

struct Piece {
    const char* name;
    int x, y, w, h;
};

const Piece FIREFLY = {"Firefly", 0, 0, 32, 32};
const Piece HARBOUR_LIGHT = {"HarbourLight", 32, 0, 64, 64};
const Piece MENU_BUTTON = {"MenuButton", 96, 0, 96, 96};
const Piece MENU_BUTTON_HIGH = {"MenuButtonHighlighted", 192, 0, 96, 96};
const Piece BANNER = {"Banner", 0, 96, 600, 128};
const Piece WARNING = {"WarningBanner", 0, 232, 400, 84};
const Piece BURST = {"Burst", 600, 96, 256, 256};
const std::vector<Piece> PIECES = {FIREFLY, HARBOUR_LIGHT, MENU_BUTTON, MENU_BUTTON_HIGH, BANNER, WARNING, BURST};

void paintMenuButton(Canvas& c, const Piece& p, bool lit)
{
    const float cx = float(p.x) + float(p.w) / 2.0f;
    const float cy = float(p.y) + float(p.h) / 2.0f;
    c.shade(p.x, p.y, p.w, p.h, [&](float x, float y, Rgb& col, float& a) {
        const float r = std::hypot(x - cx, y - cy);
        const float d = r - 44.0f;
        a = cover(d);
        if (a <= 0.0f)
            return false;
        if (r > 36.0f) {
            // Brass ring, shaded from the top left.
            const float shine = std::clamp(1.0f - std::hypot(x - cx + 18, y - cy + 18) / 60.0f, 0.0f, 1.0f);
            col = mix(scale(BRASS, 0.7f), GOLD, shine);
        } else {
            col = mix(lit ? hex(0x8A5A2C) : WOOD, WOOD_DARK, (y - cy + 36.0f) / 72.0f);
        }
        if (d > -2.0f || std::fabs(r - 36.0f) < 1.2f)
            col = scale(col, 0.35f);
        // Three parchment bars.
        for (int i = -1; i <= 1; ++i) {
            const float bar = roundedBox(x, y, cx, cy + float(i) * 13.0f, 18, 3.5f, 3.5f);
            if (bar < 0.5f)
                col = mix(col, lit ? GOLD : PARCHMENT, cover(bar));
        }
        return true;
    });
}

void paintRibbon(Canvas& c, const Piece& p, Rgb body)
{
    const float cx = float(p.x) + float(p.w) / 2.0f;
    const float cy = float(p.y) + float(p.h) / 2.0f;
    const float hw = float(p.w) / 2.0f - 4.0f;
    const float hh = float(p.h) / 2.0f - 6.0f;
    c.shade(p.x, p.y, p.w, p.h, [&](float x, float y, Rgb& col, float& a) {
        // Swallow-tailed ends.
        const float notch = hh - std::fabs(y - cy);
        const float ends = std::fabs(x - cx) - (hw - notch * 0.35f);
        const float d = std::max(roundedBox(x, y, cx, cy, hw, hh, 10), ends);
        a = cover(d);
        if (a <= 0.0f)
            return false;
        col = mix(scale(body, 1.15f), scale(body, 0.75f), (y - cy + hh) / (2.0f * hh));
        if (d > -3.0f)
            col = scale(BRASS, 0.5f);
        else if (d > -6.0f)
            col = BRASS;
        return true;
    });
}

Canvas paintAtlas()
{
    Canvas c(856, 352);
    c.glow(16, 16, 16, GOLD, 1.0f);
    c.glow(16, 16, 5, hex(0xFFFBE8), 1.0f);
    c.glow(64, 32, 32, AMBER, 0.9f);
    c.glow(64, 32, 9, hex(0xFFF3D0), 1.0f);
    paintMenuButton(c, MENU_BUTTON, false);
    paintMenuButton(c, MENU_BUTTON_HIGH, true);
    paintRibbon(c, BANNER, hex(0x2E2A6E));
    paintRibbon(c, WARNING, hex(0x8C2F2F));
    // A golden burst of rays.
    const float bx = float(BURST.x) + 128.0f;
    const float by = float(BURST.y) + 128.0f;
    c.shade(BURST.x, BURST.y, BURST.w, BURST.h, [&](float x, float y, Rgb& col, float& a) {
        const float r = std::hypot(x - bx, y - by) / 128.0f;
        if (r >= 1.0f)
            return false;
        const float angle = std::atan2(y - by, x - bx);
        const float ray = std::pow(std::fabs(std::cos(angle * 6.0f)), 6.0f);
        a = (1.0f - r) * (0.25f + 0.75f * ray);
        col = mix(hex(0xFFF3D0), GOLD, r);
        return true;
    });
    return c;
}

std::string spriteTable()
{
    std::ostringstream out;
    out << "-- The level screen's small pieces: a firefly, a harbour light, the menu button's faces, the\n"
           "-- effect banner, the move warning banner and the win burst.\n"
           "-- Written by tools/level_art.\n\n";
    for (const Piece& p : PIECES)
        out << p.name << " = {\n    Image0 = \"level_art_png\",\n    Package0 = \"default\",\n    SrcRect0 = { " << p.x
            << ", " << p.y << ", " << p.x + p.w << ", " << p.y + p.h << " },\n}\n\n";
    return out.str();
}

// --- Scenes ---

std::string num(float v)
{
    std::ostringstream out;
    out << v;
    return out.str();
}

struct Key {
    int frame;
    float x, y, scale, alpha, angle;
};

std::string values(float x, float y, float z, float scaleXY, float alpha, float angle)
{
    return "X=\"" + num(x) + "\" Y=\"" + num(y) + "\" Z=\"" + num(z) + "\" angle=\"" + num(angle) + "\" scaleX=\"" +
           num(scaleXY) + "\" scaleY=\"" + num(scaleXY) + "\" R=\"1\" G=\"1\" B=\"1\" A=\"" + num(alpha) +
           "\" PivotPointX=\"0\" PivotPointY=\"0\"";
}

std::string frames(const std::vector<Key>& keys, float z, bool loop, const std::string& extra)
{
    if (keys.empty())
        return "";
    std::string out = std::string("<frames loop=\"") + (loop ? "1" : "0") + "\">";
    for (const Key& k : keys)
        out += "<frame StartFrame=\"" + std::to_string(k.frame) + "\"><Attributes " +
               values(k.x, k.y, z, k.scale, k.alpha, k.angle) + extra + "/></frame>";
    return out + "</frames>";
}

struct Node {
    std::string type;  // "", "Sprite", "Text", "Sound"
    std::string name;
    std::string file;
    std::string table;
    float x = 0, y = 0, z = 0, scale = 1, alpha = 1, angle = 0;
    std::vector<Key> keys;
    bool loop = false;
    std::string extra;  // more attributes of Parameters
    std::string keyExtra;  // more attributes of every key frame
    std::vector<Node> children;
};

std::string write(const Node& n, const std::string& indent)
{
    std::string out = indent + "<Object";
    if (!n.type.empty())
        out += " type=\"" + n.type + "\"";
    out += " name=\"" + n.name + "\"";
    if (!n.file.empty())
        out += " filename=\"" + n.file + "\"";
    if (!n.table.empty())
        out += " tablename=\"" + n.table + "\"";
    out += ">\n" + indent + "  <Parameters " + values(n.x, n.y, n.z, n.scale, n.alpha, n.angle) + n.extra +
           " Enable=\"1\"/>\n";
    if (!n.keys.empty())
        out += indent + "  " + frames(n.keys, n.z, n.loop, n.keyExtra) + "\n";
    if (!n.children.empty()) {
        out += indent + "  <Childs>\n";
        for (const Node& child : n.children)
            out += write(child, indent + "  ");
        out += indent + "  </Childs>\n";
    }
    return out + indent + "</Object>\n";
}

struct Marker {
    std::string name;
    std::vector<std::string> entries;  // <entry .../> elements
};

std::string entry(const std::string& node, int from, int to, bool recursive = false)
{
    return "<entry name=\"" + node + "\" from=\"" + std::to_string(from) + "\" to=\"" + std::to_string(to) + "\"" +
           (recursive ? " recursive=\"1\"" : "") + "/>";
}

std::string scene(const std::string& comment, const Node& root, const std::vector<Marker>& markers)
{
    std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- " + comment + " Written by tools/level_art. -->\n<Scene>\n";
    out += write(root, "  ");
    out += "  <markers>\n";
    for (const Marker& m : markers) {
        out += "    <marker>\n      <name>" + m.name + "</name>\n      <playList>";
        for (const std::string& e : m.entries)
            out += "\n        " + e;
        out += m.entries.empty() ? "</playList>\n" : "\n      </playList>\n";
        out += "    </marker>\n";
    }
    return out + "  </markers>\n</Scene>\n";
}

Node sprite(const std::string& name, const std::string& file, const std::string& table, float x, float y, float z)
{
    Node n;
    n.type = "Sprite";
    n.name = name;
    n.file = file;
    n.table = table;
    n.x = x;
    n.y = y;
    n.z = z;
    return n;
}

Node group(const std::string& name, float x, float y)
{
    Node n;
    n.name = name;
    n.x = x;
    n.y = y;
    return n;
}

Node text(const std::string& name, const std::string& key, float x, float y, float w, float h, const char* font,
          float alpha)
{
    Node n;
    n.type = "Text";
    n.name = name;
    n.file = font;
    n.x = x;
    n.y = y;
    n.alpha = alpha;
    // A text's key frames carry its area and alignment too (absent ones read 0).
    n.keyExtra = " TextAreaX=\"" + num(w) + "\" TextAreaY=\"" + num(h) + "\" HAlign=\"1\" VAlign=\"1\" MaxChar=\"-1\"";
    n.extra = " Text=\"" + key + "\" LocaleEnable=\"1\"" + n.keyExtra + " AutoScale=\"1\" PixelPrec=\"1\"";
    return n;
}

// Replaces the R, G, B of a node's parameters and keys.
std::string tinted(std::string xml, const std::string& name, Rgb c)
{
    const std::string tag = "name=\"" + name + "\"";
    const size_t at = xml.find(tag);
    if (at == std::string::npos)
        return xml;
    const size_t end = xml.find("</Object>", at);
    const std::string white = "R=\"1\" G=\"1\" B=\"1\"";
    const std::string colour = "R=\"" + num(c.r) + "\" G=\"" + num(c.g) + "\" B=\"" + num(c.b) + "\"";
    for (size_t p = xml.find(white, at); p != std::string::npos && p < end; p = xml.find(white, p + colour.size()))
        xml.replace(p, white.size(), colour);
    return xml;
}

// Fireflies drifting on loops of their own, flickering.
void addFireflies(Node& root)
{
    for (int i = 0; i < 18; ++i) {
        const float x = 80.0f + noise1(i + 40) * 1560.0f;
        const float y = 420.0f + noise1(i + 80) * 500.0f;
        Node f = sprite("firefly" + std::to_string(i), "level_art_sprites", FIREFLY.name, x, y, 0);
        f.loop = true;
        const int period = 96 + int(noise1(i + 120) * 96.0f);
        const float dx = 30.0f + 40.0f * noise1(i + 160);
        const float dy = 20.0f + 30.0f * noise1(i + 200);
        for (int k = 0; k <= 4; ++k) {
            const float t = float(k) / 4.0f;
            const float s = std::sin(t * 2.0f * PI);
            const float co = std::cos(t * 2.0f * PI);
            f.keys.push_back({k * period / 4, x + dx * s, y + dy * (co - 1.0f) * 0.5f, 0.8f + 0.3f * (k % 2),
                              k % 2 == 0 ? 0.25f : 1.0f, 0});
        }
        root.children.push_back(f);
    }
}

std::string meadowScene()
{
    Node root = group("level_back_1", 0, 0);
    Node picture = sprite("picture", "level_back_1_png", "default", 0, 0, 5);
    picture.scale = 2.0f;
    root.children.push_back(picture);
    addFireflies(root);
    return scene("The first level background: a lantern-lit meadow at dusk with fireflies drifting over it.", root, {});
}

std::string harbourScene()
{
    Node root = group("level_back_2", 0, 0);
    Node picture = sprite("picture", "level_back_2_png", "default", 0, 0, 5);
    picture.scale = 2.0f;
    root.children.push_back(picture);
    // Lights on the moored boats' masts and the pier sway and breathe.
    const float lights[5][2] = {{940, 610}, {1180, 690}, {120, 800}, {370, 800}, {620, 800}};
    for (int i = 0; i < 5; ++i) {
        const float x = lights[i][0] - 32.0f;
        const float y = lights[i][1] - 32.0f;
        Node l = sprite("light" + std::to_string(i), "level_art_sprites", HARBOUR_LIGHT.name, x, y, 0);
        l.loop = true;
        const int period = 72 + 12 * i;
        l.keys = {{0, x - 6, y, 1.0f, 0.85f, 0},
                  {period / 2, x + 6, y + 3, 1.15f, 1.0f, 0},
                  {period, x - 6, y, 1.0f, 0.85f, 0}};
        root.children.push_back(l);
    }
    return scene("The second level background: a harbour at night, its boats' and pier's lights swaying.", root, {});
}

struct AnchorSpot {
    const char* name;
    float hx, hy, hz;  // landscape
    float vx, vy, vz;  // portrait
};

std::string fieldScene()
{
    Node root = group("level_field", 0, 0);
    Node shaker = group("#shaker", 0, 0);
    // The shake: a few quick, shrinking jolts (72 frames a second).
    shaker.keys = {{0, 0, 0, 1, 1, 0},   {3, -9, 4, 1, 1, 0},  {6, 8, -5, 1, 1, 0}, {9, -6, 3, 1, 1, 0},
                   {12, 4, -2, 1, 1, 0}, {15, -2, 1, 1, 1, 0}, {18, 0, 0, 1, 1, 0}};
    shaker.children.push_back(
        sprite("frame", "level_frame_png", "default", BOARD_X - FRAME_BORDER, BOARD_Y - FRAME_BORDER, 2));
    shaker.children.push_back(group("#game_field", BOARD_X, BOARD_Y));
    root.children.push_back(shaker);
    // The panels' scenes and the limit's root carry their own offsets
    // (the goal panel 60, 360; the score bar 653, 900; the limit panel 60,
    // 150): each anchor is where the panel goes less that offset. Portrait:
    // the panels above and below the board.
    const AnchorSpot anchors[] = {
        {"fieldCenter", BOARD_CENTRE_X, BOARD_Y + BOARD / 2.0f, 0, 485, 863, 0},
        {"menuButton", 244, 24, 0, 30, 30, 0},
        {"moves", 372 - 60, 140 - 150, 2, 700 - 60, 150 - 150, 2},
        {"goals", 322 - 60, 300 - 360, 1, 60 - 60, 170 - 360, 1},
        {"score", 272 - 653, 470 - 900, 3, 275 - 653, 1560 - 900, 3},
        {"bonusPanel", 460, 640, 4, 120, 1420, 4},
        {"passiveBonusPanel", 460, 850, 5, 120, 1640, 5},
    };
    for (const AnchorSpot& a : anchors) {
        Node h = group(std::string("@h:") + a.name, a.hx, a.hy);
        h.z = a.hz;
        root.children.push_back(h);
        Node v = group(std::string("@v:") + a.name, a.vx, a.vy);
        v.z = a.vz;
        root.children.push_back(v);
    }
    return scene("The level's board scene: a carved wooden frame around the 9 x 9 board of 80-pixel cells. "
                 "'#game_field' is the first play row's top-left corner and moves with '#shaker' while a shake "
                 "marker plays; the '@h:' and '@v:' nodes are the layout anchors of the level's panels "
                 "(landscape and portrait), their depths ordering the panels.",
                 root,
                 {{"init", {entry("#shaker", 0, 0)}},
                  {"shake", {entry("#shaker", 0, 18)}},
                  {"shake_light", {entry("#shaker", 9, 18)}}});
}

std::string moveWarningScene()
{
    Node root = group("move_warning", BOARD_CENTRE_X, 48);
    Node banner = sprite("banner", "level_art_sprites", WARNING.name, -WARNING.w / 2.0f, -WARNING.h / 2.0f, 1);
    Node pulse = group("pulse", 0, 0);
    pulse.alpha = 0;
    pulse.keys = {{0, 0, 0, 0.6f, 0, 0},   {5, 0, 0, 1.15f, 1, 0}, {10, 0, 0, 1.0f, 1, 0},
                  {18, 0, 0, 1.08f, 1, 0}, {26, 0, 0, 1.0f, 1, 0}, {40, 0, 0, 1.0f, 1, 0},
                  {48, 0, 0, 0.9f, 0, 0}};
    pulse.children.push_back(banner);
    std::vector<Marker> markers;
    for (int n = 0; n <= 5; ++n) {
        const std::string name = "#text" + std::to_string(n);
        // Shown at its frame 0, hidden at its frame 1.
        Node t = text(name, "MOVE_WARNING_" + std::to_string(n), -175, -26, 270, 40, "main_font_fnt", 0);
        t.scale = 1.3f;
        t.keys = {{0, -175, -26, 1.3f, 1, 0}, {1, -175, -26, 1.3f, 0, 0}};
        pulse.children.push_back(t);
        // Only the marker's own text shows while it plays.
        std::vector<std::string> entries = {entry("pulse", 0, 48)};
        for (int other = 0; other <= 5; ++other)
            entries.push_back(entry("#text" + std::to_string(other), other == n ? 0 : 1, other == n ? 0 : 1));
        markers.push_back({std::to_string(n), entries});
    }
    root.children.push_back(pulse);
    std::string xml = scene("The move warning: a pulsing red banner of the moves left. Markers '5' to '0' each show "
                            "their own count ('#text5' ... '#text0').",
                            root, markers);
    for (int n = 0; n <= 5; ++n)
        xml = tinted(xml, "#text" + std::to_string(n), PARCHMENT);
    return xml;
}

// A banner with a text that pops in over the board, holds and fades; the
// marker "init" plays it once.
std::string effectScene(const std::string& resource, const std::string& comment, const std::string& textKey,
                        const std::string& sound, bool burst, int holdFrames)
{
    const int end = 12 + holdFrames + 12;
    Node root = group(resource, 0, 0);
    Node pop = group("pop", 0, 0);
    pop.alpha = 0;
    pop.keys = {{0, 0, 0, 0.3f, 0, 0},
                {8, 0, 0, 1.12f, 1, 0},
                {12, 0, 0, 1.0f, 1, 0},
                {12 + holdFrames, 0, 0, 1.0f, 1, 0},
                {end, 0, 0, 1.05f, 0, 0}};
    if (burst) {
        Node rays = sprite("burst", "level_art_sprites", BURST.name, -128, -128, 3);
        rays.keys = {{0, -128, -128, 1.0f, 1, 0}, {end, -128, -128, 1.0f, 1, 60}};
        pop.children.push_back(rays);
    }
    pop.children.push_back(sprite("banner", "level_art_sprites", BANNER.name, -BANNER.w / 2.0f, -BANNER.h / 2.0f, 2));
    // Drawn half as large again as the font.
    Node t = text("#text", textKey, -255, -36, 340, 48, "main_font_fnt", 1);
    t.scale = 1.5f;
    pop.children.push_back(t);
    std::vector<std::string> entries = {entry("pop", 0, end)};
    if (burst)
        entries.push_back(entry("burst", 0, end));
    if (!sound.empty()) {
        Node s;
        s.type = "Sound";
        s.name = "sound";
        s.file = sound;
        s.extra = " Volume=\"1\" Playing=\"1\" SoundGroup=\"0\"";
        pop.children.push_back(s);
        entries.push_back(entry("sound", 0, end));
    }
    root.children.push_back(pop);
    std::string xml = scene(comment, root, {{"init", entries}});
    xml = tinted(xml, "#text", GOLD);
    if (burst) {
        // The burst turns about its middle.
        const std::string pivot = "PivotPointX=\"0\" PivotPointY=\"0\"";
        const size_t at = xml.find("name=\"burst\"");
        const size_t stop = xml.find("</Object>", at);
        for (size_t p = xml.find(pivot, at); p != std::string::npos && p < stop; p = xml.find(pivot, p + 10))
            xml.replace(p, pivot.size(), "PivotPointX=\"128\" PivotPointY=\"128\"");
    }
    return xml;
}

std::string interfaceScript()
{
    return R"(-- The level interface: the round menu button, placed by the level at its
-- "menuButton" anchor, opens the in-level menu. Written by tools/level_art.

IngameInterface = {
    id = "ingameInterface", class = "UIWidget", position = { 0, 0 }, modal = 0,
    childs = {
        { id = "btnMenu", class = "UIButton", position = { 0, 0 }, customClientRect = { 0, 0, 96, 96 },
          childs = {
              { id = "btnMenuIdle", class = "UISprite", imagename = "level_art_sprites", tablename = "MenuButton" },
              { id = "btnMenuHigh", class = "UISprite", imagename = "level_art_sprites",
                tablename = "MenuButtonHighlighted" },
          },
          states = {
              { id = "onIdle", propertyChanges = {
                  { target = "btnMenuIdle", property = "transparency", duration = 0, value = 1 },
                  { target = "btnMenuHigh", property = "transparency", duration = 0.15, value = 0 } } },
              { id = "onSelect", propertyChanges = {
                  { target = "btnMenuHigh", property = "transparency", duration = 0.15, value = 1 } } },
          } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "ingameInterface", property = "transparency", duration = 0, value = 1 },
            { target = "btnMenu", property = "transparency", duration = 0, value = 1 } } },
    },
    initialState = "onIdle",
    events = {
        { element = "btnMenu", slot = "clicked", command = "showIngameMenu" },
    },
}
)";
}

bool writeText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out) {
        std::fprintf(stderr, "level_art: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: level_art <media folder>\n");
        return 2;
    }
    const std::string media = argv[1];
    const std::string scenes = media + "/scenes/";
    const bool ok =
        paintMeadow().save(media + "/images/level_back_1.png") &&
        paintHarbour().save(media + "/images/level_back_2.png") &&
        paintFrame().save(media + "/images/level_frame.png") && paintAtlas().save(media + "/images/level_art.png") &&
        writeText(media + "/scripts/level_art_sprites.lua", spriteTable()) &&
        writeText(scenes + "level_back_1.xml", meadowScene()) && writeText(scenes + "level_back_2.xml", harbourScene()) &&
        writeText(scenes + "level_field.xml", fieldScene()) &&
        writeText(scenes + "move_warning.xml", moveWarningScene()) &&
        writeText(scenes + "win_effect_scene.xml",
                  effectScene("win_effect_scene", "The win: a golden burst behind 'Level complete!'.",
                              "EFFECT_LEVEL_COMPLETE", "level_win_sound", true, 36)) &&
        writeText(scenes + "fail_effect_scene.xml",
                  effectScene("fail_effect_scene", "The loss: 'Out of moves' on the banner.", "EFFECT_LEVEL_FAILED",
                              "level_lose_sound", false, 30)) &&
        writeText(scenes + "no_more_moves_effect.xml",
                  effectScene("no_more_moves_effect", "The limit is used up: 'No more moves!'.", "EFFECT_NO_MORE_MOVES",
                              "", false, 24)) &&
        writeText(scenes + "no_possible_moves_effect.xml",
                  effectScene("no_possible_moves_effect", "No swap makes a line: the board is shuffled after it.",
                              "EFFECT_NO_POSSIBLE_MOVES", "", false, 24)) &&
        writeText(scenes + "time_up.xml",
                  effectScene("time_up", "The timer has run out: 'Time is up!'.", "EFFECT_TIME_UP", "", false, 24)) &&
        writeText(media + "/ui/ingame_interface.lua", interfaceScript());
    if (!ok) {
        std::fprintf(stderr, "level_art: writing failed\n");
        return 1;
    }
    return 0;
}
