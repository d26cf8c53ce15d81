#pragma once
// The engine's one renderer. Everything drawn reaches the graphics device
// through drawRenderData, which joins render data of equal state into one
// batch in a dynamic vertex buffer; the render system also holds the 2D camera
// and its transform, stencil masking, the colour write mask, shader programs,
// and the fitting of the workspace into the window.
//
// A frame is drawn in two stages: the scene goes into an off-screen render
// texture at workspace resolution (beginFrame ... drawing ... endFrame), then
// endFrame draws that texture into the window's back buffer inside the
// workspace viewport, through the distortion pass when one was drawn, with
// the fade overlay and the application's cursor; present shows it. A reset
// rebuilds everything the device loses: render textures and their sprites,
// buffers, the fixed states.

#include <cstdint>
#include <functional>
#include <memory>

#include "matrix4.h"
#include "platform/graphics_device.h"
#include "render_data.h"
#include "shader_program.h"
#include "singleton.h"
#include "vector2.h"
#include "vertex_layout.h"

namespace VQ {

// The 2D view: an offset added to everything drawn, a scale and an angle
// (degrees) about the centre of the target, or a full row-vector affine matrix
// (rows 0 and 1 the linear part, row 2 the translation).
struct RenderCamera {
    Vector2f position{0.0f, 0.0f};
    Vector2f scale{1.0f, 1.0f};
    float angle = 0.0f;
    bool hasMatrix = false;
    float matrix[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

    void assign(const RenderCamera& other) { *this = other; }
};

// What the render system takes from the configuration: the current
// platform's workspace and how it is fitted, and the vertex format. Filled by
// the engine start-up from the configuration manager.
struct RenderSettings {
    int32_t workspaceWidth = 0;
    int32_t workspaceHeight = 0;
    uint32_t fullscreenFitType = 0;
    float fullscreenMinimalAspect = 1.33f;
    float workspaceZoom = 1.0f;
    uint32_t vertexFormat = VERTEX_FORMAT_DEFAULT;
};

// Where the workspace lands in the window: offset and size in window pixels,
// scale in window pixels per workspace unit.
struct WorkspaceViewport {
    Vector2f offset{0.0f, 0.0f};
    Vector2f size{0.0f, 0.0f};
    float scale = 1.0f;
};

class Sprite;
class Texture;

class RenderSystem : public Singleton<RenderSystem> {
public:
    // One open batch holds at most this many vertices (1000 quads).
    static constexpr uint32_t MAX_BATCH_VERTICES = 4000;
    static constexpr uint32_t INDEX_BUFFER_BYTES = 12000;

    RenderSystem();
    ~RenderSystem() override;

    // --- Device and inputs ---
    void setDevice(std::unique_ptr<GraphicsDevice> device);
    GraphicsDevice* device() const { return mDevice.get(); }
    const RenderSettings& settings() const { return mSettings; }
    void setSettings(const RenderSettings& settings) { mSettings = settings; }
    // The window's client size (unsigned, as the window record holds it).
    void setWindowSize(uint32_t width, uint32_t height)
    {
        mWindowWidth = width;
        mWindowHeight = height;
    }
    uint32_t windowWidth() const { return mWindowWidth; }
    uint32_t windowHeight() const { return mWindowHeight; }
    // Set from the device capabilities when the device is created.
    void setShaderSupport(bool pixelShader14, bool vertexShader11)
    {
        mPixelShader14Supported = pixelShader14;
        mVertexShader11Supported = vertexShader11;
    }
    bool pixelShader14Supported() const { return mPixelShader14Supported; }
    bool vertexShader11Supported() const { return mVertexShader11Supported; }
    bool distortionEnabled() const { return mDistortionEnabled; }
    void setDistortionEnabled(bool on) { mDistortionEnabled = on; }

    // --- Device and frame ---
    // Creates the device given with setDevice for the window's client size
    // (hardware, then mixed, then software vertex processing), logs its
    // capabilities and runs the first reset. Fatal without a device, when the
    // display mode cannot be read, or when all three creations fail.
    void createDevice();
    void logCaps();
    // Rebuilds every device-dependent object for the window's current
    // client size, then sends the device-reset notification.
    void reset();
    // The frame is begun only when the device is there and not lost; until
    // then drawing is dropped and endFrame only runs the texture queues.
    void beginFrame();
    void endFrame();
    // Shows the frame; a lost device is noted for the next beginFrame.
    void present();
    bool deviceLost() const { return mDeviceLost; }
    void setDeviceLost(bool lost) { mDeviceLost = lost; }
    bool frameBegun() const { return mFrameBegun; }
    // Software vertex processing (set when the device fell back to it).
    bool softwareVertexProcessing() const { return mSoftwareVertexProcessing; }

    // 1 shows the scene, 0 covers it with black (the cursor stays visible).
    float fadeLevel() const { return mFadeLevel; }
    void setFadeLevel(float level) { mFadeLevel = level; }
    Sprite* fadeSprite() const { return mFadeSprite; }
    Texture* sceneTexture() const { return mSceneTexture; }
    Sprite* sceneSprite() const { return mSceneSprite; }
    Texture* distortionTexture() const { return mDistortionTexture; }
    Sprite* distortionSprite() const { return mDistortionSprite; }

    // What the application draws at the end of the frame: told the viewport
    // (size, offset, window pixels), then asked to draw its cursor at the
    // viewport's scale onto the back buffer.
    void setViewportHook(std::function<void(const Vector2f& size, const Vector2f& offset)> hook)
    {
        mViewportHook = std::move(hook);
    }
    void setCursorHook(std::function<void(float scale)> hook) { mCursorHook = std::move(hook); }

    // --- Distortion pass ---
    // Creates the distortion program's pixel shader; 0 when it is ready.
    int setupDistortionProgram();
    // Drawing between these goes into the distortion texture (cleared to the
    // neutral colour before the first of the frame). Nothing happens without
    // shader support or with distortion switched off.
    void beginDistortion();
    void endDistortion();
    bool distortionDrawn() const { return mDistortionDrawn; }
    void bindDistortionProgram();
    void unbindDistortionProgram();

    // --- Batch buffers and fixed state (device reset and frame) ---
    // The dynamic vertex buffer (fatal when it cannot be made), the static
    // quad index buffer (fatal likewise), bound to the device. False when the
    // index buffer cannot be locked: the reset stops there.
    bool createBatchBuffers();
    void releaseBatchBuffers();
    // The states every reset sets: no culling, lighting or depth, alpha
    // blending, the alpha test letting through alpha 1 and above, stage 0
    // modulating texture and vertex colour with linear filtering.
    void setFixedDeviceState();
    // Opens the batch buffer for writing; false when the lock fails.
    bool lockBatchBuffer();
    void unlockBatchBuffer();

    // --- Batched drawing ---
    void drawRenderData(const RenderData* data);
    void flushBatch();
    void setCamera(const RenderCamera& camera);
    const RenderCamera& camera() const { return mCamera; }
    // Rebuilds the transform for a target of w x h.
    void applyTransform(int32_t width, int32_t height);
    void resetBatchState();
    // Frees the batch's vertex storage and forgets its textures (engine
    // shut-down).
    void releaseBatches();
    void countRasterizedPixels(const RenderData& data);

    // --- Stencil and colour mask ---
    void beginStencilMask();
    void useStencilMask();
    void endStencilMask();
    void disableStencil();
    void clearStencil();
    void setColorWriteMask(bool red, bool green, bool blue, bool alpha);
    const bool* colorWriteMask() const { return mColorWriteMask; }
    const bool* savedColorWriteMask() const { return mSavedColorWriteMask; }

    // --- Statistics ---
    uint32_t triangleCount() const { return mTriangleCount; }
    uint32_t drawCallCount() const { return mDrawCallCount; }
    uint32_t batchVertexCount() const { return mBatchVertexCount; }
    uint32_t batchPrimitives() const { return mBatchPrimitives; }
    float rasterizedPixels() const { return mRasterizedPixels; }
    void setRasterizedPixels(float value) { mRasterizedPixels = value; }
    bool countPixels() const { return mCountPixels; }
    void setCountPixels(bool on) { mCountPixels = on; }
    void resetStatistics()
    {
        mTriangleCount = 0;
        mDrawCallCount = 0;
    }
    const Matrix4& transform() const { return mTransform; }
    const Matrix4& shaderTransform() const { return mShaderTransform; }
    const Matrix4& identityTransform() const { return mIdentityTransform; }

    // --- Workspace fitting ---
    // The fit itself; `portraitWorkspace` says whether the current platform's
    // workspace is portrait (width <= height), whatever `source` is. A zero
    // or negative size gives offset 0, size 0 and scale 1.
    static WorkspaceViewport computeFit(const Vector2f& source, const Vector2f& target, uint32_t fitType, float zoom,
                                        float minimalAspect, bool portraitWorkspace);
    // A window pixel in workspace units (truncated toward zero); (0, 0) for an
    // empty viewport.
    static Vector2<int32_t> windowToWorkspace(int32_t x, int32_t y, const WorkspaceViewport& viewport,
                                              const Vector2f& workspace);
    void fitViewport(const Vector2f& source, const Vector2f& target, uint32_t fitType, float zoom,
                     float minimalAspect, Vector2f& offset, Vector2f& size, float& scale) const;
    void getWorkspaceViewport(Vector2f& offset, Vector2f& size, float& scale) const;
    WorkspaceViewport workspaceViewport() const;
    Vector2<int32_t> screenToWorkspace(int32_t x, int32_t y) const;

    // --- Shader programs (0 success, 1 failure) ---
    int createPixelShader(PixelShader* part, const char* source);
    int createVertexShader(VertexShader* shader, const char* source);
    // 1 when nothing valid was deleted or the deletion failed.
    int deletePixelShader(PixelShader* part);
    int deleteVertexShader(VertexShader* shader);
    int releaseShaderProgram(ShaderProgram* program);
    int useShaderProgram(const ShaderProgram* program);
    int useFixedFunction();
    ShaderProgram* distortionProgram() const { return mDistortionProgram.get(); }

private:
    void releaseFrameTargets();
    void createRenderTextures();
    void drawFrameToBackBuffer();
    GfxSurface* sceneTextureSurface() const;
    bool placeSceneOnBackBuffer();
    void moveSceneIntoTexture();

    void queueVertices(const RenderData& data, const uint8_t* source, uint32_t count, uint32_t stride, bool opaque);
    void applyBatchState(const RenderData& data, bool opaque);
    bool outsideTheView(const VertexStorage& storage, const VertexLayout& layout) const;
    bool drawsOpaque(const RenderData& data, const VertexStorage& storage, const VertexLayout& layout) const;
    void skipBlending(bool skip);
    void setDeviceState(RenderState state, uint32_t value);

    std::unique_ptr<GraphicsDevice> mDevice;
    RenderSettings mSettings;
    uint32_t mWindowWidth = 0;
    uint32_t mWindowHeight = 0;

    RenderData mBatch;
    // False after a reset of the batch state: the device's texture, blend and
    // address mode are then unknown and the next render data sends them all.
    bool mBatchStateKnown = false;
    // Whether the open batch is opaque (see drawsOpaque); while one is drawn,
    // blending and the alpha test are off and their states kept here.
    bool mBatchOpaque = false;
    bool mBlendingSkipped = false;
    uint32_t mSkippedBlend = 1;
    uint32_t mSkippedAlphaTest = 1;
    // A program of the game's own is bound: its own transform and shading.
    bool mVertexShaderBound = false;
    bool mPixelShaderBound = false;
    // Set by the first applyTransform: only then does mTransform say where
    // vertices land, and may data outside the view be left out.
    bool mTransformApplied = false;
    uint8_t* mVertexWritePointer = nullptr;
    uint32_t mBatchPrimitives = 0;
    uint32_t mTriangleCount = 0;
    uint32_t mDrawCallCount = 0;
    RenderCamera mCamera;
    bool mPixelShader14Supported = false;
    bool mVertexShader11Supported = false;
    bool mColorWriteMask[4] = {true, true, true, true};
    bool mSavedColorWriteMask[4] = {true, true, true, true};
    uint32_t mBatchVertexCount = 0;
    bool mDistortionEnabled = true;
    float mRasterizedPixels = 0.0f;
    bool mCountPixels = false;
    Matrix4 mTransform = Matrix4::identity();
    Matrix4 mShaderTransform = Matrix4::identity();
    Matrix4 mIdentityTransform = Matrix4::identity();

    GfxBuffer* mVertexBuffer = nullptr;
    GfxBuffer* mIndexBuffer = nullptr;

    std::unique_ptr<ShaderProgram> mDistortionProgram;

    bool mDeviceLost = false;
    bool mFrameBegun = false;
    bool mDistortionDrawn = false;
    // The scene goes straight onto the back buffer, inside the workspace
    // viewport, when nothing needs it in the scene texture: that saves a
    // full-screen clear and a full-screen copy a frame. The distortion pass
    // reads the scene texture, so a frame that draws distortion moves its
    // scene there, and the frames after it start there while it goes on.
    bool mSceneOnBackBuffer = false;
    bool mSceneTextureWanted = false;
    GfxViewport mSceneRect;
    // Maps clip space of the whole workspace onto the viewport's place
    // inside mSceneRect.
    Matrix4 mScenePlacement = Matrix4::identity();
    bool mSoftwareVertexProcessing = false;
    float mFadeLevel = 1.0f;
    // The sprites belong to the sprite manager, the textures to the texture
    // manager; both are replaced by every reset.
    Sprite* mFadeSprite = nullptr;
    Texture* mSceneTexture = nullptr;
    Sprite* mSceneSprite = nullptr;
    Texture* mDistortionTexture = nullptr;
    Sprite* mDistortionSprite = nullptr;
    GfxSurface* mBackBufferSurface = nullptr;
    GfxSurface* mBackBufferDepthSurface = nullptr;
    GfxSurface* mRenderDepthStencil = nullptr;
    std::function<void(const Vector2f&, const Vector2f&)> mViewportHook;
    std::function<void(float)> mCursorHook;
};

// The video colour-conversion shaders, read from the content files
// "yuv2rgb_ps" and "yuv2rgb_vs"; 0 on success, 1 when the file is missing
// or the shader cannot be made.
int loadYuvPixelShader(RenderSystem& renderSystem, PixelShader* target);
int loadYuvVertexShader(RenderSystem& renderSystem, VertexShader* target);

}  // namespace VQ
