#pragma once
// A graphics device without a GPU: it keeps every state and buffer in memory
// and records each draw with a snapshot of the state, each clear, and each
// resource created or released. Tests steer its failures: shader support,
// failed creations and locks, and a lost device.

#include <memory>
#include <string>
#include <vector>

#include "platform/graphics_device.h"

namespace VQ {

class RecordingGraphicsDevice : public GraphicsDevice {
public:
    enum class PrimitiveType { Triangles, Lines };

    struct DrawRecord {
        PrimitiveType type = PrimitiveType::Triangles;
        uint32_t primitiveCount = 0;
        uint32_t vertexCount = 0;  // vertices the draw reads
        uint32_t start = 0;        // start index (triangles) or vertex (lines)
        const GfxSurface* colourTarget = nullptr;
        const GfxSurface* depthTarget = nullptr;
        GfxViewport viewport;
        const GfxTexture* textures[MAX_TEXTURE_STAGES] = {};
        DeviceStateBlock states;
        uint32_t pixelShader = 0;
        uint32_t vertexShader = 0;
        uint32_t vertexFormat = 0;
        Matrix4 view;
        Matrix4 projection;
        // The vertex bytes the draw reads, when vertex recording is on.
        std::vector<uint8_t> vertices;

        uint32_t state(RenderState s) const { return states.get(s); }
        uint32_t stage(uint32_t st, StageState s) const { return states.get(st, s); }
    };

    struct ClearRecord {
        uint32_t flags = 0;
        uint32_t argb = 0;
        float z = 0;
        uint32_t stencil = 0;
        const GfxSurface* target = nullptr;
    };

    struct CopyRecord {
        const GfxSurface* source = nullptr;
        GfxViewport sourceRect;
        const GfxSurface* target = nullptr;
    };

    struct ResourceEvent {
        bool created = false;  // false: released
        std::string kind;      // "texture", "rendertexture", "depthstencil", "vertexbuffer", "indexbuffer"
        uint32_t width = 0;    // or the size in bytes of a buffer
        uint32_t height = 0;
        GfxFormat format = GfxFormat::Unknown;
        const GfxResource* resource = nullptr;
    };

    RecordingGraphicsDevice();
    ~RecordingGraphicsDevice() override;

    // --- What tests steer ---
    void setShadersSupported(bool supported) { mShadersSupported = supported; }
    // The next `count` creations fail.
    void failCreations(uint32_t count) { mFailCreations = count; }
    // The next texture or buffer lock fails.
    void failNextLock() { mFailNextLock = true; }
    // The next reset fails with `result`.
    void failNextReset(DeviceResult result) { mNextResetFailure = result; }
    // The next present reports the loss; testCooperativeLevel then reports a
    // lost device for `lostPolls` polls, and the device can be reset after.
    void loseDevice(uint32_t lostPolls);
    // The display mode cannot be read.
    void failDisplayModeQuery(bool fail) { mFailDisplayMode = fail; }
    // Keep the vertex bytes of every draw (off by default: benchmarks).
    void setRecordVertices(bool on) { mRecordVertices = on; }

    // --- What tests read ---
    const std::vector<DrawRecord>& draws() const { return mDraws; }
    const std::vector<ClearRecord>& clears() const { return mClears; }
    const std::vector<CopyRecord>& copies() const { return mCopies; }
    const std::vector<ResourceEvent>& resourceEvents() const { return mResourceEvents; }
    void clearRecords();
    uint32_t liveDefaultPoolObjects() const { return mPool.liveObjects(); }
    uint32_t createAttempts() const { return mCreateAttempts; }
    VertexProcessing vertexProcessing() const { return mVertexProcessing; }
    uint32_t presentCount() const { return mPresentCount; }
    uint32_t resetCount() const { return mResetCount; }
    // BeginScene inside a scene, or EndScene outside one.
    uint32_t scenePairingErrors() const { return mScenePairingErrors; }
    bool inScene() const { return mInScene; }
    const GfxSurface* colourTarget() const { return mColourTarget; }
    const GfxSurface* depthTarget() const { return mDepthTarget; }
    const GfxTexture* texture(uint32_t stage) const { return mTextures[stage]; }
    uint32_t pixelShader() const { return mPixelShader; }
    uint32_t vertexShader() const { return mVertexShader; }
    const Matrix4& transform(TransformKind kind) const { return mTransforms[uint32_t(kind)]; }
    const float* vertexShaderConstants() const { return mConstants; }
    uint32_t liveShaders() const { return uint32_t(mPixelShaders.size() + mVertexShaders.size()); }

    // --- GraphicsDevice ---
    DeviceResult create(uint32_t backBufferWidth, uint32_t backBufferHeight, VertexProcessing vp) override;
    DeviceCaps caps() const override;
    bool queryDisplayFormat(GfxFormat& format) override
    {
        format = mFailDisplayMode ? GfxFormat::Unknown : backBufferFormat();
        return !mFailDisplayMode;
    }
    DeviceResult testCooperativeLevel() override;
    DeviceResult reset(uint32_t backBufferWidth, uint32_t backBufferHeight) override;
    DeviceResult present() override;
    void beginScene() override;
    void endScene() override;
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
    void setViewport(const GfxViewport& viewport) override { mViewport = viewport; }
    GfxViewport viewport() const override { return mViewport; }
    void clear(uint32_t flags, uint32_t argb, float z, uint32_t stencil) override;
    void copySurface(GfxSurface* source, const GfxViewport& sourceRect, GfxSurface* target) override
    {
        mCopies.push_back(CopyRecord{source, sourceRect, target});
    }
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
    bool deletePixelShader(uint32_t handle) override;
    bool deleteVertexShader(uint32_t handle) override;
    void setPixelShader(uint32_t handle) override { mPixelShader = handle; }
    void setVertexShader(uint32_t handle) override { mVertexShader = handle; }
    void setVertexShaderConstant(uint32_t firstRegister, const float* values, uint32_t registerCount) override;
    bool readPixels(std::vector<uint32_t>& argb, uint32_t& width, uint32_t& height) override;

    class Surface;
    class Texture;
    class Buffer;

private:
    GfxBuffer* createBuffer(uint32_t bytes, bool index);
    uint32_t createShader(const char* source, std::vector<uint32_t>& handles, std::string& errors);
    bool takeLockFailure();
    void recordResource(bool created, const GfxResource* resource);
    void record(DrawRecord&& draw);
    void setDefaults();

    DeviceStateBlock mStates;
    bool mCreated = false;
    bool mShadersSupported = true;
    uint32_t mFailCreations = 0;
    DeviceResult mNextResetFailure = DeviceResult::Ok;
    uint32_t mCreateAttempts = 0;
    VertexProcessing mVertexProcessing = VertexProcessing::Hardware;
    bool mFailNextLock = false;
    bool mFailDisplayMode = false;
    bool mRecordVertices = false;
    bool mLossPending = false;
    bool mLost = false;
    uint32_t mLostPolls = 0;
    bool mInScene = false;
    uint32_t mScenePairingErrors = 0;
    uint32_t mPresentCount = 0;
    uint32_t mResetCount = 0;
    DefaultPoolTracker mPool;

    std::unique_ptr<Surface> mBackBuffer;
    std::unique_ptr<Surface> mBackBufferDepth;

    GfxSurface* mColourTarget = nullptr;
    GfxSurface* mDepthTarget = nullptr;
    GfxViewport mViewport;
    GfxTexture* mTextures[MAX_TEXTURE_STAGES] = {};
    Buffer* mStream = nullptr;
    uint32_t mStreamFormat = 0;
    Buffer* mIndices = nullptr;
    Matrix4 mTransforms[3];
    uint32_t mPixelShader = 0;
    uint32_t mVertexShader = 0;
    float mConstants[MAX_VERTEX_SHADER_CONSTANTS * 4] = {};
    std::vector<uint32_t> mPixelShaders;
    std::vector<uint32_t> mVertexShaders;
    uint32_t mNextShaderHandle = 1;

    std::vector<DrawRecord> mDraws;
    std::vector<ClearRecord> mClears;
    std::vector<CopyRecord> mCopies;
    std::vector<ResourceEvent> mResourceEvents;
};

}  // namespace VQ
