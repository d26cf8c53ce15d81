#pragma once
// The unit of drawing: vertices in the engine's vertex layout, the textures
// they use (only the first is bound), the primitive kind, the blend mode and
// the texture address mode. Each non-null texture entry holds one reference.

#include <cstdint>
#include <memory>
#include <vector>

#include "texture_base.h"

namespace VQ {

enum PrimitiveKind : int32_t { PRIMITIVE_QUADS = 0, PRIMITIVE_LINES = 1 };
enum BlendMode : int32_t { BLEND_ALPHA = 0, BLEND_COLOR = 1, BLEND_ADD = 2, BLEND_KEEP = 3 };
enum AddressMode : int32_t { ADDRESS_WRAP = 0, ADDRESS_MIRROR = 1, ADDRESS_CLAMP = 2 };

struct VertexStorage {
    std::vector<uint8_t> bytes;  // count x stride
    uint32_t count = 0;
};

class RenderData {
public:
    RenderData() = default;
    // Copies the vertices; each copied texture gains a reference.
    RenderData(const RenderData& other);
    RenderData& operator=(const RenderData&) = delete;
    virtual ~RenderData();

    // Gives back every texture reference and empties the list.
    void releaseTextures();
    // Appends the other's non-null textures, each with a new reference.
    void addTextureReferences(const RenderData& other);

    // Fresh zeroed storage for `count` vertices of `stride` bytes.
    uint8_t* allocateVertices(uint32_t count, uint32_t stride);
    uint32_t vertexCount() const { return vertices ? vertices->count : 0; }

    std::unique_ptr<VertexStorage> vertices;
    std::vector<TextureBase*> textures;
    int32_t primitiveKind = PRIMITIVE_QUADS;
    int32_t blendMode = BLEND_ALPHA;
    int32_t addressMode = ADDRESS_WRAP;
};

}  // namespace VQ
