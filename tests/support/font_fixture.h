#pragma once
// What font tests read back from drawn vertices: each glyph quad's bounds.

#include <algorithm>
#include <vector>

#include "rect.h"
#include "support/sprite_fixture.h"

namespace TestSupport {

// The bounds of each quad of four vertices, in the order drawn.
inline std::vector<VQ::Rect> quadBounds(const std::vector<DrawnVertex>& vertices)
{
    std::vector<VQ::Rect> quads;
    for (size_t i = 0; i + 4 <= vertices.size(); i += 4) {
        VQ::Rect r(vertices[i].x, vertices[i].y, vertices[i].x, vertices[i].y);
        for (size_t k = i + 1; k < i + 4; ++k) {
            r.left = std::min(r.left, vertices[k].x);
            r.top = std::min(r.top, vertices[k].y);
            r.right = std::max(r.right, vertices[k].x);
            r.bottom = std::max(r.bottom, vertices[k].y);
        }
        quads.push_back(r);
    }
    return quads;
}

}  // namespace TestSupport
