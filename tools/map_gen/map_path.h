#pragma once
// The road of each episode's map, shared by the tool that paints the
// valley (sprite_art) and the tool that places the levels on it (map_gen),
// so that every level stands on the painted road. The road is fixed per
// episode; the levels are spread along it by their count, so a level that
// joins the catalogue later only moves the places along the same road.

#include <algorithm>
#include <cmath>
#include <vector>

namespace MapPath {

struct Point {
    float x = 0.0f;
    float y = 0.0f;
};

struct Valley {
    int width = 0;
    int height = 0;
    bool snowy = false;
    std::vector<Point> road;  // from the first level (bottom) to the end (top)
};

// A valley is cut into tiles of 1024 x 1024 laid every TILE_STEP units:
// each tile carries BLEED units of its neighbours on every side, which its
// sprite clips away, so that no seam shows where the picture's filtering
// wraps round at a texture's edge.
constexpr int TILE_SIZE = 1024;
constexpr int BLEED = 2;
constexpr int TILE_STEP = TILE_SIZE - 2 * BLEED;

// Episodes past the drawn ones reuse the last valley.
inline Valley valley(int episode)
{
    if (episode <= 0)
        return {2040, 3060, false,
                {{760, 3010}, {1240, 2860}, {1480, 2620}, {1120, 2400}, {620, 2240}, {520, 1980}, {900, 1780},
                 {1460, 1660}, {1560, 1400}, {1180, 1180}, {620, 1060}, {480, 800}, {820, 600}, {1360, 520},
                 {1520, 300}, {1140, 110}}};
    return {2040, 2040, true,
            {{980, 1990}, {1420, 1840}, {1500, 1600}, {1000, 1420}, {560, 1240}, {640, 960}, {1160, 820},
             {1520, 620}, {1300, 360}, {900, 200}, {1020, 60}}};
}

// A point of the Catmull-Rom curve through the road's points, t in [0, 1].
inline Point curvePoint(const std::vector<Point>& p, float t)
{
    const int segments = static_cast<int>(p.size()) - 1;
    const float s = std::clamp(t, 0.0f, 1.0f) * static_cast<float>(segments);
    const int i = std::min(static_cast<int>(s), segments - 1);
    const float u = s - static_cast<float>(i);
    auto at = [&](int k) { return p[std::clamp(k, 0, segments)]; };
    const Point a = at(i - 1), b = at(i), c = at(i + 1), d = at(i + 2);
    auto blend = [&](float pa, float pb, float pc, float pd) {
        return 0.5f * ((2 * pb) + (-pa + pc) * u + (2 * pa - 5 * pb + 4 * pc - pd) * u * u +
                       (-pa + 3 * pb - 3 * pc + pd) * u * u * u);
    };
    return {blend(a.x, b.x, c.x, d.x), blend(a.y, b.y, c.y, d.y)};
}

// The road sampled finely, evenly in its own parameter.
inline std::vector<Point> sampleRoad(const Valley& v, int samples = 2000)
{
    std::vector<Point> out;
    out.reserve(static_cast<size_t>(samples) + 1);
    for (int i = 0; i <= samples; ++i)
        out.push_back(curvePoint(v.road, static_cast<float>(i) / static_cast<float>(samples)));
    return out;
}

// `count` places spread evenly by length along the road, from `from` to
// `to` of its length (0 the start, 1 the end).
inline std::vector<Point> placesAlong(const Valley& v, int count, float from = 0.02f, float to = 0.97f)
{
    const std::vector<Point> road = sampleRoad(v);
    std::vector<float> length(road.size(), 0.0f);
    for (size_t i = 1; i < road.size(); ++i)
        length[i] = length[i - 1] + std::hypot(road[i].x - road[i - 1].x, road[i].y - road[i - 1].y);
    std::vector<Point> places;
    for (int k = 0; k < count; ++k) {
        const float share = count > 1 ? from + (to - from) * static_cast<float>(k) / static_cast<float>(count - 1) : from;
        const float want = share * length.back();
        const size_t i = static_cast<size_t>(std::lower_bound(length.begin(), length.end(), want) - length.begin());
        places.push_back(road[std::min(i, road.size() - 1)]);
    }
    return places;
}

}  // namespace MapPath
