// The render system's device and frame on the recording device: creation
// with its fallbacks, reset, the frame's two stages, the fade, the lost
// device and the distortion pass.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/sprite_fixture.h"

using namespace TestSupport;
using VQ::Color;
using VQ::RecordingGraphicsDevice;
using VQ::Vector2f;

namespace {

class ResetCounter : public VQ::NotificationListener {
public:
    void onNotification(const VQ::Notification& n) override { resets += n.id == VQ::NOTIFICATION_DEVICE_RESET; }
    int resets = 0;
};

class RenderFrameTest : public SpriteTest {
protected:
    // One frame: the scene is a full-workspace white quad.
    void frame(bool withScene = true)
    {
        mRender->beginFrame();
        if (withScene) {
            if (!mScene) {
                mScene = mSprites->createSpriteFromTexture(nullptr);
                mScene->setSize(Vector2f(float(mSettings.workspaceWidth), float(mSettings.workspaceHeight)));
            }
            mScene->updateVertices();
            mScene->draw();
        }
        mRender->endFrame();
        mRender->present();
    }
    std::vector<std::string> linesFrom(const std::string& first)
    {
        std::vector<std::string> lines = logLines();
        auto it = std::find(lines.begin(), lines.end(), first);
        return std::vector<std::string>(it, lines.end());
    }
    std::string lineAfterLast(const std::string& line)
    {
        const std::vector<std::string> lines = logLines();
        const auto it = std::find(lines.rbegin(), lines.rend(), line);
        return it == lines.rend() || it == lines.rbegin() ? std::string() : *(it - 1);
    }
    // The draws of the last frame, as (target, texture, vertices).
    std::vector<std::vector<DrawnVertex>> drawsInto(const VQ::GfxSurface* target)
    {
        std::vector<std::vector<DrawnVertex>> out;
        for (const auto& d : mDevice->draws())
            if (d.colourTarget == target)
                out.push_back(verticesOf(d));
        return out;
    }
    const VQ::GfxSurface* sceneSurface() { return mRender->sceneTexture()->mHandle->surface(); }

    VQ::Sprite* mScene = nullptr;
};

}  // namespace

TEST_F(RenderFrameTest, CreationLogsTheCapabilitiesAndTheFirstReset)
{
    startEngine(800, 600);
    std::vector<std::string> lines = linesFrom("Device Capabilities...");
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(lines[1], "  Pixel Shader 1.4: SUPPORTED");
    EXPECT_EQ(lines[2], "  Vertex Shader 1.1: SUPPORTED");
    EXPECT_EQ(lines[3], "  MaxTextureWidth: 4096");
    EXPECT_EQ(lines[5], "Resetting DirectX device...");
    EXPECT_EQ(lines[6], "RenderSystem::reset, mWndWidth 800, mWndHeight 600");
    EXPECT_EQ(lines.back(), "Resetting done.");
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.rfind("Creating render texture... (", 0) == 0; }),
              2);
    EXPECT_EQ(mDevice->vertexProcessing(), VQ::VertexProcessing::Hardware);
    // Everything a reset rebuilds: two render textures with their sprites,
    // the fade sprite, the depth-stencil of workspace size, both buffers.
    ASSERT_NE(mRender->sceneSprite(), nullptr);
    ASSERT_NE(mRender->distortionSprite(), nullptr);
    ASSERT_NE(mRender->fadeSprite(), nullptr);
    EXPECT_EQ(mRender->fadeSprite()->size(), Vector2f(1024, 768));
    EXPECT_EQ(mRender->fadeSprite()->vertexColor(0), Color(0xFF000000u));
    EXPECT_EQ(mRender->sceneSprite()->sourceRects()[0], VQ::Rect(0, 0, 800, 600));
    EXPECT_EQ(mDevice->renderState(VQ::RenderState::AlphaRef), 1u);
}

TEST_F(RenderFrameTest, DeviceCreationFallsBackAndStopsAfterTheThirdFailure)
{
    struct Case {
        uint32_t failures;
        VQ::VertexProcessing expected;
        bool software;
    } cases[] = {{1, VQ::VertexProcessing::Mixed, false}, {2, VQ::VertexProcessing::Software, true}};
    startEngine();
    for (const Case& c : cases) {
        restartEngine([&](RecordingGraphicsDevice& device) { device.failCreations(c.failures); });
        EXPECT_EQ(mDevice->vertexProcessing(), c.expected);
        EXPECT_EQ(mRender->softwareVertexProcessing(), c.software);
    }
    EXPECT_EQ(countLogLines("ERROR: Failed to create d3d device with D3DCREATE_HARDWARE_VERTEXPROCESSING, trying "
                            "D3DCREATE_MIXED_VERTEXPROCESSING"),
              2);
    EXPECT_EQ(countLogLines("ERROR: Failed to create d3d device with D3DCREATE_MIXED_VERTEXPROCESSING, trying "
                            "D3DCREATE_SOFTWARE_VERTEXPROCESSING"),
              1);

    VQ::FatalReport report =
        catchFatal([&] { restartEngine([](RecordingGraphicsDevice& device) { device.failCreations(3); }); });
    EXPECT_EQ(report.description, "ERROR! Failed to create DirectX device.");
    EXPECT_EQ(report.line, 104);

    // No display mode: no device can be made, and that is said at once.
    report = catchFatal(
        [&] { restartEngine([](RecordingGraphicsDevice& device) { device.failDisplayModeQuery(true); }); });
    EXPECT_EQ(report.file, "render_system_dx8");
    EXPECT_NE(report.line, -1);
    mRender->setDevice(nullptr);
    EXPECT_EQ(catchFatal([&] { mRender->createDevice(); }).line, 66);
}

TEST_F(RenderFrameTest, AFailedResetNamesItsResultAndStops)
{
    const std::pair<VQ::DeviceResult, const char*> cases[] = {
        {VQ::DeviceResult::OutOfVideoMemory, "error code: D3DERR_OUTOFVIDEOMEMORY"},
        {VQ::DeviceResult::InvalidCall, "error code: D3DERR_INVALIDCALL"},
        {VQ::DeviceResult::OutOfMemory, "error code: E_OUTOFMEMORY"},
        {VQ::DeviceResult::Failed, "error code: -2147467259"},
        {VQ::DeviceResult::DeviceLost, "error code: -2005530520"},
    };
    startEngine();
    for (const auto& [result, line] : cases) {
        SCOPED_TRACE(line);
        // On creation, whose first reset fails, as on a later reset.
        VQ::FatalReport report =
            catchFatal([&] { restartEngine([&](RecordingGraphicsDevice& device) { device.failNextReset(result); }); });
        EXPECT_EQ(report.description, "Failed to reset DX8 device.");
        EXPECT_EQ(report.line, 158);
        EXPECT_EQ(lineAfterLast("Failed to reset dx8 device"), line);

        restartEngine([](RecordingGraphicsDevice&) {});
        mDevice->failNextReset(result);
        report = catchFatal([&] { mRender->reset(); });
        EXPECT_EQ(report.line, 158);
        EXPECT_EQ(lineAfterLast("Failed to reset dx8 device"), line);
    }
}

TEST_F(RenderFrameTest, AResizeResetsWithNewRenderTexturesAndOneNotification)
{
    startEngine();
    ResetCounter counter;
    mNotifications->addListener(&counter);
    mRender->setWindowSize(640, 480);
    mRender->reset();
    EXPECT_EQ(counter.resets, 1);
    EXPECT_EQ(countLogLines("RenderSystem::reset, mWndWidth 640, mWndHeight 480"), 1);
    EXPECT_EQ(mRender->sceneTexture()->mWidth, 640u);
    EXPECT_EQ(mDevice->resetCount(), 2u);
    mNotifications->removeListener(&counter);

    // The index buffer cannot be locked: a half-reset device is not left.
    mDevice->failNextLock();
    const VQ::FatalReport report = catchFatal([&] { mRender->reset(); });
    EXPECT_EQ(report.file, "render_system_dx8");
    EXPECT_NE(report.line, -1);
}

TEST_F(RenderFrameTest, TheSceneGoesStraightOntoTheBackBufferInsideTheViewport)
{
    mSettings.workspaceWidth = 400;
    mSettings.workspaceHeight = 200;
    startEngine(400, 400);
    createQueuedTextures();
    Vector2f viewportSize, viewportOffset;
    float cursorScale = 0;
    mRender->setViewportHook([&](const Vector2f& size, const Vector2f& offset) {
        viewportSize = size;
        viewportOffset = offset;
    });
    mRender->setCursorHook([&](float scale) { cursorScale = scale; });
    mDevice->clearRecords();
    frame();

    EXPECT_EQ(viewportSize, Vector2f(400, 200));
    EXPECT_EQ(viewportOffset, Vector2f(0, 100));
    EXPECT_EQ(cursorScale, 1.0f);
    // Nothing needs the scene texture: one clear of the back buffer, the
    // scene drawn into the viewport's pixels, no full-screen quad after it.
    EXPECT_TRUE(drawsInto(sceneSurface()).empty());
    const auto& clears = mDevice->clears();
    ASSERT_EQ(clears.size(), 1u);
    EXPECT_EQ(clears[0].argb, 0xFF000000u);
    EXPECT_EQ(clears[0].target, mDevice->colourTarget());
    ASSERT_EQ(mDevice->draws().size(), 1u);
    const auto& scene = mDevice->draws().back();
    EXPECT_EQ(scene.colourTarget, mDevice->colourTarget());
    EXPECT_EQ(scene.viewport.y, 100u);
    EXPECT_EQ(scene.viewport.height, 200u);
    EXPECT_EQ(scene.viewport.width, 400u);
    EXPECT_EQ(verticesOf(scene)[2].x, 400.0f);
    EXPECT_EQ(mDevice->viewport().height, 400u);  // the whole back buffer again
    EXPECT_FALSE(mDevice->inScene());
    EXPECT_EQ(mDevice->scenePairingErrors(), 0u);
    EXPECT_EQ(mRender->drawCallCount(), 0u);
}

TEST_F(RenderFrameTest, TheFadeCoversTheSceneWithBlackOfTheRightAlpha)
{
    startEngine();
    createQueuedTextures();
    const std::pair<float, int> cases[] = {{1.0f, -1}, {1.5f, -1}, {0.0f, 255}, {0.5f, 127}};
    for (const auto& [level, alpha] : cases) {
        mRender->setFadeLevel(level);
        mDevice->clearRecords();
        frame();
        const auto scene = drawsInto(mDevice->colourTarget());
        SCOPED_TRACE(level);
        if (alpha < 0) {
            EXPECT_EQ(scene.size(), 1u);
            continue;
        }
        ASSERT_EQ(scene.size(), 2u);
        const std::vector<DrawnVertex>& overlay = scene[1];
        EXPECT_EQ(overlay[0].color, Color::fromBytes(0, 0, 0, uint8_t(alpha)));
        EXPECT_EQ(overlay[2].x, 1024.0f);
        EXPECT_EQ(overlay[2].y, 768.0f);
    }
}

TEST_F(RenderFrameTest, ALostDeviceDrawsNothingUntilItIsResetAndThenDrawsTheSameFrame)
{
    startEngine();
    createQueuedTextures();
    frame();
    mDevice->clearRecords();
    frame();
    const auto before = mDevice->draws();

    mDevice->loseDevice(2);
    frame();  // presents into the loss
    mDevice->clearRecords();
    mTextures->getTexture("cursor_png", "default");  // device work queued by the game
    frame();
    frame();
    EXPECT_EQ(countLogLines("DEVICE LOST!"), 2);
    EXPECT_TRUE(mDevice->draws().empty());
    EXPECT_EQ(mDevice->scenePairingErrors(), 0u);
    // The texture queue still ran on the lost frames.
    EXPECT_EQ(mTextures->creationQueueSize(), 0u);

    mDevice->clearRecords();
    frame();
    EXPECT_EQ(countLogLines("DEVICE LOST!"), 3);
    EXPECT_FALSE(mRender->deviceLost());
    const auto& after = mDevice->draws();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].vertices, before[i].vertices) << i;
        EXPECT_EQ(after[i].primitiveCount, before[i].primitiveCount) << i;
    }
    const std::vector<std::string> tail = linesFrom("DEVICE LOST!");
    EXPECT_NE(std::find(tail.begin(), tail.end(), "Resetting done."), tail.end());
}

TEST_F(RenderFrameTest, DistortionIsClearedOnceAFrameAndComposedThroughTheShader)
{
    startEngine();
    ASSERT_EQ(mRender->setupDistortionProgram(), 0);
    EXPECT_TRUE(mRender->distortionProgram()->ready);
    createQueuedTextures();
    const VQ::GfxSurface* distortionSurface = mRender->distortionTexture()->mHandle->surface();

    // Without a distortion drawable the frame has no shader.
    mDevice->clearRecords();
    frame();
    EXPECT_EQ(mDevice->draws().back().pixelShader, 0u);

    VQ::Sprite* wave = mSprites->createSpriteFromTexture(nullptr);
    wave->setColor(Color(0xFFFF7F00u));
    mDevice->clearRecords();
    mRender->beginFrame();
    for (int i = 0; i < 2; ++i) {
        mRender->beginDistortion();
        wave->setPositionXY(float(100 * i), 0);
        wave->updateVertices();
        wave->draw();
        mRender->endDistortion();
    }
    mRender->endFrame();
    int distortionClears = 0;
    for (const auto& c : mDevice->clears())
        if (c.target == distortionSurface) {
            ++distortionClears;
            EXPECT_EQ(c.argb, 0x007F7FFFu);
            EXPECT_EQ(c.flags, VQ::CLEAR_TARGET);
        }
    EXPECT_EQ(distortionClears, 1);
    EXPECT_EQ(drawsInto(distortionSurface).size(), 2u);
    for (const auto& d : mDevice->draws()) {
        if (d.colourTarget == distortionSurface) {
            EXPECT_EQ(d.depthTarget, nullptr);
        }
    }
    const auto& composed = mDevice->draws().back();
    EXPECT_EQ(composed.pixelShader, mRender->distortionProgram()->pixelShader.handle);
    EXPECT_EQ(composed.textures[1], mRender->distortionTexture()->mHandle);
    EXPECT_EQ(mDevice->pixelShader(), 0u);
    EXPECT_EQ(mDevice->texture(1), nullptr);

    // Distortion switched off: the drawables land in the scene.
    mRender->setDistortionEnabled(false);
    mDevice->clearRecords();
    mRender->beginFrame();
    mRender->beginDistortion();
    wave->draw();
    mRender->endDistortion();
    mRender->endFrame();
    EXPECT_TRUE(drawsInto(distortionSurface).empty());
    EXPECT_EQ(mDevice->draws().back().pixelShader, 0u);
}

TEST_F(RenderFrameTest, VideoShadersLoadFromTheContentOrReportTheMissingFile)
{
    startEngine();
    VQ::ShaderProgram program;
    EXPECT_EQ(VQ::loadYuvPixelShader(*mRender, &program.pixelShader), 0);
    EXPECT_EQ(VQ::loadYuvVertexShader(*mRender, &program.vertexShader), 0);
    EXPECT_TRUE(program.pixelShader.valid && program.vertexShader.valid);
    EXPECT_EQ(VQ::loadYuvPixelShader(*mRender, nullptr), 1);
    mRender->releaseShaderProgram(&program);

    std::filesystem::remove(contentPath("shaders/yuv2rgb_vs.glsl"));
    EXPECT_EQ(VQ::loadYuvVertexShader(*mRender, &program.vertexShader), 1);
    EXPECT_EQ(countLogLines("ERROR. Failed to shader file yuv2rgb_vs"), 1);
}

TEST_F(RenderFrameTest, AFrameWhoseBufferCannotBeLockedDropsItsDrawingButRunsTheQueues)
{
    startEngine();
    mDevice->clearRecords();
    mDevice->failNextLock();
    mTextures->getTexture("cursor_png", "default");
    frame();
    EXPECT_FALSE(mRender->frameBegun());
    EXPECT_TRUE(mDevice->draws().empty());
    EXPECT_EQ(mDevice->scenePairingErrors(), 0u);
    EXPECT_EQ(mTextures->creationQueueSize(), 0u);
    frame();
    EXPECT_FALSE(mDevice->draws().empty());
}

TEST_F(RenderFrameTest, AFrameThatDrawsDistortionMovesItsSceneIntoTheTextureAndTheNextStartsThere)
{
    mSettings.workspaceWidth = 400;
    mSettings.workspaceHeight = 200;
    startEngine(400, 400);
    ASSERT_EQ(mRender->setupDistortionProgram(), 0);
    createQueuedTextures();
    VQ::Sprite* wave = mSprites->createSpriteFromTexture(nullptr);
    wave->setColor(Color(0xFFFF7F00u));
    const auto distortedFrame = [&] {
        mRender->beginFrame();
        mScene->updateVertices();
        mScene->draw();
        mRender->beginDistortion();
        wave->updateVertices();
        wave->draw();
        mRender->endDistortion();
        mRender->endFrame();
        mRender->present();
    };
    frame();
    mDevice->clearRecords();
    distortedFrame();
    // The scene drawn before the distortion began is carried over whole.
    ASSERT_EQ(mDevice->copies().size(), 1u);
    EXPECT_EQ(mDevice->copies()[0].target, sceneSurface());
    EXPECT_EQ(mDevice->copies()[0].sourceRect.y, 100u);
    EXPECT_EQ(mDevice->copies()[0].sourceRect.height, 200u);
    EXPECT_EQ(mDevice->draws().front().colourTarget, mDevice->copies()[0].source);
    EXPECT_EQ(mDevice->draws().back().textures[0], mRender->sceneTexture()->mHandle);

    // While distortion goes on, frames start in the scene texture.
    mDevice->clearRecords();
    distortedFrame();
    EXPECT_TRUE(mDevice->copies().empty());
    EXPECT_EQ(mDevice->clears().front().target, sceneSurface());
    EXPECT_EQ(drawsInto(sceneSurface()).size(), 1u);

    // The first frame without it still does; the one after is drawn straight.
    frame();
    mDevice->clearRecords();
    frame();
    EXPECT_TRUE(drawsInto(sceneSurface()).empty());
    EXPECT_EQ(mDevice->draws().size(), 1u);
}
