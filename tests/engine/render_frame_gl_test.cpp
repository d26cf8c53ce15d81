// The frame on the OpenGL device, by its pixels: the workspace fitted into
// the window with bars, the fade and the cursor, the distortion pass, the
// debug switch that loses the device, and the video shaders' GLSL.

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/gl_test_context.h"
#include "support/sprite_fixture.h"

using namespace TestSupport;
using VQ::Color;
using VQ::Vector2f;

namespace {

uint32_t red(uint32_t argb)
{
    return (argb >> 16) & 0xFF;
}

// Run with either back buffer: off-screen, or the window's own framebuffer.
class RenderFrameGLTest : public SpriteTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        SpriteTest::SetUp();
        mUseGL = true;
        mSettings.workspaceWidth = 64;
        mSettings.workspaceHeight = 32;
        // Red rising by 4 a column, for seeing where the scene was sampled.
        addImage("gradient_png", 64, 32, [](uint32_t x, uint32_t) { return 0xFF000000u | ((x * 4) << 16) | 0x00FF00u; });
    }
    bool startGL(uint32_t width, uint32_t height)
    {
        mContext = std::make_unique<GLTestContext>(int(width), int(height), GetParam());
        if (!mContext->ok())
            return false;
        startEngine(width, height);
        createQueuedTextures();
        mScene = mSprites->createSpriteFromTexture(texture("gradient_png"));
        mRender->endFrame();  // the frame end creates the texture
        return true;
    }
    void TearDown() override
    {
        SpriteTest::TearDown();
        mContext.reset();
    }
    // Draws the scene (and `extra` into the scene) and returns the window's
    // pixels.
    std::vector<uint32_t> frame(const std::function<void()>& extra = nullptr)
    {
        mRender->beginFrame();
        mScene->updateVertices();
        mScene->draw();
        if (extra)
            extra();
        mRender->endFrame();
        std::vector<uint32_t> pixels;
        uint32_t w = 0, h = 0;
        EXPECT_TRUE(mGfx->readPixels(pixels, w, h));
        mWidth = w;
        mRender->present();
        // The capture drivers read the frame after it was presented.
        std::vector<uint32_t> presented;
        EXPECT_TRUE(mGfx->readPixels(presented, w, h));
        EXPECT_EQ(presented, pixels);
        return pixels;
    }
    uint32_t at(const std::vector<uint32_t>& p, uint32_t x, uint32_t y) const { return p[y * mWidth + x]; }

    std::unique_ptr<GLTestContext> mContext;
    VQ::Sprite* mScene = nullptr;
    uint32_t mWidth = 0;
};

}  // namespace

TEST_P(RenderFrameGLTest, TheSceneIsFittedWithBarsFadedAndTheCursorStaysOnTop)
{
    if (!startGL(64, 64))
        GTEST_SKIP() << mContext->error();
    VQ::Sprite* cursor = mSprites->createSpriteFromTexture(nullptr);
    cursor->setSize(Vector2f(4, 4));
    cursor->setColor(Color(0xFF0000FFu));
    mRender->setCursorHook([&](float scale) {
        cursor->setScaleXY(scale, scale);
        cursor->updateVertices();
        cursor->draw();
    });

    std::vector<uint32_t> p = frame();
    // A 2:1 workspace in a square window: bars of 16 rows above and below.
    EXPECT_EQ(at(p, 40, 8) & 0xFFFFFF, 0u);
    EXPECT_EQ(at(p, 40, 56) & 0xFFFFFF, 0u);
    EXPECT_NEAR(int(red(at(p, 40, 30))), 160, 3);
    EXPECT_NEAR(int(red(at(p, 10, 17))), 40, 3);
    EXPECT_EQ(at(p, 1, 1) & 0xFFFFFF, 0x0000FFu);  // the cursor, in the bar

    mRender->setFadeLevel(0.0f);
    p = frame();
    EXPECT_EQ(at(p, 40, 30) & 0xFFFFFF, 0u);
    EXPECT_EQ(at(p, 1, 1) & 0xFFFFFF, 0x0000FFu);

    mRender->setFadeLevel(0.5f);
    p = frame();
    EXPECT_NEAR(int(red(at(p, 40, 30))), 80, 3);
    EXPECT_NEAR(int((at(p, 40, 30) >> 8) & 0xFF), 128, 3);
}

TEST_P(RenderFrameGLTest, AScaledViewportShowsTheSceneWhereTheSceneTextureWould)
{
    // A 2:1 workspace at three quarters in a 48 x 48 window: 48 x 24 at row 12.
    if (!startGL(48, 48))
        GTEST_SKIP() << mContext->error();
    const std::vector<uint32_t> p = frame();
    EXPECT_EQ(at(p, 24, 11) & 0xFFFFFF, 0u);
    EXPECT_EQ(at(p, 24, 36) & 0xFFFFFF, 0u);
    for (uint32_t x : {4u, 20u, 40u})
        EXPECT_NEAR(int(red(at(p, x, 24))), int(x / 0.75f * 4), 4) << x;
    EXPECT_EQ((at(p, 20, 12) >> 8) & 0xFF, 0xFFu);
    EXPECT_EQ((at(p, 20, 35) >> 8) & 0xFF, 0xFFu);
}

TEST_P(RenderFrameGLTest, TheDistortionPassDisplacesTheSceneByItsColour)
{
    mSettings.workspaceHeight = 64;
    if (!startGL(64, 64))
        GTEST_SKIP() << mContext->error();
    mScene->setSize(Vector2f(64, 64));
    ASSERT_EQ(mRender->setupDistortionProgram(), 0);
    VQ::Sprite* wave = mSprites->createSpriteFromTexture(nullptr);
    wave->setSize(Vector2f(64, 64));
    auto distort = [&](uint32_t argb) {
        return [this, wave, argb] {
            mRender->beginDistortion();
            wave->setColor(Color(argb));
            wave->updateVertices();
            wave->draw();
            mRender->endDistortion();
        };
    };
    const std::vector<uint32_t> plain = frame();
    EXPECT_NEAR(int(red(at(plain, 20, 32))), 80, 2);
    EXPECT_EQ(frame(distort(0xFF7F7F00u)), plain);
    // Red 0xFF moves the sample 0.15 x (1 - 127/255) of the width: 4.8 columns.
    const std::vector<uint32_t> moved = frame(distort(0xFFFF7F00u));
    EXPECT_NEAR(int(red(at(moved, 20, 32))), int((20 + 0.15 * (1 - 127.0 / 255) * 64) * 4), 3);

    VQ::ShaderProgram video;
    EXPECT_EQ(VQ::loadYuvPixelShader(*mRender, &video.pixelShader), 0);
    EXPECT_EQ(VQ::loadYuvVertexShader(*mRender, &video.vertexShader), 0);
    mRender->releaseShaderProgram(&video);
}

TEST_P(RenderFrameGLTest, TheDebugSwitchLosesTheDeviceAndTheFrameAfterTheResetIsTheSame)
{
    setenv("VQ_DEBUG_LOSE_DEVICE_AT_FRAME", "2", 1);
    const bool started = startGL(64, 32);
    unsetenv("VQ_DEBUG_LOSE_DEVICE_AT_FRAME");
    if (!started)
        GTEST_SKIP() << mContext->error();
    const std::vector<uint32_t> before = frame();
    frame();  // the switch's present
    EXPECT_TRUE(mRender->deviceLost());
    const std::vector<uint32_t> after = frame();
    EXPECT_FALSE(mRender->deviceLost());
    EXPECT_EQ(countLogLines("DEVICE LOST!"), 1);
    EXPECT_EQ(countLogLines("Resetting done."), 2);
    EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(BackBuffer, RenderFrameGLTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Window" : "Offscreen";
                         });
