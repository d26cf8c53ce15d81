#pragma once
// Building render data and textures for drawing tests and benchmarks
// (vertex format 21: position, colour, one texture coordinate set).

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/graphics_device.h"
#include "render_data.h"
#include "texture_base.h"

namespace TestSupport {

struct QuadSpec {
    float x = 0, y = 0, w = 1, h = 1;
    uint32_t argb = 0xFFFFFFFF;
    float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
};

struct VertexSpec {
    float x = 0, y = 0;
    uint32_t argb = 0xFFFFFFFF;
    float u = 0, v = 0;
};

constexpr uint32_t kStride = 24;

inline void writeVertex(uint8_t* dst, const VertexSpec& v)
{
    const float pos[3] = {v.x, v.y, 0.0f};
    const float uv[2] = {v.u, v.v};
    std::memcpy(dst, pos, 12);
    std::memcpy(dst + 12, &v.argb, 4);  // little-endian: bytes b, g, r, a
    std::memcpy(dst + 16, uv, 8);
}

// Corners in order around the quad: top-left, top-right, bottom-right,
// bottom-left.
inline void writeQuad(uint8_t* dst, const QuadSpec& q)
{
    writeVertex(dst, {q.x, q.y, q.argb, q.u0, q.v0});
    writeVertex(dst + kStride, {q.x + q.w, q.y, q.argb, q.u1, q.v0});
    writeVertex(dst + 2 * kStride, {q.x + q.w, q.y + q.h, q.argb, q.u1, q.v1});
    writeVertex(dst + 3 * kStride, {q.x, q.y + q.h, q.argb, q.u0, q.v1});
}

inline std::unique_ptr<VQ::RenderData> makeQuads(const std::vector<QuadSpec>& quads, VQ::TextureBase* texture,
                                                 int32_t blend = VQ::BLEND_ALPHA, int32_t address = VQ::ADDRESS_WRAP)
{
    auto data = std::make_unique<VQ::RenderData>();
    uint8_t* p = data->allocateVertices(uint32_t(quads.size() * 4), kStride);
    for (size_t i = 0; i < quads.size(); ++i)
        writeQuad(p + i * 4 * kStride, quads[i]);
    if (texture) {
        data->textures.push_back(texture);
        texture->addReference();
    }
    data->blendMode = blend;
    data->addressMode = address;
    return data;
}

inline std::unique_ptr<VQ::RenderData> makeVertices(const std::vector<VertexSpec>& vertices, VQ::TextureBase* texture,
                                                    int32_t kind)
{
    auto data = std::make_unique<VQ::RenderData>();
    uint8_t* p = data->allocateVertices(uint32_t(vertices.size()), kStride);
    for (size_t i = 0; i < vertices.size(); ++i)
        writeVertex(p + i * kStride, vertices[i]);
    if (texture) {
        data->textures.push_back(texture);
        texture->addReference();
    }
    data->primitiveKind = kind;
    return data;
}

// A ready texture on a device, filled from 0xAARRGGBB pixels (or raw bytes in
// the texture's own format).
class DeviceTexture : public VQ::TextureBase {
public:
    DeviceTexture(VQ::GraphicsDevice& device, uint32_t width, uint32_t height, const std::vector<uint32_t>& argb)
        : DeviceTexture(device, width, height, VQ::GfxFormat::A8R8G8B8,
                        std::vector<uint8_t>(reinterpret_cast<const uint8_t*>(argb.data()),
                                             reinterpret_cast<const uint8_t*>(argb.data() + argb.size())))
    {
    }
    DeviceTexture(VQ::GraphicsDevice& device, uint32_t width, uint32_t height, VQ::GfxFormat format,
                  const std::vector<uint8_t>& bytes)
        : mDevice(device)
    {
        mHandle = device.createTexture(width, height, format, false);
        uint32_t pitch = 0;
        if (uint8_t* p = mHandle ? device.lockTexture(mHandle, true, pitch) : nullptr) {
            std::memcpy(p, bytes.data(), std::min<size_t>(bytes.size(), size_t(pitch) * VQ::formatRows(format, height)));
            device.unlockTexture(mHandle);
            mReady = true;
        }
    }
    ~DeviceTexture() override { mDevice.release(mHandle); }

private:
    VQ::GraphicsDevice& mDevice;
};

}  // namespace TestSupport
