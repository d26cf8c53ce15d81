// Draws the sprite art of the sample content and writes each sprite table
// twice, as the Lua table the engine reads and as its XML twin, from one
// description so that the two always agree.
//
//     sprite_art <media folder>
//
// Writes images/cursor.png, images/screen_border.png, images/test_atlas.png,
// images/fx.png (the particle atlas), the loading screen's pictures
// (images/loading_*.png), the example dialog's atlas
// (images/dialog_example.png), the mesh pictures images/banner.png and
// images/water.png, and scripts/<table>_sprites.lua with
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

std::vector<SpriteDescription> cursorSprites()
{
    SpriteDescription cursor = sprite("Cursor", "cursor_png", {0, 0, 32, 32});
    cursor.rotCenter = std::array<float, 2>{0, 0};
    return {cursor};
}

std::vector<SpriteDescription> screenBorderSprites()
{
    std::vector<SpriteDescription> out;
    const char* names[3][3] = {{"TopLeft", "Top", "TopRight"}, {"Left", nullptr, "Right"},
                               {"BottomLeft", "Bottom", "BottomRight"}};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            if (names[row][col])
                out.push_back(sprite(names[row][col], "screen_border_png",
                                     {float(col * 16), float(row * 16), float(col * 16 + 16), float(row * 16 + 16)}));
    return out;
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

// The cloth and water of the menu and map screens, drawn as meshes.
std::vector<SpriteDescription> bannerSprites()
{
    return {sprite("Banner", "banner_png", {0, 0, 256, 128})};
}

std::vector<SpriteDescription> waterSprites()
{
    return {sprite("Water", "water_png", {0, 0, 256, 64})};
}

}  // namespace

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
                    writeTable(media, "cursor", "The game's mouse cursor.", cursorSprites()) &&
                    writeTable(media, "screen_border", "Pieces of a frame around the screen.",
                               screenBorderSprites()) &&
                    writeTable(media, "test_atlas",
                               "Sprites over one atlas that show the description keys: mirroring, rotation, "
                               "blending, colour, clipping, two textures and a mesh.",
                               testAtlasSprites()) &&
                    writeTable(media, "fx", "The particle atlas: shapes for the effects to tint.", fxSprites()) &&
                    drawBanner().save(media + "/images/banner.png") &&
                    drawWater().save(media + "/images/water.png") &&
                    writeTable(media, "banner", "A cloth banner, drawn as a mesh that sways.", bannerSprites()) &&
                    writeTable(media, "water", "A strip of water, drawn as a mesh that ripples.", waterSprites()) &&
                    drawLoadingSky().save(media + "/images/loading_sky.png") &&
                    drawLoadingHills().save(media + "/images/loading_hill.png") &&
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
                               dialogExampleSprites());
    if (!ok) {
        std::fprintf(stderr, "sprite_art: writing failed\n");
        return 1;
    }
    return 0;
}
