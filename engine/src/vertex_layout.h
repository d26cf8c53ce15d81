#pragma once
// The engine's vertex layout: a bitmask of components, each stored in a fixed
// order, from which every vertex's stride and component offsets follow.

#include <cstdint>

namespace VQ {

enum VertexComponent : uint32_t {
    VC_POSITION = 0,
    VC_NORMAL = 1,
    VC_DIFFUSE = 2,
    VC_SPECULAR = 3,
    VC_TEXCOORD0 = 4,  // sets 0 to 7 follow
    VC_COUNT = 12,
};

// Format bits: 1 position, 2 normal, 4 colour, 8 second colour, 16 << n
// texture coordinate set n.
constexpr uint32_t VERTEX_FORMAT_POSITION = 1;
constexpr uint32_t VERTEX_FORMAT_NORMAL = 2;
constexpr uint32_t VERTEX_FORMAT_DIFFUSE = 4;
constexpr uint32_t VERTEX_FORMAT_SPECULAR = 8;
constexpr uint32_t VERTEX_FORMAT_TEXCOORD0 = 16;
// Position, colour and one texture coordinate set: what the engine draws with.
constexpr uint32_t VERTEX_FORMAT_DEFAULT = 21;

struct VertexLayout {
    uint32_t format = 0;
    uint32_t stride = 0;
    // Byte offset of each component; an absent one gets the offset at which
    // it would stand.
    uint32_t offsets[VC_COUNT] = {};

    bool has(VertexComponent c) const { return (format >> c) & 1u; }
};

// The layout of a format, computed afresh.
VertexLayout describeVertexLayout(uint32_t format);

// The process-wide layout, recomputed only when `format` differs from the one
// it was computed for. Returns the stride.
uint32_t computeVertexLayout(uint32_t format);
const VertexLayout& currentVertexLayout();

// The fixed-function vertex code of a format (position 0x2, normal 0x10,
// colour 0x40, second colour 0x80, the number of texture sets << 8).
uint32_t vertexFormatToFVF(uint32_t format);

}  // namespace VQ
