#include "render_data.h"

namespace VQ {

RenderData::RenderData(const RenderData& other)
    : primitiveKind(other.primitiveKind), blendMode(other.blendMode), addressMode(other.addressMode)
{
    if (other.vertices)
        vertices = std::make_unique<VertexStorage>(*other.vertices);
    textures = other.textures;
    for (TextureBase* t : textures)
        if (t)
            t->addReference();
}

RenderData::~RenderData()
{
    releaseTextures();
}

void RenderData::releaseTextures()
{
    for (TextureBase* t : textures)
        if (t)
            t->releaseReference();
    textures.clear();
}

void RenderData::addTextureReferences(const RenderData& other)
{
    for (TextureBase* t : other.textures) {
        if (!t)
            continue;
        textures.push_back(t);
        t->addReference();
    }
}

uint8_t* RenderData::allocateVertices(uint32_t count, uint32_t stride)
{
    vertices = std::make_unique<VertexStorage>();
    vertices->bytes.assign(size_t(count) * stride, 0);
    vertices->count = count;
    return vertices->bytes.data();
}

}  // namespace VQ
