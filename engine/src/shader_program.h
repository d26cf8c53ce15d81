#pragma once
// Holders of device shaders: a program is a pixel shader and a vertex shader,
// each a handle that is valid once created, and a flag its owner sets when
// the program is usable. Destroying a holder does not delete the device
// shaders; RenderSystem::releaseShaderProgram does.

#include <cstdint>

namespace VQ {

struct PixelShader {
    uint32_t handle = 0;
    bool valid = false;
};

class VertexShader {
public:
    virtual ~VertexShader() = default;
    uint32_t handle = 0;
    bool valid = false;
};

class ShaderProgram {
public:
    virtual ~ShaderProgram() = default;
    PixelShader pixelShader;
    VertexShader vertexShader;
    bool ready = false;
};

// The distortion pass's pixel shader: the scene texture (stage 0) sampled at
// uv + 0.15 * (distortion.rg - 127/255), the distortion texture on stage 1.
// A texel with red and green 0x7F moves nothing.
extern const char* const DISTORTION_PIXEL_SHADER_SOURCE;

}  // namespace VQ
