#include "vertex_layout.h"

namespace VQ {

namespace {

constexpr uint32_t kComponentBytes[VC_COUNT] = {12, 12, 4, 4, 8, 8, 8, 8, 8, 8, 8, 8};

}  // namespace

// Function-local so that code running during static initialisation sees it
// built.
static VertexLayout& layoutCache()
{
    static VertexLayout layout = describeVertexLayout(VERTEX_FORMAT_DEFAULT);
    return layout;
}

VertexLayout describeVertexLayout(uint32_t format)
{
    VertexLayout layout;
    layout.format = format;
    uint32_t offset = 0;
    for (uint32_t c = 0; c < VC_COUNT; ++c) {
        layout.offsets[c] = offset;
        if ((format >> c) & 1u)
            offset += kComponentBytes[c];
    }
    layout.stride = offset;
    return layout;
}

uint32_t computeVertexLayout(uint32_t format)
{
    VertexLayout& layout = layoutCache();
    if (layout.format != format)
        layout = describeVertexLayout(format);
    return layout.stride;
}

const VertexLayout& currentVertexLayout()
{
    return layoutCache();
}

uint32_t vertexFormatToFVF(uint32_t format)
{
    uint32_t fvf = 0;
    if (format & VERTEX_FORMAT_POSITION)
        fvf |= 0x002;
    if (format & VERTEX_FORMAT_NORMAL)
        fvf |= 0x010;
    if (format & VERTEX_FORMAT_DIFFUSE)
        fvf |= 0x040;
    if (format & VERTEX_FORMAT_SPECULAR)
        fvf |= 0x080;
    uint32_t sets = 0;
    for (uint32_t c = VC_TEXCOORD0; c < VC_COUNT; ++c)
        if ((format >> c) & 1u)
            ++sets;
    return fvf | (sets << 8);
}

}  // namespace VQ
