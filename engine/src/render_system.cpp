#include "render_system.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <utility>

#include "fatal_error.h"
#include "log_system.h"

namespace VQ {

const char* const DISTORTION_PIXEL_SHADER_SOURCE = R"(
vec4 vq_shade()
{
    vec2 d = texture(vq_tex1, vq_texcoord0).rg;
    return texture(vq_tex0, vq_texcoord0 + 0.15 * (d - vec2(0.498039)));
}
)";

RenderSystem::RenderSystem() : mDistortionProgram(std::make_unique<ShaderProgram>())
{
    resetBatchState();
}

RenderSystem::~RenderSystem()
{
    releaseBatches();
    if (mDevice) {
        releaseShaderProgram(mDistortionProgram.get());
        releaseFrameTargets();
        releaseBatchBuffers();
    }
}

void RenderSystem::setDevice(std::unique_ptr<GraphicsDevice> device)
{
    if (mDevice) {
        releaseFrameTargets();
        releaseBatchBuffers();
    }
    mDevice = std::move(device);
    resetBatchState();
}

void RenderSystem::setDeviceState(RenderState state, uint32_t value)
{
    if (mDevice)
        mDevice->setRenderState(state, value);
}

// ---------------------------------------------------------------------------
// Batch buffers and fixed state

bool RenderSystem::createBatchBuffers()
{
    if (!mDevice)
        return false;
    const uint32_t format = mSettings.vertexFormat;
    const uint32_t stride = computeVertexLayout(format);
    mVertexBuffer = mDevice->createVertexBuffer(stride * MAX_BATCH_VERTICES);
    if (!mVertexBuffer)
        assertFailed("VQ", "Failed to create DirectX Vertex Buffer", "render_system_dx8", 190);
    mDevice->setStreamSource(mVertexBuffer, format);

    mIndexBuffer = mDevice->createIndexBuffer(INDEX_BUFFER_BYTES);
    if (!mIndexBuffer)
        assertFailed("VQ", "Failed to create DirectX Index Buffer", "render_system_dx8", 203);
    uint8_t* bytes = mDevice->lockBuffer(mIndexBuffer, false);
    if (!bytes)
        return false;
    const uint32_t quads = INDEX_BUFFER_BYTES / (6 * sizeof(uint16_t));
    for (uint32_t q = 0; q < quads; ++q) {
        const uint16_t v = uint16_t(q * 4);
        const uint16_t quad[6] = {v, uint16_t(v + 1), uint16_t(v + 2), uint16_t(v + 2), uint16_t(v + 3), v};
        std::memcpy(bytes + q * sizeof(quad), quad, sizeof(quad));
    }
    mDevice->unlockBuffer(mIndexBuffer, INDEX_BUFFER_BYTES);
    mDevice->setIndices(mIndexBuffer);
    return true;
}

void RenderSystem::releaseBatchBuffers()
{
    if (!mDevice)
        return;
    mDevice->setStreamSource(nullptr, mSettings.vertexFormat);
    mDevice->setIndices(nullptr);
    mDevice->release(mVertexBuffer);
    mDevice->release(mIndexBuffer);
    mVertexBuffer = nullptr;
    mIndexBuffer = nullptr;
    mVertexWritePointer = nullptr;
    mBatchVertexCount = 0;
    mBatchPrimitives = 0;
}

void RenderSystem::setFixedDeviceState()
{
    if (!mDevice)
        return;
    GraphicsDevice& d = *mDevice;
    d.setRenderState(RenderState::CullMode, uint32_t(Cull::None));
    d.setRenderState(RenderState::Lighting, 0);
    d.setRenderState(RenderState::AlphaBlendEnable, 1);
    d.setStageState(0, StageState::ColorOp, uint32_t(TextureOp::Modulate));
    d.setStageState(0, StageState::ColorArg1, uint32_t(TextureArg::Texture));
    d.setStageState(0, StageState::ColorArg2, uint32_t(TextureArg::Diffuse));
    d.setStageState(0, StageState::AlphaOp, uint32_t(TextureOp::Modulate));
    d.setStageState(0, StageState::AlphaArg1, uint32_t(TextureArg::Texture));
    d.setStageState(0, StageState::AlphaArg2, uint32_t(TextureArg::Diffuse));
    d.setStageState(0, StageState::MipFilter, uint32_t(Filter::Linear));
    d.setStageState(0, StageState::MagFilter, uint32_t(Filter::Linear));
    d.setStageState(0, StageState::MinFilter, uint32_t(Filter::Linear));
    d.setRenderState(RenderState::SrcBlend, uint32_t(Blend::SrcAlpha));
    d.setRenderState(RenderState::DestBlend, uint32_t(Blend::InvSrcAlpha));
    d.setRenderState(RenderState::ZWriteEnable, 0);
    d.setRenderState(RenderState::ZEnable, 0);
    d.setRenderState(RenderState::AlphaTestEnable, 1);
    d.setRenderState(RenderState::AlphaRef, 1);
    d.setRenderState(RenderState::AlphaFunc, uint32_t(Cmp::GreaterEqual));
    d.setRenderState(RenderState::StencilEnable, 0);
    // A reset took the device back to its defaults: no program, blending on.
    mBlendingSkipped = false;
    mVertexShaderBound = mPixelShaderBound = false;
}

bool RenderSystem::lockBatchBuffer()
{
    mVertexWritePointer = (mDevice && mVertexBuffer) ? mDevice->lockBuffer(mVertexBuffer, true) : nullptr;
    return mVertexWritePointer != nullptr;
}

void RenderSystem::unlockBatchBuffer()
{
    if (mDevice && mVertexBuffer)
        mDevice->unlockBuffer(mVertexBuffer, mBatchVertexCount * currentVertexLayout().stride);
    mVertexWritePointer = nullptr;
}

// ---------------------------------------------------------------------------
// Batched drawing

// Whether any vertex's colour alpha differs from `alpha`; without vertex
// colours every vertex is opaque white.
static bool anyVertexAlphaOtherThan(const VertexStorage& storage, const VertexLayout& layout, uint8_t alpha)
{
    if (!layout.has(VC_DIFFUSE))
        return alpha != 0xFF;
    const uint8_t* at = storage.bytes.data() + layout.offsets[VC_DIFFUSE] + 3;
    for (uint32_t i = 0; i < storage.count; ++i, at += layout.stride)
        if (*at != alpha)
            return true;
    return false;
}

static bool anyVertexVisible(const VertexStorage& storage, const VertexLayout& layout)
{
    return anyVertexAlphaOtherThan(storage, layout, 0);
}

void RenderSystem::drawRenderData(const RenderData* data)
{
    if (!data)
        return;
    if (mCountPixels)
        countRasterizedPixels(*data);
    for (const TextureBase* t : data->textures)
        if (t && !t->mReady)
            return;
    if (!data->vertices || data->vertices->count == 0)
        return;
    const uint32_t stride = computeVertexLayout(mSettings.vertexFormat);
    const VertexLayout& layout = currentVertexLayout();
    const VertexStorage& storage = *data->vertices;
    if (storage.bytes.size() < size_t(storage.count) * stride || !anyVertexVisible(storage, layout) ||
        outsideTheView(storage, layout))
        return;
    // Outside a frame, or while the device is lost, there is nowhere to write.
    if (!mVertexWritePointer)
        return;

    // Only whole primitives are queued, so a stray vertex cannot shift every
    // later primitive of the batch; data larger than the buffer goes in
    // chunks of whole primitives.
    const uint32_t unit = data->primitiveKind == PRIMITIVE_QUADS ? 4 : data->primitiveKind == PRIMITIVE_LINES ? 2 : 1;
    uint32_t remaining = storage.count / unit * unit;
    const uint32_t chunkLimit = MAX_BATCH_VERTICES / unit * unit;
    const uint8_t* source = storage.bytes.data();
    const bool opaque = drawsOpaque(*data, storage, layout);
    while (remaining > 0 && mVertexWritePointer) {
        const uint32_t chunk = std::min(remaining, chunkLimit);
        queueVertices(*data, source, chunk, stride, opaque);
        source += size_t(chunk) * stride;
        remaining -= chunk;
    }
}

// Whether every vertex lies beyond the same edge of the target, so that the
// data would touch no pixel. The edge has a margin of two pixels for the
// device's pixel-centre shift and for line widths. A program of the game's
// own places vertices itself and is never culled.
bool RenderSystem::outsideTheView(const VertexStorage& storage, const VertexLayout& layout) const
{
    if (!mTransformApplied || mVertexShaderBound || !layout.has(VC_POSITION) || !mDevice)
        return false;
    const GfxViewport viewport = mDevice->viewport();
    if (viewport.width == 0 || viewport.height == 0)
        return false;
    const float edgeX = 1.0f + 4.0f / float(viewport.width);
    const float edgeY = 1.0f + 4.0f / float(viewport.height);
    const auto& m = mTransform.m;
    bool left = true, right = true, below = true, above = true;
    const uint8_t* at = storage.bytes.data() + layout.offsets[VC_POSITION];
    for (uint32_t i = 0; i < storage.count && (left || right || below || above); ++i, at += layout.stride) {
        float p[3];
        std::memcpy(p, at, sizeof(p));
        const float w = p[0] * m[0][3] + p[1] * m[1][3] + p[2] * m[2][3] + m[3][3];
        if (!(w > 0.0f))
            return false;
        const float x = p[0] * m[0][0] + p[1] * m[1][0] + p[2] * m[2][0] + m[3][0];
        const float y = p[0] * m[0][1] + p[1] * m[1][1] + p[2] * m[2][1] + m[3][1];
        left = left && x < -edgeX * w;
        right = right && x > edgeX * w;
        below = below && y < -edgeY * w;
        above = above && y > edgeY * w;
    }
    return left || right || below || above;
}

// Data that covers what lies beneath it (an alpha blend of opaque texels at
// full vertex alpha) is drawn with blending and the alpha test off: the
// blend would return the source and the test would pass every fragment, so
// the pixels are the same and the rasteriser reads no target.
bool RenderSystem::drawsOpaque(const RenderData& data, const VertexStorage& storage, const VertexLayout& layout) const
{
    if (data.blendMode != BLEND_ALPHA || mPixelShaderBound)
        return false;
    const TextureBase* texture = data.textures.empty() ? nullptr : data.textures[0];
    if (texture && !(texture->mHandle && texture->mHandle->opaque()))
        return false;
    return !anyVertexAlphaOtherThan(storage, layout, 0xFF);
}

void RenderSystem::skipBlending(bool skip)
{
    if (!mDevice || skip == mBlendingSkipped)
        return;
    if (skip) {
        mSkippedBlend = mDevice->renderState(RenderState::AlphaBlendEnable);
        mSkippedAlphaTest = mDevice->renderState(RenderState::AlphaTestEnable);
        mDevice->setRenderState(RenderState::AlphaBlendEnable, 0);
        mDevice->setRenderState(RenderState::AlphaTestEnable, 0);
    } else {
        mDevice->setRenderState(RenderState::AlphaBlendEnable, mSkippedBlend);
        mDevice->setRenderState(RenderState::AlphaTestEnable, mSkippedAlphaTest);
    }
    mBlendingSkipped = skip;
}

void RenderSystem::queueVertices(const RenderData& data, const uint8_t* source, uint32_t count, uint32_t stride,
                                 bool opaque)
{
    const TextureBase* batchTexture = mBatch.textures.empty() ? nullptr : mBatch.textures[0];
    const bool joins = mBatchStateKnown && !data.textures.empty() && mBatchVertexCount + count <= MAX_BATCH_VERTICES &&
                       data.textures[0] == batchTexture && data.blendMode == mBatch.blendMode &&
                       data.primitiveKind == mBatch.primitiveKind && data.addressMode == mBatch.addressMode &&
                       opaque == mBatchOpaque;
    if (!joins) {
        flushBatch();
        applyBatchState(data, opaque);
        if (!mVertexWritePointer)
            return;
    }
    std::memcpy(mVertexWritePointer + size_t(mBatchVertexCount) * stride, source, size_t(count) * stride);
    mBatchVertexCount += count;
    mBatchPrimitives += data.primitiveKind == PRIMITIVE_QUADS ? count / 4 : count - 1;
}

void RenderSystem::applyBatchState(const RenderData& data, bool opaque)
{
    TextureBase* batchTexture = mBatch.textures.empty() ? nullptr : mBatch.textures[0];
    if (data.textures.empty()) {
        if (mDevice)
            mDevice->setTexture(0, nullptr);
        mBatch.textures.assign(1, nullptr);
    } else if (!mBatchStateKnown || data.textures[0] != batchTexture) {
        TextureBase* first = data.textures[0];
        if (mDevice)
            mDevice->setTexture(0, first ? first->mHandle : nullptr);
        mBatch.textures.assign(1, first);
    }

    if (!mBatchStateKnown || data.blendMode != mBatch.blendMode) {
        switch (data.blendMode) {
        case BLEND_ALPHA:
            setDeviceState(RenderState::DestBlend, uint32_t(Blend::InvSrcAlpha));
            break;
        case BLEND_COLOR:
            setDeviceState(RenderState::DestBlend, uint32_t(Blend::InvSrcColor));
            break;
        case BLEND_ADD:
            setDeviceState(RenderState::DestBlend, uint32_t(Blend::One));
            break;
        default:
            break;
        }
        mBatch.blendMode = data.blendMode;
    }

    mBatch.primitiveKind = data.primitiveKind;
    skipBlending(opaque);
    mBatchOpaque = opaque;

    if (!mBatchStateKnown || data.addressMode != mBatch.addressMode) {
        const Address address = data.addressMode == ADDRESS_MIRROR  ? Address::Mirror
                                : data.addressMode == ADDRESS_CLAMP ? Address::Clamp
                                                                    : Address::Wrap;
        if (mDevice)
            for (StageState s : {StageState::AddressU, StageState::AddressV, StageState::AddressW})
                mDevice->setStageState(0, s, uint32_t(address));
        mBatch.addressMode = data.addressMode;
    }
    mBatchStateKnown = true;
}

void RenderSystem::flushBatch()
{
    if (mBatchVertexCount == 0)
        return;
    const uint32_t stride = currentVertexLayout().stride;
    if (mDevice)
        mDevice->unlockBuffer(mVertexBuffer, mBatchVertexCount * stride);
    ++mDrawCallCount;
    mTriangleCount += 2 * mBatchPrimitives;
    if (mDevice) {
        if (mBatch.primitiveKind == PRIMITIVE_QUADS)
            mDevice->drawIndexedTriangleList(4 * mBatchPrimitives, 0, 2 * mBatchPrimitives);
        else if (mBatch.primitiveKind == PRIMITIVE_LINES)
            mDevice->drawLineList(0, mBatchVertexCount / 2);
    }
    mBatchVertexCount = 0;
    mBatchPrimitives = 0;
    lockBatchBuffer();
}

void RenderSystem::resetBatchState()
{
    mBatch.textures.assign(1, nullptr);
    mBatch.primitiveKind = PRIMITIVE_QUADS;
    mBatch.blendMode = BLEND_COLOR;
    mBatch.addressMode = ADDRESS_WRAP;
    // The device may hold anything now (another frame's texture, a blend
    // mode set by a reset): the next render data sends its whole state.
    mBatchStateKnown = false;
}

void RenderSystem::releaseBatches()
{
    // The batch only remembers which texture is bound; it never took a
    // reference, so it gives none back.
    mBatch.textures.clear();
    mBatch.vertices.reset();
    mBatchStateKnown = false;
}

static float triangleArea(float x0, float y0, float ax, float ay, float bx, float by)
{
    Vector2f a(ax - x0, ay - y0);
    Vector2f b(bx - x0, by - y0);
    const float la = a.length();
    const float lb = b.length();
    a.normalize();
    b.normalize();
    const float dot = a.x * b.x + a.y * b.y;
    const float theta = dot >= 1.0f ? 0.0f : dot <= -1.0f ? float(M_PI) : std::acos(dot);
    return 0.5f * la * lb * std::sin(theta);
}

void RenderSystem::countRasterizedPixels(const RenderData& data)
{
    if (data.primitiveKind != PRIMITIVE_QUADS || !data.vertices || data.vertices->count % 2 != 0)
        return;
    const uint32_t stride = computeVertexLayout(mSettings.vertexFormat);
    const VertexLayout& layout = currentVertexLayout();
    if (!layout.has(VC_POSITION) || data.vertices->bytes.size() < size_t(data.vertices->count) * stride)
        return;
    const uint8_t* base = data.vertices->bytes.data() + layout.offsets[VC_POSITION];
    auto point = [&](uint32_t i, float& x, float& y) {
        std::memcpy(&x, base + size_t(i) * stride, sizeof(float));
        std::memcpy(&y, base + size_t(i) * stride + sizeof(float), sizeof(float));
    };
    const float scale = mCamera.scale.x * mCamera.scale.y;
    for (uint32_t q = 0; q + 3 < data.vertices->count; q += 4) {
        float p[4][2];
        for (uint32_t k = 0; k < 4; ++k)
            point(q + k, p[k][0], p[k][1]);
        const float area = triangleArea(p[0][0], p[0][1], p[1][0], p[1][1], p[2][0], p[2][1]) +
                           triangleArea(p[0][0], p[0][1], p[2][0], p[2][1], p[3][0], p[3][1]);
        mRasterizedPixels += area * scale;
    }
}

void RenderSystem::setCamera(const RenderCamera& camera)
{
    const bool same = mCamera.position.distanceTo(camera.position) <= FLT_EPSILON &&
                      std::fabs(mCamera.angle - camera.angle) <= FLT_EPSILON &&
                      mCamera.scale.distanceTo(camera.scale) <= FLT_EPSILON && mCamera.hasMatrix == camera.hasMatrix &&
                      !camera.hasMatrix;
    if (same)
        return;
    flushBatch();
    mCamera.assign(camera);
    applyTransform(mSettings.workspaceWidth, mSettings.workspaceHeight);
}

void RenderSystem::applyTransform(int32_t width, int32_t height)
{
    const float w = float(width);
    const float h = float(height);
    Matrix4 m = Matrix4::identity();
    if (mCamera.hasMatrix) {
        m.m[0][0] = mCamera.matrix[0][0];
        m.m[0][1] = mCamera.matrix[0][1];
        m.m[1][0] = mCamera.matrix[1][0];
        m.m[1][1] = mCamera.matrix[1][1];
        m.m[3][0] = mCamera.matrix[2][0];
        m.m[3][1] = mCamera.matrix[2][1];
    }
    // Workspace y grows downwards; the -0.5 / +0.5 put texel centres on pixel
    // centres.
    m = m * Matrix4::scaling(1.0f, -1.0f, 1.0f) *
        Matrix4::translation(mCamera.position.x - w / 2.0f, h / 2.0f - mCamera.position.y, 0.0f) *
        Matrix4::scaling(mCamera.scale.x, mCamera.scale.y, 1.0f) * Matrix4::rotationZ(mCamera.angle * 0.017453292f) *
        Matrix4::translation(w / 2.0f - 0.5f, h / 2.0f + 0.5f, 0.0f) *
        Matrix4::orthoOffCenterLH(0.0f, w, 0.0f, h, 0.0f, 128.0f);
    if (mSceneOnBackBuffer)
        m = m * mScenePlacement;
    mTransform = m;
    mTransformApplied = true;
    mIdentityTransform = Matrix4::identity();
    if (mDevice) {
        mDevice->setTransform(TransformKind::Projection, m);
        mDevice->setTransform(TransformKind::View, mIdentityTransform);
    }
    mShaderTransform = m.transposed();
}

// ---------------------------------------------------------------------------
// Stencil and colour mask

void RenderSystem::beginStencilMask()
{
    flushBatch();
    setDeviceState(RenderState::StencilEnable, 1);
    setDeviceState(RenderState::StencilFunc, uint32_t(Cmp::Always));
    setDeviceState(RenderState::StencilRef, 1);
    setDeviceState(RenderState::StencilMask, 0xFFFFFFFFu);
    setDeviceState(RenderState::StencilWriteMask, 0xFFFFFFFFu);
    setDeviceState(RenderState::StencilZFail, uint32_t(StencilOp::Keep));
    setDeviceState(RenderState::StencilFail, uint32_t(StencilOp::Keep));
    setDeviceState(RenderState::StencilPass, uint32_t(StencilOp::Replace));
    setColorWriteMask(false, false, false, false);
}

void RenderSystem::useStencilMask()
{
    flushBatch();
    setDeviceState(RenderState::StencilEnable, 1);
    setDeviceState(RenderState::StencilFunc, uint32_t(Cmp::Equal));
}

void RenderSystem::endStencilMask()
{
    flushBatch();
    setDeviceState(RenderState::StencilEnable, 0);
    const bool* saved = mSavedColorWriteMask;
    setColorWriteMask(saved[0], saved[1], saved[2], saved[3]);
}

void RenderSystem::disableStencil()
{
    flushBatch();
    setDeviceState(RenderState::StencilEnable, 0);
}

void RenderSystem::clearStencil()
{
    if (mDevice)
        mDevice->clear(CLEAR_STENCIL, 0, 1.0f, 0);
}

void RenderSystem::setColorWriteMask(bool red, bool green, bool blue, bool alpha)
{
    flushBatch();
    setDeviceState(RenderState::ColorWriteEnable,
                   (red ? 1u : 0u) | (green ? 2u : 0u) | (blue ? 4u : 0u) | (alpha ? 8u : 0u));
    const bool next[4] = {red, green, blue, alpha};
    std::copy(std::begin(mColorWriteMask), std::end(mColorWriteMask), std::begin(mSavedColorWriteMask));
    std::copy(std::begin(next), std::end(next), std::begin(mColorWriteMask));
}

// ---------------------------------------------------------------------------
// Workspace fitting

WorkspaceViewport RenderSystem::computeFit(const Vector2f& source, const Vector2f& target, uint32_t fitType,
                                           float zoom, float minimalAspect, bool portraitWorkspace)
{
    WorkspaceViewport result;
    // A minimised window (or an empty workspace) has nothing to fit into.
    if (!(source.x > 0.0f && source.y > 0.0f && target.x > 0.0f && target.y > 0.0f))
        return result;
    Vector2f s = source;
    Vector2f w = target;
    if (portraitWorkspace) {
        std::swap(s.x, s.y);
        std::swap(w.x, w.y);
    }
    const float aS = s.x / s.y;
    const float aW = w.x / w.y;
    Vector2f v;
    if (fitType == 1 || fitType == 2) {
        if (minimalAspect > aW)
            v = Vector2f(minimalAspect * w.x, minimalAspect * w.x / aS);
        else
            v = Vector2f(w.y * aS, w.y);
        if (fitType == 2)
            v *= zoom;
    } else if (aS < aW) {
        v = Vector2f(aS * w.y, w.y);
    } else {
        v = Vector2f(w.x, w.x / aS);
    }
    Vector2f o((w.x - v.x) / 2.0f, (w.y - v.y) / 2.0f);
    result.scale = v.x / s.x;
    if (portraitWorkspace) {
        std::swap(o.x, o.y);
        std::swap(v.x, v.y);
    }
    result.offset = o;
    result.size = v;
    return result;
}

Vector2<int32_t> RenderSystem::windowToWorkspace(int32_t x, int32_t y, const WorkspaceViewport& viewport,
                                                 const Vector2f& workspace)
{
    if (!(viewport.size.x > 0.0f && viewport.size.y > 0.0f))
        return Vector2<int32_t>(0, 0);
    const float kx = workspace.x / viewport.size.x;
    const float ky = workspace.y / viewport.size.y;
    const float dx = float(x - int32_t(viewport.offset.x));
    const float dy = float(y - int32_t(viewport.offset.y));
    return Vector2<int32_t>(int32_t(dx * kx), int32_t(dy * ky));
}

void RenderSystem::fitViewport(const Vector2f& source, const Vector2f& target, uint32_t fitType, float zoom,
                               float minimalAspect, Vector2f& offset, Vector2f& size, float& scale) const
{
    const bool portrait = mSettings.workspaceWidth <= mSettings.workspaceHeight;
    const WorkspaceViewport v = computeFit(source, target, fitType, zoom, minimalAspect, portrait);
    offset = v.offset;
    size = v.size;
    scale = v.scale;
}

WorkspaceViewport RenderSystem::workspaceViewport() const
{
    WorkspaceViewport v;
    fitViewport(Vector2f(float(mSettings.workspaceWidth), float(mSettings.workspaceHeight)),
                Vector2f(float(mWindowWidth), float(mWindowHeight)), mSettings.fullscreenFitType,
                mSettings.workspaceZoom, mSettings.fullscreenMinimalAspect, v.offset, v.size, v.scale);
    return v;
}

void RenderSystem::getWorkspaceViewport(Vector2f& offset, Vector2f& size, float& scale) const
{
    const WorkspaceViewport v = workspaceViewport();
    offset = v.offset;
    size = v.size;
    scale = v.scale;
}

Vector2<int32_t> RenderSystem::screenToWorkspace(int32_t x, int32_t y) const
{
    return windowToWorkspace(x, y, workspaceViewport(),
                             Vector2f(float(mSettings.workspaceWidth), float(mSettings.workspaceHeight)));
}

// ---------------------------------------------------------------------------
// Shader programs

int RenderSystem::createPixelShader(PixelShader* part, const char* source)
{
    if (!mPixelShader14Supported || !part || !source || !mDevice)
        return 1;
    deletePixelShader(part);
    std::string errors;
    const uint32_t handle = mDevice->createPixelShader(source, errors);
    if (!handle) {
        logIfPossible(formatString("ERROR: Failed to create pixel shader: %s", errors.c_str()));
        return 1;
    }
    part->handle = handle;
    part->valid = true;
    return 0;
}

int RenderSystem::createVertexShader(VertexShader* shader, const char* source)
{
    if (!mVertexShader11Supported || !shader || !source || !mDevice)
        return 1;
    const uint32_t format = mSettings.vertexFormat;
    deleteVertexShader(shader);
    std::string errors;
    const uint32_t handle = mDevice->createVertexShader(source, format, errors);
    if (!handle) {
        logIfPossible(formatString("ERROR: Failed to create vertex shader: %s", errors.c_str()));
        return 1;
    }
    if (format != 21 && format != 23) {
        mDevice->deleteVertexShader(handle);
        assertFailed("VQ", "Unknown vertex shader declaration!", "render_system_dx8", 780);
    }
    shader->handle = handle;
    shader->valid = true;
    return 0;
}

int RenderSystem::deletePixelShader(PixelShader* part)
{
    if (!part)
        return 1;
    int result = 1;
    if (part->valid && mDevice)
        result = mDevice->deletePixelShader(part->handle) ? 0 : 1;
    part->handle = 0;
    part->valid = false;
    return result;
}

int RenderSystem::deleteVertexShader(VertexShader* shader)
{
    if (!shader)
        return 1;
    int result = 1;
    if (shader->valid && mDevice)
        result = mDevice->deleteVertexShader(shader->handle) ? 0 : 1;
    shader->handle = 0;
    shader->valid = false;
    return result;
}

int RenderSystem::releaseShaderProgram(ShaderProgram* program)
{
    if (!program)
        return 1;
    const int result = deletePixelShader(&program->pixelShader) | deleteVertexShader(&program->vertexShader);
    program->ready = false;
    return result;
}

int RenderSystem::useShaderProgram(const ShaderProgram* program)
{
    flushBatch();
    if (!mDevice)
        return 1;
    mPixelShaderBound = program && program->pixelShader.valid;
    mVertexShaderBound = program && program->vertexShader.valid;
    mDevice->setPixelShader(mPixelShaderBound ? program->pixelShader.handle : 0);
    mDevice->setVertexShader(mVertexShaderBound ? program->vertexShader.handle : 0);
    return 0;
}

int RenderSystem::useFixedFunction()
{
    return useShaderProgram(nullptr);
}

}  // namespace VQ
