#include "platform/recording_graphics_device.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "vertex_layout.h"

namespace VQ {

class RecordingGraphicsDevice::Surface : public GfxSurface {
public:
    Surface(uint32_t w, uint32_t h, GfxFormat f, bool defaultPool) : GfxSurface(w, h, f, defaultPool) {}
    using GfxSurface::resize;
};

class RecordingGraphicsDevice::Texture : public GfxTexture {
public:
    Texture(uint32_t w, uint32_t h, GfxFormat f, bool renderTarget) : GfxTexture(w, h, f, renderTarget)
    {
        if (renderTarget)
            mSurface = std::make_unique<Surface>(w, h, f, false);
        pixels.resize(size_t(formatPitch(f, w)) * formatRows(f, h));
    }
    GfxSurface* surface() override { return mSurface.get(); }
    using GfxTexture::noteUpload;
    std::vector<uint8_t> pixels;
    bool locked = false;

private:
    std::unique_ptr<Surface> mSurface;
};

class RecordingGraphicsDevice::Buffer : public GfxBuffer {
public:
    Buffer(uint32_t size, bool index) : GfxBuffer(size, index), bytes(size) {}
    std::vector<uint8_t> bytes;
    bool locked = false;
};

RecordingGraphicsDevice::RecordingGraphicsDevice()
{
    setDefaults();
}

RecordingGraphicsDevice::~RecordingGraphicsDevice() = default;

void RecordingGraphicsDevice::setDefaults()
{
    mStates.setDefaults();
    for (auto& t : mTransforms)
        t = Matrix4::identity();
    mPixelShader = 0;
    mVertexShader = 0;
    std::fill(std::begin(mTextures), std::end(mTextures), nullptr);
    mStream = nullptr;
    mIndices = nullptr;
    mColourTarget = mBackBuffer.get();
    mDepthTarget = mBackBufferDepth.get();
    mViewport = GfxViewport{0, 0, mBackBuffer ? mBackBuffer->width() : 0, mBackBuffer ? mBackBuffer->height() : 0};
}

void RecordingGraphicsDevice::loseDevice(uint32_t lostPolls)
{
    mLossPending = true;
    mLostPolls = lostPolls;
}

void RecordingGraphicsDevice::clearRecords()
{
    mDraws.clear();
    mClears.clear();
    mCopies.clear();
    mResourceEvents.clear();
}

DeviceResult RecordingGraphicsDevice::create(uint32_t backBufferWidth, uint32_t backBufferHeight,
                                             VertexProcessing vp)
{
    ++mCreateAttempts;
    if (mFailCreations > 0) {
        --mFailCreations;
        return DeviceResult::Failed;
    }
    mCreated = true;
    mVertexProcessing = vp;
    mBackBuffer = std::make_unique<Surface>(backBufferWidth, backBufferHeight, GfxFormat::X8R8G8B8, true);
    mBackBufferDepth = std::make_unique<Surface>(backBufferWidth, backBufferHeight, GfxFormat::D24S8, true);
    mPool.setOwnSurfaces(mBackBuffer.get(), mBackBufferDepth.get());
    setDefaults();
    return DeviceResult::Ok;
}

DeviceCaps RecordingGraphicsDevice::caps() const
{
    DeviceCaps caps;
    caps.pixelShader14 = mShadersSupported;
    caps.vertexShader11 = mShadersSupported;
    caps.maxTextureWidth = 4096;
    caps.maxTextureHeight = 4096;
    caps.depthStencilD24S8 = true;
    return caps;
}

DeviceResult RecordingGraphicsDevice::testCooperativeLevel()
{
    if (!mLost)
        return DeviceResult::Ok;
    if (mLostPolls > 0) {
        --mLostPolls;
        return DeviceResult::DeviceLost;
    }
    return DeviceResult::DeviceNotReset;
}

DeviceResult RecordingGraphicsDevice::reset(uint32_t backBufferWidth, uint32_t backBufferHeight)
{
    if (!mCreated)
        return DeviceResult::InvalidCall;
    if (mNextResetFailure != DeviceResult::Ok)
        return std::exchange(mNextResetFailure, DeviceResult::Ok);
    if (mLost && mLostPolls > 0)
        return DeviceResult::DeviceLost;
    // Like the original device: any default-pool object still alive makes the
    // reset fail, which is how a leak in a reset path shows.
    if (mPool.blocksReset())
        return DeviceResult::InvalidCall;
    mLost = false;
    ++mResetCount;
    mBackBuffer->resize(backBufferWidth, backBufferHeight);
    mBackBufferDepth->resize(backBufferWidth, backBufferHeight);
    setDefaults();
    return DeviceResult::Ok;
}

DeviceResult RecordingGraphicsDevice::present()
{
    ++mPresentCount;
    if (mLossPending) {
        mLossPending = false;
        mLost = true;
    }
    return mLost ? DeviceResult::DeviceLost : DeviceResult::Ok;
}

void RecordingGraphicsDevice::beginScene()
{
    if (mInScene)
        ++mScenePairingErrors;
    mInScene = true;
}

void RecordingGraphicsDevice::endScene()
{
    if (!mInScene)
        ++mScenePairingErrors;
    mInScene = false;
}

void RecordingGraphicsDevice::recordResource(bool created, const GfxResource* resource)
{
    ResourceEvent e;
    e.created = created;
    e.resource = resource;
    if (auto* t = dynamic_cast<const GfxTexture*>(resource)) {
        e.kind = t->renderTarget() ? "rendertexture" : "texture";
        e.width = t->width();
        e.height = t->height();
        e.format = t->format();
    } else if (auto* s = dynamic_cast<const GfxSurface*>(resource)) {
        e.kind = "depthstencil";
        e.width = s->width();
        e.height = s->height();
        e.format = s->format();
    } else if (auto* b = dynamic_cast<const GfxBuffer*>(resource)) {
        e.kind = b->isIndexBuffer() ? "indexbuffer" : "vertexbuffer";
        e.width = b->size();
    }
    if (created)
        mPool.created(resource);
    else
        mPool.released(resource);
    mResourceEvents.push_back(std::move(e));
}

GfxTexture* RecordingGraphicsDevice::createTexture(uint32_t width, uint32_t height, GfxFormat format,
                                                   bool renderTarget)
{
    if (width == 0 || height == 0 || width > 4096 || height > 4096 || format == GfxFormat::Unknown ||
        format == GfxFormat::D16 || format == GfxFormat::D24S8)
        return nullptr;
    auto* t = new Texture(width, height, format, renderTarget);
    recordResource(true, t);
    return t;
}

bool RecordingGraphicsDevice::takeLockFailure()
{
    const bool fail = mFailNextLock;
    mFailNextLock = false;
    return fail;
}

uint8_t* RecordingGraphicsDevice::lockTexture(GfxTexture* texture, bool, uint32_t& pitch)
{
    auto* t = static_cast<Texture*>(texture);
    if (!t || t->renderTarget() || t->locked || takeLockFailure())
        return nullptr;
    t->locked = true;
    pitch = formatPitch(t->format(), t->width());
    return t->pixels.data();
}

void RecordingGraphicsDevice::unlockTexture(GfxTexture* texture)
{
    auto* t = static_cast<Texture*>(texture);
    if (!t || !t->locked)
        return;
    t->locked = false;
    t->noteUpload(t->pixels.data(), t->pixels.size());
}

GfxSurface* RecordingGraphicsDevice::createDepthStencilSurface(uint32_t width, uint32_t height, GfxFormat format)
{
    if (width == 0 || height == 0 || (format != GfxFormat::D16 && format != GfxFormat::D24S8))
        return nullptr;
    auto* s = new Surface(width, height, format, true);
    recordResource(true, s);
    return s;
}

GfxBuffer* RecordingGraphicsDevice::createBuffer(uint32_t bytes, bool index)
{
    if (bytes == 0)
        return nullptr;
    auto* b = new Buffer(bytes, index);
    recordResource(true, b);
    return b;
}

uint8_t* RecordingGraphicsDevice::lockBuffer(GfxBuffer* buffer, bool)
{
    auto* b = static_cast<Buffer*>(buffer);
    if (!b || takeLockFailure())
        return nullptr;
    b->locked = true;
    return b->bytes.data();
}

void RecordingGraphicsDevice::unlockBuffer(GfxBuffer* buffer, uint32_t)
{
    if (auto* b = static_cast<Buffer*>(buffer))
        b->locked = false;
}

void RecordingGraphicsDevice::release(GfxResource* resource)
{
    if (!resource)
        return;
    if (mPool.releaseOwn(resource))
        return;
    // Unbind what goes away so that no dangling binding is recorded later.
    for (auto& t : mTextures)
        if (t == resource)
            t = nullptr;
    if (mStream == resource)
        mStream = nullptr;
    if (mIndices == resource)
        mIndices = nullptr;
    if (mDepthTarget == resource)
        mDepthTarget = nullptr;
    if (auto* t = dynamic_cast<GfxTexture*>(resource); t && mColourTarget && mColourTarget == t->surface())
        mColourTarget = nullptr;
    recordResource(false, resource);
    delete resource;
}

GfxSurface* RecordingGraphicsDevice::getBackBuffer()
{
    return mPool.reference(0);
}

GfxSurface* RecordingGraphicsDevice::getBackBufferDepthStencil()
{
    return mPool.reference(1);
}

void RecordingGraphicsDevice::setRenderTarget(GfxSurface* colour, GfxSurface* depth)
{
    if (!colour)
        return;
    mColourTarget = colour;
    mDepthTarget = depth;
    mViewport = GfxViewport{0, 0, colour->width(), colour->height()};
}

void RecordingGraphicsDevice::clear(uint32_t flags, uint32_t argb, float z, uint32_t stencil)
{
    mClears.push_back(ClearRecord{flags, argb, z, stencil, mColourTarget});
}

void RecordingGraphicsDevice::setRenderState(RenderState state, uint32_t value)
{
    if (state < RenderState::Count)
        mStates.render[uint32_t(state)] = value;
}

void RecordingGraphicsDevice::setStageState(uint32_t stage, StageState state, uint32_t value)
{
    if (stage < MAX_TEXTURE_STAGES && state < StageState::Count)
        mStates.stage[stage][uint32_t(state)] = value;
}

void RecordingGraphicsDevice::setTexture(uint32_t stage, GfxTexture* texture)
{
    if (stage < MAX_TEXTURE_STAGES)
        mTextures[stage] = texture;
}

void RecordingGraphicsDevice::setTransform(TransformKind kind, const Matrix4& matrix)
{
    mTransforms[uint32_t(kind)] = matrix;
}

void RecordingGraphicsDevice::setStreamSource(GfxBuffer* vertexBuffer, uint32_t vertexFormat)
{
    mStream = static_cast<Buffer*>(vertexBuffer);
    mStreamFormat = vertexFormat;
}

void RecordingGraphicsDevice::setIndices(GfxBuffer* indexBuffer)
{
    mIndices = static_cast<Buffer*>(indexBuffer);
}

void RecordingGraphicsDevice::record(DrawRecord&& draw)
{
    draw.colourTarget = mColourTarget;
    draw.depthTarget = mDepthTarget;
    draw.viewport = mViewport;
    std::copy(std::begin(mTextures), std::end(mTextures), std::begin(draw.textures));
    draw.states = mStates;
    draw.pixelShader = mPixelShader;
    draw.vertexShader = mVertexShader;
    draw.vertexFormat = mStreamFormat;
    draw.view = mTransforms[uint32_t(TransformKind::View)];
    draw.projection = mTransforms[uint32_t(TransformKind::Projection)];
    if (mRecordVertices && mStream) {
        const size_t stride = describeVertexLayout(mStreamFormat).stride;
        const size_t first = draw.type == PrimitiveType::Lines ? draw.start : 0;
        const size_t bytes = std::min(mStream->bytes.size(), (first + draw.vertexCount) * stride);
        if (first * stride < bytes)
            draw.vertices.assign(mStream->bytes.begin() + long(first * stride), mStream->bytes.begin() + long(bytes));
    }
    mDraws.push_back(std::move(draw));
}

void RecordingGraphicsDevice::drawIndexedTriangleList(uint32_t numVertices, uint32_t startIndex,
                                                      uint32_t triangleCount)
{
    DrawRecord d;
    d.type = PrimitiveType::Triangles;
    d.primitiveCount = triangleCount;
    d.vertexCount = numVertices;
    d.start = startIndex;
    record(std::move(d));
}

void RecordingGraphicsDevice::drawLineList(uint32_t startVertex, uint32_t lineCount)
{
    DrawRecord d;
    d.type = PrimitiveType::Lines;
    d.primitiveCount = lineCount;
    d.vertexCount = lineCount * 2;
    d.start = startVertex;
    record(std::move(d));
}

uint32_t RecordingGraphicsDevice::createShader(const char* source, std::vector<uint32_t>& handles,
                                               std::string& errors)
{
    if (!mShadersSupported || !source) {
        errors = "shaders are not supported";
        return 0;
    }
    // Lets tests exercise the compile-error path.
    if (std::strstr(source, "#error")) {
        errors = "0:1(1): error: #error in source";
        return 0;
    }
    handles.push_back(mNextShaderHandle);
    return mNextShaderHandle++;
}

uint32_t RecordingGraphicsDevice::createPixelShader(const char* source, std::string& errors)
{
    return createShader(source, mPixelShaders, errors);
}

uint32_t RecordingGraphicsDevice::createVertexShader(const char* source, uint32_t, std::string& errors)
{
    return createShader(source, mVertexShaders, errors);
}

static bool eraseHandle(std::vector<uint32_t>& handles, uint32_t handle)
{
    auto it = std::find(handles.begin(), handles.end(), handle);
    if (it == handles.end())
        return false;
    handles.erase(it);
    return true;
}

bool RecordingGraphicsDevice::deletePixelShader(uint32_t handle)
{
    if (mPixelShader == handle)
        mPixelShader = 0;
    return eraseHandle(mPixelShaders, handle);
}

bool RecordingGraphicsDevice::deleteVertexShader(uint32_t handle)
{
    if (mVertexShader == handle)
        mVertexShader = 0;
    return eraseHandle(mVertexShaders, handle);
}

void RecordingGraphicsDevice::setVertexShaderConstant(uint32_t firstRegister, const float* values,
                                                      uint32_t registerCount)
{
    for (uint32_t r = 0; r < registerCount && firstRegister + r < MAX_VERTEX_SHADER_CONSTANTS; ++r)
        std::memcpy(&mConstants[(firstRegister + r) * 4], values + r * 4, 4 * sizeof(float));
}

bool RecordingGraphicsDevice::readPixels(std::vector<uint32_t>& argb, uint32_t& width, uint32_t& height)
{
    argb.clear();
    width = height = 0;
    return false;
}

}  // namespace VQ
