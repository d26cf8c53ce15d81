#pragma once
// The graphics device: the drawing operations the renderer needs, by what they
// do. Two implementations: OpenGL 3.3 core on the window's context, and a
// recording device without a GPU that unit tests inspect.
//
// Conventions the renderer relies on:
// - Transforms are row-vector matrices (p x M); clip space is x, y in [-1, 1]
//   with y up and z in [0, 1]; pixel centres sit on integer coordinates.
// - Textures and render targets have their row 0 at the top (v = 0).
// - Vertex colours are 32-bit values stored as the bytes b, g, r, a.
// - Render states start at their documented defaults after create and every
//   reset; the device state the renderer wants is set again after a reset.
//
// Shaders are GLSL 3.30 text without a #version line; the device puts a
// prelude in front (the shader interface):
// - vertex shaders: inputs a_position (vec3, location 0), a_color (vec4 in
//   r, g, b, a order, location 1), a_texcoord (vec2, location 2); outputs
//   vq_color, vq_texcoord0, vq_texcoord1; constants vec4 vq_c[4] (set with
//   setVertexShaderConstant); the shader's main() must end with
//   gl_Position = vq_output(clipPosition), which applies the device's own
//   pixel-centre and orientation fixes.
// - pixel shaders: inputs vq_color, vq_texcoord0, vq_texcoord1; samplers
//   vq_tex0 and vq_tex1 (stages 0 and 1); the shader defines
//   vec4 vq_shade() and the device applies the alpha test to its result.

#include <cstdint>
#include <string>
#include <vector>

#include "matrix4.h"

namespace VQ {

// Each value is the device's 32-bit result code, which a failure's log
// line shows as a signed number.
enum class DeviceResult : int32_t {
    Ok = 0,
    DeviceLost = int32_t(0x88760868u),      // lost and not restorable yet
    DeviceNotReset = int32_t(0x88760869u),  // restorable: reset it
    InvalidCall = int32_t(0x8876086Cu),     // e.g. a reset while default-pool objects are alive
    NotAvailable = int32_t(0x8876086Au),    // no context of the version the device needs
    OutOfVideoMemory = int32_t(0x8876017Cu),
    OutOfMemory = int32_t(0x8007000Eu),
    Failed = int32_t(0x80004005u),
};

enum class VertexProcessing { Hardware, Mixed, Software };

enum class GfxFormat : uint32_t {
    Unknown,
    A8R8G8B8,  // bytes b, g, r, a
    X8R8G8B8,  // bytes b, g, r, x; reads as opaque
    DXT1,
    DXT3,
    DXT5,
    L8,
    A8L8,  // bytes l, a
    D16,
    D24S8,
};

// Render states with their defaults.
enum class RenderState : uint32_t {
    CullMode,          // Cull::CCW
    Lighting,          // 1
    AlphaBlendEnable,  // 0
    SrcBlend,          // Blend::One
    DestBlend,         // Blend::Zero
    ZEnable,           // 1
    ZWriteEnable,      // 1
    AlphaTestEnable,   // 0
    AlphaRef,          // 0 (0..255)
    AlphaFunc,         // Cmp::Always
    StencilEnable,     // 0
    StencilFunc,       // Cmp::Always
    StencilRef,        // 0
    StencilMask,       // 0xFFFFFFFF
    StencilWriteMask,  // 0xFFFFFFFF
    StencilFail,       // StencilOp::Keep
    StencilZFail,      // StencilOp::Keep
    StencilPass,       // StencilOp::Keep
    ColorWriteEnable,  // 0xF: red 1, green 2, blue 4, alpha 8
    FillMode,          // Fill::Solid
    Count,
};

// Per texture stage (0 and 1), with their defaults.
enum class StageState : uint32_t {
    ColorOp,    // stage 0 TextureOp::Modulate, stage 1 Disable
    ColorArg1,  // TextureArg::Texture
    ColorArg2,  // TextureArg::Current
    AlphaOp,    // stage 0 TextureOp::SelectArg1, stage 1 Disable
    AlphaArg1,  // TextureArg::Texture
    AlphaArg2,  // TextureArg::Current
    AddressU,   // Address::Wrap
    AddressV,
    AddressW,
    MinFilter,  // Filter::Point
    MagFilter,
    MipFilter,  // Filter::None
    Count,
};

enum class Blend : uint32_t {
    Zero,
    One,
    SrcColor,
    InvSrcColor,
    SrcAlpha,
    InvSrcAlpha,
    DestAlpha,
    InvDestAlpha,
    DestColor,
    InvDestColor
};
enum class Cmp : uint32_t { Never, Less, Equal, LessEqual, Greater, NotEqual, GreaterEqual, Always };
enum class StencilOp : uint32_t { Keep, Zero, Replace, IncrSat, DecrSat, Invert, Incr, Decr };
// Which winding is culled, as seen on the target with y down.
enum class Cull : uint32_t { None, CW, CCW };
enum class Fill : uint32_t { Point, Wireframe, Solid };
enum class Address : uint32_t { Wrap, Mirror, Clamp };
enum class Filter : uint32_t { None, Point, Linear };
enum class TextureOp : uint32_t { Disable, SelectArg1, SelectArg2, Modulate };
// For stage 0, Current is the vertex colour.
enum class TextureArg : uint32_t { Diffuse, Current, Texture };

enum class TransformKind : uint32_t { World, View, Projection };

constexpr uint32_t CLEAR_TARGET = 1;
constexpr uint32_t CLEAR_ZBUFFER = 2;
constexpr uint32_t CLEAR_STENCIL = 4;

constexpr uint32_t MAX_TEXTURE_STAGES = 2;
constexpr uint32_t MAX_VERTEX_SHADER_CONSTANTS = 4;

struct DeviceCaps {
    bool pixelShader14 = false;  // pixel shaders (the distortion and video programs)
    bool vertexShader11 = false;
    uint32_t maxTextureWidth = 0;
    uint32_t maxTextureHeight = 0;
    bool depthStencilD24S8 = false;
};

struct GfxViewport {
    uint32_t x = 0;
    uint32_t y = 0;
    uint32_t width = 0;
    uint32_t height = 0;
};

// Device objects. Each is released with GraphicsDevice::release. Objects of
// the default pool (render targets, depth-stencil surfaces, the back-buffer
// references, vertex and index buffers) must all be released before a reset.
class GfxResource {
public:
    virtual ~GfxResource() = default;
    bool defaultPool() const { return mDefaultPool; }

protected:
    explicit GfxResource(bool defaultPool) : mDefaultPool(defaultPool) {}

private:
    bool mDefaultPool;
};

class GfxSurface;

class GfxTexture : public GfxResource {
public:
    uint32_t width() const { return mWidth; }
    uint32_t height() const { return mHeight; }
    GfxFormat format() const { return mFormat; }
    bool renderTarget() const { return mRenderTarget; }
    // The level-0 surface of a render-target texture (null otherwise); it lives
    // as long as the texture and is not released separately.
    virtual GfxSurface* surface() = 0;
    // Every texel samples as fully opaque: a format without alpha, or pixels
    // whose last upload had alpha 255 throughout. Drawn at full vertex alpha,
    // such a texture needs no blending.
    bool opaque() const { return mOpaque; }

protected:
    GfxTexture(uint32_t w, uint32_t h, GfxFormat f, bool renderTarget)
        : GfxResource(renderTarget), mWidth(w), mHeight(h), mFormat(f), mRenderTarget(renderTarget),
          mOpaque(renderTarget || f == GfxFormat::X8R8G8B8 || f == GfxFormat::L8)
    {
    }
    // Devices call this with the pixels of each upload (the whole level).
    void noteUpload(const uint8_t* pixels, size_t bytes);

private:
    uint32_t mWidth;
    uint32_t mHeight;
    GfxFormat mFormat;
    bool mRenderTarget;
    bool mOpaque;
};

// A colour target (the back buffer or a render texture's level 0) or a
// depth-stencil surface.
class GfxSurface : public GfxResource {
public:
    uint32_t width() const { return mWidth; }
    uint32_t height() const { return mHeight; }
    GfxFormat format() const { return mFormat; }
    bool isDepth() const { return mFormat == GfxFormat::D16 || mFormat == GfxFormat::D24S8; }

protected:
    GfxSurface(uint32_t w, uint32_t h, GfxFormat f, bool defaultPool)
        : GfxResource(defaultPool), mWidth(w), mHeight(h), mFormat(f)
    {
    }
    void resize(uint32_t w, uint32_t h)
    {
        mWidth = w;
        mHeight = h;
    }

private:
    uint32_t mWidth;
    uint32_t mHeight;
    GfxFormat mFormat;
};

class GfxBuffer : public GfxResource {
public:
    uint32_t size() const { return mSize; }
    bool isIndexBuffer() const { return mIndex; }

protected:
    GfxBuffer(uint32_t size, bool index) : GfxResource(true), mSize(size), mIndex(index) {}

private:
    uint32_t mSize;
    bool mIndex;
};

class GraphicsDevice {
public:
    virtual ~GraphicsDevice() = default;

    // --- Creation, loss and reset ---
    // Creates the device with a back buffer of the given size. The GL device
    // ignores the vertex processing; it needs a current GL 3.3 core context.
    virtual DeviceResult create(uint32_t backBufferWidth, uint32_t backBufferHeight, VertexProcessing vp) = 0;
    virtual DeviceCaps caps() const = 0;
    // The back buffer's format (no alpha channel).
    virtual GfxFormat backBufferFormat() const { return GfxFormat::X8R8G8B8; }
    // The desktop display mode's format, which the back buffer takes; false
    // when the display mode cannot be read.
    virtual bool queryDisplayFormat(GfxFormat& format)
    {
        format = backBufferFormat();
        return true;
    }
    virtual DeviceResult testCooperativeLevel() = 0;
    // New back-buffer size; every state back to its default. Refused
    // (InvalidCall) while an object of the default pool is alive.
    virtual DeviceResult reset(uint32_t backBufferWidth, uint32_t backBufferHeight) = 0;
    // Shows the back buffer, stretched over the window. DeviceLost reports a
    // lost device. The back buffer keeps the presented frame for read-back
    // until it is drawn into again.
    virtual DeviceResult present() = 0;
    virtual void beginScene() = 0;
    virtual void endScene() = 0;

    // --- Resources ---
    virtual GfxTexture* createTexture(uint32_t width, uint32_t height, GfxFormat format, bool renderTarget) = 0;
    // The texture's pixels in its own format, rows `pitch` bytes apart (rows of
    // 4x4 blocks for DXT); null when the lock fails. Unlock uploads them.
    virtual uint8_t* lockTexture(GfxTexture* texture, bool discard, uint32_t& pitch) = 0;
    virtual void unlockTexture(GfxTexture* texture) = 0;
    virtual GfxSurface* createDepthStencilSurface(uint32_t width, uint32_t height, GfxFormat format) = 0;
    virtual GfxBuffer* createVertexBuffer(uint32_t bytes) = 0;
    virtual GfxBuffer* createIndexBuffer(uint32_t bytes) = 0;  // 16-bit indices
    // Whole-buffer locks; null on failure. `bytesUsed` tells how much of the
    // vertex buffer was written from its start.
    virtual uint8_t* lockBuffer(GfxBuffer* buffer, bool discard) = 0;
    virtual void unlockBuffer(GfxBuffer* buffer, uint32_t bytesUsed) = 0;
    // Null is accepted and does nothing.
    virtual void release(GfxResource* resource) = 0;

    // --- Render targets ---
    // References the caller must release (default pool).
    virtual GfxSurface* getBackBuffer() = 0;
    virtual GfxSurface* getBackBufferDepthStencil() = 0;
    // Draw into `colour` with `depth` (null: none). Resets the viewport to the
    // colour surface's size.
    virtual void setRenderTarget(GfxSurface* colour, GfxSurface* depth) = 0;
    // Where clip space lands on the current target (in its pixels, row 0 at
    // the top); drawing outside it is cut off. A clear still covers the whole
    // target.
    virtual void setViewport(const GfxViewport& viewport) = 0;
    virtual GfxViewport viewport() const = 0;
    // Colour as 0xAARRGGBB. Write masks do not apply to a clear.
    virtual void clear(uint32_t flags, uint32_t argb, float z, uint32_t stencil) = 0;
    // Copies `sourceRect` of the colour surface `source` stretched over the
    // whole of the colour surface `target`, filtered linearly. The current
    // target and states stay as they are.
    virtual void copySurface(GfxSurface* source, const GfxViewport& sourceRect, GfxSurface* target) = 0;

    // --- State ---
    virtual void setRenderState(RenderState state, uint32_t value) = 0;
    virtual uint32_t renderState(RenderState state) const = 0;
    virtual void setStageState(uint32_t stage, StageState state, uint32_t value) = 0;
    virtual uint32_t stageState(uint32_t stage, StageState state) const = 0;
    // Null unbinds; untextured drawing then samples opaque white.
    virtual void setTexture(uint32_t stage, GfxTexture* texture) = 0;
    virtual void setTransform(TransformKind kind, const Matrix4& matrix) = 0;
    // Vertex source and its layout (a vertex format bitmask); null unbinds.
    virtual void setStreamSource(GfxBuffer* vertexBuffer, uint32_t vertexFormat) = 0;
    virtual void setIndices(GfxBuffer* indexBuffer) = 0;

    // --- Drawing ---
    // Triangles from the index buffer starting at `startIndex`, over vertices
    // 0 .. numVertices - 1.
    virtual void drawIndexedTriangleList(uint32_t numVertices, uint32_t startIndex, uint32_t triangleCount) = 0;
    virtual void drawLineList(uint32_t startVertex, uint32_t lineCount) = 0;

    // --- Shaders (handles; 0 is none) ---
    // 0 on failure, with the compiler's message in `errors`.
    virtual uint32_t createPixelShader(const char* source, std::string& errors) = 0;
    virtual uint32_t createVertexShader(const char* source, uint32_t vertexFormat, std::string& errors) = 0;
    virtual bool deletePixelShader(uint32_t handle) = 0;
    virtual bool deleteVertexShader(uint32_t handle) = 0;
    // 0: the fixed pipeline (texture stage 0 combined with the vertex colour).
    virtual void setPixelShader(uint32_t handle) = 0;
    virtual void setVertexShader(uint32_t handle) = 0;
    virtual void setVertexShaderConstant(uint32_t firstRegister, const float* values, uint32_t registerCount) = 0;

    // --- Read-back (tests and frame capture) ---
    // The current render target's pixels as 0xAARRGGBB, row 0 at the top.
    virtual bool readPixels(std::vector<uint32_t>& argb, uint32_t& width, uint32_t& height) = 0;
};

// The render and stage states as a device holds them; both implementations
// keep one.
struct DeviceStateBlock {
    uint32_t render[uint32_t(RenderState::Count)] = {};
    uint32_t stage[MAX_TEXTURE_STAGES][uint32_t(StageState::Count)] = {};

    DeviceStateBlock() { setDefaults(); }
    void setDefaults();
    uint32_t get(RenderState s) const { return render[uint32_t(s)]; }
    uint32_t get(uint32_t st, StageState s) const { return stage[st][uint32_t(s)]; }
};

// What must be given back before a reset may go ahead: objects of the default
// pool, and the references handed out to the device's own back buffer and
// its depth surface (which the device keeps and never deletes on release).
class DefaultPoolTracker {
public:
    void setOwnSurfaces(GfxSurface* backBuffer, GfxSurface* depth)
    {
        mOwn[0] = backBuffer;
        mOwn[1] = depth;
    }
    // A counted reference to an own surface (null when there is none yet).
    GfxSurface* reference(uint32_t which)
    {
        if (mOwn[which])
            ++mRefs[which];
        return mOwn[which];
    }
    // True when `r` is an own surface; its reference is given back.
    bool releaseOwn(const GfxResource* r)
    {
        for (uint32_t i = 0; i < 2; ++i)
            if (r == mOwn[i]) {
                if (mRefs[i] > 0)
                    --mRefs[i];
                return true;
            }
        return false;
    }
    void created(const GfxResource* r)
    {
        if (r->defaultPool())
            ++mLive;
    }
    void released(const GfxResource* r)
    {
        if (r->defaultPool())
            --mLive;
    }
    uint32_t liveObjects() const { return mLive; }
    bool blocksReset() const { return mLive > 0 || mRefs[0] > 0 || mRefs[1] > 0; }

private:
    GfxSurface* mOwn[2] = {};
    uint32_t mRefs[2] = {};
    uint32_t mLive = 0;
};

// The defaults of the states above, shared by both implementations.
uint32_t defaultRenderState(RenderState state);
uint32_t defaultStageState(uint32_t stage, StageState state);

// Bytes of one row of pixels (or of 4x4 blocks for DXT) of a format.
uint32_t formatPitch(GfxFormat format, uint32_t width);
// Number of rows a lock of that format exposes (block rows for DXT).
uint32_t formatRows(GfxFormat format, uint32_t height);

}  // namespace VQ
