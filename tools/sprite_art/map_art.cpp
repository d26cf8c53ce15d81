#include "map_art.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>

#include <png.h>

#include "image_writers.h"
#include "map_path.h"

namespace MapArt {
namespace {

struct Colour {
    float r = 0, g = 0, b = 0;
};

Colour mix(Colour a, Colour b, float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour times(Colour c, float k)
{
    return {c.r * k, c.g * k, c.b * k};
}

// The game's palette.
const Colour INDIGO{34, 30, 78};
const Colour INDIGO_DEEP{16, 14, 40};
const Colour AMBER{255, 170, 52};
const Colour GOLD{246, 206, 96};
const Colour PARCHMENT{238, 220, 172};
const Colour PARCHMENT_DARK{196, 164, 112};
const Colour WOOD{92, 56, 30};
const Colour WOOD_DARK{52, 30, 16};
const Colour BRASS{176, 132, 58};
const Colour BRASS_LIGHT{236, 198, 110};
const Colour INK{22, 14, 10};

// Straight RGBA in floats, 0 to 255 and alpha 0 to 1.
class Picture {
public:
    Picture(int w, int h) : width(w), height(h), rgba(size_t(w) * h * 4, 0.0f) {}

    void over(int x, int y, Colour c, float a)
    {
        if (x < 0 || y < 0 || x >= width || y >= height || a <= 0.0f)
            return;
        float* p = &rgba[(size_t(y) * width + x) * 4];
        a = std::min(a, 1.0f);
        const float outA = a + p[3] * (1.0f - a);
        if (outA <= 0.0f)
            return;
        const float k = a / outA;
        p[0] += (c.r - p[0]) * k;
        p[1] += (c.g - p[1]) * k;
        p[2] += (c.b - p[2]) * k;
        p[3] = outA;
    }
    Colour at(int x, int y) const
    {
        const float* p = &rgba[(size_t(std::clamp(y, 0, height - 1)) * width + std::clamp(x, 0, width - 1)) * 4];
        return {p[0], p[1], p[2]};
    }
    ImageWriters::Bytes bytes(int x0, int y0, int w, int h, int channels) const
    {
        ImageWriters::Bytes out;
        out.reserve(size_t(w) * h * channels);
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) {
                const float* p = &rgba[(size_t(y) * width + x) * 4];
                for (int k = 0; k < channels; ++k) {
                    const float v = k == 3 ? p[3] * 255.0f : p[k];
                    out.push_back(uint8_t(std::clamp(std::lround(v), 0L, 255L)));
                }
            }
        return out;
    }

    int width;
    int height;
    std::vector<float> rgba;
};

// --- Noise ---

float hash(int x, int y, int seed)
{
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + uint32_t(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return float((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
}

float valueNoise(float x, float y, int seed)
{
    const int ix = int(std::floor(x)), iy = int(std::floor(y));
    const float fx = x - float(ix), fy = y - float(iy);
    const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const float a = hash(ix, iy, seed), b = hash(ix + 1, iy, seed);
    const float c = hash(ix, iy + 1, seed), d = hash(ix + 1, iy + 1, seed);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

float fbm(float x, float y, int seed, int octaves = 4)
{
    float sum = 0, amp = 0.5f, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += valueNoise(x, y, seed + i * 17) * amp;
        norm += amp;
        x *= 2.03f;
        y *= 2.03f;
        amp *= 0.5f;
    }
    return sum / norm;
}

// A small deterministic sequence for scattering.
struct Scatter {
    uint32_t state;
    float next()
    {
        state = state * 214013u + 2531011u;
        return float((state >> 16) & 0x7FFF) / 32767.0f;
    }
};

// --- Shapes as signed distances (negative inside) ---

float coverage(float d)
{
    return std::clamp(0.5f - d, 0.0f, 1.0f);
}

float circle(float x, float y, float cx, float cy, float r)
{
    return std::hypot(x - cx, y - cy) - r;
}

float box(float x, float y, float cx, float cy, float hw, float hh, float radius)
{
    const float qx = std::fabs(x - cx) - hw + radius;
    const float qy = std::fabs(y - cy) - hh + radius;
    return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - radius;
}

float polygon(const std::vector<MapPath::Point>& p, float x, float y)
{
    float d = 1e9f;
    bool inside = false;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        const MapPath::Point a = p[j], b = p[i];
        const float ex = b.x - a.x, ey = b.y - a.y;
        const float t = std::clamp(((x - a.x) * ex + (y - a.y) * ey) / (ex * ex + ey * ey), 0.0f, 1.0f);
        d = std::min(d, std::hypot(x - a.x - ex * t, y - a.y - ey * t));
        if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * ex / ey)
            inside = !inside;
    }
    return inside ? -d : d;
}

std::vector<MapPath::Point> starPoints(float cx, float cy, float outer, float inner)
{
    std::vector<MapPath::Point> p;
    for (int i = 0; i < 10; ++i) {
        const float a = -1.5707963f + float(i) * 0.6283185f;
        const float r = i % 2 == 0 ? outer : inner;
        p.push_back({cx + std::cos(a) * r, cy + std::sin(a) * r});
    }
    return p;
}

using Distance = std::function<float(float, float)>;
// Inside colour at (x, y) with the depth below the edge.
using Body = std::function<Colour(float, float, float)>;

// A shape with a dark outline, over what is drawn, inside the rectangle.
void shape(Picture& pic, int x0, int y0, int w, int h, const Distance& distance, const Body& body,
           float outline = 2.5f, float alpha = 1.0f)
{
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            const float px = float(x) + 0.5f, py = float(y) + 0.5f;
            const float d = distance(px, py);
            const float a = coverage(d);
            if (a <= 0.0f)
                continue;
            Colour c = body(px, py, -d);
            if (d > -outline)
                c = mix(c, INK, 0.75f);
            pic.over(x, y, c, a * alpha);
        }
}

// A soft light: alpha falls from the centre to the radius.
void glow(Picture& pic, float cx, float cy, float r, Colour c, float strength)
{
    for (int y = int(cy - r); y <= int(cy + r); ++y)
        for (int x = int(cx - r); x <= int(cx + r); ++x) {
            const float t = std::hypot(float(x) + 0.5f - cx, float(y) + 0.5f - cy) / r;
            if (t < 1.0f)
                pic.over(x, y, c, strength * (1.0f - t) * (1.0f - t));
        }
}

// Lit from the top left: brighter up and left of the centre.
Colour lit(Colour base, float x, float y, float cx, float cy, float r)
{
    const float l = std::clamp(0.5f - ((x - cx) + (y - cy)) / (2.8f * r), 0.0f, 1.0f);
    return mix(times(base, 0.62f), mix(base, Colour{255, 250, 235}, 0.35f), l);
}

// --- The valleys ---

struct Ground {
    Colour low, high, moss;
    Colour road, roadEdge;
    Colour water;
};

Ground groundOf(bool snowy)
{
    if (snowy)
        return {{132, 146, 190}, {222, 230, 246}, {176, 190, 226}, {206, 186, 150}, {120, 96, 72}, {46, 60, 120}};
    return {{28, 52, 58}, {74, 112, 84}, {52, 86, 66}, {186, 150, 100}, {96, 64, 36}, {30, 36, 96}};
}

// Distance to the road for every pixel near it (large elsewhere).
std::vector<float> roadDistance(const MapPath::Valley& v, float reach)
{
    std::vector<float> dist(size_t(v.width) * v.height, 1e9f);
    const std::vector<MapPath::Point> road = MapPath::sampleRoad(v, 6000);
    for (const MapPath::Point& p : road) {
        for (int y = int(p.y - reach); y <= int(p.y + reach); ++y)
            for (int x = int(p.x - reach); x <= int(p.x + reach); ++x) {
                if (x < 0 || y < 0 || x >= v.width || y >= v.height)
                    continue;
                float& d = dist[size_t(y) * v.width + x];
                d = std::min(d, std::hypot(float(x) + 0.5f - p.x, float(y) + 0.5f - p.y));
            }
    }
    return dist;
}

float riverX(const MapPath::Valley& v, float y)
{
    return float(v.width) * 0.09f + 70.0f * std::sin(y / 310.0f) + 40.0f * std::sin(y / 97.0f + 1.3f);
}

void paintGround(Picture& pic, const MapPath::Valley& v, const std::vector<float>& road)
{
    const Ground g = groundOf(v.snowy);
    for (int y = 0; y < v.height; ++y)
        for (int x = 0; x < v.width; ++x) {
            const float fx = float(x), fy = float(y);
            const float hills = fbm(fx / 620.0f, fy / 620.0f, 11);
            const float slope = fbm((fx + 6) / 620.0f, (fy + 6) / 620.0f, 11) - hills;
            const float grain = fbm(fx / 90.0f, fy / 90.0f, 23, 3);
            Colour c = mix(g.low, g.high, hills * 0.9f + grain * 0.25f - 0.1f);
            c = mix(c, g.moss, std::clamp((grain - 0.55f) * 3.0f, 0.0f, 0.6f));
            // The moon from the top left lights the slopes that face it.
            c = times(c, std::clamp(1.0f - slope * 14.0f, 0.7f, 1.25f));
            // The river down the left of the valley.
            const float rd = std::fabs(fx - riverX(v, fy));
            if (rd < 44.0f) {
                const float ripple = 0.5f + 0.5f * std::sin(fy / 9.0f + std::sin(fx / 13.0f) * 2.0f);
                const Colour water = mix(g.water, Colour{96, 110, 190}, ripple * 0.35f);
                if (rd < 34.0f)
                    c = mix(water, c, std::clamp((rd - 28.0f) / 6.0f, 0.0f, 1.0f));
                else
                    c = mix(times(c, 0.6f), c, (rd - 34.0f) / 10.0f);
            }
            // The road: packed earth with pebbles, a dark verge and a shadow.
            const float d = road[size_t(y) * v.width + x];
            if (d < 46.0f) {
                if (d < 28.0f) {
                    const float pebble = fbm(fx / 7.0f, fy / 7.0f, 41, 2);
                    Colour earth = times(g.road, 0.88f + 0.24f * grain);
                    if (pebble > 0.72f)
                        earth = times(earth, 0.8f);
                    earth = times(earth, 1.0f - 0.25f * (d / 28.0f) * (d / 28.0f));
                    c = mix(earth, g.roadEdge, std::clamp((d - 24.0f) / 4.0f, 0.0f, 1.0f));
                } else if (d < 33.0f) {
                    c = mix(g.roadEdge, INK, 0.35f);
                } else {
                    c = times(c, 0.72f + 0.28f * (d - 33.0f) / 13.0f);
                }
            }
            pic.over(x, y, c, 1.0f);
        }
}

void paintTree(Picture& pic, float cx, float cy, float r, bool snowy, Scatter& rnd)
{
    // Its shadow falls down and right, away from the moon.
    shape(pic, int(cx - r), int(cy - r * 0.4f), int(r * 3), int(r * 2.2f),
          [&](float x, float y) { return std::hypot((x - cx - r * 0.5f) / 1.3f, y - cy - r * 0.7f) - r * 0.8f; },
          [](float, float, float) { return INK; }, 0.0f, 0.35f);
    if (!snowy) {
        const Colour leaf = mix(Colour{28, 62, 46}, Colour{46, 86, 58}, rnd.next());
        for (int k = 0; k < 3; ++k) {
            const float ox = (k - 1) * r * 0.45f, oy = k == 1 ? -r * 0.35f : 0.0f, rr = r * (k == 1 ? 0.75f : 0.62f);
            shape(pic, int(cx + ox - rr - 3), int(cy + oy - rr - 3), int(rr * 2 + 6), int(rr * 2 + 6),
                  [&](float x, float y) { return circle(x, y, cx + ox, cy + oy, rr); },
                  [&](float x, float y, float) {
                      Colour c = lit(leaf, x, y, cx + ox, cy + oy, rr);
                      return times(c, 0.9f + 0.2f * fbm(x / 6.0f, y / 6.0f, 7, 2));
                  },
                  2.0f);
        }
        return;
    }
    // A pine: three tiers, snow on each.
    for (int k = 0; k < 3; ++k) {
        const float top = cy - r * 1.4f + k * r * 0.55f, half = r * (0.45f + 0.25f * k), base = top + r * 0.9f;
        const std::vector<MapPath::Point> tier = {{cx, top}, {cx + half, base}, {cx - half, base}};
        shape(pic, int(cx - half - 3), int(top - 3), int(half * 2 + 6), int(base - top + 6),
              [&](float x, float y) { return polygon(tier, x, y); },
              [&](float x, float y, float depth) {
                  const Colour needles = lit(Colour{34, 66, 70}, x, y, cx, (top + base) / 2, half);
                  return depth < 6.0f && y < base - 3 ? Colour{236, 242, 252} : needles;
              },
              2.0f);
    }
}

void paintCottage(Picture& pic, float cx, float cy, bool snowy)
{
    shape(pic, int(cx - 40), int(cy - 10), 80, 50, [&](float x, float y) { return box(x, y, cx, cy + 14, 30, 18, 3); },
          [&](float x, float y, float) { return lit(PARCHMENT_DARK, x, y, cx, cy + 14, 30); });
    const std::vector<MapPath::Point> roof = {{cx - 38, cy}, {cx, cy - 30}, {cx + 38, cy}};
    shape(pic, int(cx - 42), int(cy - 34), 84, 38, [&](float x, float y) { return polygon(roof, x, y); },
          [&](float x, float y, float depth) {
              if (snowy && depth > 4)
                  return Colour{232, 238, 250};
              return lit(Colour{120, 46, 36}, x, y, cx, cy - 12, 30);
          });
    for (const float wx : {cx - 14.0f, cx + 14.0f}) {
        glow(pic, wx, cy + 14, 22, AMBER, 0.35f);
        shape(pic, int(wx - 8), int(cy + 6), 16, 16, [&](float x, float y) { return box(x, y, wx, cy + 14, 6, 6, 1); },
              [&](float, float, float) { return GOLD; }, 1.5f);
    }
}

void paintValley(Picture& pic, const MapPath::Valley& v)
{
    const std::vector<float> road = roadDistance(v, 46.0f);
    paintGround(pic, v, road);
    Scatter rnd{v.snowy ? 77u : 31u};
    // Cottages near the road, then trees wherever the road and river leave room.
    const std::vector<MapPath::Point> nearRoad = MapPath::placesAlong(v, 7, 0.1f, 0.9f);
    for (size_t i = 0; i < nearRoad.size(); ++i) {
        const float side = i % 2 == 0 ? 150.0f : -150.0f;
        const float x = std::clamp(nearRoad[i].x + side, 80.0f, float(v.width) - 80.0f);
        const float y = nearRoad[i].y - 40.0f;
        const size_t at = size_t(std::clamp(int(y), 0, v.height - 1)) * v.width + size_t(std::clamp(int(x), 0, v.width - 1));
        if (road[at] > 60.0f)
            paintCottage(pic, x, y, v.snowy);
    }
    const int trees = v.width * v.height / 9000;
    for (int i = 0; i < trees; ++i) {
        const float x = rnd.next() * float(v.width), y = rnd.next() * float(v.height);
        const float r = 16.0f + rnd.next() * 18.0f;
        const size_t at = size_t(int(y)) * v.width + size_t(int(x));
        if (road[at] < 46.0f + r || std::fabs(x - riverX(v, y)) < 48.0f + r)
            continue;
        paintTree(pic, x, y, r, v.snowy, rnd);
    }
}

bool writeJpegTiles(const Picture& pic, const std::string& media, int episode)
{
    using MapPath::BLEED;
    using MapPath::TILE_SIZE;
    using MapPath::TILE_STEP;
    for (int row = 0; row * TILE_STEP < pic.height; ++row)
        for (int col = 0; col * TILE_STEP < pic.width; ++col) {
            // The tile's pixels with its bleed, the valley's own border
            // repeated past its edges.
            ImageWriters::Bytes colour;
            colour.reserve(size_t(TILE_SIZE) * TILE_SIZE * 3);
            for (int y = 0; y < TILE_SIZE; ++y)
                for (int x = 0; x < TILE_SIZE; ++x) {
                    const Colour c = pic.at(col * TILE_STEP - BLEED + x, row * TILE_STEP - BLEED + y);
                    for (const float v : {c.r, c.g, c.b})
                        colour.push_back(uint8_t(std::clamp(std::lround(v), 0L, 255L)));
                }
            ImageWriters::Bytes out;
            std::string error;
            const std::string path = media + "/images/map_ep" + std::to_string(episode + 1) + "_r" +
                                     std::to_string(row) + "c" + std::to_string(col) + ".jpg";
            // The engine reads a JPEG with its alpha as a second, grey one:
            // all opaque here, which packs to almost nothing.
            ImageWriters::Bytes alpha;
            const std::string alphaPath = path.substr(0, path.size() - 4) + "_a.jpg";
            if (!ImageWriters::writeJpeg(TILE_SIZE, TILE_SIZE, 3, colour, 82, out, error, true) ||
                !ImageWriters::writeFile(path, out) ||
                !ImageWriters::writeJpeg(TILE_SIZE, TILE_SIZE, 1, ImageWriters::Bytes(size_t(TILE_SIZE) * TILE_SIZE, 255),
                                         90, alpha, error) ||
                !ImageWriters::writeFile(alphaPath, alpha)) {
                std::fprintf(stderr, "sprite_art: cannot write %s: %s\n", path.c_str(), error.c_str());
                return false;
            }
        }
    return true;
}

// --- The atlas ---

void medallionRim(Picture& pic, int x0, int y0)
{
    const float cx = x0 + 64.0f, cy = y0 + 64.0f;
    glow(pic, cx, cy + 6, 64, INK, 0.5f);
    shape(pic, x0, y0, 128, 128, [&](float x, float y) { return circle(x, y, cx, cy, 56); },
          [&](float x, float y, float depth) {
              if (depth < 12.0f)
                  return lit(BRASS, x, y, cx, cy, 56);
              return lit(WOOD_DARK, x, y, cx, cy, 44);
          },
          2.5f);
    // Rivets around the ring.
    for (int k = 0; k < 8; ++k) {
        const float a = float(k) * 0.785398f + 0.39f;
        const float rx = cx + std::cos(a) * 50.0f, ry = cy + std::sin(a) * 50.0f;
        shape(pic, int(rx - 5), int(ry - 5), 10, 10, [&](float x, float y) { return circle(x, y, rx, ry, 3); },
              [&](float x, float y, float) { return lit(BRASS_LIGHT, x, y, rx, ry, 3); }, 1.0f);
    }
}

void medallionFace(Picture& pic, int x0, int y0, int look)
{
    const float cx = x0 + 64.0f, cy = y0 + 64.0f;
    shape(pic, x0, y0, 128, 128, [&](float x, float y) { return circle(x, y, cx, cy, 43); },
          [&](float x, float y, float) {
              const float t = std::hypot(x - cx, y - cy) / 43.0f;
              if (look == 0)  // locked: cold slate
                  return lit(mix(Colour{84, 84, 120}, INDIGO_DEEP, t * 0.8f), x, y, cx, cy, 43);
              if (look == 1)  // open: a lantern's flame
                  return mix(Colour{255, 236, 160}, mix(AMBER, Colour{168, 82, 24}, t), std::min(1.0f, t * 1.4f));
              return lit(mix(GOLD, Colour{198, 146, 52}, t), x, y, cx, cy, 43);  // won: gold
          },
          1.5f);
    if (look == 0) {
        // A small padlock under the number.
        const float lx = cx, ly = cy + 28;
        shape(pic, int(lx - 12), int(ly - 18), 24, 28,
              [&](float x, float y) { return std::fabs(circle(x, y, lx, ly - 6, 7)) - 2.2f; },
              [&](float, float, float) { return Colour{150, 150, 170}; }, 0.8f);
        shape(pic, int(lx - 12), int(ly - 8), 24, 20, [&](float x, float y) { return box(x, y, lx, ly + 2, 9, 7, 2); },
              [&](float x, float y, float) { return lit(Colour{150, 150, 170}, x, y, lx, ly + 2, 9); }, 1.2f);
    }
}

void star(Picture& pic, int x0, int y0, int size, Colour body)
{
    const float c = size / 2.0f;
    const auto points = starPoints(x0 + c, y0 + c + 1, c - 2, (c - 2) * 0.46f);
    shape(pic, x0, y0, size, size, [&](float x, float y) { return polygon(points, x, y); },
          [&](float x, float y, float) { return lit(body, x, y, x0 + c, y0 + c, c); }, 2.0f);
}

void coin(Picture& pic, int x0, int y0, int size, Colour metal)
{
    const float c = size / 2.0f, cx = x0 + c, cy = y0 + c;
    shape(pic, x0, y0, size, size, [&](float x, float y) { return circle(x, y, cx, cy, c - 2); },
          [&](float x, float y, float depth) {
              const Colour m = lit(metal, x, y, cx, cy, c);
              return depth > 5.0f && depth < 7.0f ? times(m, 0.75f) : m;
          },
          2.0f);
}

void heart(Picture& pic, int x0, int y0, int size)
{
    const float s = size / 56.0f;
    shape(pic, x0, y0, size, size,
          [&](float x, float y) {
              const float px = (x - x0) / s - 28, py = (y - y0) / s - 26;
              const float d = std::min(circle(px, py, -10, -6, 13), circle(px, py, 10, -6, 13));
              const std::vector<MapPath::Point> tip = {{-22, 0}, {22, 0}, {0, 24}};
              return std::min(d, polygon(tip, px, py)) * s;
          },
          [&](float x, float y, float) { return lit(Colour{214, 52, 60}, x, y, x0 + size / 2.0f, y0 + size / 2.0f, size / 2.0f); },
          2.0f);
}

void player(Picture& pic, int x0, int y0)
{
    const float cx = x0 + 44.0f;
    glow(pic, x0 + 80, y0 + 70, 30, AMBER, 0.55f);
    // Cloak, hood and the shadowed face.
    const float top = float(y0 + 38), foot = float(y0 + 120);
    const std::vector<MapPath::Point> cloak = {{cx - 8, top}, {cx + 10, top}, {cx + 30, foot}, {cx - 30, foot}};
    shape(pic, x0, y0, 96, 128, [&](float x, float y) { return polygon(cloak, x, y); },
          [&](float x, float y, float) { return lit(Colour{70, 56, 140}, x, y, cx, y0 + 80, 40); });
    shape(pic, x0, y0, 96, 128, [&](float x, float y) { return circle(x, y, cx, y0 + 32, 19); },
          [&](float x, float y, float depth) {
              if (circle(x, y, cx + 4, y0 + 36, 10) < 0)
                  return mix(Colour{70, 44, 36}, INK, 0.4f);
              return lit(Colour{80, 64, 156}, x, y, cx, y0 + 32, 19 + depth * 0);
          });
    // The arm with the lantern on its pole.
    shape(pic, x0, y0, 96, 128,
          [&](float x, float y) {
              const float t = std::clamp(((x - cx) * 36 + (y - y0 - 60) * -8) / (36 * 36 + 8 * 8.0f), 0.0f, 1.0f);
              return std::hypot(x - cx - 36 * t, y - y0 - 60 + 8 * t) - 3.0f;
          },
          [&](float, float, float) { return WOOD; }, 1.0f);
    shape(pic, x0 + 66, y0 + 52, 28, 34, [&](float x, float y) { return box(x, y, x0 + 80, y0 + 70, 9, 12, 3); },
          [&](float x, float y, float depth) {
              return depth > 3.0f ? mix(Colour{255, 240, 170}, AMBER, std::hypot(x - x0 - 80, y - y0 - 70) / 10.0f)
                                  : BRASS;
          },
          1.5f);
}

void gate(Picture& pic, int x0, int y0)
{
    // Two posts, three planks with brass studs, a parchment plaque on top.
    for (const float px : {x0 + 22.0f, x0 + 170.0f})
        shape(pic, int(px - 14), y0 + 30, 28, 146, [&](float x, float y) { return box(x, y, px, y0 + 104, 11, 70, 3); },
              [&](float x, float y, float) { return lit(WOOD, x, y, px, y0 + 104, 11) ; });
    for (int k = 0; k < 3; ++k) {
        const float py = y0 + 84.0f + k * 30.0f;
        shape(pic, x0 + 8, int(py - 14), 176, 28, [&](float x, float y) { return box(x, y, x0 + 96, py, 84, 11, 3); },
              [&](float x, float y, float) {
                  const Colour grain = times(WOOD, 0.85f + 0.3f * fbm(x / 30.0f, y / 3.0f, 5, 2));
                  return lit(grain, x, y, x0 + 96, py, 84);
              });
        for (const float sx : {x0 + 22.0f, x0 + 170.0f})
            shape(pic, int(sx - 5), int(py - 5), 10, 10, [&](float x, float y) { return circle(x, y, sx, py, 3.5f); },
                  [&](float x, float y, float) { return lit(BRASS_LIGHT, x, y, sx, py, 3.5f); }, 1.0f);
    }
    shape(pic, x0 + 36, y0 + 2, 120, 60, [&](float x, float y) { return box(x, y, x0 + 96, y0 + 32, 56, 26, 8); },
          [&](float x, float y, float depth) {
              if (depth < 5.0f)
                  return lit(BRASS, x, y, x0 + 96, y0 + 32, 56);
              return mix(PARCHMENT, PARCHMENT_DARK, (y - y0 - 6) / 60.0f);
          });
    star(pic, x0 + 46, y0 + 14, 36, GOLD);
}

void signpost(Picture& pic, int x0, int y0, bool up)
{
    shape(pic, x0 + 54, y0 + 60, 20, 68, [&](float x, float y) { return box(x, y, x0 + 64, y0 + 96, 7, 32, 2); },
          [&](float x, float y, float) { return lit(WOOD, x, y, x0 + 64, y0 + 96, 7); });
    shape(pic, x0 + 4, y0 + 4, 120, 84, [&](float x, float y) { return box(x, y, x0 + 64, y0 + 44, 56, 36, 10); },
          [&](float x, float y, float depth) {
              if (depth < 6.0f)
                  return lit(BRASS, x, y, x0 + 64, y0 + 44, 56);
              return lit(WOOD_DARK, x, y, x0 + 64, y0 + 44, 56);
          });
    const float dir = up ? -1.0f : 1.0f, cy = y0 + 44.0f;
    const std::vector<MapPath::Point> arrow = {{x0 + 64.0f, cy + dir * 26}, {x0 + 88.0f, cy + dir * 2},
                                               {x0 + 74.0f, cy + dir * 2},  {x0 + 74.0f, cy - dir * 24},
                                               {x0 + 54.0f, cy - dir * 24}, {x0 + 54.0f, cy + dir * 2},
                                               {x0 + 40.0f, cy + dir * 2}};
    shape(pic, x0 + 30, y0 + 10, 68, 70, [&](float x, float y) { return polygon(arrow, x, y); },
          [&](float x, float y, float) { return lit(AMBER, x, y, x0 + 64, cy, 26); }, 2.0f);
}

void topPanel(Picture& pic, int x0, int y0)
{
    shape(pic, x0, y0, 640, 104, [&](float x, float y) { return box(x, y, x0 + 320, y0 + 50, 316, 46, 22); },
          [&](float x, float y, float depth) {
              if (depth < 7.0f)
                  return lit(BRASS, x, y, x0 + 320, y0 + 50, 220);
              const Colour grain = times(WOOD, 0.8f + 0.35f * fbm(x / 70.0f, y / 4.0f, 9, 3));
              return mix(grain, WOOD_DARK, (y - y0) / 110.0f);
          },
          2.5f);
    // Parchment wells for the two counters the map keeps, stars and silver.
    for (const float wx : {x0 + 150.0f, x0 + 390.0f})
        shape(pic, int(wx - 90), y0 + 20, 180, 62, [&](float x, float y) { return box(x, y, wx, y0 + 51, 84, 24, 12); },
              [&](float, float y, float depth) {
                  if (depth < 3.0f)
                      return BRASS_LIGHT;
                  return mix(PARCHMENT, PARCHMENT_DARK, (y - y0 - 27) / 50.0f);
              },
              1.5f);
}

void roundButton(Picture& pic, int x0, int y0, int size, int icon)
{
    const float c = size / 2.0f, cx = x0 + c, cy = y0 + c;
    shape(pic, x0, y0, size, size, [&](float x, float y) { return circle(x, y, cx, cy, c - 2); },
          [&](float x, float y, float depth) {
              if (depth < 5.0f)
                  return lit(BRASS, x, y, cx, cy, c);
              return lit(icon == 2 ? Colour{60, 130, 60} : INDIGO, x, y, cx, cy, c);
          },
          2.0f);
    if (icon == 0) {  // the menu: three bars
        for (int k = -1; k <= 1; ++k)
            shape(pic, x0, y0, size, size, [&](float x, float y) { return box(x, y, cx, cy + k * 11.0f, c * 0.45f, 3, 2); },
                  [&](float, float, float) { return PARCHMENT; }, 0.8f);
    } else if (icon == 2) {  // plus
        shape(pic, x0, y0, size, size,
              [&](float x, float y) { return std::min(box(x, y, cx, cy, c * 0.5f, 4, 2), box(x, y, cx, cy, 4, c * 0.5f, 2)); },
              [&](float, float, float) { return PARCHMENT; }, 1.0f);
    }
}

void mailScroll(Picture& pic, int x0, int y0)
{
    shape(pic, x0 + 6, y0 + 14, 60, 44, [&](float x, float y) { return box(x, y, x0 + 36, y0 + 36, 26, 18, 6); },
          [&](float x, float y, float) { return lit(PARCHMENT, x, y, x0 + 36, y0 + 36, 26); });
    coin(pic, x0 + 24, y0 + 26, 22, Colour{196, 40, 40});
}

void lampPost(Picture& pic, int x0, int y0)
{
    shape(pic, x0 + 16, y0 + 24, 8, 56, [&](float x, float y) { return box(x, y, x0 + 20, y0 + 52, 2.5f, 27, 1); },
          [&](float, float, float) { return Colour{40, 36, 50}; }, 0.8f);
    shape(pic, x0 + 8, y0 + 4, 24, 28, [&](float x, float y) { return box(x, y, x0 + 20, y0 + 18, 9, 12, 3); },
          [&](float x, float y, float depth) { return depth > 3.0f ? Colour{70, 64, 90} : lit(BRASS, x, y, x0 + 20, y0 + 18, 9); },
          1.5f);
}

void lampFlame(Picture& pic, int x0, int y0)
{
    glow(pic, x0 + 48.0f, y0 + 48.0f, 48, AMBER, 0.85f);
    glow(pic, x0 + 48.0f, y0 + 48.0f, 16, Colour{255, 244, 200}, 1.0f);
}

void portraitFrame(Picture& pic, int x0, int y0)
{
    shape(pic, x0, y0, 64, 64, [&](float x, float y) { return circle(x, y, x0 + 32, y0 + 32, 30); },
          [&](float x, float y, float depth) { return depth < 5.0f ? lit(BRASS, x, y, x0 + 32, y0 + 32, 30) : INDIGO_DEEP; });
}

Picture drawAtlas()
{
    Picture pic(1024, 512);
    medallionRim(pic, 0, 0);
    for (int look = 0; look < 3; ++look)
        medallionFace(pic, 128 * (look + 1), 0, look);
    glow(pic, 512 + 96, 96, 96, AMBER, 0.9f);
    player(pic, 704, 0);
    gate(pic, 816, 0);
    star(pic, 0, 192, 48, GOLD);
    star(pic, 48, 192, 48, Colour{70, 66, 96});
    coin(pic, 96, 192, 48, Colour{200, 206, 220});
    coin(pic, 144, 192, 56, Colour{200, 206, 220});
    star(pic, 200, 192, 56, GOLD);
    coin(pic, 256, 192, 56, GOLD);
    heart(pic, 312, 192, 56);
    roundButton(pic, 368, 192, 72, 0);
    mailScroll(pic, 440, 192);
    roundButton(pic, 512, 192, 44, 2);
    lampPost(pic, 560, 192);
    lampFlame(pic, 600, 192);
    signpost(pic, 704, 192, true);
    signpost(pic, 832, 192, false);
    topPanel(pic, 0, 336);
    portraitFrame(pic, 0, 448);
    return pic;
}

}  // namespace

std::vector<Piece> pieces()
{
    return {
        {"LevelRim", {0, 0, 128, 128}},      {"LevelLocked", {128, 0, 256, 128}}, {"LevelOpen", {256, 0, 384, 128}},
        {"LevelWon", {384, 0, 512, 128}},    {"SelectGlow", {512, 0, 704, 192}},  {"Player", {704, 0, 800, 128}},
        {"Gate", {816, 0, 1008, 176}},       {"Star", {0, 192, 48, 240}},         {"StarDim", {48, 192, 96, 240}},
        {"Coin", {96, 192, 144, 240}},       {"SilverIcon", {144, 192, 200, 248}}, {"StarIcon", {200, 192, 256, 248}},
        {"GoldIcon", {256, 192, 312, 248}},  {"HeartIcon", {312, 192, 368, 248}}, {"MenuButton", {368, 192, 440, 264}},
        {"MailScroll", {440, 192, 512, 264}}, {"PlusButton", {512, 192, 556, 236}}, {"LampPost", {560, 192, 600, 272}},
        {"LampFlame", {600, 192, 696, 288}}, {"SignUp", {704, 192, 832, 320}},    {"SignDown", {832, 192, 960, 320}},
        {"TopPanel", {0, 336, 640, 440}},   {"Portrait", {0, 448, 64, 512}},
    };
}

bool writeImages(const std::string& media)
{
    for (int episode = 0; episode < 2; ++episode) {
        const MapPath::Valley v = MapPath::valley(episode);
        Picture pic(v.width, v.height);
        paintValley(pic, v);
        if (!writeJpegTiles(pic, media, episode))
            return false;
    }
    const Picture atlas = drawAtlas();
    ImageWriters::PngDescription png;
    png.width = uint32_t(atlas.width);
    png.height = uint32_t(atlas.height);
    png.colourType = PNG_COLOR_TYPE_RGBA;
    png.rows = atlas.bytes(0, 0, atlas.width, atlas.height, 4);
    ImageWriters::Bytes out;
    std::string error;
    if (!ImageWriters::writePng(png, out, error) || !ImageWriters::writeFile(media + "/images/map.png", out)) {
        std::fprintf(stderr, "sprite_art: cannot write map.png: %s\n", error.c_str());
        return false;
    }
    return true;
}

}  // namespace MapArt
