// The render system's device, its reset and the frame: creation with its
// fallbacks, capabilities, the rebuild after a lost device or a new window
// size, the two-stage frame, present, and the distortion pass.

#include <algorithm>
#include <cmath>
#include <string>

#include "fatal_error.h"
#include "file_system.h"
#include "log_system.h"
#include "notification_dispatcher.h"
#include "render_system.h"
#include "sprite.h"
#include "sprite_manager.h"
#include "texture.h"
#include "texture_manager.h"
#include "video_surface_streamer.h"

namespace VQ {

namespace {

const char* const FILE_TAG = "render_system_dx8";
// Cleared into the distortion texture: red and green 0x7F displace nothing.
constexpr uint32_t NEUTRAL_DISTORTION = 0x007F7FFFu;

const char* supportText(bool supported)
{
    return supported ? "SUPPORTED" : "NOT SUPPORTED";
}

}  // namespace

// ---------------------------------------------------------------------------
// Device creation and capabilities

void RenderSystem::createDevice()
{
    if (!mDevice)
        assertFailed("VQ", "Failed to initialize Direct3D8", FILE_TAG, 66);
    GfxFormat displayFormat = GfxFormat::Unknown;
    // Without the display mode there is no back-buffer format to create the
    // device with; going on would leave the engine without a device.
    if (!mDevice->queryDisplayFormat(displayFormat))
        assertFailed("VQ", "Failed to read the display mode", FILE_TAG, 72);

    if (mDevice->create(mWindowWidth, mWindowHeight, VertexProcessing::Hardware) != DeviceResult::Ok) {
        log("ERROR: Failed to create d3d device with D3DCREATE_HARDWARE_VERTEXPROCESSING, trying "
            "D3DCREATE_MIXED_VERTEXPROCESSING");
        if (mDevice->create(mWindowWidth, mWindowHeight, VertexProcessing::Mixed) != DeviceResult::Ok) {
            log("ERROR: Failed to create d3d device with D3DCREATE_MIXED_VERTEXPROCESSING, trying "
                "D3DCREATE_SOFTWARE_VERTEXPROCESSING");
            mSoftwareVertexProcessing = true;
            if (mDevice->create(mWindowWidth, mWindowHeight, VertexProcessing::Software) != DeviceResult::Ok) {
                mDevice.reset();
                assertFailed("VQ", "ERROR! Failed to create DirectX device.", FILE_TAG, 104);
            }
        }
    }
    logCaps();
    reset();
}

void RenderSystem::logCaps()
{
    if (!mDevice)
        return;
    const DeviceCaps caps = mDevice->caps();
    mPixelShader14Supported = caps.pixelShader14;
    if (!mPixelShader14Supported)
        log("WARNING! Pixel Shader 1.4 is not supported");
    mVertexShader11Supported = caps.vertexShader11;
    if (!mVertexShader11Supported)
        log("WARNING! Vertex Shader 1.1 is not supported");
    log("Device Capabilities...");
    log(formatString("  Pixel Shader 1.4: %s", supportText(mPixelShader14Supported)));
    log(formatString("  Vertex Shader 1.1: %s", supportText(mVertexShader11Supported)));
    log(formatString("  MaxTextureWidth: %i", int(caps.maxTextureWidth)));
    log(formatString("  MaxTextureHeight: %i", int(caps.maxTextureHeight)));
    if (!caps.depthStencilD24S8)
        log("WARNING! Depth-stencil texture is not supported.");
}

// ---------------------------------------------------------------------------
// Reset

void RenderSystem::releaseFrameTargets()
{
    if (!mDevice)
        return;
    mDevice->release(mBackBufferSurface);
    mDevice->release(mBackBufferDepthSurface);
    mDevice->release(mRenderDepthStencil);
    mBackBufferSurface = nullptr;
    mBackBufferDepthSurface = nullptr;
    mRenderDepthStencil = nullptr;
}

static void logResetFailure(DeviceResult result)
{
    log("Failed to reset dx8 device");
    switch (result) {
    case DeviceResult::OutOfVideoMemory:
        log("error code: D3DERR_OUTOFVIDEOMEMORY");
        break;
    case DeviceResult::InvalidCall:
        log("error code: D3DERR_INVALIDCALL");
        break;
    case DeviceResult::OutOfMemory:
        log("error code: E_OUTOFMEMORY");
        break;
    default:
        log(formatString("error code: %i", static_cast<int32_t>(result)));
        break;
    }
}

void RenderSystem::createRenderTextures()
{
    TextureManager* textures = TextureManager::instance();
    SpriteManager<Sprite>* sprites = SpriteManager<Sprite>::instance();
    const Rect whole(0.0f, 0.0f, 1.0f, 1.0f);
    mSceneTexture = textures->createRenderTexture();
    mSceneSprite = sprites->createSpriteFromTexture(mSceneTexture);
    mSceneSprite->setSourceRectNormalized(whole);
    mDistortionTexture = textures->createRenderTexture();
    mDistortionSprite = sprites->createSpriteFromTexture(mDistortionTexture);
    mDistortionSprite->setSourceRectNormalized(whole);
}

void RenderSystem::reset()
{
    log("Resetting DirectX device...");
    if (!mDevice)
        assertFailed("VQ", "Failed to initialize Direct3D8", FILE_TAG, 66);
    // A frame interrupted by the reset is over: its buffer goes away.
    mFrameBegun = false;
    mSceneOnBackBuffer = false;
    mVertexWritePointer = nullptr;

    SpriteManager<Sprite>* sprites = SpriteManager<Sprite>::instance();
    TextureManager* textures = TextureManager::instance();
    sprites->releaseSprite(mSceneSprite);
    sprites->releaseSprite(mDistortionSprite);
    mSceneSprite = mDistortionSprite = nullptr;
    releaseFrameTargets();
    if (mSceneTexture)
        textures->destroyTexture(mSceneTexture);
    if (mDistortionTexture)
        textures->destroyTexture(mDistortionTexture);
    mSceneTexture = mDistortionTexture = nullptr;
    textures->processReleaseQueue();
    releaseBatchBuffers();
    textures->releaseDeviceTextures();

    log(formatString("RenderSystem::reset, mWndWidth %i, mWndHeight %i", int(mWindowWidth), int(mWindowHeight)));
    const DeviceResult result = mDevice->reset(mWindowWidth, mWindowHeight);
    if (result != DeviceResult::Ok) {
        logResetFailure(result);
        assertFailed("VQ", "Failed to reset DX8 device.", FILE_TAG, 158);
    }
    textures->restoreDeviceTextures();
    createRenderTextures();
    mRenderDepthStencil = mDevice->createDepthStencilSurface(uint32_t(std::max(mSettings.workspaceWidth, 0)),
                                                             uint32_t(std::max(mSettings.workspaceHeight, 0)),
                                                             GfxFormat::D24S8);
    // A reset that stopped here would leave the fixed states, the fade
    // sprite and the notification missing until the next reset.
    if (!createBatchBuffers())
        assertFailed("VQ", "Failed to lock DirectX Index Buffer", FILE_TAG, 207);
    setFixedDeviceState();
    resetBatchState();

    mTriangleCount = mDrawCallCount = mBatchVertexCount = mBatchPrimitives = 0;
    mDeviceLost = false;

    sprites->releaseSprite(mFadeSprite);
    mFadeSprite = sprites->createSpriteFromTexture(nullptr);
    mFadeSprite->setColor(Color(0xFF000000u));
    mFadeSprite->setSize(Vector2f(float(mSettings.workspaceWidth), float(mSettings.workspaceHeight)));

    if (EngineNotificationDispatcher::exists())
        EngineNotificationDispatcher::dispatch(Notification{NOTIFICATION_DEVICE_RESET});
    log("Resetting done.");
}

// ---------------------------------------------------------------------------
// The frame

void RenderSystem::beginFrame()
{
    mFrameBegun = false;
    if (!mDevice)
        return;
    if (mDeviceLost) {
        log("DEVICE LOST!");
        const DeviceResult level = mDevice->testCooperativeLevel();
        if (level == DeviceResult::DeviceLost)
            return;
        if (level == DeviceResult::DeviceNotReset)
            reset();
        // Still lost after all (any other answer): nothing may be drawn.
        if (mDeviceLost)
            return;
    }
    if (!mBackBufferSurface)
        mBackBufferSurface = mDevice->getBackBuffer();
    if (!mBackBufferDepthSurface)
        mBackBufferDepthSurface = mDevice->getBackBufferDepthStencil();
    GfxSurface* sceneSurface = sceneTextureSurface();
    mSceneOnBackBuffer = false;
    if (sceneSurface && !mSceneTextureWanted && placeSceneOnBackBuffer()) {
        // The back buffer's bars are black as well, so one clear serves both.
        mDevice->clear(CLEAR_TARGET | CLEAR_ZBUFFER | CLEAR_STENCIL, 0xFF000000u, 1.0f, 0);
        mDevice->setViewport(mSceneRect);
    } else {
        mDevice->setRenderTarget(sceneSurface ? sceneSurface : mBackBufferSurface,
                                 sceneSurface ? mRenderDepthStencil : mBackBufferDepthSurface);
        mDevice->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    }
    applyTransform(mSettings.workspaceWidth, mSettings.workspaceHeight);
    mDevice->beginScene();
    mFrameBegun = lockBatchBuffer();
    // Without the vertex buffer there is nowhere to draw: the frame is not
    // begun, and the scene is closed at once.
    if (!mFrameBegun)
        mDevice->endScene();
    resetStatistics();
    mDistortionDrawn = false;
    mDevice->setRenderState(RenderState::FillMode, uint32_t(Fill::Solid));
}

GfxSurface* RenderSystem::sceneTextureSurface() const
{
    return mSceneTexture && mSceneTexture->mHandle ? mSceneTexture->mHandle->surface() : nullptr;
}

// Sets the back buffer as the target and works out where the scene lands on
// it: the pixels the scene texture's quad would cover, and the mapping that
// puts the workspace where the quad would have shown it. False when the
// viewport covers no pixel of the back buffer.
bool RenderSystem::placeSceneOnBackBuffer()
{
    if (!mBackBufferSurface)
        return false;
    const WorkspaceViewport v = workspaceViewport();
    const float width = float(mBackBufferSurface->width());
    const float height = float(mBackBufferSurface->height());
    const auto edge = [](float at, float limit) { return std::clamp(std::ceil(at), 0.0f, limit); };
    const float x0 = edge(v.offset.x, width);
    const float x1 = edge(v.offset.x + v.size.x, width);
    const float y0 = edge(v.offset.y, height);
    const float y1 = edge(v.offset.y + v.size.y, height);
    if (x1 <= x0 || y1 <= y0)
        return false;
    const float w = x1 - x0;
    const float h = y1 - y0;
    const float ax = v.size.x / w;
    const float ay = v.size.y / h;
    mScenePlacement = Matrix4::scaling(ax, ay, 1.0f) *
                      Matrix4::translation(ax - 1.0f + 2.0f * (v.offset.x - x0) / w,
                                           1.0f - ay - 2.0f * (v.offset.y - y0) / h, 0.0f);
    mSceneRect = GfxViewport{uint32_t(x0), uint32_t(y0), uint32_t(w), uint32_t(h)};
    mDevice->setRenderTarget(mBackBufferSurface, mBackBufferDepthSurface);
    mSceneOnBackBuffer = true;
    return true;
}

// What was drawn onto the back buffer so far becomes the scene texture's
// picture, and the frame goes on there.
void RenderSystem::moveSceneIntoTexture()
{
    GfxSurface* sceneSurface = sceneTextureSurface();
    if (!mSceneOnBackBuffer || !sceneSurface)
        return;
    flushBatch();
    mDevice->copySurface(mBackBufferSurface, mSceneRect, sceneSurface);
    mDevice->setRenderTarget(sceneSurface, mRenderDepthStencil);
    mSceneOnBackBuffer = false;
    applyTransform(mSettings.workspaceWidth, mSettings.workspaceHeight);
}

void RenderSystem::drawFrameToBackBuffer()
{
    mDevice->setRenderState(RenderState::FillMode, uint32_t(Fill::Solid));
    if (mFadeSprite && mFadeLevel < 1.0f) {
        mFadeSprite->setColor(Color(0.0f, 0.0f, 0.0f, 1.0f - mFadeLevel));
        mFadeSprite->updateVertices();
        mFadeSprite->draw();
    }
    flushBatch();
    const WorkspaceViewport viewport = workspaceViewport();

    flushBatch();
    const bool sceneOnBackBuffer = mSceneOnBackBuffer;
    mSceneOnBackBuffer = false;
    mDevice->setRenderTarget(mBackBufferSurface, mBackBufferDepthSurface);
    if (!sceneOnBackBuffer)
        mDevice->clear(CLEAR_TARGET | CLEAR_ZBUFFER | CLEAR_STENCIL, 0, 1.0f, 0);
    const RenderCamera kept = mCamera;
    setCamera(RenderCamera());
    applyTransform(int32_t(mWindowWidth), int32_t(mWindowHeight));
    if (mViewportHook)
        mViewportHook(viewport.size, viewport.offset);

    const bool distortion = mPixelShader14Supported && mDistortionDrawn && mDistortionEnabled;
    mSceneTextureWanted = distortion;
    if (distortion)
        bindDistortionProgram();
    if (mSceneSprite && !sceneOnBackBuffer) {
        mSceneSprite->setSize(viewport.size);
        mSceneSprite->setPosition(viewport.offset);
        mSceneSprite->updateVertices();
        mSceneSprite->draw();
    }
    flushBatch();
    if (distortion)
        unbindDistortionProgram();

    if (mCursorHook)
        mCursorHook(viewport.scale);
    flushBatch();
    setCamera(kept);
}

void RenderSystem::endFrame()
{
    if (mFrameBegun && mDevice) {
        drawFrameToBackBuffer();
        unlockBatchBuffer();
        mDevice->endScene();
    }
    mFrameBegun = false;
    mRasterizedPixels = 0.0f;
    // Device work handed over by other threads runs even while the device
    // is lost, so that their queues never grow without bound.
    if (TextureManager* textures = TextureManager::instancePtr())
        textures->processQueues();
    if (VideoSurfaceStreamer* videos = VideoSurfaceStreamer::instancePtr())
        videos->uploadFrames();
    resetBatchState();
    mTriangleCount = mDrawCallCount = mBatchVertexCount = mBatchPrimitives = 0;
}

void RenderSystem::present()
{
    if (mDevice && mDevice->present() == DeviceResult::DeviceLost)
        mDeviceLost = true;
}

// ---------------------------------------------------------------------------
// Distortion

int RenderSystem::setupDistortionProgram()
{
    ShaderProgram* program = mDistortionProgram.get();
    releaseShaderProgram(program);
    if (createPixelShader(&program->pixelShader, DISTORTION_PIXEL_SHADER_SOURCE) != 0)
        return 1;
    program->ready = true;
    return 0;
}

void RenderSystem::beginDistortion()
{
    if (!mPixelShader14Supported || !mVertexShader11Supported || !mDistortionEnabled || !mFrameBegun)
        return;
    flushBatch();
    GfxSurface* surface =
        mDistortionTexture && mDistortionTexture->mHandle ? mDistortionTexture->mHandle->surface() : nullptr;
    if (!surface)
        return;
    moveSceneIntoTexture();
    mDevice->setRenderTarget(surface, nullptr);
    if (!mDistortionDrawn)
        mDevice->clear(CLEAR_TARGET, NEUTRAL_DISTORTION, 1.0f, 0);
    applyTransform(mSettings.workspaceWidth, mSettings.workspaceHeight);
    mDistortionDrawn = true;
}

void RenderSystem::endDistortion()
{
    if (!mPixelShader14Supported || !mVertexShader11Supported || !mDistortionEnabled || !mFrameBegun)
        return;
    flushBatch();
    GfxSurface* surface = sceneTextureSurface();
    if (!surface)
        return;
    mDevice->setRenderTarget(surface, mRenderDepthStencil);
    applyTransform(mSettings.workspaceWidth, mSettings.workspaceHeight);
}

void RenderSystem::bindDistortionProgram()
{
    useShaderProgram(mDistortionProgram.get());
    const Texture* texture = mDistortionSprite ? mDistortionSprite->texture() : nullptr;
    mDevice->setTexture(1, texture ? texture->mHandle : nullptr);
}

void RenderSystem::unbindDistortionProgram()
{
    mDevice->setTexture(1, nullptr);
    flushBatch();
    mDevice->setPixelShader(0);
    mDevice->setVertexShader(0);
}

// ---------------------------------------------------------------------------
// Video shaders

template <typename Part, typename Create>
static int loadShaderFile(const char* name, Part* target, Create create)
{
    if (!target)
        return 1;
    char* text = nullptr;
    if (!FileSystem::exists() || FileSystem::instance()->readWholeFile(name, text) != 0) {
        log(formatString("ERROR. Failed to shader file %s", name));
        return 1;
    }
    const int result = create(target, text);
    delete[] text;
    return result;
}

int loadYuvPixelShader(RenderSystem& renderSystem, PixelShader* target)
{
    return loadShaderFile("yuv2rgb_ps", target,
                          [&](PixelShader* part, const char* text) { return renderSystem.createPixelShader(part, text); });
}

int loadYuvVertexShader(RenderSystem& renderSystem, VertexShader* target)
{
    return loadShaderFile("yuv2rgb_vs", target, [&](VertexShader* shader, const char* text) {
        return renderSystem.createVertexShader(shader, text);
    });
}

}  // namespace VQ
