#include "platform/graphics_device_gl.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "log_system.h"
#include "vertex_layout.h"

namespace VQ {

namespace {

// Clip space arrives in the renderer's convention (y up, z in [0, 1], pixel
// centres on integers). vq_output moves it by half a pixel so that pixel
// centres land where GL samples and, on every target but the window, flips y
// so that row 0 of the target is its top (the window shows GL's row 0 at its
// bottom, so there the picture is already the right way up). z in [0, 1] already lies inside GL's clip range [-1, 1], and
// keeping it there (rather than stretching it) keeps z = 0 off the near
// plane, where rounding would clip it.
const char* kVertexPrelude = R"(
layout(location = 0) in vec3 a_position;
layout(location = 1) in vec4 a_color;
layout(location = 2) in vec2 a_texcoord;
out vec4 vq_color;
out vec2 vq_texcoord0;
out vec2 vq_texcoord1;
uniform vec4 vq_c[4];
uniform vec3 vq_pixelFix;
vec4 vq_output(vec4 p)
{
    p.xy += vq_pixelFix.xy * p.w;
    return vec4(p.x, vq_pixelFix.z * p.y, p.z, p.w);
}
#line 1
)";

// The alpha test follows the shader, as it follows the pixel shader on the
// original device; alpha is compared in 0..255 steps. Each pixel program is
// built in variants (see PixelVariant): one without the test, for draws where
// it can drop nothing that would show, runs without `discard`.
const char* kPixelPrelude = R"(
in vec4 vq_color;
in vec2 vq_texcoord0;
in vec2 vq_texcoord1;
uniform sampler2D vq_tex0;
uniform sampler2D vq_tex1;
uniform int vq_alphaFunc;
uniform float vq_alphaRef;
out vec4 vq_fragColor;
vec4 vq_shade();
bool vq_alphaPasses(float alpha)
{
    float v = floor(alpha * 255.0 + 0.5);
    switch (vq_alphaFunc) {
    case 0: return false;
    case 1: return v < vq_alphaRef;
    case 2: return v == vq_alphaRef;
    case 3: return v <= vq_alphaRef;
    case 4: return v > vq_alphaRef;
    case 5: return v != vq_alphaRef;
    case 6: return v >= vq_alphaRef;
    default: return true;
    }
}
void main()
{
    vec4 c = vq_shade();
#if VQ_ALPHA_TEST
    if (!vq_alphaPasses(c.a))
        discard;
#endif
    vq_fragColor = c;
}
#line 1
)";

const char* kFixedVertexShader = R"(
uniform mat4 vq_transform;
void main()
{
    vq_color = a_color;
    vq_texcoord0 = a_texcoord;
    vq_texcoord1 = a_texcoord;
    gl_Position = vq_output(vq_transform * vec4(a_position, 1.0));
}
)";

// Texture stage 0 of the fixed pipeline: ops 0 disable (vertex colour),
// 1 first argument, 2 second, 3 modulate; arguments 2 texture, else colour.
// The modulate variant is the stage as the renderer always sets it, without
// the uniform-driven selects.
const char* kFixedPixelShader = R"(
uniform ivec4 vq_stage0;
uniform ivec2 vq_stage0AlphaArgs;
vec4 vq_arg(int which, vec4 texel)
{
    return which == 2 ? texel : vq_color;
}
vec4 vq_shade()
{
    vec4 t = texture(vq_tex0, vq_texcoord0);
#if VQ_MODULATE
    return t * vq_color;
#else
    vec4 c1 = vq_arg(vq_stage0.y, t);
    vec4 c2 = vq_arg(vq_stage0.z, t);
    vec4 a1 = vq_arg(vq_stage0AlphaArgs.x, t);
    vec4 a2 = vq_arg(vq_stage0AlphaArgs.y, t);
    vec3 rgb = vq_stage0.x == 1 ? c1.rgb : vq_stage0.x == 2 ? c2.rgb : vq_stage0.x == 3 ? c1.rgb * c2.rgb : vq_color.rgb;
    float a = vq_stage0.w == 1 ? a1.a : vq_stage0.w == 2 ? a2.a : vq_stage0.w == 3 ? a1.a * a2.a : vq_color.a;
    return vec4(rgb, a);
#endif
}
)";

// Texture unit used for uploads, so that the stages' bindings stay put.
constexpr GLenum kUploadUnit = GL_TEXTURE0 + MAX_TEXTURE_STAGES;

// What a pixel program is built for, beyond its own source: whether it runs
// the alpha test, and (the fixed program only) whether stage 0 is a plain
// texture-times-colour modulate.
enum PixelVariant : uint32_t {
    PIXEL_ALPHA_TEST = 1,
    PIXEL_MODULATE = 2,
    PIXEL_VARIANTS = 4,
};

// The alpha test can be left out when every fragment it would drop leaves
// the target as it was anyway: it drops only alpha 0 (in 0..255 steps), the
// blend weighs the source by its alpha and keeps the destination whole at
// alpha 0, and no depth or stencil is written. Blending rounds the source
// alpha to 0..255 steps too, so the frames are the same.
bool alphaTestChangesNothing(const DeviceStateBlock& st)
{
    const Cmp func = Cmp(st.get(RenderState::AlphaFunc));
    const uint32_t ref = st.get(RenderState::AlphaRef) & 0xFF;
    if (func == Cmp::Always || (func == Cmp::GreaterEqual && ref == 0))
        return true;
    const bool dropsOnlyZero = (func == Cmp::GreaterEqual && ref == 1) || (func == Cmp::Greater && ref == 0) ||
                               (func == Cmp::NotEqual && ref == 0);
    const Blend dest = Blend(st.get(RenderState::DestBlend));
    return dropsOnlyZero && st.get(RenderState::AlphaBlendEnable) != 0 &&
           Blend(st.get(RenderState::SrcBlend)) == Blend::SrcAlpha && (dest == Blend::InvSrcAlpha || dest == Blend::One) &&
           (st.get(RenderState::ZEnable) == 0 || st.get(RenderState::ZWriteEnable) == 0) &&
           st.get(RenderState::StencilEnable) == 0;
}

bool stage0IsModulate(const DeviceStateBlock& st)
{
    const auto textureTimesColour = [&](StageState op, StageState arg1, StageState arg2) {
        const bool first = TextureArg(st.get(0, arg1)) == TextureArg::Texture;
        const bool second = TextureArg(st.get(0, arg2)) == TextureArg::Texture;
        return TextureOp(st.get(0, op)) == TextureOp::Modulate && first != second;
    };
    return textureTimesColour(StageState::ColorOp, StageState::ColorArg1, StageState::ColorArg2) &&
           textureTimesColour(StageState::AlphaOp, StageState::AlphaArg1, StageState::AlphaArg2);
}

GLenum glBlend(uint32_t v)
{
    switch (Blend(v)) {
    case Blend::Zero: return GL_ZERO;
    case Blend::One: return GL_ONE;
    case Blend::SrcColor: return GL_SRC_COLOR;
    case Blend::InvSrcColor: return GL_ONE_MINUS_SRC_COLOR;
    case Blend::SrcAlpha: return GL_SRC_ALPHA;
    case Blend::InvSrcAlpha: return GL_ONE_MINUS_SRC_ALPHA;
    case Blend::DestAlpha: return GL_DST_ALPHA;
    case Blend::InvDestAlpha: return GL_ONE_MINUS_DST_ALPHA;
    case Blend::DestColor: return GL_DST_COLOR;
    case Blend::InvDestColor: return GL_ONE_MINUS_DST_COLOR;
    }
    return GL_ONE;
}

GLenum glCompare(uint32_t v)
{
    switch (Cmp(v)) {
    case Cmp::Never: return GL_NEVER;
    case Cmp::Less: return GL_LESS;
    case Cmp::Equal: return GL_EQUAL;
    case Cmp::LessEqual: return GL_LEQUAL;
    case Cmp::Greater: return GL_GREATER;
    case Cmp::NotEqual: return GL_NOTEQUAL;
    case Cmp::GreaterEqual: return GL_GEQUAL;
    case Cmp::Always: return GL_ALWAYS;
    }
    return GL_ALWAYS;
}

GLenum glStencilOperation(uint32_t v)
{
    switch (StencilOp(v)) {
    case StencilOp::Keep: return GL_KEEP;
    case StencilOp::Zero: return GL_ZERO;
    case StencilOp::Replace: return GL_REPLACE;
    case StencilOp::IncrSat: return GL_INCR;
    case StencilOp::DecrSat: return GL_DECR;
    case StencilOp::Invert: return GL_INVERT;
    case StencilOp::Incr: return GL_INCR_WRAP;
    case StencilOp::Decr: return GL_DECR_WRAP;
    }
    return GL_KEEP;
}

GLint glAddress(uint32_t v)
{
    switch (Address(v)) {
    case Address::Mirror: return GL_MIRRORED_REPEAT;
    case Address::Clamp: return GL_CLAMP_TO_EDGE;
    default: return GL_REPEAT;
    }
}

GLint glFilter(uint32_t v)
{
    return Filter(v) == Filter::Linear ? GL_LINEAR : GL_NEAREST;
}

bool isCompressed(GfxFormat f)
{
    return f == GfxFormat::DXT1 || f == GfxFormat::DXT3 || f == GfxFormat::DXT5;
}

GLenum compressedFormat(GfxFormat f)
{
    switch (f) {
    case GfxFormat::DXT1: return GL_COMPRESSED_RGBA_S3TC_DXT1_EXT;
    case GfxFormat::DXT3: return GL_COMPRESSED_RGBA_S3TC_DXT3_EXT;
    default: return GL_COMPRESSED_RGBA_S3TC_DXT5_EXT;
    }
}

struct UploadFormat {
    GLenum internal;
    GLenum format;
};

UploadFormat uploadFormat(GfxFormat f)
{
    switch (f) {
    case GfxFormat::A8R8G8B8: return {GL_RGBA8, GL_BGRA};
    case GfxFormat::L8: return {GL_R8, GL_RED};
    case GfxFormat::A8L8: return {GL_RG8, GL_RG};
    default: return {GL_RGB8, GL_BGRA};  // X8R8G8B8 and render targets: no alpha
    }
}

class SurfaceGL : public GfxSurface {
public:
    SurfaceGL(uint32_t w, uint32_t h, GfxFormat f, bool defaultPool) : GfxSurface(w, h, f, defaultPool) {}
    using GfxSurface::resize;
    GLuint framebuffer = 0;   // colour surfaces
    GLuint renderbuffer = 0;  // depth surfaces and the back buffer's colour
    SurfaceGL* attachedDepth = nullptr;
    // The back buffer (and its depth) is the window's own framebuffer, whose
    // row 0 is its bottom, rather than the off-screen one above.
    bool window = false;
    GLuint target() const { return window ? 0 : framebuffer; }
};

class TextureGL : public GfxTexture {
public:
    TextureGL(uint32_t w, uint32_t h, GfxFormat f, bool renderTarget) : GfxTexture(w, h, f, renderTarget) {}
    using GfxTexture::noteUpload;
    GfxSurface* surface() override { return target.get(); }
    GLuint id = 0;
    std::unique_ptr<SurfaceGL> target;
    std::vector<uint8_t> staging;
    bool locked = false;
};

// Vertex buffers stream through a ring several times their size: each unlock
// appends the written range after the last one, and draws read it with a base
// vertex, so no upload ever waits for a draw still reading earlier data. Only
// when the ring is full is its storage orphaned and the ring restarted.
constexpr uint32_t kVertexRingFactor = 16;

class BufferGL : public GfxBuffer {
public:
    BufferGL(uint32_t size, bool index) : GfxBuffer(size, index), shadow(size) {}
    GLuint id = 0;
    std::vector<uint8_t> shadow;
    uint32_t ringSize = 0;
    uint32_t writeOffset = 0;  // where the next upload goes
    uint32_t drawOffset = 0;   // where the last upload went
};

// A vertex shader is one compiled object; a pixel shader is compiled per
// variant as draws first need it, from the source kept here.
struct ShaderGL {
    GLuint id = 0;  // vertex: the shader; pixel: the variant with the alpha test
    bool vertex = false;
    std::string source;
    GLuint variants[PIXEL_VARIANTS] = {};
};

void deleteGLShader(ShaderGL& shader)
{
    if (shader.vertex)
        glDeleteShader(shader.id);
    for (GLuint& id : shader.variants) {
        glDeleteShader(id);
        id = 0;
    }
    shader.id = 0;
}

struct ProgramGL {
    GLuint id = 0;
    uint64_t uniformVersion = 0;
    GLint transform = -1, pixelFix = -1, constants = -1, alphaFunc = -1, alphaRef = -1, stage0 = -1,
          stage0AlphaArgs = -1;
};

class GraphicsDeviceGL : public GraphicsDevice {
public:
    ~GraphicsDeviceGL() override;

    DeviceResult create(uint32_t backBufferWidth, uint32_t backBufferHeight, VertexProcessing vp) override;
    DeviceCaps caps() const override { return mCaps; }
    DeviceResult testCooperativeLevel() override
    {
        if (!mCreated)
            return DeviceResult::Failed;
        return mSimulatedLoss ? DeviceResult::DeviceNotReset : DeviceResult::Ok;
    }
    DeviceResult reset(uint32_t backBufferWidth, uint32_t backBufferHeight) override;
    DeviceResult present() override;
    void beginScene() override {}
    void endScene() override {}
    GfxTexture* createTexture(uint32_t width, uint32_t height, GfxFormat format, bool renderTarget) override;
    uint8_t* lockTexture(GfxTexture* texture, bool discard, uint32_t& pitch) override;
    void unlockTexture(GfxTexture* texture) override;
    GfxSurface* createDepthStencilSurface(uint32_t width, uint32_t height, GfxFormat format) override;
    GfxBuffer* createVertexBuffer(uint32_t bytes) override { return createBuffer(bytes, false); }
    GfxBuffer* createIndexBuffer(uint32_t bytes) override { return createBuffer(bytes, true); }
    uint8_t* lockBuffer(GfxBuffer* buffer, bool discard) override;
    void unlockBuffer(GfxBuffer* buffer, uint32_t bytesUsed) override;
    void release(GfxResource* resource) override;
    GfxSurface* getBackBuffer() override;
    GfxSurface* getBackBufferDepthStencil() override;
    void setRenderTarget(GfxSurface* colour, GfxSurface* depth) override;
    void setViewport(const GfxViewport& viewport) override;
    GfxViewport viewport() const override { return mViewport; }
    void clear(uint32_t flags, uint32_t argb, float z, uint32_t stencil) override;
    void copySurface(GfxSurface* source, const GfxViewport& sourceRect, GfxSurface* target) override;
    void setRenderState(RenderState state, uint32_t value) override;
    uint32_t renderState(RenderState state) const override { return mStates.get(state); }
    void setStageState(uint32_t stage, StageState state, uint32_t value) override;
    uint32_t stageState(uint32_t stage, StageState state) const override { return mStates.get(stage, state); }
    void setTexture(uint32_t stage, GfxTexture* texture) override;
    void setTransform(TransformKind kind, const Matrix4& matrix) override;
    void setStreamSource(GfxBuffer* vertexBuffer, uint32_t vertexFormat) override;
    void setIndices(GfxBuffer* indexBuffer) override;
    void drawIndexedTriangleList(uint32_t numVertices, uint32_t startIndex, uint32_t triangleCount) override;
    void drawLineList(uint32_t startVertex, uint32_t lineCount) override;
    uint32_t createPixelShader(const char* source, std::string& errors) override;
    uint32_t createVertexShader(const char* source, uint32_t vertexFormat, std::string& errors) override;
    bool deletePixelShader(uint32_t handle) override { return deleteShader(handle, false); }
    bool deleteVertexShader(uint32_t handle) override { return deleteShader(handle, true); }
    void setPixelShader(uint32_t handle) override { mPixelShader = handle; }
    void setVertexShader(uint32_t handle) override { mVertexShader = handle; }
    void setVertexShaderConstant(uint32_t firstRegister, const float* values, uint32_t registerCount) override;
    bool readPixels(std::vector<uint32_t>& argb, uint32_t& width, uint32_t& height) override;

private:
    GfxBuffer* createBuffer(uint32_t bytes, bool index);
    GLuint compile(GLenum kind, const char* source, std::string& errors, uint32_t variant = PIXEL_ALPHA_TEST);
    GLuint pixelVariant(ShaderGL& shader, uint32_t variant);
    uint32_t pixelVariantKey() const;
    uint32_t createShader(const char* source, bool vertex, std::string& errors);
    bool deleteShader(uint32_t handle, bool vertex);
    ProgramGL* program();
    void uploadUniforms(ProgramGL& p);
    void applyAllStates();
    void applyRenderState(RenderState state);
    void applyStageState(uint32_t stage, StageState state);
    void attachDepth(SurfaceGL* colour, SurfaceGL* depth);
    void bindTarget();
    void bindStageTexture(uint32_t stage);
    DeviceResult createBackBuffer(uint32_t w, uint32_t h);
    bool windowCanBeBackBuffer(uint32_t w, uint32_t h);
    bool drawingIntoWindow() const { return mColourTarget && mColourTarget->window; }
    void applyGLViewport();
    void track(GfxResource* r);
    void untrack(GfxResource* r);
    bool prepareDraw();
    void boundFramesInFlight();
    void dropFrameFences();

    bool mCreated = false;
    // OpenGL never loses its context; a debug switch, the environment
    // variable VQ_DEBUG_LOSE_DEVICE_AT_FRAME naming a present (1 the first),
    // makes that present report a lost device so that a real run walks the
    // loss and reset path.
    uint32_t mPresents = 0;
    uint32_t mLoseAtPresent = 0;
    bool mSimulatedLoss = false;
    GLint mWindowReadBuffer = GL_BACK;
    DeviceCaps mCaps;
    DeviceStateBlock mStates;
    uint64_t mUniformVersion = 1;
    DefaultPoolTracker mPool;
    std::set<GfxResource*> mLive;
    std::set<SurfaceGL*> mColourSurfaces;

    GLuint mVao = 0;
    GLuint mSamplers[MAX_TEXTURE_STAGES] = {};
    GLuint mWhiteTexture = 0;
    GLuint mFixedVertex = 0;
    ShaderGL mFixedPixel;

    std::unique_ptr<SurfaceGL> mBackBuffer;
    std::unique_ptr<SurfaceGL> mBackBufferDepth;

    SurfaceGL* mColourTarget = nullptr;
    SurfaceGL* mDepthTarget = nullptr;
    GfxViewport mViewport;
    TextureGL* mTextures[MAX_TEXTURE_STAGES] = {};
    BufferGL* mStream = nullptr;
    uint32_t mStreamStride = 0;
    BufferGL* mIndices = nullptr;
    Matrix4 mTransforms[3];
    float mConstants[MAX_VERTEX_SHADER_CONSTANTS * 4] = {};

    std::map<uint32_t, ShaderGL> mShaders;
    uint32_t mNextShader = 1;
    uint32_t mPixelShader = 0;
    uint32_t mVertexShader = 0;
    std::map<std::tuple<uint32_t, uint32_t, uint32_t>, ProgramGL> mPrograms;  // (vertex, pixel, variant)
    GLuint mCurrentProgram = 0;
    // One fence a presented frame, oldest first: see boundFramesInFlight.
    std::deque<GLsync> mFrameFences;
};

GraphicsDeviceGL::~GraphicsDeviceGL()
{
    if (!mCreated || !SDL_GL_GetCurrentContext())
        return;
    dropFrameFences();
    for (GfxResource* r : std::set<GfxResource*>(mLive))
        release(r);
    for (auto& [key, p] : mPrograms)
        glDeleteProgram(p.id);
    for (auto& [handle, s] : mShaders)
        deleteGLShader(s);
    glDeleteShader(mFixedVertex);
    deleteGLShader(mFixedPixel);
    for (SurfaceGL* s : {mBackBuffer.get(), mBackBufferDepth.get()}) {
        glDeleteFramebuffers(1, &s->framebuffer);
        glDeleteRenderbuffers(1, &s->renderbuffer);
    }
    glDeleteTextures(1, &mWhiteTexture);
    glDeleteSamplers(MAX_TEXTURE_STAGES, mSamplers);
    glDeleteVertexArrays(1, &mVao);
}

GLuint GraphicsDeviceGL::compile(GLenum kind, const char* source, std::string& errors, uint32_t variant)
{
    const std::string head = "#version 330 core\n#define VQ_ALPHA_TEST " +
                             std::to_string((variant & PIXEL_ALPHA_TEST) ? 1 : 0) + "\n#define VQ_MODULATE " +
                             std::to_string((variant & PIXEL_MODULATE) ? 1 : 0) + "\n";
    const char* parts[3] = {head.c_str(), kind == GL_VERTEX_SHADER ? kVertexPrelude : kPixelPrelude, source};
    GLuint id = glCreateShader(kind);
    glShaderSource(id, 3, parts, nullptr);
    glCompileShader(id);
    GLint ok = 0;
    glGetShaderiv(id, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        GLint length = 0;
        glGetShaderiv(id, GL_INFO_LOG_LENGTH, &length);
        std::string log(size_t(std::max(length, 1)), '\0');
        glGetShaderInfoLog(id, length, nullptr, log.data());
        errors = log.c_str();
        glDeleteShader(id);
        return 0;
    }
    return id;
}

DeviceResult GraphicsDeviceGL::create(uint32_t backBufferWidth, uint32_t backBufferHeight, VertexProcessing)
{
    if (mCreated)
        return DeviceResult::InvalidCall;
    // The context is the window's: without one the call cannot be made, and
    // one of an older version cannot run the device's programs.
    if (!SDL_GL_GetCurrentContext())
        return DeviceResult::InvalidCall;
    if (epoxy_gl_version() < 33 || epoxy_is_desktop_gl() == 0)
        return DeviceResult::NotAvailable;
    std::string errors;
    mFixedVertex = compile(GL_VERTEX_SHADER, kFixedVertexShader, errors);
    mFixedPixel.source = kFixedPixelShader;
    mFixedPixel.id = mFixedPixel.variants[PIXEL_ALPHA_TEST] = compile(GL_FRAGMENT_SHADER, kFixedPixelShader, errors);
    if (!mFixedVertex || !mFixedPixel.id) {
        logIfPossible("ERROR: Failed to build the fixed drawing program: " + errors);
        return DeviceResult::Failed;
    }
    glGenVertexArrays(1, &mVao);
    glBindVertexArray(mVao);
    glGenSamplers(MAX_TEXTURE_STAGES, mSamplers);
    for (uint32_t i = 0; i < MAX_TEXTURE_STAGES; ++i)
        glBindSampler(i, mSamplers[i]);

    const uint8_t white[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    glActiveTexture(kUploadUnit);
    glGenTextures(1, &mWhiteTexture);
    glBindTexture(GL_TEXTURE_2D, mWhiteTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);

    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    mCaps.pixelShader14 = true;
    mCaps.vertexShader11 = true;
    mCaps.maxTextureWidth = mCaps.maxTextureHeight = uint32_t(maxSize);
    mCaps.depthStencilD24S8 = true;

    mBackBuffer = std::make_unique<SurfaceGL>(0, 0, GfxFormat::X8R8G8B8, true);
    // Depth with stencil, as the render textures' own depth-stencil has, so
    // that the scene may be drawn straight onto the back buffer.
    mBackBufferDepth = std::make_unique<SurfaceGL>(0, 0, GfxFormat::D24S8, true);
    glGenFramebuffers(1, &mBackBuffer->framebuffer);
    glGenRenderbuffers(1, &mBackBuffer->renderbuffer);
    glGenRenderbuffers(1, &mBackBufferDepth->renderbuffer);
    mColourSurfaces.insert(mBackBuffer.get());
    mPool.setOwnSurfaces(mBackBuffer.get(), mBackBufferDepth.get());
    for (auto& t : mTransforms)
        t = Matrix4::identity();
    mCreated = true;
    if (const char* loseAt = std::getenv("VQ_DEBUG_LOSE_DEVICE_AT_FRAME"))
        mLoseAtPresent = uint32_t(std::strtoul(loseAt, nullptr, 10));
    if (const DeviceResult result = createBackBuffer(backBufferWidth, backBufferHeight); result != DeviceResult::Ok)
        return result;
    applyAllStates();
    return DeviceResult::Ok;
}

// The window's framebuffer serves as the back buffer when it has the back
// buffer's size, a depth-stencil like the render textures', and a single
// buffer (as the headless video driver gives), which keeps the frame after
// it is shown, for reading back; then present needs no copy. Otherwise an
// off-screen back buffer is copied (stretched) onto the window at each
// present: a double-buffered window's back buffer is undefined after a swap.
bool GraphicsDeviceGL::windowCanBeBackBuffer(uint32_t w, uint32_t h)
{
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    if (!window)
        return false;
    int dw = 0, dh = 0;
    SDL_GL_GetDrawableSize(window, &dw, &dh);
    if (uint32_t(dw) != w || uint32_t(dh) != h)
        return false;
    while (glGetError() != GL_NO_ERROR) {
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    GLboolean doubleBuffered = GL_TRUE;
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
    GLint drawBuffer = GL_NONE, colourType = GL_NONE, depthBits = 0, stencilBits = 0;
    glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);
    if (drawBuffer == GL_BACK)
        drawBuffer = GL_BACK_LEFT;
    else if (drawBuffer == GL_FRONT)
        drawBuffer = GL_FRONT_LEFT;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GLenum(drawBuffer), GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE,
                                          &colourType);
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &depthBits);
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_STENCIL, GL_FRAMEBUFFER_ATTACHMENT_STENCIL_SIZE,
                                          &stencilBits);
    glGetIntegerv(GL_READ_BUFFER, &mWindowReadBuffer);
    return glGetError() == GL_NO_ERROR && !doubleBuffered && colourType != GL_NONE && depthBits >= 24 &&
           stencilBits >= 8 && glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

DeviceResult GraphicsDeviceGL::createBackBuffer(uint32_t w, uint32_t h)
{
    // Only the errors of this rebuild decide its result.
    while (glGetError() != GL_NO_ERROR) {
    }
    w = std::max(w, 1u);
    h = std::max(h, 1u);
    mBackBuffer->resize(w, h);
    mBackBufferDepth->resize(w, h);
    const bool window = windowCanBeBackBuffer(w, h);
    mBackBuffer->window = mBackBufferDepth->window = window;
    // The off-screen back buffer's storage shrinks to nothing while the
    // window serves.
    const GLsizei sw = window ? 1 : GLsizei(w);
    const GLsizei sh = window ? 1 : GLsizei(h);
    glBindRenderbuffer(GL_RENDERBUFFER, mBackBuffer->renderbuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGB8, sw, sh);
    glBindRenderbuffer(GL_RENDERBUFFER, mBackBufferDepth->renderbuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, sw, sh);
    glBindFramebuffer(GL_FRAMEBUFFER, mBackBuffer->framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, mBackBuffer->renderbuffer);
    mBackBuffer->attachedDepth = nullptr;
    attachDepth(mBackBuffer.get(), mBackBufferDepth.get());
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    const GLenum error = glGetError();
    mColourTarget = mBackBuffer.get();
    mDepthTarget = mBackBufferDepth.get();
    mViewport = GfxViewport{0, 0, w, h};
    bindTarget();
    glViewport(0, 0, GLsizei(w), GLsizei(h));
    ++mUniformVersion;
    // GL's one out-of-memory error covers the driver's memory as well as the
    // card's; a size the GL refuses is a call the device could not make.
    if (error == GL_OUT_OF_MEMORY)
        return DeviceResult::OutOfMemory;
    if (error != GL_NO_ERROR)
        return DeviceResult::InvalidCall;
    return complete ? DeviceResult::Ok : DeviceResult::OutOfVideoMemory;
}

DeviceResult GraphicsDeviceGL::reset(uint32_t backBufferWidth, uint32_t backBufferHeight)
{
    if (!mCreated)
        return DeviceResult::InvalidCall;
    // As on the original device, default-pool objects must all be gone.
    if (mPool.blocksReset())
        return DeviceResult::InvalidCall;
    if (const DeviceResult result = createBackBuffer(backBufferWidth, backBufferHeight); result != DeviceResult::Ok)
        return result;
    mStates.setDefaults();
    for (auto& t : mTransforms)
        t = Matrix4::identity();
    std::fill(std::begin(mTextures), std::end(mTextures), nullptr);
    mStream = nullptr;
    mIndices = nullptr;
    mPixelShader = mVertexShader = 0;
    applyAllStates();
    mSimulatedLoss = false;
    return DeviceResult::Ok;
}

DeviceResult GraphicsDeviceGL::present()
{
    if (!mCreated)
        return DeviceResult::InvalidCall;
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    if (!window)
        return DeviceResult::Ok;
    if (!mBackBuffer->window) {
        int dw = 0, dh = 0;
        SDL_GL_GetDrawableSize(window, &dw, &dh);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, mBackBuffer->framebuffer);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        // The back buffer's row 0 is its top; the window's is its bottom. Of
        // the same size, the copy is exact without filtering.
        const bool sameSize = uint32_t(dw) == mBackBuffer->width() && uint32_t(dh) == mBackBuffer->height();
        glBlitFramebuffer(0, 0, GLint(mBackBuffer->width()), GLint(mBackBuffer->height()), 0, dh, dw, 0,
                          GL_COLOR_BUFFER_BIT, sameSize ? GL_NEAREST : GL_LINEAR);
    }
    SDL_GL_SwapWindow(window);
    boundFramesInFlight();
    applyRenderState(RenderState::ColorWriteEnable);
    bindTarget();
    if (++mPresents == mLoseAtPresent)
        mSimulatedLoss = true;
    return mSimulatedLoss ? DeviceResult::DeviceLost : DeviceResult::Ok;
}

// A swap that does not wait for the display (the offscreen driver, no vsync)
// lets the game queue frames faster than the rasteriser finishes them, and
// every queued frame holds its commands and buffers: memory and latency grow
// without bound. Waiting for the frame two presents back keeps one frame
// drawing while the next is built, and no more.
constexpr size_t kFramesInFlight = 2;

void GraphicsDeviceGL::boundFramesInFlight()
{
    if (GLsync fence = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0))
        mFrameFences.push_back(fence);
    while (mFrameFences.size() > kFramesInFlight) {
        GLsync oldest = mFrameFences.front();
        mFrameFences.pop_front();
        // A frame that does not finish within a second is not worth stalling
        // the game for any longer.
        glClientWaitSync(oldest, GL_SYNC_FLUSH_COMMANDS_BIT, GLuint64(1000000000));
        glDeleteSync(oldest);
    }
}

void GraphicsDeviceGL::dropFrameFences()
{
    for (GLsync fence : mFrameFences)
        glDeleteSync(fence);
    mFrameFences.clear();
}

void GraphicsDeviceGL::track(GfxResource* r)
{
    mLive.insert(r);
    mPool.created(r);
}

void GraphicsDeviceGL::untrack(GfxResource* r)
{
    mLive.erase(r);
    mPool.released(r);
}

GfxTexture* GraphicsDeviceGL::createTexture(uint32_t width, uint32_t height, GfxFormat format, bool renderTarget)
{
    if (!mCreated || width == 0 || height == 0 || width > mCaps.maxTextureWidth ||
        height > mCaps.maxTextureHeight)
        return nullptr;
    if (format == GfxFormat::Unknown || format == GfxFormat::D16 || format == GfxFormat::D24S8)
        return nullptr;
    if (isCompressed(format) && (renderTarget || !epoxy_has_gl_extension("GL_EXT_texture_compression_s3tc")))
        return nullptr;
    auto* t = new TextureGL(width, height, renderTarget ? GfxFormat::X8R8G8B8 : format, renderTarget);
    glActiveTexture(kUploadUnit);
    glGenTextures(1, &t->id);
    glBindTexture(GL_TEXTURE_2D, t->id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    if (isCompressed(format)) {
        std::vector<uint8_t> zero(size_t(formatPitch(format, width)) * formatRows(format, height));
        glCompressedTexImage2D(GL_TEXTURE_2D, 0, compressedFormat(format), GLsizei(width), GLsizei(height), 0,
                               GLsizei(zero.size()), zero.data());
    } else {
        const UploadFormat f = uploadFormat(t->format());
        glTexImage2D(GL_TEXTURE_2D, 0, GLint(f.internal), GLsizei(width), GLsizei(height), 0, f.format,
                     GL_UNSIGNED_BYTE, nullptr);
        if (format == GfxFormat::L8) {
            const GLint swizzle[4] = {GL_RED, GL_RED, GL_RED, GL_ONE};
            glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, swizzle);
        } else if (format == GfxFormat::A8L8) {
            const GLint swizzle[4] = {GL_RED, GL_RED, GL_RED, GL_GREEN};
            glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, swizzle);
        }
    }
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &t->id);
        delete t;
        return nullptr;
    }
    if (renderTarget) {
        t->target = std::make_unique<SurfaceGL>(width, height, GfxFormat::X8R8G8B8, false);
        glGenFramebuffers(1, &t->target->framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, t->target->framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, t->id, 0);
        mColourSurfaces.insert(t->target.get());
        bindTarget();
    }
    track(t);
    return t;
}

uint8_t* GraphicsDeviceGL::lockTexture(GfxTexture* texture, bool discard, uint32_t& pitch)
{
    auto* t = static_cast<TextureGL*>(texture);
    if (!t || t->renderTarget() || t->locked)
        return nullptr;
    pitch = formatPitch(t->format(), t->width());
    t->staging.assign(size_t(pitch) * formatRows(t->format(), t->height()), 0);
    if (!discard) {
        // Keeps what is not overwritten, as a lock without discard does.
        glActiveTexture(kUploadUnit);
        glBindTexture(GL_TEXTURE_2D, t->id);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        if (isCompressed(t->format()))
            glGetCompressedTexImage(GL_TEXTURE_2D, 0, t->staging.data());
        else
            glGetTexImage(GL_TEXTURE_2D, 0, uploadFormat(t->format()).format, GL_UNSIGNED_BYTE, t->staging.data());
    }
    t->locked = true;
    return t->staging.data();
}

void GraphicsDeviceGL::unlockTexture(GfxTexture* texture)
{
    auto* t = static_cast<TextureGL*>(texture);
    if (!t || !t->locked)
        return;
    glActiveTexture(kUploadUnit);
    glBindTexture(GL_TEXTURE_2D, t->id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    t->noteUpload(t->staging.data(), t->staging.size());
    if (isCompressed(t->format()))
        glCompressedTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, GLsizei(t->width()), GLsizei(t->height()),
                                  compressedFormat(t->format()), GLsizei(t->staging.size()), t->staging.data());
    else
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, GLsizei(t->width()), GLsizei(t->height()),
                        uploadFormat(t->format()).format, GL_UNSIGNED_BYTE, t->staging.data());
    t->staging.clear();
    t->staging.shrink_to_fit();
    t->locked = false;
}

GfxSurface* GraphicsDeviceGL::createDepthStencilSurface(uint32_t width, uint32_t height, GfxFormat format)
{
    if (!mCreated || width == 0 || height == 0 || (format != GfxFormat::D16 && format != GfxFormat::D24S8))
        return nullptr;
    auto* s = new SurfaceGL(width, height, format, true);
    glGenRenderbuffers(1, &s->renderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, s->renderbuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, format == GfxFormat::D24S8 ? GL_DEPTH24_STENCIL8 : GL_DEPTH_COMPONENT16,
                          GLsizei(width), GLsizei(height));
    track(s);
    return s;
}

GfxBuffer* GraphicsDeviceGL::createBuffer(uint32_t bytes, bool index)
{
    if (!mCreated || bytes == 0)
        return nullptr;
    auto* b = new BufferGL(bytes, index);
    b->ringSize = index ? bytes : bytes * kVertexRingFactor;
    glGenBuffers(1, &b->id);
    // The copy-write binding leaves the vertex array's own bindings alone.
    glBindBuffer(GL_COPY_WRITE_BUFFER, b->id);
    glBufferData(GL_COPY_WRITE_BUFFER, b->ringSize, nullptr, index ? GL_STATIC_DRAW : GL_STREAM_DRAW);
    track(b);
    return b;
}

uint8_t* GraphicsDeviceGL::lockBuffer(GfxBuffer* buffer, bool)
{
    auto* b = static_cast<BufferGL*>(buffer);
    return b ? b->shadow.data() : nullptr;
}

void GraphicsDeviceGL::unlockBuffer(GfxBuffer* buffer, uint32_t bytesUsed)
{
    auto* b = static_cast<BufferGL*>(buffer);
    if (!b)
        return;
    glBindBuffer(GL_COPY_WRITE_BUFFER, b->id);
    if (b->isIndexBuffer()) {
        glBufferSubData(GL_COPY_WRITE_BUFFER, 0, b->size(), b->shadow.data());
        return;
    }
    const uint32_t bytes = std::min(bytesUsed, b->size());
    if (bytes == 0)
        return;
    if (b->writeOffset + bytes > b->ringSize) {
        glBufferData(GL_COPY_WRITE_BUFFER, b->ringSize, nullptr, GL_STREAM_DRAW);
        b->writeOffset = 0;
    }
    void* dst = glMapBufferRange(GL_COPY_WRITE_BUFFER, b->writeOffset, bytes,
                                 GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
    if (dst) {
        std::memcpy(dst, b->shadow.data(), bytes);
        glUnmapBuffer(GL_COPY_WRITE_BUFFER);
    } else {
        glBufferSubData(GL_COPY_WRITE_BUFFER, b->writeOffset, bytes, b->shadow.data());
    }
    b->drawOffset = b->writeOffset;
    // The next range starts on a whole vertex of any layout the buffer serves.
    const uint32_t stride = std::max(mStreamStride, 1u);
    b->writeOffset += (bytes + stride - 1) / stride * stride;
}

void GraphicsDeviceGL::release(GfxResource* resource)
{
    if (!resource)
        return;
    if (mPool.releaseOwn(resource) || !mLive.count(resource))
        return;
    untrack(resource);
    if (auto* t = dynamic_cast<TextureGL*>(resource)) {
        for (uint32_t i = 0; i < MAX_TEXTURE_STAGES; ++i)
            if (mTextures[i] == t) {
                mTextures[i] = nullptr;
                bindStageTexture(i);
            }
        if (t->target) {
            if (mColourTarget == t->target.get())
                setRenderTarget(mBackBuffer.get(), mBackBufferDepth.get());
            mColourSurfaces.erase(t->target.get());
            glDeleteFramebuffers(1, &t->target->framebuffer);
        }
        glDeleteTextures(1, &t->id);
    } else if (auto* s = dynamic_cast<SurfaceGL*>(resource)) {
        for (SurfaceGL* colour : mColourSurfaces)
            if (colour->attachedDepth == s)
                attachDepth(colour, nullptr);
        if (mDepthTarget == s)
            mDepthTarget = nullptr;
        glDeleteRenderbuffers(1, &s->renderbuffer);
        bindTarget();
    } else if (auto* b = dynamic_cast<BufferGL*>(resource)) {
        if (mStream == b)
            setStreamSource(nullptr, 0);
        if (mIndices == b)
            setIndices(nullptr);
        glDeleteBuffers(1, &b->id);
    }
    delete resource;
}

GfxSurface* GraphicsDeviceGL::getBackBuffer()
{
    return mPool.reference(0);
}

GfxSurface* GraphicsDeviceGL::getBackBufferDepthStencil()
{
    return mPool.reference(1);
}

void GraphicsDeviceGL::attachDepth(SurfaceGL* colour, SurfaceGL* depth)
{
    // The window's framebuffer has its own depth-stencil and takes no other.
    if (colour->attachedDepth == depth || colour->window)
        return;
    glBindFramebuffer(GL_FRAMEBUFFER, colour->framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, 0);
    if (depth)
        glFramebufferRenderbuffer(GL_FRAMEBUFFER,
                                  depth->format() == GfxFormat::D24S8 ? GL_DEPTH_STENCIL_ATTACHMENT
                                                                      : GL_DEPTH_ATTACHMENT,
                                  GL_RENDERBUFFER, depth->renderbuffer);
    colour->attachedDepth = depth;
}

void GraphicsDeviceGL::bindTarget()
{
    glBindFramebuffer(GL_FRAMEBUFFER, mColourTarget ? mColourTarget->target() : 0);
}

void GraphicsDeviceGL::applyGLViewport()
{
    // Targets stored top row first take the rectangle as it is; the window
    // counts its rows from the bottom.
    const uint32_t targetHeight = mColourTarget ? mColourTarget->height() : 0;
    const GLint y = drawingIntoWindow() ? GLint(targetHeight) - GLint(mViewport.y + mViewport.height)
                                        : GLint(mViewport.y);
    glViewport(GLint(mViewport.x), y, GLsizei(mViewport.width), GLsizei(mViewport.height));
    ++mUniformVersion;  // the pixel-centre fix depends on the viewport size
}

void GraphicsDeviceGL::setViewport(const GfxViewport& viewport)
{
    if (!mCreated || !mColourTarget)
        return;
    mViewport = viewport;
    applyGLViewport();
}

void GraphicsDeviceGL::copySurface(GfxSurface* source, const GfxViewport& sourceRect, GfxSurface* target)
{
    auto* from = static_cast<SurfaceGL*>(source);
    auto* to = static_cast<SurfaceGL*>(target);
    if (!mCreated || !from || !to || !mColourSurfaces.count(from) || !mColourSurfaces.count(to))
        return;
    // Rows are counted from the top on both sides; the window's from its
    // bottom, so its rectangle is turned over.
    GLint y0 = GLint(sourceRect.y);
    GLint y1 = GLint(sourceRect.y + sourceRect.height);
    if (from->window) {
        y0 = GLint(from->height()) - y0;
        y1 = GLint(from->height()) - y1;
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, from->target());
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to->target());
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glBlitFramebuffer(GLint(sourceRect.x), y0, GLint(sourceRect.x + sourceRect.width), y1, 0,
                      to->window ? GLint(to->height()) : 0, GLint(to->width()), to->window ? 0 : GLint(to->height()),
                      GL_COLOR_BUFFER_BIT, GL_LINEAR);
    applyRenderState(RenderState::ColorWriteEnable);
    bindTarget();
}

void GraphicsDeviceGL::setRenderTarget(GfxSurface* colour, GfxSurface* depth)
{
    auto* c = static_cast<SurfaceGL*>(colour);
    if (!c || c->isDepth() || !mColourSurfaces.count(c))
        return;
    auto* d = static_cast<SurfaceGL*>(depth);
    attachDepth(c, d);
    const bool turned = drawingIntoWindow() != c->window;
    mColourTarget = c;
    mDepthTarget = c->window ? mBackBufferDepth.get() : d;
    bindTarget();
    mViewport = GfxViewport{0, 0, c->width(), c->height()};
    applyGLViewport();
    if (turned) {
        // The window is not turned over, so its windings and alpha differ.
        applyRenderState(RenderState::CullMode);
        applyRenderState(RenderState::ColorWriteEnable);
    }
}

void GraphicsDeviceGL::clear(uint32_t flags, uint32_t argb, float z, uint32_t stencil)
{
    GLbitfield bits = 0;
    if (flags & CLEAR_TARGET) {
        bits |= GL_COLOR_BUFFER_BIT;
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        // The back buffer has no alpha; the window's may have, and it stays
        // opaque so that a compositor shows no desktop through the game.
        glClearColor(float((argb >> 16) & 0xFF) / 255.0f, float((argb >> 8) & 0xFF) / 255.0f,
                     float(argb & 0xFF) / 255.0f, drawingIntoWindow() ? 1.0f : float(argb >> 24) / 255.0f);
    }
    if ((flags & CLEAR_ZBUFFER) && mDepthTarget) {
        bits |= GL_DEPTH_BUFFER_BIT;
        glDepthMask(GL_TRUE);
        glClearDepth(z);
    }
    if ((flags & CLEAR_STENCIL) && mDepthTarget && mDepthTarget->format() == GfxFormat::D24S8) {
        bits |= GL_STENCIL_BUFFER_BIT;
        glStencilMask(0xFF);
        glClearStencil(GLint(stencil & 0xFF));
    }
    if (bits)
        glClear(bits);
    applyRenderState(RenderState::ColorWriteEnable);
    applyRenderState(RenderState::ZWriteEnable);
    applyRenderState(RenderState::StencilWriteMask);
}

void GraphicsDeviceGL::applyAllStates()
{
    for (uint32_t i = 0; i < uint32_t(RenderState::Count); ++i)
        applyRenderState(RenderState(i));
    for (uint32_t st = 0; st < MAX_TEXTURE_STAGES; ++st) {
        for (uint32_t i = 0; i < uint32_t(StageState::Count); ++i)
            applyStageState(st, StageState(i));
        bindStageTexture(st);
    }
    glDepthFunc(GL_LEQUAL);
    glFrontFace(GL_CCW);
    glBindVertexArray(mVao);
    setStreamSource(mStream, 0);
    setIndices(mIndices);
    applyGLViewport();
}

void GraphicsDeviceGL::applyRenderState(RenderState state)
{
    const uint32_t v = mStates.get(state);
    switch (state) {
    case RenderState::CullMode:
        // Targets are stored top row first, so a winding that is clockwise
        // with y down is counter-clockwise to GL; on the window, which is not
        // turned over, it stays clockwise.
        if (Cull(v) == Cull::None) {
            glDisable(GL_CULL_FACE);
        } else {
            glEnable(GL_CULL_FACE);
            glCullFace((Cull(v) == Cull::CW) != drawingIntoWindow() ? GL_FRONT : GL_BACK);
        }
        break;
    case RenderState::AlphaBlendEnable:
        v ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
        break;
    case RenderState::SrcBlend:
    case RenderState::DestBlend:
        glBlendFunc(glBlend(mStates.get(RenderState::SrcBlend)), glBlend(mStates.get(RenderState::DestBlend)));
        break;
    case RenderState::ZEnable:
        v ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
        break;
    case RenderState::ZWriteEnable:
        glDepthMask(v ? GL_TRUE : GL_FALSE);
        break;
    case RenderState::AlphaTestEnable:
    case RenderState::AlphaRef:
    case RenderState::AlphaFunc:
        ++mUniformVersion;
        break;
    case RenderState::StencilEnable:
        v ? glEnable(GL_STENCIL_TEST) : glDisable(GL_STENCIL_TEST);
        break;
    case RenderState::StencilFunc:
    case RenderState::StencilRef:
    case RenderState::StencilMask:
        glStencilFunc(glCompare(mStates.get(RenderState::StencilFunc)), GLint(mStates.get(RenderState::StencilRef)),
                      mStates.get(RenderState::StencilMask));
        break;
    case RenderState::StencilWriteMask:
        glStencilMask(v);
        break;
    case RenderState::StencilFail:
    case RenderState::StencilZFail:
    case RenderState::StencilPass:
        glStencilOp(glStencilOperation(mStates.get(RenderState::StencilFail)),
                    glStencilOperation(mStates.get(RenderState::StencilZFail)),
                    glStencilOperation(mStates.get(RenderState::StencilPass)));
        break;
    case RenderState::ColorWriteEnable:
        glColorMask((v & 1) != 0, (v & 2) != 0, (v & 4) != 0, (v & 8) != 0 && !drawingIntoWindow());
        break;
    case RenderState::FillMode:
        glPolygonMode(GL_FRONT_AND_BACK,
                      Fill(v) == Fill::Point ? GL_POINT : Fill(v) == Fill::Wireframe ? GL_LINE : GL_FILL);
        break;
    default:
        break;  // lighting: the renderer draws lit colours itself
    }
}

void GraphicsDeviceGL::applyStageState(uint32_t stage, StageState state)
{
    const uint32_t v = mStates.get(stage, state);
    const GLuint sampler = mSamplers[stage];
    switch (state) {
    case StageState::AddressU:
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, glAddress(v));
        break;
    case StageState::AddressV:
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, glAddress(v));
        break;
    case StageState::AddressW:
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_R, glAddress(v));
        break;
    // Textures have one level, so the mip filter has nothing to choose from.
    case StageState::MinFilter:
        glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, glFilter(v));
        break;
    case StageState::MagFilter:
        glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, glFilter(v));
        break;
    case StageState::MipFilter:
        break;
    default:
        ++mUniformVersion;
        break;
    }
}

void GraphicsDeviceGL::setRenderState(RenderState state, uint32_t value)
{
    if (state >= RenderState::Count || mStates.render[uint32_t(state)] == value)
        return;
    mStates.render[uint32_t(state)] = value;
    if (mCreated)
        applyRenderState(state);
}

void GraphicsDeviceGL::setStageState(uint32_t stage, StageState state, uint32_t value)
{
    if (stage >= MAX_TEXTURE_STAGES || state >= StageState::Count || mStates.stage[stage][uint32_t(state)] == value)
        return;
    mStates.stage[stage][uint32_t(state)] = value;
    if (mCreated)
        applyStageState(stage, state);
}

void GraphicsDeviceGL::bindStageTexture(uint32_t stage)
{
    glActiveTexture(GL_TEXTURE0 + stage);
    glBindTexture(GL_TEXTURE_2D, mTextures[stage] ? mTextures[stage]->id : mWhiteTexture);
}

void GraphicsDeviceGL::setTexture(uint32_t stage, GfxTexture* texture)
{
    if (stage >= MAX_TEXTURE_STAGES || mTextures[stage] == texture)
        return;
    mTextures[stage] = static_cast<TextureGL*>(texture);
    bindStageTexture(stage);
}

void GraphicsDeviceGL::setTransform(TransformKind kind, const Matrix4& matrix)
{
    mTransforms[uint32_t(kind)] = matrix;
    ++mUniformVersion;
}

void GraphicsDeviceGL::setStreamSource(GfxBuffer* vertexBuffer, uint32_t vertexFormat)
{
    auto* b = static_cast<BufferGL*>(vertexBuffer);
    mStream = b;
    if (!mCreated)
        return;
    glBindVertexArray(mVao);
    if (!b) {
        for (GLuint i = 0; i < 3; ++i)
            glDisableVertexAttribArray(i);
        return;
    }
    const VertexLayout layout = describeVertexLayout(vertexFormat);
    mStreamStride = layout.stride;
    glBindBuffer(GL_ARRAY_BUFFER, b->id);
    const auto offset = [&](VertexComponent c) {
        return reinterpret_cast<const void*>(uintptr_t(layout.offsets[c]));
    };
    const GLsizei stride = GLsizei(layout.stride);
    if (layout.has(VC_POSITION)) {
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, offset(VC_POSITION));
    } else {
        glDisableVertexAttribArray(0);
        glVertexAttrib4f(0, 0, 0, 0, 1);
    }
    if (layout.has(VC_DIFFUSE)) {
        // Colours are stored b, g, r, a; GL_BGRA hands them over as r, g, b, a.
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride, offset(VC_DIFFUSE));
    } else {
        glDisableVertexAttribArray(1);
        glVertexAttrib4f(1, 1, 1, 1, 1);
    }
    if (layout.has(VC_TEXCOORD0)) {
        glEnableVertexAttribArray(2);
        glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride, offset(VC_TEXCOORD0));
    } else {
        glDisableVertexAttribArray(2);
        glVertexAttrib4f(2, 0, 0, 0, 1);
    }
}

void GraphicsDeviceGL::setIndices(GfxBuffer* indexBuffer)
{
    mIndices = static_cast<BufferGL*>(indexBuffer);
    if (!mCreated)
        return;
    glBindVertexArray(mVao);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mIndices ? mIndices->id : 0);
}

uint32_t GraphicsDeviceGL::createShader(const char* source, bool vertex, std::string& errors)
{
    if (!mCreated || !source) {
        errors = "no device or no source";
        return 0;
    }
    const GLuint id = compile(vertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER, source, errors);
    if (!id)
        return 0;
    ShaderGL& shader = mShaders[mNextShader];
    shader.id = id;
    shader.vertex = vertex;
    if (!vertex) {
        shader.source = source;
        shader.variants[PIXEL_ALPHA_TEST] = id;
    }
    return mNextShader++;
}

uint32_t GraphicsDeviceGL::createPixelShader(const char* source, std::string& errors)
{
    return createShader(source, false, errors);
}

uint32_t GraphicsDeviceGL::createVertexShader(const char* source, uint32_t, std::string& errors)
{
    return createShader(source, true, errors);
}

bool GraphicsDeviceGL::deleteShader(uint32_t handle, bool vertex)
{
    auto it = mShaders.find(handle);
    if (it == mShaders.end() || it->second.vertex != vertex)
        return false;
    for (auto p = mPrograms.begin(); p != mPrograms.end();) {
        if ((vertex ? std::get<0>(p->first) : std::get<1>(p->first)) == handle) {
            if (mCurrentProgram == p->second.id) {
                glUseProgram(0);
                mCurrentProgram = 0;
            }
            glDeleteProgram(p->second.id);
            p = mPrograms.erase(p);
        } else {
            ++p;
        }
    }
    deleteGLShader(it->second);
    mShaders.erase(it);
    if (vertex && mVertexShader == handle)
        mVertexShader = 0;
    if (!vertex && mPixelShader == handle)
        mPixelShader = 0;
    return true;
}

void GraphicsDeviceGL::setVertexShaderConstant(uint32_t firstRegister, const float* values, uint32_t registerCount)
{
    for (uint32_t r = 0; r < registerCount && firstRegister + r < MAX_VERTEX_SHADER_CONSTANTS; ++r)
        std::memcpy(&mConstants[(firstRegister + r) * 4], values + r * 4, 4 * sizeof(float));
    ++mUniformVersion;
}

// Which variant of the pixel program the current states need.
uint32_t GraphicsDeviceGL::pixelVariantKey() const
{
    uint32_t variant = 0;
    if (mStates.get(RenderState::AlphaTestEnable) != 0 && !alphaTestChangesNothing(mStates))
        variant |= PIXEL_ALPHA_TEST;
    // A shader of the game's own does its own shading.
    if (!mPixelShader && stage0IsModulate(mStates))
        variant |= PIXEL_MODULATE;
    return variant;
}

GLuint GraphicsDeviceGL::pixelVariant(ShaderGL& shader, uint32_t variant)
{
    if (!shader.variants[variant]) {
        std::string errors;
        shader.variants[variant] = compile(GL_FRAGMENT_SHADER, shader.source.c_str(), errors, variant);
        if (!shader.variants[variant])
            logIfPossible("ERROR: Failed to build a pixel program variant: " + errors);
    }
    return shader.variants[variant];
}

ProgramGL* GraphicsDeviceGL::program()
{
    const uint32_t variant = pixelVariantKey();
    const auto key = std::make_tuple(mVertexShader, mPixelShader, variant);
    auto it = mPrograms.find(key);
    if (it == mPrograms.end()) {
        const auto vs = mShaders.find(mVertexShader);
        const auto ps = mShaders.find(mPixelShader);
        const GLuint vertex = mVertexShader ? (vs == mShaders.end() ? 0 : vs->second.id) : mFixedVertex;
        const GLuint pixel = mPixelShader ? (ps == mShaders.end() ? 0 : pixelVariant(ps->second, variant))
                                          : pixelVariant(mFixedPixel, variant);
        ProgramGL p;
        if (vertex && pixel) {
            p.id = glCreateProgram();
            glAttachShader(p.id, vertex);
            glAttachShader(p.id, pixel);
            glLinkProgram(p.id);
            GLint ok = 0;
            glGetProgramiv(p.id, GL_LINK_STATUS, &ok);
            if (!ok) {
                char log[1024] = {};
                glGetProgramInfoLog(p.id, sizeof(log), nullptr, log);
                logIfPossible(std::string("ERROR: Failed to link shader program: ") + log);
                glDeleteProgram(p.id);
                p.id = 0;
            }
        }
        if (p.id) {
            glUseProgram(p.id);
            mCurrentProgram = p.id;
            glUniform1i(glGetUniformLocation(p.id, "vq_tex0"), 0);
            glUniform1i(glGetUniformLocation(p.id, "vq_tex1"), 1);
            p.transform = glGetUniformLocation(p.id, "vq_transform");
            p.pixelFix = glGetUniformLocation(p.id, "vq_pixelFix");
            p.constants = glGetUniformLocation(p.id, "vq_c");
            p.alphaFunc = glGetUniformLocation(p.id, "vq_alphaFunc");
            p.alphaRef = glGetUniformLocation(p.id, "vq_alphaRef");
            p.stage0 = glGetUniformLocation(p.id, "vq_stage0");
            p.stage0AlphaArgs = glGetUniformLocation(p.id, "vq_stage0AlphaArgs");
        }
        it = mPrograms.emplace(key, p).first;
    }
    return it->second.id ? &it->second : nullptr;
}

void GraphicsDeviceGL::uploadUniforms(ProgramGL& p)
{
    if (p.transform >= 0) {
        const Matrix4 m = mTransforms[uint32_t(TransformKind::World)] * mTransforms[uint32_t(TransformKind::View)] *
                          mTransforms[uint32_t(TransformKind::Projection)];
        // Row-major rows become GL columns, so GLSL's M * v is the row-vector v x M.
        glUniformMatrix4fv(p.transform, 1, GL_FALSE, &m.m[0][0]);
    }
    if (p.pixelFix >= 0 && mViewport.width && mViewport.height)
        glUniform3f(p.pixelFix, 1.0f / float(mViewport.width), -1.0f / float(mViewport.height),
                    drawingIntoWindow() ? 1.0f : -1.0f);
    if (p.constants >= 0)
        glUniform4fv(p.constants, MAX_VERTEX_SHADER_CONSTANTS, mConstants);
    const bool alphaTest = mStates.get(RenderState::AlphaTestEnable) != 0;
    glUniform1i(p.alphaFunc, alphaTest ? GLint(mStates.get(RenderState::AlphaFunc)) : GLint(Cmp::Always));
    glUniform1f(p.alphaRef, float(mStates.get(RenderState::AlphaRef) & 0xFF));
    if (p.stage0 >= 0) {
        glUniform4i(p.stage0, GLint(mStates.get(0, StageState::ColorOp)), GLint(mStates.get(0, StageState::ColorArg1)),
                    GLint(mStates.get(0, StageState::ColorArg2)), GLint(mStates.get(0, StageState::AlphaOp)));
        glUniform2i(p.stage0AlphaArgs, GLint(mStates.get(0, StageState::AlphaArg1)),
                    GLint(mStates.get(0, StageState::AlphaArg2)));
    }
    p.uniformVersion = mUniformVersion;
}

bool GraphicsDeviceGL::prepareDraw()
{
    if (!mCreated || !mStream || !mColourTarget)
        return false;
    ProgramGL* p = program();
    if (!p)
        return false;
    if (mCurrentProgram != p->id) {
        glUseProgram(p->id);
        mCurrentProgram = p->id;
    }
    if (p->uniformVersion != mUniformVersion)
        uploadUniforms(*p);
    return true;
}

void GraphicsDeviceGL::drawIndexedTriangleList(uint32_t, uint32_t startIndex, uint32_t triangleCount)
{
    if (!mIndices || triangleCount == 0 || !prepareDraw())
        return;
    glDrawElementsBaseVertex(GL_TRIANGLES, GLsizei(triangleCount * 3), GL_UNSIGNED_SHORT,
                             reinterpret_cast<const void*>(uintptr_t(startIndex) * 2),
                             GLint(mStream->drawOffset / std::max(mStreamStride, 1u)));
}

void GraphicsDeviceGL::drawLineList(uint32_t startVertex, uint32_t lineCount)
{
    if (lineCount == 0 || !prepareDraw())
        return;
    glDrawArrays(GL_LINES, GLint(startVertex + mStream->drawOffset / std::max(mStreamStride, 1u)),
                 GLsizei(lineCount * 2));
}

bool GraphicsDeviceGL::readPixels(std::vector<uint32_t>& argb, uint32_t& width, uint32_t& height)
{
    if (!mCreated || !mColourTarget)
        return false;
    width = mColourTarget->width();
    height = mColourTarget->height();
    argb.assign(size_t(width) * height, 0);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, mColourTarget->target());
    if (drawingIntoWindow())
        glReadBuffer(GLenum(mWindowReadBuffer));
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    // BGRA bytes read as little-endian 32-bit words are 0xAARRGGBB.
    glReadPixels(0, 0, GLsizei(width), GLsizei(height), GL_BGRA, GL_UNSIGNED_BYTE, argb.data());
    if (drawingIntoWindow()) {
        // The window's rows run bottom-up.
        for (uint32_t y = 0; y < height / 2; ++y)
            std::swap_ranges(argb.begin() + ptrdiff_t(y) * width, argb.begin() + ptrdiff_t(y + 1) * width,
                             argb.begin() + ptrdiff_t(height - 1 - y) * width);
    }
    return glGetError() == GL_NO_ERROR;
}

}  // namespace

std::unique_ptr<GraphicsDevice> createGraphicsDeviceGL()
{
    return std::make_unique<GraphicsDeviceGL>();
}

}  // namespace VQ
