#pragma once
// The level map's art: each episode's painted valley in opaque JPEG tiles
// of at most 1024 x 1024 (images/map_ep<N>_r<row>c<column>.jpg, each with
// its grey alpha twin ..._a.jpg), and the
// map atlas images/map.png with the pieces the map's scenes and interface
// place (medallions, stars, the lantern-bearer, gates, signposts, the top
// panel and its icons).

#include <array>
#include <string>
#include <vector>

namespace MapArt {

struct Piece {
    std::string name;
    std::array<float, 4> rect;  // left, top, right, bottom in map.png
};

// Paints and writes the valleys and the atlas; false when a file could not
// be written.
bool writeImages(const std::string& media);

// The atlas's pieces, for the sprite table "map".
std::vector<Piece> pieces();

}  // namespace MapArt
