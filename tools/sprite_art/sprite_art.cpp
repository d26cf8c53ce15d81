// Draws the sprite art of the sample content and writes each sprite table
// twice, as the Lua table the engine reads and as its XML twin, from one
// description so that the two always agree.
//
//     sprite_art <media folder>
//
// Writes images/cursor.png, images/screen_border.png, images/test_atlas.png,
// images/fx.png (the particle atlas), images/banner.png, images/water.png
// and scripts/<table>_sprites.lua with
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

// --- Sprite tables ---

struct MeshVertex {
    int x, y;
    Rgba color;
    float u, v;
    float px, py;
};

// Clamps a shade to a byte.
uint8_t byteOf(float v)
{
    return uint8_t(std::clamp(v, 0.0f, 255.0f));
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
                    writeTable(media, "water", "A strip of water, drawn as a mesh that ripples.", waterSprites());
    if (!ok) {
        std::fprintf(stderr, "sprite_art: writing failed\n");
        return 1;
    }
    return 0;
}
