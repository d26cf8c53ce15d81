// Draws the sprite art of the sample content and writes each sprite table
// twice, as the Lua table the engine reads and as its XML twin, from one
// description so that the two always agree.
//
//     sprite_art <media folder>
//
// Writes images/cursor.png, images/screen_border.png, images/test_atlas.png,
// the game's cursor and screen borders (images/other.png,
// images/screen_borders.png), the logo cards (images/logo_*.png),
// images/fx.png (the particle atlas), images/widget.png (the widget atlas),
// the loading screen's pictures (images/loading_*.png), the example dialog's
// atlas (images/dialog_example.png), the board's images/chips.png,
// images/cells.png and images/board_fx.png, the mesh pictures
// images/banner.png and images/water.png, and scripts/<table>_sprites.lua with
// scripts/<table>_sprites.xml.

#include <png.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "image_writers.h"
#include "map_art.h"

namespace {

using ImageWriters::Bytes;

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
};

class Canvas {
public:
    Canvas(uint32_t w, uint32_t h) : width(w), height(h), pixels(size_t(w) * h * 4, 0) {}
    void set(int x, int y, Rgba c)
    {
        if (x < 0 || y < 0 || uint32_t(x) >= width || uint32_t(y) >= height)
            return;
        uint8_t* p = &pixels[(size_t(y) * width + uint32_t(x)) * 4];
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
        p[3] = c.a;
    }
    Rgba get(int x, int y) const
    {
        if (x < 0 || y < 0 || uint32_t(x) >= width || uint32_t(y) >= height)
            return Rgba{};
        const uint8_t* p = &pixels[(size_t(y) * width + uint32_t(x)) * 4];
        return Rgba{p[0], p[1], p[2], p[3]};
    }
    template <typename F>
    void fill(int x0, int y0, int w, int h, F colourAt)
    {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                set(x, y, colourAt(x - x0, y - y0));
    }
    bool save(const std::string& path) const
    {
        ImageWriters::PngDescription png;
        png.width = width;
        png.height = height;
        png.colourType = PNG_COLOR_TYPE_RGBA;
        png.rows = pixels;
        Bytes out;
        std::string error;
        if (!ImageWriters::writePng(png, out, error) || !ImageWriters::writeFile(path, out)) {
            std::fprintf(stderr, "sprite_art: cannot write %s: %s\n", path.c_str(), error.c_str());
            return false;
        }
        return true;
    }

    uint32_t width;
    uint32_t height;
    Bytes pixels;
};

// --- Pictures ---

// An arrow cursor, tip at (0, 0): white with a black outline.
Canvas drawCursor()
{
    Canvas c(32, 32);
    auto inside = [](int x, int y) {
        const bool head = y < 20 && x <= y * 11 / 16;
        const bool tail = y >= 12 && y < 28 && x >= 5 + (y - 12) / 3 && x <= 9 + (y - 12) / 3 && x <= 13;
        return head || tail;
    };
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (!inside(x, y))
                continue;
            const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            c.set(x, y, edge ? Rgba{0, 0, 0, 255} : Rgba{255, 255, 255, 255});
        }
    return c;
}

// A 48 x 48 frame in three bands of 16: corners with a round gem, edges with
// a bevelled bar, a transparent middle.
Canvas drawScreenBorder()
{
    Canvas c(48, 48);
    auto bevel = [](int d) {
        const uint8_t v = uint8_t(120 + d * 8);
        return Rgba{uint8_t(v + 40), uint8_t(v + 10), uint8_t(v / 2), 255};
    };
    c.fill(16, 0, 16, 16, [&](int, int y) { return bevel(15 - std::abs(7 - y) * 2); });
    c.fill(16, 32, 16, 16, [&](int, int y) { return bevel(15 - std::abs(8 - y) * 2); });
    c.fill(0, 16, 16, 16, [&](int x, int) { return bevel(15 - std::abs(7 - x) * 2); });
    c.fill(32, 16, 16, 16, [&](int x, int) { return bevel(15 - std::abs(8 - x) * 2); });
    for (int cy : {0, 32})
        for (int cx : {0, 32})
            c.fill(cx, cy, 16, 16, [](int x, int y) {
                const float d = std::hypot(float(x) - 7.5f, float(y) - 7.5f);
                if (d > 7.5f)
                    return Rgba{90, 60, 20, 255};
                const uint8_t glow = uint8_t(255 - d * 20);
                return Rgba{uint8_t(40 + glow / 4), uint8_t(glow / 2), glow, 255};
            });
    return c;
}

// Four 64 x 64 cells, each with a shape that shows mirroring and rotation:
// red with a right-pointing arrow, green with an L, blue checker with a
// corner mark, yellow with a ring.
Canvas drawTestAtlas()
{
    Canvas c(128, 128);
    c.fill(0, 0, 64, 64, [](int x, int y) {
        const bool arrow = (x >= 8 && x < 40 && y >= 26 && y < 38) || (x >= 40 && x < 56 && std::abs(y - 32) < 56 - x);
        return arrow ? Rgba{255, 255, 255, 255} : Rgba{200, 30, 30, 255};
    });
    c.fill(64, 0, 64, 64, [](int x, int y) {
        const bool ell = (x >= 12 && x < 22 && y >= 8 && y < 56) || (x >= 12 && x < 48 && y >= 46 && y < 56);
        return ell ? Rgba{255, 255, 255, 255} : Rgba{30, 170, 60, 255};
    });
    c.fill(0, 64, 64, 64, [](int x, int y) {
        if (x < 12 && y < 12)
            return Rgba{255, 255, 255, 255};
        return ((x / 8) + (y / 8)) % 2 ? Rgba{40, 60, 200, 255} : Rgba{90, 120, 240, 255};
    });
    c.fill(64, 64, 64, 64, [](int x, int y) {
        const float d = std::hypot(float(x) - 31.5f, float(y) - 31.5f);
        if (d > 30.0f)
            return Rgba{0, 0, 0, 0};
        return d > 18.0f ? Rgba{240, 210, 40, 255} : Rgba{240, 210, 40, 96};
    });
    return c;
}

// --- The particle atlas ---
//
// White and grey shapes with soft alpha, for the effects' colour curves to
// tint; only the tile shard keeps colours of its own. 256 x 128:
//   row 0: glow, sparkle, dust puff, shock ring (64 x 64 each)
//   row 1: trail strip (128 x 16), ember (32 x 32), tile shard (32 x 32)

uint8_t toByte(float v)
{
    return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

Rgba whiteWithAlpha(float alpha)
{
    return Rgba{255, 255, 255, toByte(alpha)};
}

float smoothFalloff(float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return (1.0f - t) * (1.0f - t) * (1.0f + 2.0f * t);  // 1 at the centre, 0 at the rim, flat at both
}

// A soft round glow: bright at the centre, gone at the cell's rim.
void drawGlow(Canvas& c, int x0, int y0)
{
    c.fill(x0, y0, 64, 64, [](int x, int y) {
        const float d = std::hypot(float(x) - 31.5f, float(y) - 31.5f) / 31.5f;
        return whiteWithAlpha(std::pow(smoothFalloff(d), 1.6f));
    });
}

// Four thin rays and a small core.
void drawSparkle(Canvas& c, int x0, int y0)
{
    c.fill(x0, y0, 64, 64, [](int x, int y) {
        const float dx = std::fabs(float(x) - 31.5f) / 31.5f;
        const float dy = std::fabs(float(y) - 31.5f) / 31.5f;
        auto ray = [](float along, float across) {
            const float thickness = 0.09f * (1.0f - along) + 0.01f;
            return (1.0f - along) * std::exp(-(across * across) / (thickness * thickness));
        };
        const float rays = std::max(ray(dx, dy), ray(dy, dx));
        const float core = std::exp(-(dx * dx + dy * dy) / 0.02f);
        const float halo = 0.25f * smoothFalloff(std::hypot(dx, dy) * 1.6f);
        return whiteWithAlpha(std::min(1.0f, rays + core + halo));
    });
}

// A lumpy puff of smoke: soft overlapping discs, lighter towards the top.
void drawDust(Canvas& c, int x0, int y0)
{
    struct Lump {
        float x, y, r;
    };
    const Lump lumps[] = {{32, 34, 17}, {21, 30, 12}, {43, 29, 13}, {28, 22, 11}, {39, 41, 12}, {24, 42, 10}};
    c.fill(x0, y0, 64, 64, [&](int x, int y) {
        float density = 0.0f;
        for (const Lump& l : lumps)
            density += smoothFalloff(std::hypot(float(x) - l.x, float(y) - l.y) / (l.r * 1.5f));
        const float grey = 0.78f + 0.18f * (1.0f - float(y) / 63.0f);
        const uint8_t g = toByte(grey);
        return Rgba{g, g, g, toByte(std::min(1.0f, density * 0.55f))};
    });
}

// A thin bright ring with soft edges, for shock waves.
void drawRing(Canvas& c, int x0, int y0)
{
    c.fill(x0, y0, 64, 64, [](int x, int y) {
        const float d = std::hypot(float(x) - 31.5f, float(y) - 31.5f);
        const float band = (d - 26.0f) / 3.2f;
        return whiteWithAlpha(std::exp(-band * band));
    });
}

// A strip for trail ribbons: the bright round head in the right-most 16
// texels, the tail fading to nothing towards the left.
void drawTrail(Canvas& c, int x0, int y0)
{
    c.fill(x0, y0, 128, 16, [](int x, int y) {
        const float across = (float(y) - 7.5f) / 7.5f;
        // Past the head's start the strip closes in a round cap.
        const float beyond = x > 112 ? (float(x) - 112.0f) / 15.0f : 0.0f;
        const float r2 = across * across + beyond * beyond;
        const float profile = std::exp(-r2 * 2.2f);
        const float core = std::exp(-r2 * 9.0f) * 0.5f;
        const float along = x >= 112 ? 1.0f : std::pow(float(x) / 111.0f, 1.4f);
        return whiteWithAlpha(std::min(1.0f, along * (profile + core)));
    });
}

// A small hot ember: a tight core in a soft halo.
void drawEmber(Canvas& c, int x0, int y0)
{
    c.fill(x0, y0, 32, 32, [](int x, int y) {
        const float d = std::hypot(float(x) - 15.5f, float(y) - 15.5f) / 15.5f;
        return whiteWithAlpha(std::min(1.0f, std::exp(-d * d * 18.0f) + 0.45f * smoothFalloff(d)));
    });
}

// A broken piece of an orange tile: a lit top face and a darker side face
// with a dark outline, drawn four samples to the texel on each axis.
void drawShard(Canvas& c, int x0, int y0)
{
    struct Point {
        float x, y;
    };
    const Point top[] = {{5, 9}, {19, 4}, {28, 12}, {22, 20}, {9, 18}};
    const Point side[] = {{9, 18}, {22, 20}, {28, 12}, {27, 19}, {21, 27}, {8, 24}};
    auto inside = [](const Point* p, int n, float x, float y) {
        bool in = false;
        for (int i = 0, j = n - 1; i < n; j = i++)
            if ((p[i].y > y) != (p[j].y > y) && x < (p[j].x - p[i].x) * (y - p[i].y) / (p[j].y - p[i].y) + p[i].x)
                in = !in;
        return in;
    };
    const Rgba outline{74, 32, 12, 255};
    c.fill(x0, y0, 32, 32, [&](int x, int y) {
        float r = 0, g = 0, b = 0, a = 0;
        for (int sy = 0; sy < 4; ++sy)
            for (int sx = 0; sx < 4; ++sx) {
                const float px = float(x) + (float(sx) + 0.5f) / 4.0f;
                const float py = float(y) + (float(sy) + 0.5f) / 4.0f;
                const bool onTop = inside(top, 5, px, py);
                const bool onSide = !onTop && inside(side, 6, px, py);
                // The outline: sample points just outside both faces but
                // within a texel of one of them.
                bool nearShape = false;
                for (float ox : {-1.0f, 0.0f, 1.0f})
                    for (float oy : {-1.0f, 0.0f, 1.0f})
                        nearShape = nearShape || inside(top, 5, px + ox, py + oy) || inside(side, 6, px + ox, py + oy);
                Rgba s{0, 0, 0, 0};
                if (onTop) {
                    // Lit from the top left: brighter towards it.
                    const float light = 1.0f - 0.25f * (px + py - 8.0f) / 40.0f;
                    s = Rgba{toByte(0.98f * light), toByte(0.62f * light), toByte(0.22f * light), 255};
                } else if (onSide) {
                    s = Rgba{176, 78, 24, 255};
                } else if (nearShape) {
                    s = outline;
                }
                r += float(s.r) * float(s.a);
                g += float(s.g) * float(s.a);
                b += float(s.b) * float(s.a);
                a += float(s.a);
            }
        if (a == 0.0f)
            return Rgba{0, 0, 0, 0};
        return Rgba{uint8_t(r / a), uint8_t(g / a), uint8_t(b / a), uint8_t(a / 16.0f)};
    });
}

Canvas drawFxAtlas()
{
    Canvas c(256, 128);
    drawGlow(c, 0, 0);
    drawSparkle(c, 64, 0);
    drawDust(c, 128, 0);
    drawRing(c, 192, 0);
    drawTrail(c, 0, 64);
    drawEmber(c, 128, 64);
    drawShard(c, 160, 64);
    return c;
}


// --- Scene art: the loading screen and the dialog example ---
//
// Shapes are signed distances (negative inside, in pixels) so that each
// gets a soft edge, a dark outline and shading lit from the top left.


struct Rgbf {
    float r, g, b;
};

Rgbf mix(Rgbf a, Rgbf b, float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return Rgbf{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgbf scaled(Rgbf c, float k)
{
    return Rgbf{c.r * k, c.g * k, c.b * k};
}

Rgba opaque(Rgbf c, float alpha = 1.0f)
{
    return Rgba{toByte(c.r / 255.0f), toByte(c.g / 255.0f), toByte(c.b / 255.0f), toByte(alpha)};
}

float coverage(float distance)
{
    return std::clamp(0.5f - distance, 0.0f, 1.0f);
}

float circleDistance(float x, float y, float cx, float cy, float r)
{
    return std::hypot(x - cx, y - cy) - r;
}

float boxDistance(float x, float y, float cx, float cy, float hw, float hh, float radius)
{
    const float qx = std::fabs(x - cx) - hw + radius;
    const float qy = std::fabs(y - cy) - hh + radius;
    return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - radius;
}

// A filled shape: `body` gives the colour inside at a depth below the edge,
// the rim of `outline` pixels is the body darkened.
template <typename Distance, typename Body>
void drawShape(Canvas& c, int x0, int y0, int w, int h, Distance distance, Body body, float outline = 2.5f)
{
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float px = float(x) + 0.5f;
            const float py = float(y) + 0.5f;
            const float d = distance(px, py);
            const float alpha = coverage(d);
            if (alpha <= 0.0f)
                continue;
            Rgbf colour = body(px, py, -d);
            if (d > -outline)
                colour = scaled(colour, 0.35f);
            // Over what is already drawn.
            const Rgba under = c.get(x0 + x, y0 + y);
            const float keep = (1.0f - alpha) * float(under.a) / 255.0f;
            const float outAlpha = alpha + keep;
            const Rgbf below{float(under.r), float(under.g), float(under.b)};
            const Rgbf blended = outAlpha > 0.0f ? scaled(mix(below, colour, alpha / outAlpha), 1.0f) : colour;
            c.set(x0 + x, y0 + y, opaque(blended, outAlpha));
        }
}

// One gem of the board's six chip colours, cut as the chips are.
enum class Cut { Round, Square, Rhombus, Hexagon, Triangle, Teardrop };

float gemDistance(Cut cut, float x, float y)
{
    const float ax = std::fabs(x);
    const float ay = std::fabs(y);
    switch (cut) {
    case Cut::Round:
        return std::hypot(x, y) - 26.0f;
    case Cut::Square:
        return boxDistance(x, y, 0, 0, 24, 24, 6);
    case Cut::Rhombus:
        return ax * 0.8f + ay * 0.6f - 17.5f;
    case Cut::Hexagon:
        return std::max(ax * 0.866f + ay * 0.5f, ay) - 24.0f;
    case Cut::Triangle: {
        const float side = 0.871f * ax - 0.492f * (y + 26.0f);
        return std::max(side, y - 20.0f);
    }
    case Cut::Teardrop: {
        const float round = std::hypot(x, y - 8.0f) - 19.0f;
        // A cone from the tip (0, -30), tangent to the round part.
        const float point = std::max(0.866f * ax - 0.5f * (y + 30.0f), y - 8.0f);
        return std::min(round, point);
    }
    }
    return 1.0f;
}

Canvas drawGemSheet()
{
    const Cut cuts[6] = {Cut::Round, Cut::Square, Cut::Rhombus, Cut::Hexagon, Cut::Triangle, Cut::Teardrop};
    const Rgbf colours[6] = {{222, 52, 62}, {58, 182, 92}, {62, 112, 232}, {192, 72, 204}, {242, 200, 58},
                             {246, 142, 40}};
    Canvas c(384, 64);
    for (int i = 0; i < 6; ++i) {
        const Cut cut = cuts[i];
        const Rgbf base = colours[i];
        drawShape(
            c, i * 64, 0, 64, 64, [cut](float x, float y) { return gemDistance(cut, x - 32.0f, y - 32.0f); },
            [base](float x, float y, float depth) {
                // Lit from the top left, a facet band near the rim, a glint.
                const float light = ((32.0f - x) * 0.6f + (32.0f - y) * 0.8f) / 32.0f;
                Rgbf colour = scaled(base, 0.78f + 0.3f * light);
                if (depth < 7.0f)
                    colour = scaled(colour, 0.82f);
                const float glint = std::hypot(x - 23.0f, y - 21.0f);
                return mix(colour, Rgbf{255, 250, 235}, (1.0f - glint / 7.0f) * 0.9f);
            });
    }
    return c;
}

// The dusk sky: indigo night above, violet, then a warm band at the
// horizon; scaled over the whole workspace.
Canvas drawLoadingSky()
{
    Canvas c(16, 64);
    c.fill(0, 0, 16, 64, [](int, int y) {
        const float t = float(y) / 63.0f;
        const Rgbf top{16, 12, 44};
        const Rgbf middle{52, 38, 104};
        const Rgbf horizon{176, 104, 92};
        return opaque(t < 0.6f ? mix(top, middle, t / 0.6f) : mix(middle, horizon, (t - 0.6f) / 0.4f));
    });
    return c;
}

// Rolling hills in silhouette with a pale rim and a few lit windows. The
// last row stays clear: a scaled picture samples across its opposite edge,
// and the clear top must not meet an opaque bottom there.
Canvas drawLoadingHills()
{
    Canvas c(432, 109);
    auto ridge = [](float x) {
        return 44.0f - 16.0f * std::sin(x * 0.019f + 0.6f) - 9.0f * std::sin(x * 0.051f + 2.0f) -
               4.0f * std::sin(x * 0.13f);
    };
    c.fill(0, 0, 432, 108, [&](int x, int y) {
        const float d = ridge(float(x)) - (float(y) + 0.5f);
        const float alpha = coverage(d);
        if (alpha <= 0.0f)
            return Rgba{0, 0, 0, 0};
        const float depth = -d;
        Rgbf colour = mix(Rgbf{34, 28, 70}, Rgbf{14, 12, 34}, depth / 60.0f);
        if (depth < 2.0f)
            colour = Rgbf{96, 80, 150};
        return opaque(colour, alpha);
    });
    for (int window : {70, 188, 301, 377}) {
        const int top = int(ridge(float(window))) + 10;
        c.fill(window, top, 3, 3, [](int, int) { return Rgba{255, 196, 92, 255}; });
    }
    return c;
}

void blendOver(Canvas& c, int x, int y, Rgba s, float k);

// The menu's and the intro's hills: the loading screen's ridge drawn at four
// times its size, so that the screen shows it unscaled with a smooth,
// anti-aliased outline, and its cottage windows as soft round lights.
Canvas drawMenuHills()
{
    constexpr float K = 4.0f;
    Canvas c(1728, 436);
    auto ridge = [](float x) {
        const float u = x / K;
        return K * (44.0f - 16.0f * std::sin(u * 0.019f + 0.6f) - 9.0f * std::sin(u * 0.051f + 2.0f) -
                    4.0f * std::sin(u * 0.13f));
    };
    c.fill(0, 0, 1728, 432, [&](int x, int y) {
        // The distance to the ridge along its normal, for an even edge on
        // the slopes as well.
        const float fx = float(x) + 0.5f;
        const float slope = (ridge(fx + 0.5f) - ridge(fx - 0.5f));
        const float d = (ridge(fx) - (float(y) + 0.5f)) / std::sqrt(1.0f + slope * slope);
        const float alpha = coverage(d);
        if (alpha <= 0.0f)
            return Rgba{0, 0, 0, 0};
        const float depth = -d;
        Rgbf colour = mix(Rgbf{34, 28, 70}, Rgbf{14, 12, 34}, depth / 240.0f);
        // The rim light along the crest, fading inward.
        const float rim = std::clamp((7.0f - depth) / 3.0f, 0.0f, 1.0f);
        colour = mix(colour, Rgbf{96, 80, 150}, rim);
        return opaque(colour, alpha);
    });
    for (int window : {70, 188, 301, 377}) {
        const float wx = float(window) * K + 6.0f;
        const float wy = ridge(wx) + 46.0f;
        for (int y = int(wy) - 20; y <= int(wy) + 20; ++y)
            for (int x = int(wx) - 20; x <= int(wx) + 20; ++x) {
                const float r = std::hypot(float(x) + 0.5f - wx, float(y) + 0.5f - wy);
                const float glow = std::clamp(1.0f - r / 20.0f, 0.0f, 1.0f);
                blendOver(c, x, y, Rgba{255, 190, 90, 255}, 0.45f * glow * glow);
                blendOver(c, x, y, Rgba{255, 214, 130, 255}, coverage(r - 4.5f));
            }
    }
    return c;
}

// A paper lantern hanging from its cord: brass hook ring at the top centre
// (the pivot of its swing), dark wood caps with brass trim, a ribbed amber
// body lit from within, a red tassel.
Canvas drawLoadingLantern()
{
    Canvas c(128, 224);
    const Rgbf wood{92, 56, 30};
    const Rgbf brass{214, 172, 80};
    drawShape(
        c, 0, 0, 128, 224, [](float x, float y) { return std::fabs(circleDistance(x, y, 64, 7, 5)) - 1.6f; },
        [&](float, float, float) { return brass; }, 0.8f);
    c.fill(62, 12, 4, 18, [](int x, int) { return opaque(x == 0 ? Rgbf{40, 24, 14} : Rgbf{88, 60, 40}); });
    auto cap = [&](float top, float bottom, float halfWidth) {
        drawShape(
            c, 0, int(top), 128, int(bottom - top + 1),
            [=](float x, float y) { return boxDistance(x, y + top, 64, (top + bottom) / 2, halfWidth,
                                                       (bottom - top) / 2, 3); },
            [&, top, bottom](float, float y, float) {
                const float row = y + top;
                return row > bottom - 5 ? brass : mix(wood, scaled(wood, 0.7f), (row - top) / (bottom - top));
            },
            1.5f);
    };
    drawShape(
        c, 0, 0, 128, 224,
        [](float x, float y) {
            const float nx = (x - 64.0f) / 54.0f;
            const float ny = (y - 110.0f) / 68.0f;
            return (std::hypot(nx, ny) - 1.0f) * 54.0f;
        },
        [](float x, float y, float depth) {
            const float nx = (x - 64.0f) / 54.0f;
            const float ny = (y - 110.0f) / 68.0f;
            const float centre = 1.0f - std::min(1.0f, std::hypot(nx * 1.1f, ny));
            Rgbf colour = mix(Rgbf{196, 102, 38}, Rgbf{255, 232, 156}, centre * 1.3f);
            // Ribs of the frame follow the curve of the body.
            const float u = std::asin(std::clamp(nx, -1.0f, 1.0f)) / 1.5708f;
            const float rib = std::fabs(std::fmod(u * 3.5f + 10.25f, 1.0f) - 0.5f);
            if (rib < 0.05f && depth > 3.0f)
                colour = scaled(colour, 0.68f);
            const float band = std::fabs(std::fmod((y - 42.0f) / 34.0f + 10.0f, 1.0f) - 0.5f);
            if (band > 0.47f)
                colour = scaled(colour, 0.85f);
            return colour;
        },
        3.0f);
    cap(30, 48, 38);
    cap(170, 186, 30);
    c.fill(58, 187, 12, 36, [](int x, int y) {
        const float fade = 1.0f - float(y) / 40.0f;
        const bool strand = (x % 3) != 2;
        return strand ? opaque(mix(Rgbf{208, 62, 40}, Rgbf{120, 28, 22}, float(y) / 36.0f), 0.4f + fade * 0.6f)
                      : Rgba{0, 0, 0, 0};
    });
    return c;
}

// The lantern's light, drawn additively: warm white, fading to nothing.
Canvas drawLoadingGlow()
{
    Canvas c(256, 256);
    c.fill(0, 0, 256, 256, [](int x, int y) {
        const float d = std::hypot(float(x) - 127.5f, float(y) - 127.5f) / 127.5f;
        const float a = std::pow(smoothFalloff(d), 1.8f);
        return Rgba{255, 206, 120, toByte(a)};
    });
    return c;
}

// The dialog example's pieces in one atlas (512 x 512):
//   panel (0, 0, 420, 300), ribbon (0, 304, 260, 360), close button
//   (264, 304, 312, 352), portrait mask (320, 304, 416, 400), portrait
//   (416, 304, 512, 400).
Canvas drawDialogAtlas()
{
    Canvas c(512, 512);
    const Rgbf wood{96, 58, 30};
    const Rgbf brass{218, 176, 84};
    const Rgbf parchment{240, 224, 184};
    drawShape(
        c, 0, 0, 420, 300, [](float x, float y) { return boxDistance(x, y, 210, 150, 209, 149, 14); },
        [&](float x, float y, float depth) {
            if (depth < 16.0f) {
                const float grain = 0.88f + 0.12f * std::sin(x * 0.21f + y * 0.05f + std::sin(y * 0.3f));
                Rgbf frame = scaled(wood, grain * (1.05f - 0.3f * (y / 300.0f)));
                return depth > 11.0f && depth < 14.0f ? brass : frame;
            }
            const float edge = std::min({x - 16.0f, y - 16.0f, 404.0f - x, 284.0f - y});
            return mix(scaled(parchment, 0.8f), parchment, edge / 40.0f);
        });
    for (float sx : {22.0f, 398.0f})
        for (float sy : {22.0f, 278.0f})
            drawShape(
                c, int(sx) - 6, int(sy) - 6, 12, 12,
                [=](float x, float y) { return circleDistance(x + sx - 6, y + sy - 6, sx, sy, 5); },
                [&](float x, float y, float) { return mix(brass, Rgbf{255, 240, 180}, 1.0f - std::hypot(x - 4, y - 4) / 5); },
                1.2f);
    drawShape(
        c, 0, 304, 260, 56,
        [](float x, float y) {
            const float body = boxDistance(x, y, 130, 28, 128, 26, 2);
            // Notched ends, as a ribbon is cut.
            const float notchLeft = 18.0f - std::fabs(y - 28.0f) * 0.6f - x;
            const float notchRight = x - 242.0f - std::fabs(y - 28.0f) * 0.6f;
            return std::max({body, notchLeft, notchRight});
        },
        [&](float x, float y, float depth) {
            Rgbf band = mix(Rgbf{78, 64, 160}, Rgbf{40, 32, 96}, y / 56.0f);
            if (x < 30.0f || x > 230.0f)
                band = scaled(band, 0.75f);
            return depth > 4.0f && depth < 6.0f ? brass : band;
        });
    drawShape(
        c, 264, 304, 48, 48, [](float x, float y) { return circleDistance(x, y, 24, 24, 22); },
        [&](float x, float y, float depth) {
            if (depth < 4.0f)
                return brass;
            const float cross = std::min(std::fabs((x - 24) - (y - 24)), std::fabs((x - 24) + (y - 24))) /
                                1.4142f;
            if (cross < 3.0f && std::hypot(x - 24, y - 24) < 12.0f)
                return parchment;
            return mix(Rgbf{170, 40, 34}, Rgbf{96, 20, 18}, y / 48.0f);
        },
        1.5f);
    c.fill(320, 304, 96, 96, [](int x, int y) {
        const float a = coverage(circleDistance(float(x) + 0.5f, float(y) + 0.5f, 48, 48, 44));
        return Rgba{255, 255, 255, toByte(a)};
    });
    c.fill(416, 304, 96, 96, [](int x, int y) {
        const float fx = float(x) + 0.5f;
        const float fy = float(y) + 0.5f;
        Rgbf colour = mix(Rgbf{20, 16, 56}, Rgbf{120, 78, 120}, fy / 96.0f);
        const float moon = circleDistance(fx, fy, 62, 28, 12);
        const float bite = circleDistance(fx, fy, 68, 24, 11);
        if (moon < 0 && bite > 0)
            colour = Rgbf{248, 236, 196};
        if (fy > 70.0f - 8.0f * std::sin(fx * 0.07f))
            colour = Rgbf{26, 22, 54};
        const float light = std::hypot(fx - 30.0f, fy - 62.0f);
        colour = mix(colour, Rgbf{255, 196, 96}, (1.0f - light / 14.0f) * 0.9f);
        return opaque(colour);
    });
    return c;
}

// --- The widget atlas ---
//
// The interface's pieces in the game's palette: parchment panels framed in
// dark wood with brass trim, lantern-amber buttons, an indigo title band.
// 512 x 512:
//   window panel (0, 0, 420 x 280)
//   buttons idle, highlighted, pressed, disabled (0, 288 + 52 i, 160 x 48)
//   check box (424, 0) and tick (460, 0), 32 x 32; slider thumb (424, 40)
//   edit field (176, 288, 220 x 36), slider track (176, 332, 220 x 14),
//   slider fill (176, 352, 220 x 14), list selection bar (176, 372, 220 x 28)
//   scroll bar: track (424, 80, 20 x 200), fill (448, 80, 20 x 200), grip
//   (472, 80, 24 x 40); content row (176, 404, 220 x 32)

const Rgbf INDIGO{34, 30, 78};
const Rgbf INDIGO_DEEP{18, 16, 44};
const Rgbf AMBER{238, 152, 44};
const Rgbf GOLD{252, 210, 96};
const Rgbf PARCHMENT{238, 222, 182};
const Rgbf PARCHMENT_DARK{206, 182, 134};
const Rgbf WOOD{78, 46, 26};
const Rgbf WOOD_LIGHT{112, 70, 38};
const Rgbf BRASS{196, 154, 72};
const Rgbf BRASS_LIGHT{244, 214, 136};
const Rgbf OUTLINE{26, 14, 8};

// Distance from a point to a rounded rectangle's edge (negative inside).
float roundedBoxDistance(float x, float y, float w, float h, float radius)
{
    const float qx = std::fabs(x - w * 0.5f) - (w * 0.5f - radius);
    const float qy = std::fabs(y - h * 0.5f) - (h * 0.5f - radius);
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

// A rounded box: `shade(x, y, depth)` colours the texel (x, y) of the box
// (from its top-left corner), `depth` texels inside the edge; a dark outline of one texel, edges smoothed over a texel.
template <typename Shade>
void drawBox(Canvas& c, int x0, int y0, int w, int h, float radius, Shade shade)
{
    c.fill(x0, y0, w, h, [&](int x, int y) {
        const float d = roundedBoxDistance(float(x) + 0.5f, float(y) + 0.5f, float(w), float(h), radius);
        if (d > 0.5f)
            return Rgba{0, 0, 0, 0};
        const float depth = -d;
        const float coverage = std::clamp(0.5f - d, 0.0f, 1.0f);
        const Rgbf colour = depth < 1.2f ? OUTLINE : shade(x, y, depth);
        return opaque(colour, coverage);
    });
}

// Grain along x: darker streaks that wander a little.
Rgbf woodAt(int x, int y, float light)
{
    const float grain = 0.5f + 0.5f * std::sin(float(y) * 0.9f + std::sin(float(x) * 0.07f) * 2.4f);
    return scaled(mix(WOOD, WOOD_LIGHT, grain * 0.7f), light);
}

// A window's wooden frame with its brass trim, `frame` texels wide, in a
// window `h` tall: the colour `depth` texels inside the edge, or nothing
// inside the trim.
std::optional<Rgbf> windowFrameAt(int x, int y, int h, float depth, float frame)
{
    const float fy = float(y) / float(h);
    if (depth < frame) {
        // The frame's bevel: lit from the top left.
        const float bevel = depth < frame * 0.5f ? 1.15f - 0.3f * fy : 0.85f + 0.2f * fy;
        return woodAt(x, y, bevel);
    }
    if (depth < frame + 3.0f)
        return mix(BRASS_LIGHT, BRASS, (depth - frame) / 3.0f);
    if (depth < frame + 4.0f)
        return OUTLINE;
    return std::nullopt;
}

// The indigo title band of a window, ending in a brass line at `bottom`.
Rgbf titleBandAt(int y, int bottom)
{
    if (y >= bottom - 4)
        return mix(BRASS, BRASS_LIGHT, float(y - (bottom - 4)) / 3.0f);
    return mix(INDIGO, INDIGO_DEEP, float(y - 20) / float(bottom - 24));
}

// `band`: the indigo title band along the top; without it the parchment
// reaches the trim, for windows whose title ribbon sits on the frame.
void drawPanel(Canvas& c, int x0 = 0, int y0 = 0, bool band = true)
{
    const int w = 420;
    const int h = 280;
    const float frame = 16.0f;
    const int bandBottom = band ? 60 : 0;
    drawBox(c, x0, y0, w, h, 18.0f, [&](int x, int y, float depth) {
        if (const std::optional<Rgbf> edge = windowFrameAt(x, y, h, depth, frame))
            return *edge;
        // The title band, then the parchment with a soft shadow under the
        // trim and darker corners.
        const float inner = depth - frame - 4.0f;
        if (y < bandBottom)
            return titleBandAt(y, bandBottom);
        const float cx = float(x) / float(w) - 0.5f;
        const float cy = float(y) / float(h) - 0.5f;
        const float vignette = std::min(1.0f, (cx * cx + cy * cy) * 1.6f);
        Rgbf paper = mix(PARCHMENT, PARCHMENT_DARK, vignette);
        if (inner < 6.0f || (band && y < bandBottom + 6))
            paper = scaled(paper, 0.86f + 0.14f * std::min(inner, band ? float(y - bandBottom) : inner) / 6.0f);
        return paper;
    });
}

void drawButton(Canvas& c, int y0, int look)
{
    // 0 idle, 1 highlighted, 2 pressed, 3 disabled.
    const int w = 160;
    const int h = 48;
    drawBox(c, 0, y0, w, h, 12.0f, [&](int x, int y, float depth) {
        const float fy = float(y) / float(h);
        if (depth < 4.0f)
            return mix(BRASS_LIGHT, BRASS, look == 2 ? 1.0f - fy : fy);
        Rgbf top = GOLD;
        Rgbf bottom = AMBER;
        if (look == 1) {
            top = mix(GOLD, Rgbf{255, 245, 200}, 0.5f);
            bottom = mix(AMBER, GOLD, 0.45f);
        } else if (look == 2) {
            top = scaled(AMBER, 0.78f);
            bottom = scaled(GOLD, 0.9f);
        } else if (look == 3) {
            top = Rgbf{150, 142, 130};
            bottom = Rgbf{112, 106, 98};
        }
        Rgbf face = mix(top, bottom, fy);
        // A gloss on the upper half, none when pressed or disabled.
        if (look < 2 && fy < 0.45f)
            face = mix(face, Rgbf{255, 250, 230}, 0.25f * (1.0f - fy / 0.45f));
        (void)x;
        return face;
    });
}

void drawCheckBox(Canvas& c)
{
    drawBox(c, 424, 0, 32, 32, 6.0f, [&](int, int y, float depth) {
        if (depth < 4.0f)
            return woodAt(0, y, 1.1f - 0.25f * float(y) / 32.0f);
        if (depth < 5.0f)
            return BRASS;
        return mix(PARCHMENT_DARK, PARCHMENT, std::min(1.0f, (depth - 5.0f) / 5.0f));
    });
    // The tick: a thick gold stroke in two parts with a dark outline.
    c.fill(460, 0, 32, 32, [](int x, int y) {
        auto segment = [](float px, float py, float ax, float ay, float bx, float by) {
            const float vx = bx - ax;
            const float vy = by - ay;
            const float t = std::clamp(((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy), 0.0f, 1.0f);
            return std::hypot(px - ax - t * vx, py - ay - t * vy);
        };
        const float px = float(x) + 0.5f;
        const float py = float(y) + 0.5f;
        const float d = std::min(segment(px, py, 7, 16, 13, 23), segment(px, py, 13, 23, 25, 8));
        if (d > 5.0f)
            return Rgba{0, 0, 0, 0};
        if (d > 3.6f)
            return opaque(OUTLINE, std::clamp(5.0f - d, 0.0f, 1.0f));
        return opaque(mix(Rgbf{255, 236, 150}, AMBER, d / 3.6f));
    });
}

void drawSliderThumb(Canvas& c)
{
    c.fill(424, 40, 32, 32, [](int x, int y) {
        const float dx = float(x) - 15.5f;
        const float dy = float(y) - 15.5f;
        const float d = std::hypot(dx, dy);
        if (d > 15.0f)
            return opaque(OUTLINE, std::clamp(16.0f - d, 0.0f, 1.0f));
        if (d > 14.0f)
            return opaque(OUTLINE);
        // A brass dome lit from the top left.
        const float light = std::clamp(0.5f - (dx + dy) / 40.0f, 0.0f, 1.0f);
        Rgbf dome = mix(scaled(BRASS, 0.7f), BRASS_LIGHT, light);
        if (std::hypot(dx + 5.0f, dy + 5.0f) < 4.0f)
            dome = mix(dome, Rgbf{255, 250, 225}, 0.6f);
        return opaque(dome);
    });
}

void drawEditField(Canvas& c)
{
    drawBox(c, 176, 288, 220, 36, 6.0f, [&](int, int y, float depth) {
        if (depth < 3.0f)
            return mix(BRASS, BRASS_LIGHT, float(y) / 36.0f);
        // The inner shadow falls from the top edge.
        const float fromTop = float(y) - 3.0f;
        const float shadow = std::clamp(1.0f - std::min(fromTop, depth - 3.0f) / 6.0f, 0.0f, 1.0f);
        return mix(PARCHMENT, scaled(PARCHMENT_DARK, 0.7f), shadow * 0.8f);
    });
}

void drawSlider(Canvas& c)
{
    drawBox(c, 176, 332, 220, 14, 7.0f, [&](int, int y, float depth) {
        if (depth < 2.0f)
            return WOOD;
        return mix(INDIGO_DEEP, INDIGO, float(y) / 14.0f);
    });
    // The fill's round caps come from the box's radius.
    drawBox(c, 176, 352, 220, 14, 7.0f, [&](int, int y, float) {
        const float fy = float(y) / 14.0f;
        return fy < 0.4f ? mix(Rgbf{255, 236, 160}, GOLD, fy / 0.4f) : mix(GOLD, AMBER, (fy - 0.4f) / 0.6f);
    });
}

void drawListSelection(Canvas& c)
{
    c.fill(176, 372, 220, 28, [](int x, int y) {
        const float fx = std::min(float(x), 219.0f - float(x)) / 24.0f;
        const float fy = std::fabs(float(y) - 13.5f) / 14.0f;
        const float alpha = std::clamp(fx, 0.0f, 1.0f) * (0.75f - 0.35f * fy);
        return opaque(mix(GOLD, AMBER, fy), alpha);
    });
}

// The scroll bar of scroll areas and lists: an upright slot, a gold fill
// whose round caps are 10 long, and a brass grip with three grooves.
void drawScrollBar(Canvas& c)
{
    drawBox(c, 424, 80, 20, 200, 10.0f, [&](int x, int, float depth) {
        if (depth < 2.0f)
            return WOOD;
        return mix(INDIGO_DEEP, INDIGO, float(x) / 20.0f);
    });
    drawBox(c, 448, 80, 20, 200, 10.0f, [&](int x, int, float) {
        const float fx = float(x) / 20.0f;
        return fx < 0.4f ? mix(Rgbf{255, 236, 160}, GOLD, fx / 0.4f) : mix(GOLD, AMBER, (fx - 0.4f) / 0.6f);
    });
    drawBox(c, 472, 80, 24, 40, 8.0f, [&](int x, int y, float depth) {
        if (depth < 3.0f)
            return mix(BRASS_LIGHT, scaled(BRASS, 0.8f), float(y) / 40.0f);
        const float light = std::clamp(0.9f - float(x) / 30.0f - float(y) / 80.0f, 0.0f, 1.0f);
        Rgbf face = mix(scaled(BRASS, 0.75f), BRASS_LIGHT, light);
        for (int groove : {14, 20, 26})
            if (y == groove && x > 5 && x < 18)
                face = scaled(WOOD, 0.9f);
            else if (y == groove + 1 && x > 5 && x < 18)
                face = mix(face, Rgbf{255, 248, 220}, 0.5f);
        return face;
    });
}

// A row of a list or of scrolled content: a parchment band, darker at its
// ends, with a brass rule under it.
void drawContentRow(Canvas& c)
{
    c.fill(176, 404, 220, 32, [](int x, int y) {
        if (y >= 29)
            return opaque(y == 29 ? BRASS_LIGHT : BRASS);
        const float edge = std::min(float(x), 219.0f - float(x)) / 30.0f;
        const Rgbf band = mix(scaled(PARCHMENT_DARK, 0.88f), PARCHMENT_DARK, std::clamp(edge, 0.0f, 1.0f));
        return opaque(mix(band, scaled(band, 0.92f), float(y) / 29.0f));
    });
}

// The window kit's title ribbon: indigo cloth with gold hems and notched
// ends, 300 x 56.
void drawTitleRibbon(Canvas& c)
{
    drawShape(
        c, 176, 444, 300, 56,
        [](float x, float y) {
            const float box = boxDistance(x, y, 150.0f, 28.0f, 148.0f, 24.0f, 4.0f);
            // The swallowtail notches at both ends.
            const float notch = 14.0f - std::fabs(y - 28.0f) - std::min(x, 300.0f - x);
            return std::max(box, notch);
        },
        [](float, float y, float depth) {
            if (depth < 5.0f)
                return mix(BRASS_LIGHT, BRASS, y / 56.0f);
            return mix(mix(INDIGO, INDIGO_DEEP, y / 56.0f), Rgbf{90, 80, 160}, std::max(0.0f, 0.3f - y / 80.0f));
        },
        2.0f);
}

// The window kit's close button: a brass disc with a dark wood cross, 40 x 40.
void drawCloseButton(Canvas& c)
{
    drawShape(
        c, 424, 290, 40, 40, [](float x, float y) { return circleDistance(x, y, 20.0f, 20.0f, 18.0f); },
        [](float x, float y, float) {
            const float cross = std::min(std::fabs((x - 20.0f) - (y - 20.0f)), std::fabs((x - 20.0f) + (y - 20.0f)));
            const bool arm = cross < 3.5f && std::hypot(x - 20.0f, y - 20.0f) < 11.0f;
            if (arm)
                return WOOD;
            return mix(BRASS_LIGHT, BRASS, y / 40.0f);
        },
        2.0f);
}

Canvas drawWidgetAtlas()
{
    Canvas c(512, 512);
    drawPanel(c);
    for (int look = 0; look < 4; ++look)
        drawButton(c, 288 + 52 * look, look);
    drawCheckBox(c);
    drawSliderThumb(c);
    drawEditField(c);
    drawSlider(c);
    drawListSelection(c);
    drawScrollBar(c);
    drawContentRow(c);
    drawTitleRibbon(c);
    drawCloseButton(c);
    // The shade a modal window lays over what lies behind it: night indigo,
    // solid past the sprite's own edge so that a stretched copy stays even.
    c.fill(476, 292, 32, 32, [](int, int) { return Rgba{14, 12, 34, 255}; });
    return c;
}

// --- Sprite tables ---

struct MeshVertex {
    int x, y;
    Rgba color;
    float u, v;
    float px, py;
};

// A shade of 0..255, clamped, as a byte.
uint8_t byteOf(float v)
{
    return toByte(v / 255.0f);
}

Rgba scaled(Rgba c, float k)
{
    return Rgba{byteOf(float(c.r) * k), byteOf(float(c.g) * k), byteOf(float(c.b) * k), c.a};
}

// A 256 x 128 cloth banner that hangs from its top edge: indigo cloth
// shaded in soft vertical folds, a brass-gold hem with a dark outline, a
// lantern emblem glowing amber in the middle, and a swallowtail cut into
// the bottom edge.
Canvas drawBanner()
{
    Canvas c(256, 128);
    const Rgba cloth{46, 44, 118, 255};
    const Rgba brass{214, 168, 72, 255};
    const Rgba outline{30, 20, 16, 255};
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 256; ++x) {
            // The notch: a triangle up from the bottom edge's middle.
            const int notch = 28 - std::abs(x - 128) * 28 / 128;
            if (y >= 128 - notch)
                continue;
            const int edge = std::min({x, 255 - x, y, 127 - notch - y});
            const float fold = 0.85f + 0.15f * std::cos(float(x) / 256.0f * 6.2831853f * 3.0f);
            const float light = 1.05f - 0.25f * float(y) / 128.0f;
            Rgba p = scaled(cloth, fold * light);
            if (edge < 2)
                p = outline;
            else if (edge < 8)
                p = scaled(brass, 0.8f + 0.05f * float(edge) * fold);
            else if (edge < 9)
                p = scaled(outline, 1.6f);
            // The emblem: a rounded lantern body with a glow around it.
            const float dx = float(x) - 128.0f;
            const float dy = float(y) - 56.0f;
            const float body = std::hypot(dx / 16.0f, dy / 22.0f);
            const float glow = std::max(0.0f, 1.0f - std::hypot(dx, dy) / 46.0f);
            if (edge >= 9) {
                p = Rgba{byteOf(float(p.r) + 200.0f * glow * glow), byteOf(float(p.g) + 130.0f * glow * glow),
                         byteOf(float(p.b) + 30.0f * glow * glow), 255};
                if (body <= 1.0f)
                    p = body > 0.86f ? outline : scaled(Rgba{255, 196, 90, 255}, 1.0f - 0.3f * body);
                else if (std::abs(dx) < 7.0f && dy > -30.0f && dy < -21.0f)
                    p = std::abs(dx) > 5.0f || dy < -28.0f ? outline : brass;
            }
            c.set(x, y, p);
        }
    return c;
}

// A 256 x 64 strip of night water: indigo deepening downwards, a pale rim
// along the surface, and amber glints of lantern light on the ripples.
Canvas drawWater()
{
    Canvas c(256, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 256; ++x) {
            const float depth = float(y) / 63.0f;
            Rgba p{byteOf(44 - 26 * depth), byteOf(72 - 46 * depth), byteOf(150 - 78 * depth), 255};
            if (y < 2)
                p = Rgba{150, 170, 220, 255};
            // Soft horizontal swells, lit amber where they crest.
            const float swell = std::sin(float(x) * 0.045f + std::sin(float(y) * 0.9f) * 2.0f) *
                                std::sin(float(y) * 1.3f + float(x) * 0.011f);
            const float crest = std::max(0.0f, swell - 0.7f) / 0.3f * (1.0f - 0.7f * depth);
            if (y > 3)
                p = Rgba{byteOf(float(p.r) + 170.0f * crest), byteOf(float(p.g) + 110.0f * crest),
                         byteOf(float(p.b) + 10.0f * crest), 255};
            c.set(x, y, p);
        }
    return c;
}

struct SpriteDescription {
    std::string name;
    std::vector<std::string> images;  // package "default"
    std::vector<std::optional<std::array<float, 4>>> sourceRects;
    std::optional<std::array<float, 2>> pos, size, rotCenter;
    std::optional<std::array<float, 4>> clipRect;
    std::optional<float> angle;
    bool mirrorH = false;
    bool mirrorV = false;
    std::string blendMode;
    std::optional<Rgba> color;
    unsigned meshCols = 0;
    unsigned meshRows = 0;
    std::vector<MeshVertex> meshVertices;
    // An "Animation" block: one frame per source rectangle.
    std::vector<std::array<float, 4>> frames;
    float frameDuration = 0.1f;
};

std::string number(float v)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", double(v));
    return buffer;
}

std::string luaList(std::initializer_list<float> values)
{
    std::string out = "{ ";
    for (float v : values)
        out += number(v) + ", ";
    out.resize(out.size() - 2);
    return out + " }";
}

std::string luaColor(Rgba c)
{
    return luaList({float(c.r), float(c.g), float(c.b), float(c.a)});
}

std::string xmlColor(const std::string& element, Rgba c)
{
    return "<" + element + " r=\"" + std::to_string(c.r) + "\" g=\"" + std::to_string(c.g) + "\" b=\"" +
           std::to_string(c.b) + "\" a=\"" + std::to_string(c.a) + "\"/>";
}

std::string xmlValue(const std::string& element, const std::string& value)
{
    return "<" + element + " v=\"" + value + "\"/>";
}

std::string xmlVector(const std::string& element, const std::array<float, 2>& v)
{
    return "<" + element + " v0=\"" + number(v[0]) + "\" v1=\"" + number(v[1]) + "\"/>";
}

// The XML twin stores rectangles as top, left, bottom, right.
std::string xmlRect(const std::string& element, const std::array<float, 4>& r)
{
    return "<" + element + " v0=\"" + number(r[1]) + "\" v1=\"" + number(r[0]) + "\" v2=\"" + number(r[3]) +
           "\" v3=\"" + number(r[2]) + "\"/>";
}

std::string toLua(const SpriteDescription& s)
{
    std::string out = s.name + " = {\n";
    auto line = [&](const std::string& key, const std::string& value) { out += "    " + key + " = " + value + ",\n"; };
    for (size_t i = 0; i < s.images.size(); ++i) {
        const std::string n = std::to_string(i);
        line("Image" + n, "\"" + s.images[i] + "\"");
        line("Package" + n, "\"default\"");
        if (i < s.sourceRects.size() && s.sourceRects[i]) {
            const auto& r = *s.sourceRects[i];
            line("SrcRect" + n, luaList({r[0], r[1], r[2], r[3]}));
        }
    }
    if (s.pos)
        line("Pos", luaList({(*s.pos)[0], (*s.pos)[1]}));
    if (s.size)
        line("Size", luaList({(*s.size)[0], (*s.size)[1]}));
    if (s.rotCenter)
        line("rotCenter", luaList({(*s.rotCenter)[0], (*s.rotCenter)[1]}));
    if (s.clipRect) {
        const auto& r = *s.clipRect;
        line("ClipRect", luaList({r[0], r[1], r[2], r[3]}));
    }
    if (s.angle)
        line("Angle", number(*s.angle));
    if (s.mirrorH)
        line("MirrorH", "1");
    if (s.mirrorV)
        line("MirrorV", "1");
    if (!s.blendMode.empty())
        line("BlendMode", "\"" + s.blendMode + "\"");
    if (s.color)
        line("Color", luaColor(*s.color));
    if (s.meshCols) {
        out += "    Mesh = {\n        sizeX = " + std::to_string(s.meshCols) + ",\n        sizeY = " +
               std::to_string(s.meshRows) + ",\n        Vertecies = {\n";
        for (const MeshVertex& v : s.meshVertices)
            out += "            { x = " + std::to_string(v.x) + ", y = " + std::to_string(v.y) +
                   ", Color = " + luaColor(v.color) + ", uv = " + luaList({v.u, v.v}) +
                   ", Pos = " + luaList({v.px, v.py}) + " },\n";
        out += "        },\n    },\n";
    }
    if (!s.frames.empty()) {
        out += "    Animation = {\n        Frames = {\n";
        for (const auto& r : s.frames)
            out += "            { duration = " + number(s.frameDuration) + ", SrcRect0 = " +
                   luaList({r[0], r[1], r[2], r[3]}) + " },\n";
        out += "        },\n    },\n";
    }
    return out + "}\n";
}

std::string toXml(const SpriteDescription& s)
{
    std::string out = "  <" + s.name + ">\n";
    auto line = [&](const std::string& text) { out += "    " + text + "\n"; };
    for (size_t i = 0; i < s.images.size(); ++i) {
        const std::string n = std::to_string(i);
        line(xmlValue("Image" + n, s.images[i]));
        line(xmlValue("Package" + n, "default"));
        if (i < s.sourceRects.size() && s.sourceRects[i])
            line(xmlRect("SrcRect" + n, *s.sourceRects[i]));
    }
    if (s.pos)
        line(xmlVector("Pos", *s.pos));
    if (s.size)
        line(xmlVector("Size", *s.size));
    if (s.rotCenter)
        line(xmlVector("rotCenter", *s.rotCenter));
    if (s.clipRect)
        line(xmlRect("ClipRect", *s.clipRect));
    if (s.angle)
        line(xmlValue("Angle", number(*s.angle)));
    if (s.mirrorH)
        line(xmlValue("MirrorH", "1"));
    if (s.mirrorV)
        line(xmlValue("MirrorV", "1"));
    if (!s.blendMode.empty())
        line(xmlValue("BlendMode", s.blendMode));
    if (s.color)
        line(xmlColor("Color", *s.color));
    if (s.meshCols) {
        line("<Mesh>");
        line("  " + xmlValue("sizeX", std::to_string(s.meshCols)));
        line("  " + xmlValue("sizeY", std::to_string(s.meshRows)));
        line("  <Vertecies>");
        for (size_t i = 0; i < s.meshVertices.size(); ++i) {
            const MeshVertex& v = s.meshVertices[i];
            const std::string tag = "v" + std::to_string(i);
            line("    <" + tag + ">" + xmlValue("x", std::to_string(v.x)) + xmlValue("y", std::to_string(v.y)) +
                 xmlColor("Color", v.color) + xmlVector("uv", {v.u, v.v}) + xmlVector("Pos", {v.px, v.py}) + "</" +
                 tag + ">");
        }
        line("  </Vertecies>");
        line("</Mesh>");
    }
    if (!s.frames.empty()) {
        line("<Animation>");
        line("  <Frames>");
        for (size_t i = 0; i < s.frames.size(); ++i) {
            const std::string tag = "v" + std::to_string(i);
            line("    <" + tag + ">" + xmlValue("duration", number(s.frameDuration)) + xmlRect("SrcRect0", s.frames[i]) +
                 "</" + tag + ">");
        }
        line("  </Frames>");
        line("</Animation>");
    }
    return out + "  </" + s.name + ">\n";
}

bool writeTable(const std::string& media, const std::string& table, const std::string& comment,
                const std::vector<SpriteDescription>& sprites)
{
    std::string lua = "-- " + comment + "\n-- Written by tools/sprite_art; its XML twin is " + table +
                      "_sprites.xml.\n\n";
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- " + comment +
                      " Written by tools/sprite_art, the twin of " + table + "_sprites.lua. -->\n<root>\n";
    for (const SpriteDescription& s : sprites) {
        lua += toLua(s) + "\n";
        xml += toXml(s);
    }
    xml += "</root>\n";
    const std::string base = media + "/scripts/" + table + "_sprites";
    return ImageWriters::writeFile(base + ".lua", Bytes(lua.begin(), lua.end())) &&
           ImageWriters::writeFile(base + ".xml", Bytes(xml.begin(), xml.end()));
}

SpriteDescription sprite(const std::string& name, const std::string& image, std::array<float, 4> rect)
{
    SpriteDescription s;
    s.name = name;
    s.images = {image};
    s.sourceRects = {rect};
    return s;
}

std::vector<SpriteDescription> testAtlasSprites()
{
    std::vector<SpriteDescription> out;
    out.push_back(sprite("Arrow", "test_atlas_png", {0, 0, 64, 64}));

    SpriteDescription mirrored = sprite("ArrowMirrored", "test_atlas_png", {0, 0, 64, 64});
    mirrored.mirrorH = true;
    mirrored.pos = std::array<float, 2>{100, 20};
    out.push_back(mirrored);

    SpriteDescription turned = sprite("EllTurned", "test_atlas_png", {64, 0, 128, 64});
    turned.angle = 30.0f;
    turned.size = std::array<float, 2>{96, 96};
    turned.rotCenter = std::array<float, 2>{16, 80};
    turned.blendMode = "add";
    turned.color = Rgba{255, 200, 160, 220};
    out.push_back(turned);

    SpriteDescription clipped = sprite("CheckerClipped", "test_atlas_png", {0, 64, 64, 128});
    clipped.clipRect = std::array<float, 4>{8, 8, 40, 56};
    clipped.mirrorV = true;
    out.push_back(clipped);

    SpriteDescription ring;
    ring.name = "RingTwoTextures";
    ring.images = {"test_atlas_png", "screen_border_png"};
    ring.sourceRects = {std::array<float, 4>{64, 64, 128, 128}};
    ring.blendMode = "color";
    out.push_back(ring);

    SpriteDescription wave = sprite("WaveMesh", "test_atlas_png", {0, 0, 128, 128});
    wave.meshCols = 2;
    wave.meshRows = 2;
    wave.size = std::array<float, 2>{128, 128};
    for (int y = 0; y <= 2; ++y)
        for (int x = 0; x <= 2; ++x) {
            const float bend = (x == 1) ? 10.0f : 0.0f;
            const uint8_t shade = uint8_t(255 - 40 * y);
            wave.meshVertices.push_back(
                {x, y, Rgba{shade, shade, 255, 255}, float(x * 64), float(y * 64), float(x * 64), float(y * 64) + bend});
        }
    out.push_back(wave);
    return out;
}

std::vector<SpriteDescription> fxSprites()
{
    return {
        sprite("Glow", "fx_png", {0, 0, 64, 64}),
        sprite("Sparkle", "fx_png", {64, 0, 128, 64}),
        sprite("Dust", "fx_png", {128, 0, 192, 64}),
        sprite("Ring", "fx_png", {192, 0, 256, 64}),
        sprite("Trail", "fx_png", {0, 64, 128, 80}),
        sprite("Ember", "fx_png", {128, 64, 160, 96}),
        sprite("Shard", "fx_png", {160, 64, 192, 96}),
    };
}

// --- The board's art ---
//
// Chips, cells, tiles, shadows, the tile glare and the distortion maps. All
// shapes are painted through coverage functions sampled 4 x 4 per texel and
// composited over what is already there, so they keep soft edges.

struct Pt {
    float x, y;
};

Rgba rgb(uint32_t hex, uint8_t a = 255)
{
    return Rgba{uint8_t(hex >> 16), uint8_t(hex >> 8), uint8_t(hex), a};
}

Rgba boardScaled(Rgba c, float k)
{
    return Rgba{toByte(c.r / 255.0f * k), toByte(c.g / 255.0f * k), toByte(c.b / 255.0f * k), c.a};
}

Rgba mixed(Rgba a, Rgba b, float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    auto m = [t](uint8_t x, uint8_t y) { return uint8_t(std::lround(x + (float(y) - float(x)) * t)); };
    return Rgba{m(a.r, b.r), m(a.g, b.g), m(a.b, b.b), m(a.a, b.a)};
}

// "Over" compositing of a colour with coverage `k` onto the canvas.
void blendOver(Canvas& c, int x, int y, Rgba s, float k)
{
    if (x < 0 || y < 0 || uint32_t(x) >= c.width || uint32_t(y) >= c.height || k <= 0.0f)
        return;
    uint8_t* p = &c.pixels[(size_t(y) * c.width + uint32_t(x)) * 4];
    const float sa = s.a / 255.0f * std::min(k, 1.0f);
    const float da = p[3] / 255.0f;
    const float oa = sa + da * (1.0f - sa);
    if (oa <= 0.0f)
        return;
    const uint8_t src[3] = {s.r, s.g, s.b};
    for (int i = 0; i < 3; ++i)
        p[i] = toByte((src[i] / 255.0f * sa + p[i] / 255.0f * da * (1.0f - sa)) / oa);
    p[3] = toByte(oa);
}

// Paints a region: `inside(x, y)` at sample points (region coordinates,
// texel centres at +0.5) gives coverage; `colour(x, y)` the colour there.
template <typename Inside, typename Colour>
void paint(Canvas& c, int x0, int y0, int w, int h, Inside inside, Colour colour)
{
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    hits += inside(float(x) + (float(sx) + 0.5f) / 4.0f, float(y) + (float(sy) + 0.5f) / 4.0f);
            if (hits)
                blendOver(c, x0 + x, y0 + y, colour(float(x) + 0.5f, float(y) + 0.5f), float(hits) / 16.0f);
        }
}

bool insidePolygon(const std::vector<Pt>& p, float x, float y)
{
    bool in = false;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
        if ((p[i].y > y) != (p[j].y > y) && x < (p[j].x - p[i].x) * (y - p[i].y) / (p[j].y - p[i].y) + p[i].x)
            in = !in;
    return in;
}

float segmentDistance(Pt a, Pt b, float x, float y)
{
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float len2 = dx * dx + dy * dy;
    const float t = len2 > 0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / len2, 0.0f, 1.0f) : 0.0f;
    return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy));
}

// Distance from a point to a polygon's outline.
float outlineDistance(const std::vector<Pt>& p, float x, float y)
{
    float best = 1e9f;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
        best = std::min(best, segmentDistance(p[j], p[i], x, y));
    return best;
}

std::vector<Pt> translated(const std::vector<Pt>& p, float dx, float dy)
{
    std::vector<Pt> out;
    for (Pt q : p)
        out.push_back({q.x + dx, q.y + dy});
    return out;
}

// A filled polygon with a dark outline of `width` texels around it.
void polygonWithOutline(Canvas& c, int x0, int y0, int size, const std::vector<Pt>& poly, Rgba fill, Rgba outline,
                        float width)
{
    paint(c, x0, y0, size, size,
          [&](float x, float y) { return insidePolygon(poly, x, y) || outlineDistance(poly, x, y) < width; },
          [&](float, float) { return outline; });
    paint(c, x0, y0, size, size, [&](float x, float y) { return insidePolygon(poly, x, y); },
          [&](float x, float y) {
              // Lit from the top left.
              const float k = 1.1f - 0.3f * std::clamp((x + y) / float(2 * size), 0.0f, 1.0f);
              return boardScaled(fill, k);
          });
}

// --- Gems ---

struct GemShape {
    std::vector<Pt> outline;  // around the cell centre, texels
    int facets;               // bevel sectors around the centre
};

std::vector<Pt> regularPolygon(int n, float r, float startDegrees)
{
    std::vector<Pt> p;
    for (int i = 0; i < n; ++i) {
        const float a = (startDegrees + 360.0f * float(i) / float(n)) * float(M_PI) / 180.0f;
        p.push_back({r * std::cos(a), r * std::sin(a)});
    }
    return p;
}

// The six cuts: R round, G square, B rhombus, M hexagon, Y triangle, O teardrop.
GemShape gemShape(int colour)
{
    switch (colour) {
    case 0:
        return {regularPolygon(64, 29.0f, 0.0f), 10};
    case 1:
        return {{{-25, -25}, {25, -25}, {25, 25}, {-25, 25}}, 8};
    case 2:
        return {{{0, -33}, {27, 0}, {0, 33}, {-27, 0}}, 8};
    case 3:
        return {regularPolygon(6, 30.0f, 30.0f), 6};
    case 4: {
        std::vector<Pt> t = regularPolygon(3, 35.0f, -90.0f);
        return {translated(t, 0.0f, 5.0f), 6};
    }
    default: {
        // A drop: a circle below, the tangents meeting at a point above.
        std::vector<Pt> p{{0.0f, -33.0f}};
        const float cy = 7.0f, r = 24.0f;
        for (int i = 0; i <= 40; ++i) {
            const float a = (-36.87f + (253.74f * float(i) / 40.0f)) * float(M_PI) / 180.0f;
            p.push_back({r * std::cos(a), cy + r * std::sin(a)});
        }
        return {p, 10};
    }
    }
}

const uint32_t GEM_COLOURS[6] = {0xD83A34, 0x33B552, 0x3573DA, 0xA544D0, 0xF0C032, 0xEE7422};

// Where a ray from the centre at angle a leaves the outline (its length).
float rayLength(const std::vector<Pt>& p, float a)
{
    const float dx = std::cos(a), dy = std::sin(a);
    float best = 0.0f;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        const float ex = p[i].x - p[j].x, ey = p[i].y - p[j].y;
        const float det = dx * (-ey) - dy * (-ex);
        if (std::fabs(det) < 1e-6f)
            continue;
        const float t = (p[j].x * (-ey) - p[j].y * (-ex)) / det;
        const float u = (dx * p[j].y - dy * p[j].x) / det;
        if (t > 0.0f && u >= 0.0f && u <= 1.0f)
            best = std::max(best, t);
    }
    return best;
}

// A cut gem centred in an 80 x 80 cell: a flat table, bevel facets lit from
// the top left, a rim light, a specular glint and a dark outline, over a
// soft shadow.
void drawGem(Canvas& c, int x0, int y0, int colour, float scale = 1.0f)
{
    GemShape shape = gemShape(colour);
    for (Pt& q : shape.outline)
        q = {q.x * scale, q.y * scale};
    const Rgba base = rgb(GEM_COLOURS[colour]);
    const std::vector<Pt> centred = translated(shape.outline, 40.0f, 40.0f);
    const std::vector<Pt> shadow = translated(shape.outline, 42.5f, 44.0f);
    paint(c, x0, y0, 80, 80, [&](float x, float y) { return insidePolygon(shadow, x, y); },
          [](float, float) { return Rgba{8, 6, 20, 110}; });
    paint(c, x0, y0, 80, 80,
          [&](float x, float y) { return insidePolygon(centred, x, y) || outlineDistance(centred, x, y) < 1.6f; },
          [&](float, float) { return boardScaled(base, 0.28f); });
    paint(c, x0, y0, 80, 80, [&](float x, float y) { return insidePolygon(centred, x, y); },
          [&](float x, float y) {
              const float px = x - 40.0f, py = y - 40.0f;
              const float a = std::atan2(py, px);
              const float reach = std::max(rayLength(shape.outline, a), 1.0f);
              const float t = std::hypot(px, py) / reach;
              const float lx = -0.6f, ly = -0.8f;
              float k;
              float white = 0.0f;
              if (t < 0.56f) {
                  // The table: a gentle slope of light and a glint.
                  k = 1.0f - 0.18f * (px * lx + py * ly) / -reach;
                  const float g = std::hypot(px + 0.22f * reach, py + 0.28f * reach) / (0.2f * reach);
                  white = 0.75f * std::max(0.0f, 1.0f - g * g);
              } else {
                  const float sector = float(M_PI) * 2.0f / float(shape.facets);
                  const float index = std::floor((a + float(M_PI)) / sector);
                  const float mid = -float(M_PI) + (index + 0.5f) * sector;
                  const float lit = std::cos(mid) * lx + std::sin(mid) * ly;
                  k = 0.78f + 0.42f * lit + (int(index) % 2 ? 0.06f : -0.04f);
                  // The rim on the lit side catches the light.
                  if (t > 0.86f && lit > 0.2f)
                      white = 0.5f * lit * (t - 0.86f) / 0.14f;
              }
              return mixed(boardScaled(base, k), Rgba{255, 255, 255, 255}, white);
          });
}

// --- Emblems on special chips ---

void drawDisc(Canvas& c, int x0, int y0, float cx, float cy, float r, Rgba fill, Rgba outline, float width)
{
    paint(c, x0, y0, 80, 80, [&](float x, float y) { return std::hypot(x - cx, y - cy) < r + width; },
          [&](float, float) { return outline; });
    paint(c, x0, y0, 80, 80, [&](float x, float y) { return std::hypot(x - cx, y - cy) < r; },
          [&](float x, float y) {
              const float g = std::hypot(x - (cx - r * 0.35f), y - (cy - r * 0.4f)) / (r * 1.4f);
              return mixed(Rgba{255, 255, 255, fill.a}, fill, std::clamp(g * 1.6f, 0.0f, 1.0f));
          });
}

void drawSegment(Canvas& c, int x0, int y0, Pt a, Pt b, float width, Rgba colour)
{
    paint(c, x0, y0, 80, 80, [&](float x, float y) { return segmentDistance(a, b, x, y) < width; },
          [&](float, float) { return colour; });
}

void drawGlow(Canvas& c, int x0, int y0, float cx, float cy, float r, Rgba colour)
{
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x) {
            const float d = std::hypot(float(x) + 0.5f - cx, float(y) + 0.5f - cy) / r;
            if (d < 1.0f)
                blendOver(c, x0 + x, y0 + y, colour, smoothFalloff(d));
        }
}

// A black iron bomb with its fuse; `lit` makes its core glow through cracks.
void drawBomb(Canvas& c, int x0, int y0, float r, bool lit)
{
    const Rgba ink{20, 16, 28, 255};
    drawSegment(c, x0, y0, {40 + r * 0.5f, 40 - r * 0.7f}, {40 + r * 0.95f, 40 - r * 1.25f}, 3.2f, ink);
    drawSegment(c, x0, y0, {40 + r * 0.5f, 40 - r * 0.7f}, {40 + r * 0.95f, 40 - r * 1.25f}, 1.6f, rgb(0xC9A04A));
    drawDisc(c, x0, y0, 40, 40, r, rgb(0x3A3448), ink, 1.8f);
    if (lit) {
        drawGlow(c, x0, y0, 40, 40, r * 0.9f, Rgba{255, 120, 40, 230});
        for (float a : {0.3f, 2.2f, 4.1f})
            drawSegment(c, x0, y0, {40, 40}, {40 + r * 0.8f * std::cos(a), 40 + r * 0.8f * std::sin(a)}, 1.1f,
                        Rgba{255, 200, 90, 255});
    }
    drawGlow(c, x0, y0, 40 + r * 1.0f, 40 - r * 1.35f, lit ? 11.0f : 7.0f, Rgba{255, 230, 140, 255});
}

// A double-headed arrow along the direction (dx, dy), white with an outline.
void drawArrowBar(Canvas& c, int x0, int y0, float dx, float dy, float half, Rgba colour)
{
    const Rgba ink{24, 18, 40, 255};
    const float nx = -dy, ny = dx;
    auto head = [&](float s) {
        const Pt tip{40 + dx * half * s, 40 + dy * half * s};
        const Pt back{40 + dx * (half - 11) * s, 40 + dy * (half - 11) * s};
        return std::vector<Pt>{tip, {back.x + nx * 8, back.y + ny * 8}, {back.x - nx * 8, back.y - ny * 8}};
    };
    const Pt a{40 - dx * (half - 8), 40 - dy * (half - 8)}, b{40 + dx * (half - 8), 40 + dy * (half - 8)};
    for (float s : {-1.0f, 1.0f}) {
        const std::vector<Pt> h = head(s);
        paint(c, x0, y0, 80, 80, [&](float x, float y) { return insidePolygon(h, x, y) || outlineDistance(h, x, y) < 1.5f; },
              [&](float, float) { return ink; });
    }
    drawSegment(c, x0, y0, a, b, 4.6f, ink);
    drawSegment(c, x0, y0, a, b, 3.0f, colour);
    for (float s : {-1.0f, 1.0f}) {
        const std::vector<Pt> h = head(s);
        paint(c, x0, y0, 80, 80, [&](float x, float y) { return insidePolygon(h, x, y); },
              [&](float, float) { return colour; });
    }
}

void drawGoldRing(Canvas& c, int x0, int y0)
{
    paint(c, x0, y0, 80, 80,
          [](float x, float y) {
              const float d = std::hypot(x - 40.0f, y - 40.0f);
              return d > 33.5f && d < 38.5f;
          },
          [](float x, float y) { return mixed(rgb(0xFFE08A), rgb(0xB07A22), (x + y) / 160.0f); });
}

std::vector<Pt> starPolygon(float outer, float inner)
{
    std::vector<Pt> p;
    for (int i = 0; i < 10; ++i) {
        const float r = i % 2 ? inner : outer;
        const float a = (-90.0f + 36.0f * float(i)) * float(M_PI) / 180.0f;
        p.push_back({40 + r * std::cos(a), 40 + r * std::sin(a)});
    }
    return p;
}

const Rgba WHITE{250, 246, 232, 255};
const Rgba BOARD_GOLD{255, 214, 110, 255};
const Rgba INK{24, 18, 40, 255};

// Column k of a colour's row: gem, bomb, bomb stage 2, one-stage bomb,
// horizontal and vertical wave, super bomb, super vertical wave, super
// diagonal wave, star.
void drawChipKind(Canvas& c, int x0, int y0, int colour, int kind)
{
    const bool super = kind >= 6 && kind <= 8;
    if (super)
        drawGoldRing(c, x0, y0);
    drawGem(c, x0, y0, colour, kind == 0 ? 1.0f : 0.92f);
    switch (kind) {
    case 1:
        drawBomb(c, x0, y0, 12.0f, false);
        break;
    case 2:
        drawBomb(c, x0, y0, 12.0f, true);
        break;
    case 3:
        drawBomb(c, x0, y0, 9.0f, false);
        drawSegment(c, x0, y0, {31, 40}, {49, 40}, 1.4f, rgb(0xC9A04A));
        break;
    case 4:
        drawArrowBar(c, x0, y0, 1, 0, 30, WHITE);
        break;
    case 5:
        drawArrowBar(c, x0, y0, 0, 1, 30, WHITE);
        break;
    case 6:
        drawBomb(c, x0, y0, 15.0f, true);
        break;
    case 7:
        drawArrowBar(c, x0, y0, 0, 1, 32, BOARD_GOLD);
        drawArrowBar(c, x0, y0, 1, 0, 20, BOARD_GOLD);
        break;
    case 8:
        drawArrowBar(c, x0, y0, 0.7071f, 0.7071f, 31, BOARD_GOLD);
        drawArrowBar(c, x0, y0, 0.7071f, -0.7071f, 31, BOARD_GOLD);
        break;
    case 9:
        polygonWithOutline(c, x0, y0, 80, starPolygon(19, 8), BOARD_GOLD, INK, 1.6f);
        break;
    default:
        break;
    }
}

// Pastes a drawing made in its own 80 x 80 canvas over the cell.
void pasteCell(Canvas& c, int x0, int y0, const Canvas& part, float alpha = 1.0f)
{
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x) {
            const uint8_t* p = &part.pixels[(size_t(y) * 80 + x) * 4];
            blendOver(c, x0 + x, y0 + y, Rgba{p[0], p[1], p[2], 255}, alpha * p[3] / 255.0f);
        }
}

// Dark wood with brass trim: a crate; `reinforced` adds brass bands; a
// colour (0-5) sets a small gem into it.
void drawCrate(Canvas& c, int x0, int y0, bool reinforced, int colour)
{
    const std::vector<Pt> box{{6, 6}, {74, 6}, {74, 74}, {6, 74}};
    polygonWithOutline(c, x0, y0, 80, box, reinforced ? rgb(0x4A2C1A) : rgb(0x6B4226), Rgba{26, 14, 8, 255}, 1.8f);
    // Planks.
    for (int y : {23, 40, 57})
        drawSegment(c, x0, y0, {8, float(y)}, {72, float(y)}, 0.9f, Rgba{30, 16, 8, 200});
    drawSegment(c, x0, y0, {9, 9}, {71, 9}, 0.9f, Rgba{160, 110, 70, 160});
    // Brass corners and rivets.
    for (Pt p : {Pt{10, 10}, Pt{70, 10}, Pt{10, 70}, Pt{70, 70}})
        drawDisc(c, x0, y0, p.x, p.y, 3.6f, rgb(0xC9A04A), Rgba{60, 40, 10, 255}, 1.0f);
    if (reinforced) {
        drawSegment(c, x0, y0, {12, 12}, {68, 68}, 3.4f, rgb(0x8E6A2A));
        drawSegment(c, x0, y0, {68, 12}, {12, 68}, 3.4f, rgb(0x8E6A2A));
        drawSegment(c, x0, y0, {12, 12}, {68, 68}, 1.4f, rgb(0xE2C070));
        drawSegment(c, x0, y0, {68, 12}, {12, 68}, 1.4f, rgb(0xE2C070));
    }
    if (colour >= 0) {
        drawDisc(c, x0, y0, 40, 40, 17.0f, rgb(0x2A1A10), rgb(0xC9A04A), 2.5f);
        Canvas gem(80, 80);
        drawGem(gem, 0, 0, colour, 0.5f);
        pasteCell(c, x0, y0, gem);
    }
}

// Two steel chains crossing over the chip.
void drawChain(Canvas& c, int x0, int y0)
{
    for (int diagonal = 0; diagonal < 2; ++diagonal)
        for (int i = -3; i <= 3; ++i) {
            const float t = float(i) * 11.0f;
            const float cx = 40 + t * 0.7071f, cy = 40 + (diagonal ? -t : t) * 0.7071f;
            const bool across = i % 2 != 0;
            const float ax = across ? 4.0f : 8.0f, ay = across ? 8.0f : 4.0f;
            auto ring = [&](float x, float y, float grow) {
                // The link's ellipse, turned 45 degrees.
                const float u = ((x - cx) + (diagonal ? -(y - cy) : (y - cy))) * 0.7071f;
                const float v = ((diagonal ? (x - cx) : -(x - cx)) + (y - cy)) * 0.7071f;
                const float d = std::hypot(u / (ax + grow), v / (ay + grow));
                const float hole = std::hypot(u / std::max(ax - 2.6f - grow, 0.5f), v / std::max(ay - 2.6f - grow, 0.5f));
                return d < 1.0f && hole > 1.0f;
            };
            paint(c, x0, y0, 80, 80, [&](float x, float y) { return ring(x, y, 1.2f); },
                  [](float, float) { return Rgba{22, 20, 30, 255}; });
            paint(c, x0, y0, 80, 80, [&](float x, float y) { return ring(x, y, 0.0f); },
                  [&](float x, float y) { return mixed(rgb(0xE8E4DA), rgb(0x77707E), (x - cx + y - cy + 10) / 20.0f); });
        }
}

// The falling goal: a paper lantern glowing amber between dark wooden caps.
void drawLantern(Canvas& c, int x0, int y0)
{
    drawGlow(c, x0, y0, 40, 42, 38, Rgba{255, 190, 90, 150});
    drawSegment(c, x0, y0, {40, 3}, {40, 12}, 1.3f, INK);
    paint(c, x0, y0, 80, 80, [](float x, float y) { return std::hypot((x - 40) / 27.5f, (y - 42) / 26.5f) < 1.0f; },
          [](float, float) { return Rgba{60, 20, 10, 255}; });
    paint(c, x0, y0, 80, 80, [](float x, float y) { return std::hypot((x - 40) / 26.0f, (y - 42) / 25.0f) < 1.0f; },
          [](float x, float y) {
              const float d = std::hypot((x - 38) / 26.0f, (y - 40) / 25.0f);
              Rgba col = mixed(rgb(0xFFE7A0), rgb(0xD2461E), d * 1.1f);
              // Paper ribs.
              const float rib = std::fabs(std::fmod(y - 42 + 100.0f, 8.0f) - 4.0f);
              return rib < 0.7f ? boardScaled(col, 0.78f) : col;
          });
    for (float y : {14.0f, 66.0f}) {
        const std::vector<Pt> cap{{26, y - 4}, {54, y - 4}, {54, y + 4}, {26, y + 4}};
        polygonWithOutline(c, x0, y0, 80, cap, rgb(0x5A3420), INK, 1.3f);
        drawSegment(c, x0, y0, {28, y - 2}, {52, y - 2}, 0.8f, rgb(0xC9A04A));
    }
    drawSegment(c, x0, y0, {40, 70}, {40, 77}, 1.2f, rgb(0xE04A2A));
}

// The colour destroyer: a glass orb of the six colours in a brass rim.
void drawDestroyer(Canvas& c, int x0, int y0)
{
    drawDisc(c, x0, y0, 40, 40, 31.0f, rgb(0xC9A04A), INK, 2.0f);
    paint(c, x0, y0, 80, 80, [](float x, float y) { return std::hypot(x - 40, y - 40) < 27.0f; },
          [](float x, float y) {
              const float a = std::atan2(y - 40, x - 40) + float(M_PI);
              const float d = std::hypot(x - 40, y - 40) / 27.0f;
              // A swirl: the segments bend towards the centre.
              const float swirl = a + d * 1.6f;
              const int index = int(std::floor(swirl / (float(M_PI) / 3.0f))) % 6;
              return mixed(rgb(GEM_COLOURS[index]), rgb(0xFFF6DC), std::max(0.0f, 0.55f - d));
          });
    drawGlow(c, x0, y0, 31, 30, 11, Rgba{255, 255, 255, 200});
}

// The frame around a selected chip.
void drawSelection(Canvas& c, int x0, int y0)
{
    const std::vector<Pt> outer{{1, 1}, {79, 1}, {79, 79}, {1, 79}};
    const std::vector<Pt> inner{{6, 6}, {74, 6}, {74, 74}, {6, 74}};
    drawGlow(c, x0, y0, 40, 40, 52, Rgba{255, 200, 90, 70});
    paint(c, x0, y0, 80, 80, [&](float x, float y) { return insidePolygon(outer, x, y) && !insidePolygon(inner, x, y); },
          [](float x, float y) { return mixed(rgb(0xFFEAA0), rgb(0xC98A2E), (x + y) / 160.0f); });
    for (Pt p : {Pt{4, 4}, Pt{76, 4}, Pt{4, 76}, Pt{76, 76}})
        drawDisc(c, x0, y0, p.x, p.y, 3.5f, BOARD_GOLD, Rgba{90, 60, 10, 255}, 1.0f);
}

// The glint that sweeps the chips.
void drawGlint(Canvas& c, int x0, int y0)
{
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x) {
            const float across = (float(x) - float(y)) / 8.0f;
            const float fromCentre = std::hypot(float(x) - 40.0f, float(y) - 40.0f) / 36.0f;
            const float k = std::exp(-across * across) * std::max(0.0f, 1.0f - fromCentre * fromCentre);
            blendOver(c, x0 + x, y0 + y, Rgba{255, 255, 240, 255}, 0.55f * k);
        }
    drawGlow(c, x0, y0, 30, 30, 12, Rgba{255, 255, 255, 255});
}

void drawDetonateGlow(Canvas& c, int x0, int y0)
{
    drawGlow(c, x0, y0, 40, 40, 40, Rgba{255, 90, 30, 230});
    drawGlow(c, x0, y0, 40, 40, 20, Rgba{255, 220, 120, 200});
}

void drawHintMark(Canvas& c, int x0, int y0)
{
    paint(c, x0, y0, 80, 80,
          [](float x, float y) {
              const float d = std::hypot(x - 40, y - 40);
              return d > 30.0f && d < 35.0f;
          },
          [](float, float) { return Rgba{255, 236, 170, 220}; });
}

// --- Living blockers ---

// A dark charge bound in chain, with a brass counter plate below its middle
// (the scene writes the count on it).
void drawChainBomb(Canvas& c, int x0, int y0)
{
    drawBomb(c, x0, y0, 25.0f, true);
    Canvas chain(80, 80);
    drawChain(chain, 0, 0);
    pasteCell(c, x0, y0, chain, 0.85f);
    const std::vector<Pt> plate{{24, 48}, {56, 48}, {56, 70}, {24, 70}};
    polygonWithOutline(c, x0, y0, 80, plate, rgb(0xE6D3A3), rgb(0x8E6A2A), 2.0f);
    drawSegment(c, x0, y0, {27, 51}, {53, 51}, 0.8f, Rgba{255, 250, 225, 200});
}

// A mossy spring: a stone basin with green water and moss over its rim.
void drawGenerator(Canvas& c, int x0, int y0)
{
    drawGlow(c, x0, y0, 40, 42, 36, Rgba{120, 220, 110, 90});
    paint(c, x0, y0, 80, 80, [](float x, float y) { return std::hypot((x - 40) / 32.0f, (y - 46) / 24.0f) < 1.0f; },
          [](float, float) { return INK; });
    paint(c, x0, y0, 80, 80, [](float x, float y) { return std::hypot((x - 40) / 30.0f, (y - 46) / 22.0f) < 1.0f; },
          [](float x, float y) { return mixed(rgb(0x8A8496), rgb(0x3E3848), (x - 10 + y - 24) / 90.0f); });
    paint(c, x0, y0, 80, 80, [](float x, float y) { return std::hypot((x - 40) / 21.0f, (y - 42) / 12.0f) < 1.0f; },
          [](float x, float y) {
              const float d = std::hypot((x - 36) / 21.0f, (y - 39) / 12.0f);
              return mixed(rgb(0xB8F0A0), rgb(0x2E7A44), d);
          });
    // Moss tufts on the rim and a rising bubble.
    for (Pt p : {Pt{14, 40}, Pt{24, 62}, Pt{52, 64}, Pt{66, 44}, Pt{40, 26}})
        drawDisc(c, x0, y0, p.x, p.y, 5.5f, rgb(0x4E9A3A), Rgba{20, 50, 20, 255}, 1.2f);
    drawDisc(c, x0, y0, 46, 20, 4.0f, Rgba{200, 255, 210, 200}, Rgba{40, 90, 60, 255}, 1.0f);
}

// A clump of moss with a few pale sprouts.
void drawStuff(Canvas& c, int x0, int y0)
{
    for (Pt p : {Pt{30, 48}, Pt{50, 48}, Pt{40, 34}, Pt{26, 34}, Pt{54, 34}, Pt{40, 54}})
        drawDisc(c, x0, y0, p.x, p.y, 13.0f, rgb(0x4E8A36), Rgba{18, 40, 16, 255}, 1.6f);
    for (Pt p : {Pt{34, 40}, Pt{46, 44}, Pt{40, 30}})
        drawDisc(c, x0, y0, p.x, p.y, 6.0f, rgb(0x86C060), Rgba{40, 80, 30, 255}, 1.0f);
    for (Pt p : {Pt{30, 24}, Pt{50, 26}})
        drawDisc(c, x0, y0, p.x, p.y, 2.5f, rgb(0xF0E6B0), Rgba{70, 60, 30, 255}, 0.8f);
}

// Ice: a pale blue crystal block, or frost over a chip in three stages
// (thin rime, cracked crust, solid block).
void drawIce(Canvas& c, int x0, int y0, int stage)
{
    const float inset = stage == 1 ? 4.0f : 6.0f;
    // Each stage plainly thicker than the one before: the solid block all but
    // hides its chip, so that a player tells it from the cracked crust.
    const float alpha = stage == 0 ? 1.0f : stage == 1 ? 0.35f : stage == 2 ? 0.55f : 0.88f;
    const std::vector<Pt> block{{inset + 6, inset}, {80 - inset - 6, inset}, {80 - inset, inset + 6},
                                {80 - inset, 80 - inset - 6}, {80 - inset - 6, 80 - inset}, {inset + 6, 80 - inset},
                                {inset, 80 - inset - 6}, {inset, inset + 6}};
    paint(c, x0, y0, 80, 80, [&](float x, float y) { return insidePolygon(block, x, y); },
          [&](float x, float y) {
              Rgba col = mixed(rgb(0xE8F6FF), rgb(0x5A8CC8), (x + y) / 160.0f);
              col.a = toByte(alpha);
              return col;
          });
    paint(c, x0, y0, 80, 80, [&](float x, float y) { return outlineDistance(block, x, y) < 1.4f; },
          [&](float, float) { return Rgba{230, 248, 255, toByte(std::min(1.0f, alpha + 0.3f))}; });
    // Facet glints along the top left.
    drawSegment(c, x0, y0, {inset + 8, inset + 4}, {40, inset + 4}, 1.2f, Rgba{255, 255, 255, 200});
    drawSegment(c, x0, y0, {inset + 4, inset + 8}, {inset + 4, 36}, 1.2f, Rgba{255, 255, 255, 160});
    if (stage == 0) {
        for (float a : {0.6f, 2.4f, 4.0f})
            drawSegment(c, x0, y0, {40, 40}, {40 + 24 * std::cos(a), 40 + 24 * std::sin(a)}, 1.1f,
                        Rgba{40, 90, 160, 200});
        drawGlow(c, x0, y0, 40, 40, 18, Rgba{255, 255, 255, 200});
    }
    if (stage == 2 || stage == 3) {
        const Rgba crack{40, 80, 140, 220};
        drawSegment(c, x0, y0, {14, 22}, {36, 38}, 1.0f, crack);
        drawSegment(c, x0, y0, {36, 38}, {30, 62}, 1.0f, crack);
        drawSegment(c, x0, y0, {36, 38}, {64, 30}, 1.0f, crack);
    }
    if (stage == 3) {
        drawSegment(c, x0, y0, {48, 52}, {68, 66}, 1.0f, Rgba{40, 80, 140, 220});
        // A second rim inside the first: the block's thickness.
        const float in = inset + 5.0f;
        const std::vector<Pt> inner{{in + 5, in}, {80 - in - 5, in}, {80 - in, in + 5}, {80 - in, 80 - in - 5},
                                    {80 - in - 5, 80 - in}, {in + 5, 80 - in}, {in, 80 - in - 5}, {in, in + 5}};
        paint(c, x0, y0, 80, 80, [&](float x, float y) { return outlineDistance(inner, x, y) < 1.0f; },
              [&](float, float) { return Rgba{245, 252, 255, 170}; });
    }
}

// A gem of one colour in a glass bubble.
void drawChipUp(Canvas& c, int x0, int y0, int colour)
{
    drawGem(c, x0, y0, colour, 0.8f);
    paint(c, x0, y0, 80, 80, [](float x, float y) { return std::hypot(x - 40, y - 40) < 35.0f; },
          [](float x, float y) {
              const float d = std::hypot(x - 40, y - 40) / 35.0f;
              return Rgba{200, 230, 255, toByte(0.1f + 0.45f * d * d * d)};
          });
    paint(c, x0, y0, 80, 80, [](float x, float y) { const float d = std::hypot(x - 40, y - 40); return d > 34.0f && d < 36.0f; },
          [](float, float) { return Rgba{230, 245, 255, 230}; });
    drawGlow(c, x0, y0, 27, 24, 9, Rgba{255, 255, 255, 220});
}

// The rising chip's up arrow, gold with an outline, at the cell's top right.
void drawUpArrow(Canvas& c, int x0, int y0)
{
    const std::vector<Pt> arrow{{62, 6}, {74, 20}, {67, 20}, {67, 32}, {57, 32}, {57, 20}, {50, 20}};
    polygonWithOutline(c, x0, y0, 80, arrow, rgb(0xF2C95A), INK, 1.6f);
}

Canvas drawChipsAtlas()
{
    Canvas c(800, 800);
    for (int colour = 0; colour < 6; ++colour)
        for (int kind = 0; kind < 10; ++kind)
            drawChipKind(c, kind * 80, colour * 80, colour, kind);
    drawDestroyer(c, 0, 480);
    drawCrate(c, 80, 480, false, -1);
    drawCrate(c, 160, 480, true, -1);
    drawChain(c, 240, 480);
    drawLantern(c, 320, 480);
    drawSelection(c, 400, 480);
    drawGlint(c, 480, 480);
    drawDetonateGlow(c, 560, 480);
    drawHintMark(c, 640, 480);
    for (int colour = 0; colour < 6; ++colour)
        drawCrate(c, colour * 80, 560, false, colour);
    drawChainBomb(c, 0, 640);
    drawGenerator(c, 80, 640);
    drawStuff(c, 160, 640);
    for (int stage = 0; stage < 4; ++stage)
        drawIce(c, 240 + stage * 80, 640, stage);
    drawUpArrow(c, 560, 640);
    for (int colour = 0; colour < 6; ++colour)
        drawChipUp(c, colour * 80, 720, colour);
    return c;
}

const char* const COLOUR_SUFFIXES[6] = {"_R", "_G", "_B", "_M", "_Y", "_O"};

std::vector<SpriteDescription> chipsSprites()
{
    const char* kinds[10] = {"gem", "bomb", "bomb2", "simple_bomb", "wave_hor", "wave_ver", "super_bomb",
                             "super_wave_ver", "super_wave_dside", "star"};
    std::vector<SpriteDescription> out;
    auto cell = [](int column, int row) {
        return std::array<float, 4>{float(column * 80), float(row * 80), float(column * 80 + 80), float(row * 80 + 80)};
    };
    for (int colour = 0; colour < 6; ++colour)
        for (int kind = 0; kind < 10; ++kind)
            out.push_back(sprite(std::string(kinds[kind]) + COLOUR_SUFFIXES[colour], "chips_png", cell(kind, colour)));
    const char* extras[9] = {"destroy_color", "wall", "dwall", "chain", "lantern", "selection", "glint", "detonate",
                             "hint_mark"};
    for (int i = 0; i < 9; ++i)
        out.push_back(sprite(extras[i], "chips_png", cell(i, 6)));
    for (int colour = 0; colour < 6; ++colour)
        out.push_back(sprite(std::string("cwall") + COLOUR_SUFFIXES[colour], "chips_png", cell(colour, 7)));
    const char* blockers[8] = {"chain_bomb", "generator", "stuff", "ice", "ice1", "ice2", "ice3", "up_arrow"};
    for (int i = 0; i < 8; ++i)
        out.push_back(sprite(blockers[i], "chips_png", cell(i, 8)));
    for (int colour = 0; colour < 6; ++colour)
        out.push_back(sprite(std::string("chip_up") + COLOUR_SUFFIXES[colour], "chips_png", cell(colour, 9)));
    return out;
}

// --- Cells, tiles, shadows and the glare ---

// A play cell: indigo glass with a bevel, in one of two shades.
void drawCell(Canvas& c, int x0, int y0, uint32_t shade)
{
    const Rgba base = rgb(shade);
    c.fill(x0, y0, 80, 80, [&](int x, int y) {
        if (x == 0 || y == 0 || x == 79 || y == 79)
            return Rgba{0, 0, 0, 0};
        const int edge = std::min(std::min(x, y), std::min(79 - x, 79 - y));
        Rgba col = base;
        if (edge <= 2)
            col = (x < y && x + y < 79) || (y < x && x + y < 79) ? boardScaled(base, 1.35f) : boardScaled(base, 0.7f);
        return Rgba{col.r, col.g, col.b, 235};
    });
}

// A glazed amber tile; `layers` 1 to 3 add brass rivets, then a wooden frame.
void drawTile(Canvas& c, int x0, int y0, int layers, int variant)
{
    drawCell(c, x0, y0, 0x231E4E);
    const float inset = layers == 3 ? 3.0f : 4.0f;
    const std::vector<Pt> outer{{inset, inset}, {80 - inset, inset}, {80 - inset, 80 - inset}, {inset, 80 - inset}};
    if (layers == 3)
        polygonWithOutline(c, x0, y0, 80, outer, rgb(0x5A3420), INK, 1.5f);
    const float in2 = layers == 3 ? 10.0f : inset;
    const std::vector<Pt> face{{in2, in2}, {80 - in2, in2}, {80 - in2, 80 - in2}, {in2, 80 - in2}};
    const Rgba glaze = layers == 1 ? rgb(0xB9782A) : rgb(0x9A5A22);
    polygonWithOutline(c, x0, y0, 80, face, glaze, Rgba{50, 24, 8, 255}, 1.5f);
    // The glaze's motif: a diamond or a ring, parchment-pale.
    const Rgba motif{236, 214, 160, 150};
    if (variant == 0) {
        const std::vector<Pt> diamond{{40, 22}, {58, 40}, {40, 58}, {22, 40}};
        paint(c, x0, y0, 80, 80, [&](float x, float y) {
            return outlineDistance(diamond, x, y) < 1.6f; }, [&](float, float) { return motif; });
    } else {
        paint(c, x0, y0, 80, 80, [](float x, float y) {
            const float d = std::hypot(x - 40, y - 40);
            return d > 13.5f && d < 16.5f; }, [&](float, float) { return motif; });
    }
    // A highlight along the top edge.
    drawSegment(c, x0, y0, {in2 + 4, in2 + 3}, {80 - in2 - 4, in2 + 3}, 1.0f, Rgba{255, 230, 170, 150});
    if (layers >= 2)
        for (Pt p : {Pt{in2 + 6, in2 + 6}, Pt{74 - in2, in2 + 6}, Pt{in2 + 6, 74 - in2}, Pt{74 - in2, 74 - in2}})
            drawDisc(c, x0, y0, p.x, p.y, 3.0f, rgb(0xC9A04A), Rgba{60, 40, 10, 255}, 1.0f);
}

// Under a hole below a cell: the board's edge casts a shadow down.
void drawShadow(Canvas& c, int x0, int y0)
{
    c.fill(x0, y0, 80, 80, [](int, int y) {
        const float k = std::max(0.0f, 1.0f - float(y) / 34.0f);
        return Rgba{6, 4, 16, toByte(0.7f * k * k)};
    });
}

// The tile glare: a strip three cells wide with a diagonal band in its
// middle; the glare's frames slide the cell-sized window across it.
void drawGlareStrip(Canvas& c, int x0, int y0)
{
    c.fill(x0, y0, 240, 80, [](int x, int y) {
        const float across = (float(x) - 120.0f + (float(y) - 40.0f) * 0.6f) / 9.0f;
        return whiteWithAlpha(0.55f * std::exp(-across * across));
    });
}

Canvas drawCellsAtlas()
{
    Canvas c(480, 160);
    drawCell(c, 0, 0, 0x201B48);
    drawCell(c, 80, 0, 0x352D6C);
    drawTile(c, 160, 0, 1, 0);
    drawTile(c, 240, 0, 1, 1);
    drawTile(c, 320, 0, 2, 0);
    drawTile(c, 400, 0, 2, 1);
    drawTile(c, 0, 80, 3, 0);
    drawTile(c, 80, 80, 3, 1);
    drawShadow(c, 160, 80);
    drawGlareStrip(c, 240, 80);
    return c;
}

std::vector<SpriteDescription> cellsSprites()
{
    const char* names[8] = {"cell_a", "cell_b", "tile1_a", "tile1_b", "tile2_a", "tile2_b", "tile3_a", "tile3_b"};
    std::vector<SpriteDescription> out;
    for (int i = 0; i < 8; ++i) {
        const float x = float(i % 6 * 80), y = float(i / 6 * 80);
        out.push_back(sprite(names[i], "cells_png", {x, y, x + 80, y + 80}));
    }
    return out;
}

std::vector<SpriteDescription> gameFieldSprites()
{
    std::vector<SpriteDescription> out;
    SpriteDescription glare = sprite("s_blind_tile", "cells_png", {240, 80, 320, 80 + 80});
    glare.blendMode = "add";
    glare.frameDuration = 0.05f;
    for (int i = 0; i <= 8; ++i) {
        const float x = 240.0f + 20.0f * float(i);
        glare.frames.push_back({x, 80, x + 80, 160});
    }
    out.push_back(glare);
    for (int column = 0; column < 9; ++column)
        out.push_back(sprite("s_p_" + std::to_string(column) + "_shadows_psd", "cells_png", {160, 80, 240, 160}));
    // The limits' icons, in the level rules' atlas.
    out.push_back(sprite("s_steps_levels_times_steps_psd", "rules_png", {208, 0, 272, 64}));
    out.push_back(sprite("s_time_levels_times_steps_psd", "rules_png", {272, 0, 336, 64}));
    return out;
}

// --- Distortion maps and the freezing ring (board_fx.png, 384 x 128) ---

// Offsets in red and green around the neutral 128, the strength in alpha.
Rgba normalTexel(float dx, float dy, float strength)
{
    return Rgba{toByte(0.5f + 0.5f * dx), toByte(0.5f + 0.5f * dy), 128, toByte(strength)};
}

Canvas drawBoardFx()
{
    Canvas c(384, 128);
    // A blast: a ring pushing outwards.
    c.fill(0, 0, 128, 128, [](int x, int y) {
        const float px = float(x) - 63.5f, py = float(y) - 63.5f;
        const float d = std::hypot(px, py);
        const float band = (d - 44.0f) / 10.0f;
        const float k = std::exp(-band * band) * (d < 63.0f ? 1.0f : 0.0f);
        return d > 0.0f ? normalTexel(px / d * k, py / d * k, k) : normalTexel(0, 0, 0);
    });
    // Heat over a flame: wavy sideways offsets rising in a soft column.
    c.fill(128, 0, 128, 128, [](int x, int y) {
        const float px = (float(x) - 63.5f) / 63.5f, py = (float(y) - 63.5f) / 63.5f;
        const float body = std::max(0.0f, 1.0f - px * px * 2.5f - py * py);
        const float wave = std::sin(float(y) * 0.35f) * 0.8f;
        return normalTexel(wave * body, -0.4f * body, body);
    });
    // Frost: a pale icy disc with a bright rim and crystal spokes.
    c.fill(256, 0, 128, 128, [](int x, int y) {
        const float px = float(x) - 63.5f, py = float(y) - 63.5f;
        const float d = std::hypot(px, py) / 63.5f;
        if (d >= 1.0f)
            return Rgba{0, 0, 0, 0};
        const float a = std::atan2(py, px);
        const float spokes = std::pow(std::fabs(std::cos(a * 3.0f)), 24.0f) * 0.5f;
        const float rim = std::exp(-std::pow((d - 0.9f) / 0.06f, 2.0f));
        const float k = std::min(1.0f, 0.3f + 0.6f * rim + spokes * d);
        return Rgba{toByte(0.75f + 0.25f * k), toByte(0.88f + 0.12f * k), 255, toByte(k * 0.9f)};
    });
    return c;
}

std::vector<SpriteDescription> normalmapSprites()
{
    return {sprite("explosion_normalmap", "board_fx_png", {0, 0, 128, 128}),
            sprite("fire_normalmap", "board_fx_png", {128, 0, 256, 128})};
}

std::vector<SpriteDescription> freezingRingSprites()
{
    return {sprite("s_freezing_ring", "board_fx_png", {256, 0, 384, 128})};
}

bool writeBoardArt(const std::string& media)
{
    return drawChipsAtlas().save(media + "/images/chips.png") && drawCellsAtlas().save(media + "/images/cells.png") &&
           drawBoardFx().save(media + "/images/board_fx.png") &&
           writeTable(media, "chips", "The chips: six cut gems, their special forms, walls and overlays.",
                      chipsSprites()) &&
           writeTable(media, "cells", "The board's cells and tiles.", cellsSprites()) &&
           writeTable(media, "game_field", "The board's glare over tiles and the shadows under its edges.",
                      gameFieldSprites()) &&
           writeTable(media, "normalmaps", "The distortion maps of blasts and torches.", normalmapSprites()) &&
           writeTable(media, "freezing_ring", "The ice's spreading ring.", freezingRingSprites());
}

std::vector<SpriteDescription> loadingGemSprites()
{
    SpriteDescription gems = sprite("Gems", "loading_gems_png", {0, 0, 64, 64});
    for (int i = 0; i < 6; ++i)
        gems.frames.push_back({float(i * 64), 0, float(i * 64 + 64), 64});
    return {gems};
}

std::vector<SpriteDescription> dialogExampleSprites()
{
    return {
        sprite("Panel", "dialog_example_png", {0, 0, 420, 300}),
        sprite("Ribbon", "dialog_example_png", {0, 304, 260, 360}),
        sprite("Close", "dialog_example_png", {264, 304, 312, 352}),
        sprite("PortraitMask", "dialog_example_png", {320, 304, 416, 400}),
        sprite("Portrait", "dialog_example_png", {416, 304, 512, 400}),
    };
}

std::vector<SpriteDescription> widgetSprites()
{
    return {
        sprite("Panel", "widget_png", {0, 0, 420, 280}),
        sprite("ButtonIdle", "widget_png", {0, 288, 160, 336}),
        sprite("ButtonHighlighted", "widget_png", {0, 340, 160, 388}),
        sprite("ButtonPressed", "widget_png", {0, 392, 160, 440}),
        sprite("ButtonDisabled", "widget_png", {0, 444, 160, 492}),
        sprite("CheckBox", "widget_png", {424, 0, 456, 32}),
        sprite("CheckTick", "widget_png", {460, 0, 492, 32}),
        sprite("SliderThumb", "widget_png", {424, 40, 456, 72}),
        sprite("EditField", "widget_png", {176, 288, 396, 324}),
        sprite("SliderTrack", "widget_png", {176, 332, 396, 346}),
        sprite("SliderFill", "widget_png", {176, 352, 396, 366}),
        sprite("ListSelection", "widget_png", {176, 372, 396, 400}),
        sprite("ScrollTrack", "widget_png", {424, 80, 444, 280}),
        sprite("ScrollFill", "widget_png", {448, 80, 468, 280}),
        sprite("ScrollGrip", "widget_png", {472, 80, 496, 120}),
        sprite("ContentRow", "widget_png", {176, 404, 396, 436}),
        sprite("TitleRibbon", "widget_png", {176, 444, 476, 500}),
        sprite("CloseButton", "widget_png", {424, 290, 464, 330}),
        sprite("Shade", "widget_png", {484, 300, 500, 316}),
    };
}

// The cloth and water of the menu and map screens, drawn as meshes.
std::vector<SpriteDescription> bannerSprites()
{
    return {sprite("Banner", "banner_png", {0, 0, 256, 128})};
}

std::vector<SpriteDescription> waterSprites()
{
    return {sprite("Water", "water_png", {0, 0, 256, 64})};
}


// --- The level rules' art ---

// The limit panel, the goal panel, the score flask and stars, the limit
// icons, the goal targets and the one-shot bonuses in one atlas, 512 x 512:
//   limit panel (0, 0, 200 x 120), goal panel (0, 128, 300 x 120),
//   flask frame (0, 256, 420 x 44), flask fill (0, 304, 420 x 44),
//   star (432, 256, 48 x 48), star slot (432, 304, 48 x 48),
//   limit icons footprints (208, 0), hourglass (272, 0), 64 x 64;
//   targets tile, iron wall, bubble (64, 192 and 256, 352, 64 x 64; the wall
//   and the lantern are the board's own);
//   bonuses comet, lightning, arrows, detonator (0 + 64 i, 416, 64 x 64).

// A panel of dark wood with brass trim around parchment.
void drawRulesPanel(Canvas& c, int x0, int y0, int w, int h)
{
    drawBox(c, x0, y0, w, h, 14.0f, [&](int x, int y, float depth) {
        if (depth < 9.0f)
            return woodAt(x, y, depth < 4.5f ? 1.15f - 0.3f * float(y) / float(h) : 0.85f);
        if (depth < 11.5f)
            return mix(BRASS_LIGHT, BRASS, (depth - 9.0f) / 2.5f);
        if (depth < 12.5f)
            return OUTLINE;
        const float cx = float(x) / float(w) - 0.5f;
        const float cy = float(y) / float(h) - 0.5f;
        return mix(PARCHMENT, PARCHMENT_DARK, std::min(1.0f, (cx * cx + cy * cy) * 1.8f));
    });
}

// A five-pointed star, radius r about (cx, cy): negative inside.
float starDistance(float x, float y, float cx, float cy, float r)
{
    const float pi = 3.14159265f;
    std::vector<Pt> points;
    for (int i = 0; i < 10; ++i) {
        const float a = -pi / 2.0f + float(i) * pi / 5.0f;
        const float radius = i % 2 ? r * 0.45f : r;
        points.push_back({cx + radius * std::cos(a), cy + radius * std::sin(a)});
    }
    const float d = outlineDistance(points, x, y);
    return insidePolygon(points, x, y) ? -d : d;
}

Rgbf litFrom(Rgbf base, float y, float h)
{
    return scaled(base, 1.2f - 0.45f * y / h);
}

void drawRulesIcons(Canvas& c)
{
    const Rgbf iron{92, 104, 122};
    const Rgbf sky{120, 170, 236};
    const Rgbf red{214, 68, 52};
    // Footprints: two soles and their toes.
    for (int foot = 0; foot < 2; ++foot) {
        const float fx = foot ? 43.0f : 21.0f;
        const float fy = foot ? 26.0f : 42.0f;
        drawShape(c, 208, 0, 64, 64,
                  [&](float x, float y) { return boxDistance(x, y, fx, fy, 9.0f, 14.0f, 8.5f); },
                  [&](float, float y, float) { return litFrom(GOLD, y, 64.0f); }, 2.0f);
        for (int toe = 0; toe < 3; ++toe)
            drawShape(c, 208, 0, 64, 64,
                      [&](float x, float y) { return circleDistance(x, y, fx - 6.0f + 6.0f * toe, fy - 19.0f, 3.6f); },
                      [&](float, float y, float) { return litFrom(GOLD, y, 64.0f); }, 1.5f);
    }
    // Hourglass: brass caps, glass bulbs with amber sand.
    drawShape(c, 272, 0, 64, 64,
              [](float x, float y) {
                  const float half = 4.0f + 14.0f * std::fabs(y - 32.0f) / 22.0f;
                  return std::max(std::fabs(x - 32.0f) - half, std::fabs(y - 32.0f) - 22.0f);
              },
              [&](float, float y, float depth) {
                  const bool sand = (y > 40.0f) || (y < 28.0f && y > 18.0f && depth > 3.0f);
                  return sand ? litFrom(AMBER, y, 64.0f) : mix(Rgbf{200, 220, 240}, INDIGO, 0.25f);
              },
              1.6f);
    for (int cap = 0; cap < 2; ++cap)
        drawShape(c, 272, 0, 64, 64,
                  [&](float x, float y) { return boxDistance(x, y, 32.0f, cap ? 56.0f : 8.0f, 22.0f, 4.0f, 2.0f); },
                  [&](float, float y, float) { return litFrom(BRASS, y, 64.0f); }, 1.4f);

    // Targets.
    auto target = [&](int i, auto distance, auto body) { drawShape(c, 64 * i, 352, 64, 64, distance, body, 2.0f); };
    // The tiles: two carved slabs stacked, the one behind a step up and to
    // the right, each with a bevelled brass rim and a diamond cut into it.
    for (const float off : {7.0f, -5.0f}) {
        const float cx = 32.0f + off, cy = 32.0f - off;
        target(1, [=](float x, float y) { return boxDistance(x, y, cx, cy, 19.0f, 19.0f, 4.0f); },
               [&, cx, cy, off](float x, float y, float depth) {
                   const Rgbf stone = off > 0.0f ? Rgbf{200, 130, 60} : Rgbf{226, 156, 72};
                   if (depth < 3.5f)
                       return litFrom(BRASS_LIGHT, y, 64.0f);
                   const float diamond = std::fabs(x - cx) + std::fabs(y - cy);
                   if (std::fabs(diamond - 10.0f) < 1.6f)
                       return scaled(stone, 0.62f);
                   return mix(litFrom(stone, y, 64.0f), scaled(stone, 0.8f), std::clamp((x - cx + 19.0f) / 60.0f, 0.0f, 1.0f));
               });
    }
    target(3, [](float x, float y) { return boxDistance(x, y, 32.0f, 32.0f, 24.0f, 24.0f, 4.0f); },
           [&](float x, float y, float depth) {
               const bool rivet = std::hypot(std::fmod(x + 4.0f, 16.0f) - 8.0f, std::fmod(y + 4.0f, 16.0f) - 8.0f) < 2.5f;
               if (rivet)
                   return BRASS_LIGHT;
               return depth < 4.0f ? scaled(iron, 0.8f) : litFrom(iron, y, 64.0f);
           });
    target(4, [](float x, float y) { return circleDistance(x, y, 32.0f, 32.0f, 22.0f); },
           [&](float x, float y, float) {
               const float shine = std::hypot(x - 24.0f, y - 22.0f) < 6.0f ? 1.0f : 0.0f;
               return mix(litFrom(sky, y, 64.0f), Rgbf{255, 255, 255}, shine * 0.8f);
           });

    // The padlock of a bonus slot still locked: a brass shackle over a dark
    // iron body with a brass rim and a keyhole.
    drawShape(c, 320, 352, 64, 64,
              [](float x, float y) {
                  // The arch above its centre, two straight legs below.
                  if (y <= 26.0f)
                      return std::fabs(std::hypot(x - 32.0f, y - 26.0f) - 12.0f) - 3.5f;
                  return std::max(std::min(std::fabs(x - 20.0f), std::fabs(x - 44.0f)) - 3.5f, y - 40.0f);
              },
              [&](float, float y, float) { return litFrom(BRASS_LIGHT, y, 64.0f); }, 1.6f);
    drawShape(c, 320, 352, 64, 64, [](float x, float y) { return boxDistance(x, y, 32.0f, 42.0f, 18.0f, 14.0f, 4.0f); },
              [&](float x, float y, float depth) {
                  if (depth < 3.0f)
                      return litFrom(BRASS, y, 64.0f);
                  const bool keyhole = circleDistance(x, y, 32.0f, 39.0f, 3.5f) < 0.0f ||
                                       boxDistance(x, y, 32.0f, 45.0f, 1.6f, 5.0f, 0.5f) < 0.0f;
                  return keyhole ? Rgbf{16, 12, 24} : litFrom(scaled(iron, 0.75f), y, 64.0f);
              },
              1.6f);

    // Bonuses.
    auto bonus = [&](int i, auto distance, auto body) { drawShape(c, 64 * i, 416, 64, 64, distance, body, 2.0f); };
    bonus(0, [](float x, float y) {
              const float tail = segmentDistance(Pt{12.0f, 12.0f}, Pt{38.0f, 38.0f}, x, y) - 6.0f;
              return std::min(circleDistance(x, y, 42.0f, 42.0f, 13.0f), tail);
          },
          [&](float x, float y, float) { return mix(GOLD, red, std::clamp((x + y - 40.0f) / 60.0f, 0.0f, 1.0f)); });
    bonus(1, [](float x, float y) {
              static const std::vector<Pt> bolt = {{36, 4}, {16, 36}, {30, 36}, {24, 60}, {48, 24}, {34, 24}, {42, 4}};
              const float d = outlineDistance(bolt, x, y);
              return insidePolygon(bolt, x, y) ? -d : d;
          },
          [&](float, float y, float) { return litFrom(Rgbf{250, 236, 120}, y, 64.0f); });
    bonus(2, [](float x, float y) {
              float d = 1e9f;
              for (int k = 0; k < 2; ++k) {
                  const float oy = k ? 40.0f : 20.0f;
                  d = std::min(d, segmentDistance(Pt{8.0f, oy}, Pt{50.0f, oy}, x, y) - 3.0f);
                  d = std::min(d, segmentDistance(Pt{56.0f, oy}, Pt{46.0f, oy - 7.0f}, x, y) - 3.0f);
                  d = std::min(d, segmentDistance(Pt{56.0f, oy}, Pt{46.0f, oy + 7.0f}, x, y) - 3.0f);
              }
              return d;
          },
          [&](float, float y, float) { return litFrom(BRASS_LIGHT, y, 64.0f); });
    bonus(3, [](float x, float y) {
              return std::min(circleDistance(x, y, 30.0f, 36.0f, 20.0f),
                              segmentDistance(Pt{42.0f, 20.0f}, Pt{52.0f, 8.0f}, x, y) - 3.0f);
          },
          [&](float x, float y, float) {
              return y < 16.0f ? AMBER : mix(Rgbf{70, 66, 90}, INDIGO_DEEP, std::hypot(x - 24.0f, y - 28.0f) / 30.0f);
          });
}

Canvas drawRulesAtlas()
{
    Canvas c(512, 512);
    drawRulesPanel(c, 0, 0, 200, 120);
    drawRulesPanel(c, 0, 128, 300, 120);
    // The flask: a glass tube with brass ends, and the amber liquid that
    // fills it.
    drawBox(c, 0, 256, 420, 44, 20.0f, [](int, int y, float depth) {
        if (depth < 5.0f)
            return mix(BRASS_LIGHT, BRASS, float(y - 256 + 256) / 300.0f);
        return mix(INDIGO, INDIGO_DEEP, float(y) / 44.0f);
    });
    drawBox(c, 0, 304, 420, 44, 20.0f, [](int, int y, float depth) {
        if (depth < 5.0f)
            return mix(BRASS_LIGHT, BRASS, 0.5f);
        const float t = float(y) / 44.0f;
        return t < 0.3f ? mix(Rgbf{255, 236, 170}, GOLD, t / 0.3f) : mix(GOLD, AMBER, (t - 0.3f) / 0.7f);
    });
    drawShape(c, 432, 256, 48, 48, [](float x, float y) { return starDistance(x, y, 24.0f, 25.0f, 22.0f); },
              [](float, float y, float) { return mix(Rgbf{255, 244, 180}, AMBER, y / 48.0f); }, 2.0f);
    drawShape(c, 432, 304, 48, 48, [](float x, float y) { return starDistance(x, y, 24.0f, 25.0f, 22.0f); },
              [](float, float, float) { return INDIGO; }, 2.0f);
    drawRulesIcons(c);
    return c;
}

// The offers of more moves and more time: "+5" in parchment ink on an amber
// disc, or on an indigo stopwatch face with a brass crown, both rimmed in
// brass.
Canvas drawLimitIcons()
{
    Canvas c(128, 64);
    const auto plusFive = [](float x, float y) {
        const std::vector<std::pair<Pt, Pt>> strokes = {
            {{12, 34}, {24, 34}}, {{18, 28}, {18, 40}},                        // +
            {{31, 19}, {46, 19}}, {{31, 19}, {31, 31}}, {{31, 31}, {41, 31}},  // 5, top
            {{41, 31}, {46, 36}}, {{46, 36}, {46, 42}}, {{46, 42}, {41, 47}}, {{41, 47}, {30, 47}}};
        float d = 1e9f;
        for (const auto& [a, b] : strokes)
            d = std::min(d, segmentDistance(a, b, x, y) - 3.2f);
        return d;
    };
    for (int k = 0; k < 2; ++k) {
        const bool time = k == 1;
        const int x0 = k * 64;
        if (time)
            drawShape(c, x0, 0, 64, 64, [](float x, float y) { return boxDistance(x, y, 32, 5, 6, 4, 1.5f); },
                      [](float, float y, float) { return litFrom(BRASS_LIGHT, y, 10.0f); });
        drawShape(c, x0, 0, 64, 64, [&](float x, float y) { return circleDistance(x, y, 32, time ? 35 : 32, 27); },
                  [&](float x, float y, float depth) {
                      if (depth < 5.0f)
                          return mix(BRASS_LIGHT, BRASS, y / 64.0f);
                      return time ? mix(INDIGO, INDIGO_DEEP, std::hypot(x - 26.0f, y - 26.0f) / 34.0f)
                                  : mix(GOLD, AMBER, std::hypot(x - 24.0f, y - 22.0f) / 36.0f);
                  });
        drawShape(c, x0, time ? 2 : 0, 64, 60, plusFive,
                  [&](float, float y, float) { return time ? litFrom(GOLD, y, 60.0f) : litFrom(PARCHMENT, y, 60.0f); },
                  1.6f);
    }
    return c;
}

std::vector<SpriteDescription> uiSprites()
{
    return {sprite("LimitPanel", "rules_png", {0, 0, 200, 120}),
            sprite("GoalsPanel", "rules_png", {0, 128, 300, 248}),
            sprite("FlaskFrame", "rules_png", {0, 256, 420, 300}),
            sprite("FlaskFill", "rules_png", {0, 304, 420, 348}),
            sprite("Star", "rules_png", {432, 256, 480, 304}),
            sprite("StarSlot", "rules_png", {432, 304, 480, 352}),
            sprite("LockIcon", "rules_png", {320, 352, 384, 416}),
            sprite("s_buster_gefest_busters_psd", "rules_png", {0, 416, 64, 480}),
            sprite("s_buster_zeus_busters_psd", "rules_png", {64, 416, 128, 480}),
            sprite("s_buster_artem_busters_psd", "rules_png", {128, 416, 192, 480}),
            sprite("s_buster_ares_busters_psd", "rules_png", {192, 416, 256, 480}),
            sprite("s_plus_5_icon_ui_p_psd", "limit_icons_png", {0, 0, 64, 64}),
            sprite("s_plus_5_time_icon_ui_p_psd", "limit_icons_png", {64, 0, 128, 64})};
}

std::vector<SpriteDescription> targetsSprites()
{
    // The walls and the lantern as the board shows them.
    return {sprite("s_walls_ui_p_psd", "chips_png", {80, 480, 160, 560}),
            sprite("s_tiles_ui_p_psd", "rules_png", {64, 352, 128, 416}),
            sprite("s_falling_ui_p_psd", "chips_png", {320, 480, 400, 560}),
            sprite("s_strong_wall_ui_p_psd", "rules_png", {192, 352, 256, 416}),
            sprite("s_chip_up_ui_p_psd", "rules_png", {256, 352, 320, 416})};
}

std::vector<SpriteDescription> withBoosterSprites(std::vector<SpriteDescription> sprites);
// The shop's sprites appended to a table's (defined with the shop's art).
std::vector<SpriteDescription> withShopSprites(std::vector<SpriteDescription> list, const std::string& table);

bool writeRulesArt(const std::string& media)
{
    return drawRulesAtlas().save(media + "/images/rules.png") &&
           drawLimitIcons().save(media + "/images/limit_icons.png") &&
           writeTable(media, "ui", "The level's panels, score flask and stars, and the one-shot bonuses.",
                      withShopSprites(withBoosterSprites(uiSprites()), "ui")) &&
           writeTable(media, "targets", "The icons of the level goals.", withShopSprites(targetsSprites(), "targets"));
}

// --- The game's own cursor, the screen borders and the logo cards ---

// The game's cursor, tip at (2, 2): an amber arrow lit gold towards its
// upper edge, a dark wood outline and a soft shadow to the lower right.
Canvas drawGameCursor()
{
    Canvas c(64, 64);
    auto arrow = [](float x, float y) {
        // A triangle from the tip, with a short tail; negative inside.
        const float px = x - 2.0f;
        const float py = y - 2.0f;
        const float head = std::max({-px, -py + px * 0.35f - 0.0f, px * 0.92f + py * 0.55f - 22.0f, -1.0f + 0.0f * py});
        const float left = -px;
        const float diag = px - py * 0.78f;
        const float bottom = py + px * 0.6f - 28.0f;
        const float arrowHead = std::max({left, diag, bottom});
        const float tx = px - py * 0.38f;
        const float tail = std::max({std::fabs(tx - 5.0f) - 3.2f, py - 34.0f, 18.0f - py});
        (void)head;
        return std::min(arrowHead, tail);
    };
    // The shadow first, offset and soft.
    c.fill(0, 0, 64, 64, [&](int x, int y) {
        const float d = arrow(float(x) - 2.5f, float(y) - 3.0f);
        const float a = std::clamp(0.5f - d / 3.0f, 0.0f, 1.0f) * 0.45f;
        return Rgba{10, 6, 24, toByte(a)};
    });
    drawShape(
        c, 0, 0, 64, 64, [&](float x, float y) { return arrow(x, y); },
        [&](float x, float y, float depth) {
            const float t = std::clamp((y + x * 0.3f) / 40.0f, 0.0f, 1.0f);
            Rgbf body = mix(GOLD, AMBER, t);
            if (depth < 4.5f && x < y * 0.6f + 6.0f)
                body = mix(body, Rgbf{255, 246, 214}, 0.55f);
            return body;
        },
        2.0f);
    return c;
}

// The screen's borders: a dark wood strip with a brass trim along its inner
// edge, one upright (left) and one lying (top), 24 texels across.
Canvas drawScreenBorders()
{
    Canvas c(256, 288);
    auto strip = [](int along, int across) {
        const float grain = 0.5f + 0.5f * std::sin(float(along) * 0.11f + std::sin(float(across) * 0.9f) * 1.7f);
        Rgbf wood = mix(WOOD, WOOD_LIGHT, grain * 0.6f);
        if (across < 2)
            return opaque(OUTLINE);
        if (across >= 18 && across < 22)
            return opaque(mix(BRASS_LIGHT, BRASS, float(across - 18) / 3.0f));
        if (across >= 22)
            return opaque(OUTLINE);
        // Lit from the top left.
        return opaque(scaled(wood, 1.1f - 0.02f * float(across)));
    };
    c.fill(0, 0, 24, 256, [&](int x, int y) { return strip(y, x); });
    c.fill(0, 264, 256, 24, [&](int x, int y) { return strip(x, y); });
    return c;
}

// Block capitals, 5 x 7 cells each, for the logo cards' words.
const char* glyphRows(char letter)
{
    switch (letter) {
    case 'A': return "01110100011000111111100011000110001";
    case 'C': return "01110100011000010000100001000101110";
    case 'E': return "11111100001000011110100001000011111";
    case 'L': return "10000100001000010000100001000011111";
    case 'M': return "10001110111010110101100011000110001";
    case 'N': return "10001110011010110011100011000110001";
    case 'O': return "01110100011000110001100011000101110";
    case 'R': return "11110100011000111110101001001010001";
    case 'T': return "11111001000010000100001000010000100";
    case 'W': return "10001100011000110101101011101110001";
    default: return "00000000000000000000000000000000000";
    }
}

// A word in block capitals of `cell` texels, centred on (cx, y0): gold
// lit from above, a dark outline and a drop shadow.
void drawWord(Canvas& c, const std::string& word, float cx, float y0, float cell)
{
    const float advance = cell * 6.0f;
    const float width = advance * float(word.size()) - cell;
    const float x0 = cx - width / 2.0f;
    // The letters are pen strokes through the lit cells' centres: each lit
    // cell joins its lit neighbours across and down, and a diagonal one
    // where no square corner stands between them, so that the capitals come
    // out rounded and smooth rather than as blocks.
    auto lit = [&](int column, int row) {
        if (row < 0 || row >= 7 || column < 0)
            return false;
        const int letter = column / 6;
        const int k = column % 6;
        return letter < int(word.size()) && k < 5 && glyphRows(word[size_t(letter)])[row * 5 + k] == '1';
    };
    const float pen = cell * 0.62f;
    auto distance = [&](float x, float y) {
        const int column = int(std::floor((x - x0) / cell));
        const int row = int(std::floor((y - y0) / cell));
        auto centre = [&](int k, int r) { return Pt{x0 + cell * (float(k) + 0.5f), y0 + cell * (float(r) + 0.5f)}; };
        float best = 1e9f;
        for (int r = row - 2; r <= row + 1; ++r)
            for (int k = column - 2; k <= column + 2; ++k) {
                if (!lit(k, r))
                    continue;
                best = std::min(best, std::hypot(x - centre(k, r).x, y - centre(k, r).y));
                if (lit(k + 1, r))
                    best = std::min(best, segmentDistance(centre(k, r), centre(k + 1, r), x, y));
                if (lit(k, r + 1))
                    best = std::min(best, segmentDistance(centre(k, r), centre(k, r + 1), x, y));
                for (const int side : {-1, 1})
                    if (lit(k + side, r + 1) && !lit(k + side, r) && !lit(k, r + 1))
                        best = std::min(best, segmentDistance(centre(k, r), centre(k + side, r + 1), x, y));
            }
        return best - pen;
    };
    const int top = int(y0) - 8;
    const int height = int(cell * 7.0f) + 20;
    c.fill(0, top, int(c.width), height, [&](int x, int y) {
        const Rgba under = c.get(x, y + top);
        const float d = distance(float(x) - 4.0f, float(y + top) - 5.0f);
        const float a = std::clamp(0.5f - d / 4.0f, 0.0f, 1.0f) * 0.6f;
        return opaque(mix(Rgbf{float(under.r), float(under.g), float(under.b)}, Rgbf{6, 4, 18}, a));
    });
    drawShape(
        c, 0, top, int(c.width), height, [&](float x, float y) { return distance(x, y + float(top)); },
        [&](float, float y, float depth) {
            const float t = std::clamp((y + float(top) - y0) / (cell * 7.0f), 0.0f, 1.0f);
            Rgbf body = mix(Rgbf{255, 236, 170}, AMBER, t);
            if (depth < cell * 0.25f)
                body = mix(body, Rgbf{255, 250, 230}, 0.35f);
            return body;
        },
        cell * 0.22f);
}

// The night behind both cards: deep indigo with a glow low in the middle
// and a scatter of stars.
Canvas drawCardNight(Rgbf glow)
{
    Canvas c(864, 486);
    c.fill(0, 0, 864, 486, [&](int x, int y) {
        const float t = float(y) / 485.0f;
        Rgbf sky = mix(INDIGO_DEEP, INDIGO, t);
        const float d = std::hypot((float(x) - 432.0f) / 432.0f, (float(y) - 300.0f) / 260.0f);
        sky = mix(sky, glow, std::clamp(1.0f - d, 0.0f, 1.0f) * 0.45f);
        // Stars from a hash of the texel.
        const uint32_t h = (uint32_t(x) * 73856093u) ^ (uint32_t(y) * 19349663u);
        if (h % 997u == 0 && y < 300)
            sky = mix(sky, Rgbf{255, 244, 214}, 0.8f);
        return opaque(sky);
    });
    return c;
}

// The studio card: a lantern glowing over the studio's name.
Canvas drawLogoStudio()
{
    Canvas c = drawCardNight(AMBER);
    // The lantern: a brass cap, an amber glass body, a dark frame.
    drawShape(
        c, 392, 90, 80, 40, [](float x, float y) { return boxDistance(x, y, 40.0f, 24.0f, 26.0f, 12.0f, 8.0f); },
        [](float, float y, float) { return mix(BRASS_LIGHT, BRASS, y / 40.0f); });
    drawShape(
        c, 372, 120, 120, 150, [](float x, float y) { return boxDistance(x, y, 60.0f, 75.0f, 46.0f, 66.0f, 22.0f); },
        [](float x, float y, float depth) {
            const float d = std::hypot(x - 60.0f, y - 80.0f) / 70.0f;
            Rgbf glass = mix(Rgbf{255, 244, 200}, AMBER, std::clamp(d, 0.0f, 1.0f));
            if (depth < 6.0f)
                glass = mix(WOOD_LIGHT, WOOD, depth / 6.0f);
            return glass;
        },
        3.0f);
    drawShape(
        c, 412, 60, 40, 40, [](float x, float y) { return std::fabs(circleDistance(x, y, 20.0f, 26.0f, 13.0f)) - 3.0f; },
        [](float, float, float) { return BRASS; }, 1.5f);
    drawWord(c, "CARROWMERE", 432.0f, 320.0f, 8.0f);
    return c;
}

// The title card: the game's name over a row of the board's gems.
Canvas drawLogoTitle()
{
    Canvas c = drawCardNight(Rgbf{120, 80, 160});
    drawWord(c, "LANTERRA", 432.0f, 160.0f, 11.0f);
    const Rgbf gems[6] = {{214, 58, 58}, {70, 180, 90}, {70, 120, 220}, {170, 80, 200}, {240, 200, 60}, {240, 130, 40}};
    for (int i = 0; i < 6; ++i) {
        const float cx = 432.0f + (float(i) - 2.5f) * 64.0f;
        drawShape(
            c, int(cx) - 24, 300, 48, 48, [](float x, float y) { return circleDistance(x, y, 24.0f, 24.0f, 19.0f); },
            [&](float x, float y, float) {
                const float glint = std::hypot(x - 17.0f, y - 16.0f) / 22.0f;
                return mix(Rgbf{255, 250, 235}, gems[i], std::clamp(glint, 0.0f, 1.0f) * 0.9f + 0.1f);
            },
            2.0f);
    }
    return c;
}

std::vector<SpriteDescription> otherSprites()
{
    SpriteDescription cursor = sprite("s_cursor", "other_png", {0, 0, 40, 44});
    cursor.rotCenter = std::array<float, 2>{2, 2};
    return {cursor};
}

std::vector<SpriteDescription> screenBordersSprites()
{
    return {sprite("screen_leftborder", "screen_borders_png", {0, 0, 24, 256}),
            sprite("screen_topborder", "screen_borders_png", {0, 264, 256, 288})};
}

std::vector<SpriteDescription> logoSprites()
{
    return {sprite("Studio", "logo_studio_png", {0, 0, 864, 486}), sprite("Title", "logo_title_png", {0, 0, 864, 486})};
}

// The main menu's backdrop, from the loading screen's pictures (the hills
// drawn again at the screen's size).
std::vector<SpriteDescription> menuSprites()
{
    return {sprite("Sky", "loading_sky_png", {0, 0, 16, 64}), sprite("Hills", "menu_hills_png", {0, 0, 1728, 436}),
            sprite("Lantern", "loading_lantern_png", {0, 0, 128, 224})};
}

bool writeGameFlowArt(const std::string& media)
{
    return drawGameCursor().save(media + "/images/other.png") &&
           drawScreenBorders().save(media + "/images/screen_borders.png") &&
           drawLogoStudio().save(media + "/images/logo_studio.png") &&
           drawLogoTitle().save(media + "/images/logo_title.png") &&
           writeTable(media, "other", "Small pieces of the game's screens: the game's own mouse cursor.",
                      otherSprites()) &&
           writeTable(media, "screen_borders", "The wood and brass strips along the screen's left and top edges.",
                      screenBordersSprites()) &&
           writeTable(media, "logo", "The logo cards shown at start-up: the studio, then the game's title.",
                      logoSprites()) &&
           writeTable(media, "menu", "The main menu's backdrop: the dusk sky, the hills and the lantern.",
                      menuSprites());
}

// --- The scene lists' atlas ---
//
// The pieces the scene-list windows are drawn from, in the widget palette.
// 1024 x 1024:
//   list window (0, 0, 480 x 640): dark wood frame, brass trim, indigo
//     title band, a sunken parchment well
//   item card (488, 0, 400 x 96), mask block (896, 0, 16 x 16, white)
//   scroll track (920, 0, 20 x 400), scroll thumb (948, 0, 28 x 72)
//   page dots dim and lit (488, 104) and (516, 104), 24 x 24
//   page buttons previous, next, first, last (488 + 60 i, 136, 56 x 56)
//   book page (488, 200, 400 x 440)

void drawListWindow(Canvas& c)
{
    const int w = 480;
    const int h = 640;
    const float frame = 18.0f;
    drawBox(c, 0, 0, w, h, 20.0f, [&](int x, int y, float depth) {
        if (const std::optional<Rgbf> edge = windowFrameAt(x, y, h, depth, frame))
            return *edge;
        if (y < 70)
            return titleBandAt(y, 70);
        // The well the items scroll in is darker parchment, shadowed from
        // the band above.
        const float inner = std::min(depth - frame - 4.0f, float(y - 70));
        const float shade = 0.78f + 0.22f * std::min(1.0f, inner / 10.0f);
        return scaled(mix(PARCHMENT_DARK, PARCHMENT, 0.35f), shade);
    });
}

void drawItemCard(Canvas& c, int x0, int y0, int w, int h)
{
    drawBox(c, x0, y0, w, h, 14.0f, [&](int x, int y, float depth) {
        if (depth < 5.0f)
            return woodAt(x, y, 1.05f - 0.3f * float(y) / float(h));
        if (depth < 7.0f)
            return mix(BRASS_LIGHT, BRASS, (depth - 5.0f) / 2.0f);
        const float cx = float(x) / float(w) - 0.5f;
        const float cy = float(y) / float(h) - 0.5f;
        const float vignette = std::min(1.0f, (cx * cx + cy * cy) * 1.8f);
        return mix(PARCHMENT, PARCHMENT_DARK, vignette);
    });
}

void drawScrollParts(Canvas& c)
{
    drawBox(c, 920, 0, 20, 400, 10.0f, [&](int x, int, float depth) {
        if (depth < 2.0f)
            return WOOD;
        return mix(INDIGO_DEEP, INDIGO, float(x) / 20.0f);
    });
    drawBox(c, 948, 0, 28, 72, 13.0f, [&](int x, int y, float depth) {
        const float light = std::clamp(1.0f - float(x) / 28.0f - float(y) / 200.0f, 0.0f, 1.0f);
        Rgbf body = mix(scaled(BRASS, 0.72f), BRASS_LIGHT, light);
        // Three grip lines across the middle.
        if (depth > 6.0f && (y == 30 || y == 36 || y == 42))
            body = scaled(body, 0.6f);
        return body;
    });
}

void drawPageDots(Canvas& c)
{
    for (int lit = 0; lit < 2; ++lit)
        c.fill(488 + 28 * lit, 104, 24, 24, [lit](int x, int y) {
            const float dx = float(x) - 11.5f;
            const float dy = float(y) - 11.5f;
            const float d = std::hypot(dx, dy);
            if (d > 10.5f)
                return opaque(OUTLINE, std::clamp(11.5f - d, 0.0f, 1.0f));
            if (d > 9.0f)
                return opaque(OUTLINE);
            const float light = std::clamp(0.5f - (dx + dy) / 30.0f, 0.0f, 1.0f);
            return opaque(lit ? mix(AMBER, Rgbf{255, 240, 170}, light) : mix(INDIGO_DEEP, INDIGO, light));
        });
}

// A round brass button with an arrow: kind 0 previous, 1 next, 2 first,
// 3 last (first and last add a bar at the arrow's tip).
void drawPageButton(Canvas& c, int kind)
{
    const int x0 = 488 + 60 * kind;
    c.fill(x0, 136, 56, 56, [kind](int x, int y) {
        const float px = float(x) + 0.5f;
        const float py = float(y) + 0.5f;
        const float d = std::hypot(px - 28.0f, py - 28.0f);
        if (d > 26.5f)
            return opaque(OUTLINE, std::clamp(27.5f - d, 0.0f, 1.0f));
        if (d > 25.0f)
            return opaque(OUTLINE);
        const bool right = kind == 1 || kind == 3;
        // The arrow in the button's own frame, pointing right; mirrored.
        const float ax = right ? px : 56.0f - px;
        const float tip = kind >= 2 ? 34.0f : 38.0f;
        const bool inArrow = ax >= 18.0f && ax <= tip && std::fabs(py - 28.0f) <= (tip - ax) * 0.75f;
        const bool inBar = kind >= 2 && ax >= 36.0f && ax <= 41.0f && std::fabs(py - 28.0f) <= 12.0f;
        if (inArrow || inBar)
            return opaque(mix(INDIGO_DEEP, INDIGO, py / 56.0f));
        if (d > 21.0f)
            return opaque(mix(BRASS_LIGHT, BRASS, py / 56.0f));
        const float light = std::clamp(0.55f - (px + py - 56.0f) / 70.0f, 0.0f, 1.0f);
        return opaque(mix(AMBER, GOLD, light));
    });
}

void drawBookPage(Canvas& c)
{
    drawBox(c, 488, 200, 400, 440, 16.0f, [&](int x, int y, float depth) {
        if (depth < 4.0f)
            return mix(BRASS, BRASS_LIGHT, float(y) / 440.0f);
        const float fx = float(x) / 400.0f;
        // A faint fold down the middle and ruled lines near the foot.
        float k = 1.0f - 0.12f * std::exp(-std::pow((fx - 0.5f) * 30.0f, 2.0f));
        if (y > 300 && y < 420 && (y - 300) % 24 == 0 && x > 40 && x < 360)
            k *= 0.85f;
        const float edge = std::min(1.0f, (depth - 4.0f) / 12.0f);
        return scaled(mix(PARCHMENT_DARK, PARCHMENT, edge), k);
    });
}

Canvas drawSceneListAtlas()
{
    Canvas c(1024, 1024);
    drawListWindow(c);
    drawItemCard(c, 488, 0, 400, 96);
    c.fill(896, 0, 16, 16, [](int, int) { return Rgba{255, 255, 255, 255}; });
    drawScrollParts(c);
    drawPageDots(c);
    for (int kind = 0; kind < 4; ++kind)
        drawPageButton(c, kind);
    drawBookPage(c);
    return c;
}

std::vector<SpriteDescription> sceneListSprites()
{
    // The masks stretch one white block over the wells they open.
    SpriteDescription stripMask = sprite("StripMask", "scene_list_png", {896, 0, 912, 16});
    stripMask.size = std::array<float, 2>{420, 500};
    SpriteDescription bookMask = sprite("BookMask", "scene_list_png", {896, 0, 912, 16});
    bookMask.size = std::array<float, 2>{400, 440};
    // The item's buy button: the widget atlas's idle, highlighted and
    // pressed faces as sheet frames.
    SpriteDescription buy = sprite("BuyButton", "widget_png", {0, 288, 160, 336});
    buy.frames = {{0, 288, 160, 336}, {0, 340, 160, 388}, {0, 392, 160, 440}};
    return {
        sprite("ListWindow", "scene_list_png", {0, 0, 480, 640}),
        sprite("ItemCard", "scene_list_png", {488, 0, 888, 96}),
        stripMask,
        bookMask,
        sprite("ScrollTrack", "scene_list_png", {920, 0, 940, 400}),
        sprite("ScrollThumb", "scene_list_png", {948, 0, 976, 72}),
        sprite("PageDot", "scene_list_png", {488, 104, 512, 128}),
        sprite("PageDotLit", "scene_list_png", {516, 104, 540, 128}),
        sprite("ButtonPrev", "scene_list_png", {488, 136, 544, 192}),
        sprite("ButtonNext", "scene_list_png", {548, 136, 604, 192}),
        sprite("ButtonBegin", "scene_list_png", {608, 136, 664, 192}),
        sprite("ButtonEnd", "scene_list_png", {668, 136, 724, 192}),
        sprite("BookPage", "scene_list_png", {488, 200, 888, 640}),
        buy,
    };
}

std::vector<SpriteDescription> socialMapSprites();

// The level map's atlas, drawn by map_art.cpp.
std::vector<SpriteDescription> mapSprites()
{
    std::vector<SpriteDescription> out;
    for (const MapArt::Piece& piece : MapArt::pieces())
        out.push_back(sprite(piece.name, "map_png", piece.rect));
    for (const SpriteDescription& gift : socialMapSprites())
        out.push_back(gift);
    return out;
}

}  // namespace

// --- The dialog windows' own pieces ---

// A coin seen face on in an 80-texel cell: rim, milled edge, a raised
// lantern mark and a gloss; `gold` picks the metal.
void drawCoin(Canvas& c, int x0, int y0, bool gold)
{
    const Rgbf light = gold ? Rgbf{255, 236, 150} : Rgbf{246, 248, 252};
    const Rgbf mid = gold ? GOLD : Rgbf{196, 202, 214};
    const Rgbf dark = gold ? AMBER : Rgbf{120, 126, 142};
    paint(c, x0, y0, 80, 80, [](float x, float y) { return std::hypot(x - 40.0f, y - 40.0f) < 33.0f; },
          [&](float x, float y) {
              const float d = std::hypot(x - 40.0f, y - 40.0f);
              if (d > 31.0f)
                  return opaque(OUTLINE);
              // Milled rim, lit from the upper left.
              const float lit = 0.5f - 0.5f * ((x - 40.0f) + (y - 40.0f)) / (d + 0.001f) * 0.7f;
              if (d > 25.0f) {
                  const float mill = 0.85f + 0.15f * std::sin(std::atan2(y - 40.0f, x - 40.0f) * 36.0f);
                  return opaque(scaled(mix(dark, light, lit), mill));
              }
              if (d > 23.5f)
                  return opaque(dark);
              // The face: a lantern shape raised on it.
              const float fx = x - 40.0f;
              const float fy = y - 40.0f;
              const bool body = (fx * fx) / (11.0f * 11.0f) + (fy * fy) / (13.0f * 13.0f) < 1.0f;
              const bool cap = std::fabs(fx) < 7.0f && fy > -18.0f && fy < -12.0f;
              const bool foot = std::fabs(fx) < 7.0f && fy > 12.0f && fy < 17.0f;
              Rgbf face = mix(mid, light, std::clamp(0.6f - fy / 40.0f - fx / 60.0f, 0.0f, 1.0f));
              if (body || cap || foot)
                  face = mix(dark, mid, std::clamp(0.3f - fx / 30.0f - fy / 30.0f, 0.0f, 1.0f));
              return opaque(face);
          });
    drawGlow(c, x0, y0, 30.0f, 27.0f, 12.0f, Rgba{255, 255, 255, 150});
}

// A five-pointed star in an 80-texel cell, gold with an amber outline.
void drawStarIcon(Canvas& c, int x0, int y0)
{
    std::vector<Pt> star;
    for (int i = 0; i < 10; ++i) {
        const float a = -float(M_PI) / 2.0f + float(i) * float(M_PI) / 5.0f;
        const float r = i % 2 == 0 ? 34.0f : 15.0f;
        star.push_back({40.0f + r * std::cos(a), 42.0f + r * std::sin(a)});
    }
    polygonWithOutline(c, x0, y0, 80, star, Rgba{252, 210, 96, 255}, Rgba{120, 60, 12, 255}, 2.5f);
    drawGlow(c, x0, y0, 33.0f, 30.0f, 14.0f, Rgba{255, 250, 220, 140});
}

Canvas drawDialogsAtlas()
{
    Canvas c(512, 384);
    drawPanel(c, 0, 0, false);
    drawCoin(c, 0, 288, false);
    drawCoin(c, 88, 288, true);
    drawStarIcon(c, 176, 288);
    return c;
}

std::vector<SpriteDescription> dialogsSprites()
{
    return {
        sprite("ParchmentPanel", "dialogs_png", {0, 0, 420, 280}),
        sprite("SilverCoin", "dialogs_png", {0, 288, 80, 368}),
        sprite("GoldCoin", "dialogs_png", {88, 288, 168, 368}),
        sprite("StarIcon", "dialogs_png", {176, 288, 256, 368}),
    };
}

bool writeDialogsArt(const std::string& media)
{
    return drawDialogsAtlas().save(media + "/images/dialogs.png") &&
           writeTable(media, "dialogs",
                      "The dialog windows' pieces: the parchment panel under a title ribbon, the silver and gold "
                      "coins and the star.",
                      withShopSprites(dialogsSprites(), "dialogs"));
}

// --- The tutorial's hint pieces ---
// The masks are black with a soft clear hole and a border of at least
// twelve texels that is black throughout, since the blackout stretches the
// border texels over the rest of the screen. The arrows point in the
// direction their name gives (0 right, 90 down), their tips at the cell's
// right-hand, lower, ... edge centre seen from the cell centre.

constexpr int TUTORIAL_ATLAS_W = 1024;
constexpr int TUTORIAL_ATLAS_H = 576;

// A rounded box's signed distance about its centre, by half extents.
float centredBoxDistance(float dx, float dy, float halfW, float halfH, float radius)
{
    return roundedBoxDistance(dx + halfW, dy + halfH, 2.0f * halfW, 2.0f * halfH, radius);
}

struct TutorialMask {
    const char* name;
    int x, y, w, h;
    // Signed distance to the hole's edge (negative inside) at a texel.
    float (*hole)(float x, float y);
    // A lantern-amber ring along the hole, marking every cell of a taught
    // move.
    bool ring = false;
};

float pairHole(float x, float y)
{
    return centredBoxDistance(x - 104.0f, y - 64.0f, 86.0f, 46.0f, 22.0f);
}

float cellHole(float x, float y)
{
    return centredBoxDistance(x - 64.0f, y - 64.0f, 46.0f, 46.0f, 20.0f);
}

float roundHole(float x, float y)
{
    return std::hypot(x - 100.0f, y - 100.0f) - 80.0f;
}

float slotHole(float x, float y)
{
    return centredBoxDistance(x - 80.0f, y - 80.0f, 60.0f, 60.0f, 18.0f);
}

const TutorialMask TUTORIAL_MASKS[] = {
    {"MaskPair", 8, 136, 208, 128, pairHole, true},
    {"MaskCell", 232, 136, 128, 128, cellHole, true},
    {"MaskRound", 376, 136, 200, 200, roundHole},
    {"MaskSlot", 592, 136, 160, 160, slotHole},
};

void drawTutorialMask(Canvas& c, const TutorialMask& m)
{
    // A black apron outside the rectangle, so that filtering at its edge
    // finds black on both sides.
    c.fill(m.x - 4, m.y - 4, m.w + 8, m.h + 8, [](int, int) { return Rgba{4, 3, 14, 255}; });
    c.fill(m.x, m.y, m.w, m.h, [&](int x, int y) {
        const float d = m.hole(float(x) + 0.5f, float(y) + 0.5f);
        // A soft edge ten texels wide, the hole fully clear.
        const float k = std::clamp((d + 2.0f) / 10.0f, 0.0f, 1.0f);
        const float eased = k * k * (3.0f - 2.0f * k);
        const Rgba shade{4, 3, 14, toByte(eased)};
        if (!m.ring)
            return shade;
        // The ring: three texels of gold on the hole's edge, anti-aliased,
        // with a soft glow fading into the shade outside.
        const float core = std::clamp(2.0f - std::fabs(d - 1.0f), 0.0f, 1.0f);
        const float glow = std::clamp(1.0f - std::fabs(d - 1.0f) / 7.0f, 0.0f, 1.0f) * 0.55f;
        const float a = std::max(core, glow);
        if (a <= 0.0f)
            return shade;
        const Rgba gold{255, core > glow ? uint8_t(214) : uint8_t(170), core > glow ? uint8_t(110) : uint8_t(60),
                        toByte(a)};
        // Gold over the shade.
        const float sa = float(shade.a) / 255.0f, ga = float(gold.a) / 255.0f;
        const float outA = ga + sa * (1.0f - ga);
        auto channel = [&](uint8_t g, uint8_t b) {
            return uint8_t(std::lround((float(g) * ga + float(b) * sa * (1.0f - ga)) / std::max(outA, 1e-3f)));
        };
        return Rgba{channel(gold.r, shade.r), channel(gold.g, shade.g), channel(gold.b, shade.b), toByte(outA)};
    });
}

void drawTutorialArrow(Canvas& c, int x0, int y0, float degrees)
{
    // Pointing right about the cell centre, then turned.
    const std::vector<Pt> shape = {{-44, -11}, {8, -11}, {8, -26}, {48, 0}, {8, 26}, {8, 11}, {-44, 11}};
    const float a = degrees * float(M_PI) / 180.0f;
    const float cs = std::cos(a), sn = std::sin(a);
    std::vector<Pt> turned;
    for (Pt p : shape)
        turned.push_back({64.0f + p.x * cs - p.y * sn, 64.0f + p.x * sn + p.y * cs});
    const Rgba shadow = rgb(0x120a24, 120);
    paint(c, x0, y0, 128, 128,
          [&](float x, float y) { return insidePolygon(translated(turned, 3, 4), x, y); },
          [&](float, float) { return shadow; });
    const Rgba outline = rgb(0x3a200e);
    paint(c, x0, y0, 128, 128,
          [&](float x, float y) { return insidePolygon(turned, x, y) || outlineDistance(turned, x, y) < 3.5f; },
          [&](float, float) { return outline; });
    const Rgba light = rgb(0xffe39a), gold = rgb(0xf2b84b), amberDeep = rgb(0xc9761c);
    paint(c, x0, y0, 128, 128, [&](float x, float y) { return insidePolygon(turned, x, y); },
          [&](float x, float y) {
              // Lit along the side facing up-left, a bright ridge down the
              // middle, darker toward the edges.
              const float u = (x - 64.0f) * cs + (y - 64.0f) * sn;
              const float v = -(x - 64.0f) * sn + (y - 64.0f) * cs;
              const float across = std::clamp(std::fabs(v) / 26.0f, 0.0f, 1.0f);
              const float lit = std::clamp(0.5f - 0.5f * (v * (sn + cs) - u * 0.1f) / 26.0f, 0.0f, 1.0f);
              Rgba base = mixed(gold, amberDeep, across * 0.8f + (1.0f - lit) * 0.3f);
              if (std::fabs(v) < 3.0f && u < 30.0f)
                  base = mixed(base, light, 0.7f);
              return base;
          });
}

void drawTutorialAura(Canvas& c, int x0, int y0)
{
    c.fill(x0, y0, 160, 160, [](int x, int y) {
        const float d = std::hypot(float(x) + 0.5f - 80.0f, float(y) + 0.5f - 80.0f) / 80.0f;
        const float ring = std::exp(-std::pow((d - 0.62f) / 0.18f, 2.0f));
        const float core = std::clamp(1.0f - d, 0.0f, 1.0f);
        const float a = std::clamp(0.85f * ring + 0.25f * core * core, 0.0f, 1.0f);
        return Rgba{255, uint8_t(200 - 40 * std::min(d, 1.0f)), 90, toByte(d < 1.0f ? a : 0.0f)};
    });
}

// The hint bubble: parchment inside dark wood with a brass line, 460 x 200.
void drawTutorialBubble(Canvas& c, int x0, int y0)
{
    const float w = 460.0f, h = 200.0f;
    const Rgba shadow = rgb(0x0c0818, 110);
    paint(c, x0, y0, 460, 200,
          [&](float x, float y) { return centredBoxDistance(x - w / 2 - 3, y - h / 2 - 4, w / 2 - 8, h / 2 - 8, 26) < 0; },
          [&](float, float) { return shadow; });
    paint(c, x0, y0, 460, 200,
          [&](float x, float y) { return centredBoxDistance(x - w / 2, y - h / 2, w / 2 - 8, h / 2 - 8, 24) < 0; },
          [&](float x, float y) {
              const float grain = 0.5f + 0.5f * std::sin(y * 0.9f + std::sin(x * 0.05f) * 3.0f);
              return mixed(rgb(0x5a3a22), rgb(0x3f2714), 0.3f + 0.5f * grain);
          });
    paint(c, x0, y0, 460, 200,
          [&](float x, float y) {
              const float d = centredBoxDistance(x - w / 2, y - h / 2, w / 2 - 16, h / 2 - 16, 17);
              return d < 0 && d > -2.5f;
          },
          [&](float x, float y) { return mixed(rgb(0xf0d27a), rgb(0xa77a2c), (x + y) / (w + h)); });
    paint(c, x0, y0, 460, 200,
          [&](float x, float y) { return centredBoxDistance(x - w / 2, y - h / 2, w / 2 - 19, h / 2 - 19, 14) < 0; },
          [&](float x, float y) {
              const float d = -centredBoxDistance(x - w / 2, y - h / 2, w / 2 - 19, h / 2 - 19, 14);
              const float edge = std::clamp(1.0f - d / 22.0f, 0.0f, 1.0f);
              const float speck = 0.5f + 0.5f * std::sin(x * 12.9898f + y * 78.233f);
              Rgba base = mixed(rgb(0xf6e7c4), rgb(0xe6cf9f), y / h * 0.7f + speck * 0.08f);
              return mixed(base, rgb(0xc9a56a), edge * 0.55f);
          });
}

std::vector<SpriteDescription> tutorialSprites()
{
    std::vector<SpriteDescription> out;
    for (int i = 0; i < 8; ++i)
        out.push_back(sprite("Arrow" + std::to_string(45 * i), "tutorial_png",
                             {float(128 * i), 0.0f, float(128 * i + 128), 128.0f}));
    for (const TutorialMask& m : TUTORIAL_MASKS)
        out.push_back(sprite(m.name, "tutorial_png",
                             {float(m.x), float(m.y), float(m.x + m.w), float(m.y + m.h)}));
    out.push_back(sprite("Aura", "tutorial_png", {768.0f, 136.0f, 928.0f, 296.0f}));
    out.push_back(sprite("Bubble", "tutorial_png", {0.0f, 344.0f, 460.0f, 544.0f}));
    return out;
}

bool writeTutorialArt(const std::string& media)
{
    Canvas c(TUTORIAL_ATLAS_W, TUTORIAL_ATLAS_H);
    for (int i = 0; i < 8; ++i)
        drawTutorialArrow(c, 128 * i, 0, 45.0f * float(i));
    for (const TutorialMask& m : TUTORIAL_MASKS)
        drawTutorialMask(c, m);
    drawTutorialAura(c, 768, 136);
    drawTutorialBubble(c, 0, 344);
    return c.save(media + "/images/tutorial.png") &&
           writeTable(media, "tutorial",
                      "The tutorial's hint pieces: the arrow in eight directions, the blackout masks (two cells "
                      "side by side, one cell, a round hole, a booster slot), the glow at the point and the "
                      "parchment bubble.",
                      tutorialSprites());
}

// --- The shops' pieces ---

namespace {

// shop.png, 512 x 192: the currency shop's heaps of one to six stars (80 x 80
// at 80 i, 0), the button icons gold, silver and star (80 x 80 at 0, 88 and
// 176, 88), the extra time's clock (264, 88, 80 x 80) and the offer bubble's
// tails (352, 88, 40 x 64 and 400, 88, 64 x 40).

// One star of a heap about (cx, cy) with radius r, inside an 80-texel cell.
void drawHeapStar(Canvas& c, int x0, int y0, float cx, float cy, float r)
{
    std::vector<Pt> star;
    for (int i = 0; i < 10; ++i) {
        const float a = -float(M_PI) / 2.0f + float(i) * float(M_PI) / 5.0f;
        const float radius = i % 2 == 0 ? r : r * 0.45f;
        star.push_back({cx + radius * std::cos(a), cy + radius * std::sin(a)});
    }
    polygonWithOutline(c, x0, y0, 80, star, Rgba{252, 210, 96, 255}, Rgba{120, 60, 12, 255}, 2.0f);
}

// `count` stars piled from the bottom row up, larger heaps of smaller stars,
// with a lantern glow behind the pile.
void drawStarHeap(Canvas& c, int x0, int y0, int count)
{
    drawGlow(c, x0, y0, 40.0f, 44.0f, 36.0f, Rgba{252, 190, 80, 110});
    // Rows from the bottom: how many stars each holds.
    static const std::vector<std::vector<int>> rows = {{1}, {2}, {2, 1}, {3, 1}, {3, 2}, {3, 2, 1}};
    const std::vector<int>& pile = rows[static_cast<size_t>(count - 1)];
    const float r = count == 1 ? 30.0f : count <= 3 ? 19.0f : 15.5f;
    float y = 76.0f - r;
    for (const int n : pile) {
        const float step = r * 1.6f;
        const float left = 40.0f - step * float(n - 1) / 2.0f;
        for (int i = 0; i < n; ++i)
            drawHeapStar(c, x0, y0, left + step * float(i), y, r);
        y -= r * 1.35f;
    }
    drawGlow(c, x0, y0, 30.0f, 30.0f, 10.0f, Rgba{255, 250, 220, 120});
}

// A brass-rimmed clock face with its hands and an amber plus for the extra
// seconds.
void drawExtraTime(Canvas& c, int x0, int y0)
{
    drawShape(c, x0, y0, 80, 80, [](float x, float y) { return circleDistance(x, y, 36.0f, 42.0f, 30.0f); },
              [](float x, float y, float depth) {
                  if (depth < 6.0f)
                      return mix(BRASS_LIGHT, BRASS, y / 80.0f);
                  return mix(PARCHMENT, PARCHMENT_DARK, std::hypot(x - 30.0f, y - 36.0f) / 34.0f);
              },
              2.0f);
    drawShape(c, x0, y0, 80, 80,
              [](float x, float y) {
                  return std::min(segmentDistance(Pt{36.0f, 42.0f}, Pt{36.0f, 22.0f}, x, y) - 2.2f,
                                  segmentDistance(Pt{36.0f, 42.0f}, Pt{50.0f, 48.0f}, x, y) - 2.2f);
              },
              [](float, float, float) { return INDIGO; }, 0.8f);
    drawShape(c, x0, y0, 80, 80,
              [](float x, float y) {
                  return std::min(boxDistance(x, y, 62.0f, 18.0f, 12.0f, 4.5f, 1.5f),
                                  boxDistance(x, y, 62.0f, 18.0f, 4.5f, 12.0f, 1.5f));
              },
              [](float, float y, float) { return mix(GOLD, AMBER, y / 30.0f); }, 1.8f);
}

// The tail of the offer's speech bubble, pointing left (40 x 64) or down
// (64 x 40): parchment in the panel's dark wood and brass; its base hides
// under the panel's rim.
void drawBubbleTail(Canvas& c, int x0, int y0, bool down)
{
    const int w = down ? 64 : 40;
    const int h = down ? 40 : 64;
    const std::vector<Pt> tip = down ? std::vector<Pt>{{8, 0}, {56, 0}, {32, 38}}
                                     : std::vector<Pt>{{40, 8}, {40, 56}, {2, 32}};
    drawShape(c, x0, y0, w, h,
              [&](float x, float y) {
                  const float d = outlineDistance(tip, x, y);
                  return insidePolygon(tip, x, y) ? -d : d;
              },
              [&](float x, float y, float depth) {
                  if (depth < 4.5f)
                      return woodAt(int(x), int(y), 1.0f);
                  if (depth < 6.5f)
                      return mix(BRASS_LIGHT, BRASS, (depth - 4.5f) / 2.0f);
                  return PARCHMENT;
              },
              1.5f);
}

Canvas drawShopAtlas()
{
    Canvas c(512, 192);
    for (int n = 1; n <= 6; ++n)
        drawStarHeap(c, 80 * (n - 1), 0, n);
    drawCoin(c, 0, 88, true);
    drawCoin(c, 88, 88, false);
    drawStarIcon(c, 176, 88);
    drawExtraTime(c, 264, 88);
    drawBubbleTail(c, 352, 88, false);
    drawBubbleTail(c, 400, 88, true);
    return c;
}

// The shop's sprites that join a table of their own name.
std::vector<SpriteDescription> shopSprites(const std::string& table)
{
    std::vector<SpriteDescription> out;
    if (table == "map")
        for (int n = 1; n <= 6; ++n)
            out.push_back(sprite("s_star_valuta_sale_" + std::to_string(n), "shop_png",
                                 {80.0f * float(n - 1), 0, 80.0f * float(n), 80}));
    if (table == "targets") {
        out.push_back(sprite("s_Layer_3_panel_valuta_psd", "shop_png", {0, 88, 80, 168}));
        out.push_back(sprite("s_Layer_4_panel_valuta_psd", "shop_png", {88, 88, 168, 168}));
        out.push_back(sprite("s_Layer_5_panel_valuta_psd", "shop_png", {176, 88, 256, 168}));
    }
    if (table == "ui")
        out.push_back(sprite("s_plus_15_time_icon_select_ui_p_psd", "shop_png", {264, 88, 344, 168}));
    if (table == "dialogs") {
        out.push_back(sprite("BubbleTailLeft", "shop_png", {352, 88, 392, 152}));
        out.push_back(sprite("BubbleTailDown", "shop_png", {400, 88, 464, 128}));
    }
    return out;
}

// A table's own sprites followed by the shop's.
std::vector<SpriteDescription> withShopSprites(std::vector<SpriteDescription> list, const std::string& table)
{
    for (SpriteDescription& s : shopSprites(table))
        list.push_back(std::move(s));
    return list;
}

}  // namespace

bool writeShopArt(const std::string& media)
{
    return drawShopAtlas().save(media + "/images/shop.png");
}

// --- The boosters of the level start window ---

namespace {

// A block figure of `rows` (5 x 7 cells of `cell` texels) with its top left
// at (x, y) in an 80-texel cell: gold lit from above with a dark outline.
void drawBlockFigure(Canvas& c, int x0, int y0, const char* rows, float x, float y, float cell)
{
    auto distance = [&](float px, float py) {
        float d = 1e9f;
        for (int i = 0; i < 35; ++i)
            if (rows[i] == '1')
                d = std::min(d, boxDistance(px, py, x + (float(i % 5) + 0.5f) * cell, y + (float(i / 5) + 0.5f) * cell,
                                            cell * 0.55f, cell * 0.55f, cell * 0.3f));
        return d;
    };
    drawShape(c, x0, y0, 80, 80, [&](float px, float py) { return distance(px, py) - 1.6f; },
              [](float, float, float) { return OUTLINE; }, 0.0f);
    drawShape(c, x0, y0, 80, 80, distance,
              [&](float, float py, float) { return mix(Rgbf{255, 246, 200}, GOLD, (py - y) / (7.0f * cell)); }, 0.0f);
}

const char* const PLUS_ROWS = "00000001000010011111001000010000000";
const char* const FIVE_ROWS = "11111100001111000001000011000101110";

// The colour booster: an orb whose face bursts in the six chip colours
// from a white heart.
void drawColourOrb(Canvas& c, int x0, int y0)
{
    const Rgbf colours[] = {{214, 58, 52}, {236, 150, 40}, {246, 216, 70}, {70, 170, 80}, {60, 120, 220}, {150, 70, 190}};
    drawShape(c, x0, y0, 80, 80, [](float x, float y) { return circleDistance(x, y, 40.0f, 41.0f, 31.0f); },
              [&](float x, float y, float depth) {
                  const float a = std::atan2(y - 41.0f, x - 40.0f) + float(M_PI);
                  const int k = int(a / (2.0f * float(M_PI)) * 6.0f) % 6;
                  const float r = std::hypot(x - 40.0f, y - 41.0f) / 31.0f;
                  Rgbf body = mix(Rgbf{255, 252, 236}, colours[k], std::clamp(r * 1.8f - 0.2f, 0.0f, 1.0f));
                  body = scaled(body, 1.05f - 0.35f * std::clamp((x + y - 50.0f) / 90.0f, 0.0f, 1.0f));
                  return depth < 4.0f ? scaled(body, 0.75f) : body;
              });
    drawGlow(c, x0, y0, 30.0f, 28.0f, 12.0f, Rgba{255, 255, 255, 190});
    drawGlow(c, x0, y0, 40.0f, 41.0f, 10.0f, Rgba{255, 250, 220, 200});
}

// The moves booster: a gold footprint with "+5".
void drawFootprintPlus(Canvas& c, int x0, int y0)
{
    drawShape(c, x0, y0, 80, 80, [](float x, float y) { return boxDistance(x, y, 28.0f, 46.0f, 13.0f, 22.0f, 12.0f); },
              [](float, float y, float) { return mix(BRASS_LIGHT, AMBER, y / 80.0f); }, 2.2f);
    for (int toe = 0; toe < 4; ++toe)
        drawShape(c, x0, y0, 80, 80,
                  [&](float x, float y) {
                      return circleDistance(x, y, 17.0f + 7.5f * float(toe), 17.0f - (toe == 0 ? 0.0f : 2.0f), 4.6f);
                  },
                  [](float, float y, float) { return mix(BRASS_LIGHT, AMBER, y / 80.0f); }, 1.6f);
    drawBlockFigure(c, x0, y0, PLUS_ROWS, 40.0f, 40.0f, 3.6f);
    drawBlockFigure(c, x0, y0, FIVE_ROWS, 58.0f, 40.0f, 3.6f);
}

// An hourglass of brass caps and glass bulbs with amber sand, `size`
// texels high about (cx, cy).
void drawHourglass(Canvas& c, int x0, int y0, float cx, float cy, float size)
{
    const float half = size / 2.0f;
    drawShape(c, x0, y0, 80, 80,
              [&](float x, float y) {
                  const float waist = size * 0.07f + size * 0.27f * std::fabs(y - cy) / (half * 0.85f);
                  return std::max(std::fabs(x - cx) - waist, std::fabs(y - cy) - half * 0.85f);
              },
              [&](float, float y, float depth) {
                  const bool sand = y > cy + half * 0.35f || (y < cy - half * 0.1f && y > cy - half * 0.45f && depth > 2.0f);
                  return sand ? mix(GOLD, AMBER, (y - cy + half) / size) : mix(Rgbf{206, 224, 244}, INDIGO, 0.3f);
              },
              1.6f);
    for (int cap = 0; cap < 2; ++cap)
        drawShape(c, x0, y0, 80, 80,
                  [&](float x, float y) {
                      return boxDistance(x, y, cx, cap ? cy + half * 0.9f : cy - half * 0.9f, size * 0.38f, size * 0.07f, 2.0f);
                  },
                  [&](float, float y, float) { return mix(BRASS_LIGHT, BRASS, (y - cy + half) / size); }, 1.4f);
}

// The time booster: an hourglass with a "+".
void drawHourglassPlus(Canvas& c, int x0, int y0)
{
    drawHourglass(c, x0, y0, 32.0f, 40.0f, 60.0f);
    drawBlockFigure(c, x0, y0, PLUS_ROWS, 47.0f, 40.0f, 5.0f);
}

// The bomb booster: a lit bomb throwing sparks.
void drawLitBomb(Canvas& c, int x0, int y0)
{
    drawBomb(c, x0, y0, 24.0f, true);
    for (float a : {-2.2f, -1.4f, -0.5f})
        drawSegment(c, x0, y0, {40 + 24.0f * 0.95f + 5.0f * std::cos(a), 40 - 24.0f * 1.25f + 5.0f * std::sin(a)},
                    {40 + 24.0f * 0.95f + 11.0f * std::cos(a), 40 - 24.0f * 1.25f + 11.0f * std::sin(a)}, 1.2f,
                    Rgba{255, 220, 120, 255});
}

// A slot's socket: a dark wood disc in a brass ring.
void drawSocket(Canvas& c, int x0, int y0)
{
    drawShape(c, x0, y0, 80, 80, [](float x, float y) { return circleDistance(x, y, 40.0f, 40.0f, 38.0f); },
              [](float x, float y, float depth) {
                  if (depth < 6.0f)
                      return mix(BRASS_LIGHT, BRASS, (x + y) / 160.0f);
                  return mix(WOOD_LIGHT, scaled(WOOD, 0.7f), (x + y) / 160.0f);
              },
              2.0f);
}

// An armed slot's ring: a gold glow with a check mark at its lower right.
void drawArmedRing(Canvas& c, int x0, int y0)
{
    drawShape(c, x0, y0, 80, 80,
              [](float x, float y) { return std::fabs(circleDistance(x, y, 40.0f, 40.0f, 35.0f)) - 3.5f; },
              [](float, float y, float) { return mix(Rgbf{255, 244, 190}, GOLD, y / 80.0f); }, 1.4f);
    drawShape(c, x0, y0, 80, 80, [](float x, float y) { return circleDistance(x, y, 64.0f, 64.0f, 13.0f); },
              [](float, float y, float) { return mix(Rgbf{120, 200, 110}, Rgbf{50, 130, 60}, (y - 50.0f) / 28.0f); },
              1.8f);
    drawShape(c, x0, y0, 80, 80,
              [](float x, float y) {
                  return std::min(segmentDistance(Pt{57.0f, 64.0f}, Pt{62.0f, 70.0f}, x, y),
                                  segmentDistance(Pt{62.0f, 70.0f}, Pt{71.0f, 57.0f}, x, y)) - 2.2f;
              },
              [](float, float, float) { return Rgbf{250, 250, 240}; }, 0.0f);
}

Canvas drawBoosterAtlas()
{
    Canvas c(480, 160);
    drawColourOrb(c, 0, 0);
    drawFootprintPlus(c, 80, 0);
    drawHourglassPlus(c, 160, 0);
    drawLitBomb(c, 240, 0);
    drawCoin(c, 320, 0, false);
    drawCoin(c, 400, 0, true);
    drawSocket(c, 0, 80);
    drawArmedRing(c, 80, 80);
    drawHourglass(c, 160, 80, 40.0f, 40.0f, 64.0f);
    return c;
}

// The boosters' sprites join "ui_sprites": the slot faces and the bubble's
// icons are the same drawings.
std::vector<SpriteDescription> boosterSprites()
{
    const char* const names[][2] = {
        {"s_bonus_minus_tsvet_ui_p_psd", "s_bonus_minus_tsvet_pass_window_bonus_aktiv_psd"},
        {"s_bonus_plus_step_ui_p_psd", "s_bonus_plus_step_pass_window_bonus_aktiv_psd"},
        {"s_bonus_plus_time_ui_p_psd", "s_bonus_plus_time_pass_window_bonus_aktiv_psd"},
        {"s_bonus_plus_bonus_ui_p_psd", "s_bonus_plus_bonus_pass_window_bonus_aktiv_psd"},
    };
    std::vector<SpriteDescription> out;
    for (int i = 0; i < 4; ++i)
        for (const char* name : names[i])
            out.push_back(sprite(name, "boosters_png", {80.0f * float(i), 0, 80.0f * float(i + 1), 80}));
    out.push_back(sprite("s_bonus_valuta_silver_ui_p_psd", "boosters_png", {320, 0, 400, 80}));
    out.push_back(sprite("s_bonus_valuta_gold_ui_p_psd", "boosters_png", {400, 0, 480, 80}));
    out.push_back(sprite("BoosterSocket", "boosters_png", {0, 80, 80, 160}));
    out.push_back(sprite("BoosterArmed", "boosters_png", {80, 80, 160, 160}));
    out.push_back(sprite("TimeLimitIcon", "boosters_png", {160, 80, 240, 160}));
    return out;
}

std::vector<SpriteDescription> withBoosterSprites(std::vector<SpriteDescription> sprites)
{
    for (SpriteDescription& s : boosterSprites())
        sprites.push_back(std::move(s));
    return sprites;
}

bool writeBoosterArt(const std::string& media)
{
    return drawBoosterAtlas().save(media + "/images/boosters.png");
}

}  // namespace

// --- The friends' pieces ---
//
// A made-up friendly face, the brass-ringed photo frame, the gifts of the
// mail, the login lantern, the leader's crown, the friends' emblem and the
// letter paper, all drawn with the shape helpers above.

// A round portrait in a `size` square: a night-blue backdrop, a warm face
// with rosy cheeks, dark hair, a smile and a scarf in lantern amber.
void drawPortrait(Canvas& c, int x0, int y0, int size)
{
    const float k = float(size) / 128.0f;
    const float m = 64.0f * k;
    drawShape(c, x0, y0, size, size, [&](float x, float y) { return circleDistance(x, y, m, m, 60.0f * k); },
              [&](float x, float y, float) {
                  return mix(Rgbf{70, 64, 140}, INDIGO_DEEP, std::clamp((x + y) / (2.0f * size), 0.0f, 1.0f));
              },
              2.5f * k);
    // Scarf and shoulders.
    drawShape(c, x0, y0, size, size,
              [&](float x, float y) {
                  return std::max(boxDistance(x, y, m, 118.0f * k, 44.0f * k, 24.0f * k, 20.0f * k),
                                  circleDistance(x, y, m, m, 58.0f * k));
              },
              [&](float, float y, float) { return mix(GOLD, AMBER, (y / k - 96.0f) / 30.0f); }, 2.0f * k);
    // Hair behind the face.
    drawShape(c, x0, y0, size, size, [&](float x, float y) { return circleDistance(x, y, m, 56.0f * k, 34.0f * k); },
              [&](float x, float y, float) { return mix(Rgbf{120, 70, 36}, Rgbf{60, 32, 18}, (x + y) / (2.2f * size)); },
              2.0f * k);
    // The face.
    drawShape(c, x0, y0, size, size,
              [&](float x, float y) {
                  const float dx = (x - m) / 1.0f, dy = (y - 66.0f * k) / 1.12f;
                  return std::hypot(dx, dy) - 27.0f * k;
              },
              [&](float x, float y, float depth) {
                  const Rgbf skin{246, 204, 160};
                  const float light = std::clamp(0.75f + 0.25f * depth / (10.0f * k) - (x - m) / (120.0f * k), 0.6f, 1.05f);
                  Rgbf col = scaled(skin, light);
                  for (float cx : {-15.0f, 15.0f}) {
                      const float d = std::hypot(x - (m + cx * k), y - 76.0f * k) / (7.0f * k);
                      if (d < 1.0f)
                          col = mix(Rgbf{236, 130, 120}, col, d * d);
                  }
                  return col;
              },
              2.0f * k);
    // Fringe over the brow.
    drawShape(c, x0, y0, size, size,
              [&](float x, float y) {
                  return std::max(circleDistance(x, y, m, 50.0f * k, 30.0f * k), y - 54.0f * k - (x - m) * 0.25f);
              },
              [&](float x, float y, float) { return mix(Rgbf{140, 84, 44}, Rgbf{66, 36, 20}, (x + y) / (2.2f * size)); },
              1.5f * k);
    // Eyes with a glint, and the smile.
    for (float ex : {-10.0f, 10.0f}) {
        drawShape(c, x0, y0, size, size, [&](float x, float y) { return circleDistance(x, y, m + ex * k, 66.0f * k, 3.6f * k); },
                  [&](float, float, float) { return Rgbf{40, 26, 30}; }, 0.0f);
        drawShape(c, x0, y0, size, size,
                  [&](float x, float y) { return circleDistance(x, y, m + ex * k + 1.2f * k, 64.8f * k, 1.2f * k); },
                  [&](float, float, float) { return Rgbf{255, 255, 255}; }, 0.0f);
    }
    drawShape(c, x0, y0, size, size,
              [&](float x, float y) {
                  const float ring = std::fabs(std::hypot(x - m, y - 76.0f * k) - 9.0f * k) - 1.6f * k;
                  return std::max(ring, 80.0f * k - y);
              },
              [&](float, float, float) { return Rgbf{150, 60, 50}; }, 0.0f);
}

// The brass ring around a photo, open in the middle: `size` square.
void drawPhotoFrame(Canvas& c, int x0, int y0, int size)
{
    const float m = size / 2.0f;
    drawShape(c, x0, y0, size, size,
              [&](float x, float y) {
                  const float d = std::hypot(x - m, y - m);
                  return std::max(d - (m - 1.0f), (m - 7.0f) - d);
              },
              [&](float x, float y, float) {
                  return mix(BRASS_LIGHT, BRASS, std::clamp((x + y) / (2.0f * size), 0.0f, 1.0f));
              },
              1.5f);
}

// The empty photo: a dim silhouette on night blue.
void drawPhotoBlank(Canvas& c, int x0, int y0)
{
    drawShape(c, x0, y0, 64, 64, [&](float x, float y) { return circleDistance(x, y, 32, 32, 31); },
              [&](float, float y, float) { return mix(Rgbf{64, 58, 120}, INDIGO_DEEP, y / 64.0f); }, 0.0f);
    drawShape(c, x0, y0, 64, 64,
              [&](float x, float y) {
                  return std::min(circleDistance(x, y, 32, 26, 11),
                                  std::max(circleDistance(x, y, 32, 58, 20), circleDistance(x, y, 32, 32, 30)));
              },
              [&](float, float, float) { return Rgbf{96, 90, 150}; }, 0.0f);
}

// A wrapped gift in a 56 square, with `emblem` on its lid: 0 a plain bow,
// 1 a heart, 2 a boot print (moves).
void drawGift(Canvas& c, int x0, int y0, int emblem)
{
    const Rgbf paper = emblem == 1 ? Rgbf{176, 48, 60} : emblem == 2 ? Rgbf{52, 96, 150} : Rgbf{96, 60, 150};
    drawShape(c, x0, y0, 56, 56, [](float x, float y) { return boxDistance(x, y, 28, 34, 22, 18, 3); },
              [&](float x, float y, float) { return scaled(paper, 1.1f - (x + y) / 160.0f); });
    // Ribbon across and the lid.
    drawShape(c, x0, y0, 56, 56, [](float x, float y) { return boxDistance(x, y, 28, 34, 4, 18, 0.5f); },
              [](float, float y, float) { return mix(BRASS_LIGHT, GOLD, y / 56.0f); }, 1.0f);
    drawShape(c, x0, y0, 56, 56, [](float x, float y) { return boxDistance(x, y, 28, 20, 25, 6, 2); },
              [&](float x, float, float) { return scaled(paper, 1.25f - x / 120.0f); });
    drawShape(c, x0, y0, 56, 56, [](float x, float y) { return boxDistance(x, y, 28, 20, 4, 6, 0.5f); },
              [](float, float, float) { return GOLD; }, 1.0f);
    // The bow.
    for (float side : {-1.0f, 1.0f})
        drawShape(c, x0, y0, 56, 56,
                  [side](float x, float y) {
                      const float dx = (x - 28 - side * 9) / 1.4f, dy = y - 9;
                      return std::hypot(dx, dy) - 5.5f;
                  },
                  [](float, float, float) { return GOLD; }, 1.5f);
    if (emblem == 1) {
        drawShape(c, x0, y0, 56, 56,
                  [](float x, float y) {
                      const float hx = (x - 40) / 9.0f, hy = (y - 40) / 9.0f;
                      const float a = hx * hx + hy * hy - 1.0f;
                      return (a * a * a - hx * hx * hy * hy * hy * -1.0f) * 6.0f;
                  },
                  [](float, float y, float) { return mix(Rgbf{255, 120, 130}, Rgbf{210, 30, 50}, (y - 30) / 20.0f); },
                  1.5f);
    } else if (emblem == 2) {
        drawShape(c, x0, y0, 56, 56,
                  [](float x, float y) {
                      return std::min(std::hypot((x - 40) / 0.7f, y - 38) - 6.0f, std::hypot(x - 40, y - 47) - 3.5f);
                  },
                  [](float, float, float) { return Rgbf{250, 240, 210}; }, 1.2f);
    }
}

// A hanging lantern, 64 x 96: ring, brass cap, glowing amber glass, base.
void drawSocialLantern(Canvas& c, int x0, int y0)
{
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 64; ++x) {
            const float d = std::hypot(x + 0.5f - 32.0f, (y + 0.5f - 56.0f) * 0.9f) / 34.0f;
            if (d < 1.0f)
                blendOver(c, x0 + x, y0 + y, Rgba{255, 190, 80, 150}, smoothFalloff(d));
        }
    drawShape(c, x0, y0, 64, 96,
              [](float x, float y) { return std::fabs(std::hypot(x - 32, y - 10) - 7.0f) - 2.0f; },
              [](float, float, float) { return BRASS; }, 1.0f);
    drawShape(c, x0, y0, 64, 96, [](float x, float y) { return boxDistance(x, y, 32, 27, 16, 7, 3); },
              [](float x, float, float) { return mix(BRASS_LIGHT, BRASS, x / 64.0f); });
    drawShape(c, x0, y0, 64, 96, [](float x, float y) { return boxDistance(x, y, 32, 55, 14, 21, 5); },
              [](float x, float y, float) {
                  const float g = std::hypot(x - 30, y - 52) / 22.0f;
                  return mix(Rgbf{255, 248, 200}, AMBER, std::clamp(g, 0.0f, 1.0f));
              });
    for (float bx : {-8.0f, 8.0f})
        drawShape(c, x0, y0, 64, 96, [bx](float x, float y) { return boxDistance(x, y, 32 + bx, 55, 1.5f, 21, 0.5f); },
                  [](float, float, float) { return BRASS; }, 0.5f);
    drawShape(c, x0, y0, 64, 96, [](float x, float y) { return boxDistance(x, y, 32, 81, 18, 5, 2); },
              [](float x, float, float) { return mix(BRASS_LIGHT, BRASS, x / 64.0f); });
}

// The leader's crown, 80 x 48.
void drawCrown(Canvas& c, int x0, int y0)
{
    std::vector<Pt> crown = {{8, 42}, {4, 10}, {22, 26}, {40, 4}, {58, 26}, {76, 10}, {72, 42}};
    polygonWithOutline(c, x0, y0, 80, crown, Rgba{252, 210, 96, 255}, Rgba{120, 60, 12, 255}, 2.5f);
    for (float gx : {22.0f, 40.0f, 58.0f})
        drawShape(c, x0, y0, 80, 48, [gx](float x, float y) { return circleDistance(x, y, gx, 34, 4); },
                  [](float, float, float) { return Rgbf{200, 40, 60}; }, 1.0f);
}

// A portrait between two silhouettes under a lantern's glow: the friends'
// emblem, 128 x 80.
void drawFriendsEmblem(Canvas& c, int x0, int y0)
{
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 128; ++x) {
            const float d = std::hypot(x + 0.5f - 64.0f, (y + 0.5f - 40.0f) * 1.5f) / 62.0f;
            if (d < 1.0f)
                blendOver(c, x0 + x, y0 + y, Rgba{255, 200, 100, 110}, smoothFalloff(d));
        }
    // The player in front, two friends still to come behind, as dim
    // silhouettes in their rings.
    for (int fx : {2, 62}) {
        drawPhotoBlank(c, x0 + fx, y0 + 14);
        drawPhotoFrame(c, x0 + fx, y0 + 14, 64);
    }
    drawPortrait(c, x0 + 30, y0 + 6, 68);
    drawPhotoFrame(c, x0 + 28, y0 + 4, 72);
}

// Letter paper, 256 square: warm parchment with faint ruled lines.
void drawLetterSheet(Canvas& c, int x0, int y0)
{
    drawShape(c, x0, y0, 256, 256, [](float x, float y) { return boxDistance(x, y, 128, 128, 126, 126, 8); },
              [](float x, float y, float) {
                  Rgbf col = mix(Rgbf{250, 238, 206}, PARCHMENT_DARK, (x + y) / 900.0f);
                  if (int(y) % 32 == 31)
                      col = scaled(col, 0.9f);
                  return col;
              },
              1.5f);
}

// An arrow passing upwards, 64 x 48, gold.
void drawPassArrow(Canvas& c, int x0, int y0)
{
    std::vector<Pt> arrow = {{4, 18}, {40, 18}, {40, 6}, {62, 24}, {40, 42}, {40, 30}, {4, 30}};
    polygonWithOutline(c, x0, y0, 64, arrow, Rgba{252, 210, 96, 255}, Rgba{120, 60, 12, 255}, 2.5f);
}

Canvas drawSocialAtlas()
{
    Canvas c(512, 512);
    drawPortrait(c, 0, 0, 64);
    drawPhotoFrame(c, 64, 0, 72);
    drawPhotoBlank(c, 136, 0);
    drawGift(c, 200, 0, 0);
    drawGift(c, 256, 0, 1);
    drawGift(c, 312, 0, 2);
    drawSocialLantern(c, 368, 0);
    drawCrown(c, 432, 0);
    drawFriendsEmblem(c, 0, 96);
    drawPassArrow(c, 128, 96);
    drawLetterSheet(c, 0, 256);
    return c;
}

Canvas drawFacePhoto()
{
    Canvas c(128, 128);
    drawPortrait(c, 0, 0, 128);
    return c;
}

std::vector<SpriteDescription> socialSprites()
{
    return {
        sprite("Portrait", "social_png", {0, 0, 64, 64}),       sprite("PhotoFrame", "social_png", {64, 0, 136, 72}),
        sprite("PhotoBlank", "social_png", {136, 0, 200, 64}),  sprite("Gift", "social_png", {200, 0, 256, 56}),
        sprite("Lantern", "social_png", {368, 0, 432, 96}),     sprite("Crown", "social_png", {432, 0, 512, 48}),
        sprite("FriendsEmblem", "social_png", {0, 96, 128, 176}), sprite("PassArrow", "social_png", {128, 96, 192, 144}),
        sprite("LetterSheet", "social_png", {0, 256, 256, 512}),
    };
}

namespace {

// The mail's gifts, listed in the map's table where the map's windows look.
std::vector<SpriteDescription> socialMapSprites()
{
    return {
        sprite("s_present_heart_window_pochta_psd", "social_png", {256, 0, 312, 56}),
        sprite("s_present_steps_window_pochta_psd", "social_png", {312, 0, 368, 56}),
    };
}

}  // namespace

bool writeSocialArt(const std::string& media)
{
    return drawSocialAtlas().save(media + "/images/social.png") && drawFacePhoto().save(media + "/images/face1.png") &&
           writeTable(media, "social",
                      "The friends' pieces: portrait, photo frame and blank, gifts, lantern, crown, emblem, arrow "
                      "and letter paper.",
                      socialSprites());
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: sprite_art <media folder>\n");
        return 2;
    }
    const std::string media = argv[1];
    const bool ok = drawCursor().save(media + "/images/cursor.png") &&
                    drawScreenBorder().save(media + "/images/screen_border.png") &&
                    drawTestAtlas().save(media + "/images/test_atlas.png") &&
                    drawFxAtlas().save(media + "/images/fx.png") &&
                    writeGameFlowArt(media) &&
                    writeTable(media, "test_atlas",
                               "Sprites over one atlas that show the description keys: mirroring, rotation, "
                               "blending, colour, clipping, two textures and a mesh.",
                               testAtlasSprites()) &&
                    writeTable(media, "fx", "The particle atlas: shapes for the effects to tint.", fxSprites()) &&
                    writeBoardArt(media) && writeRulesArt(media) &&
                    drawBanner().save(media + "/images/banner.png") &&
                    drawWater().save(media + "/images/water.png") &&
                    writeTable(media, "banner", "A cloth banner, drawn as a mesh that sways.", bannerSprites()) &&
                    writeTable(media, "water", "A strip of water, drawn as a mesh that ripples.", waterSprites()) &&
                    drawLoadingSky().save(media + "/images/loading_sky.png") &&
                    drawLoadingHills().save(media + "/images/loading_hill.png") &&
                    drawMenuHills().save(media + "/images/menu_hills.png") &&
                    drawLoadingLantern().save(media + "/images/loading_lantern.png") &&
                    drawLoadingGlow().save(media + "/images/loading_glow.png") &&
                    drawGemSheet().save(media + "/images/loading_gems.png") &&
                    drawDialogAtlas().save(media + "/images/dialog_example.png") &&
                    writeTable(media, "loading_gems",
                               "The loading screen's gems, one sheet frame per chip colour: R round, G square, "
                               "B rhombus, M hexagon, Y triangle, O teardrop.",
                               loadingGemSprites()) &&
                    writeTable(media, "dialog_example",
                               "The pieces of the example dialog: panel, title ribbon, close button, portrait "
                               "mask and portrait.",
                               dialogExampleSprites()) &&
                    drawWidgetAtlas().save(media + "/images/widget.png") &&
                    writeTable(media, "widget", "The interface's widget pieces: panel, buttons, check box, edit "
                               "field, slider, list selection, scroll bar, content row, title ribbon and close "
                               "button.",
                               widgetSprites()) &&
                    drawSceneListAtlas().save(media + "/images/scene_list.png") &&
                    writeTable(media, "scene_list",
                               "The scene lists' pieces: window, item card, masks, scroll bar, page dots, page "
                               "buttons, book page and the buy button's faces.",
                               sceneListSprites()) &&
                    MapArt::writeImages(media) &&
                    writeTable(media, "map",
                               "The level map's pieces: medallion rim and faces, stars, coins, the "
                               "lantern-bearer, gates, lamps, signposts, the top panel and its icons.",
                               withShopSprites(mapSprites(), "map")) &&
                    writeDialogsArt(media) && writeBoosterArt(media) && writeShopArt(media) && writeTutorialArt(media) && writeSocialArt(media);
    if (!ok) {
        std::fprintf(stderr, "sprite_art: writing failed\n");
        return 1;
    }
    return 0;
}
