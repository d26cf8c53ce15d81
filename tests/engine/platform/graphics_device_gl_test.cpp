// Pixel tests: drawing through the render system on the real OpenGL device
// (offscreen driver) and reading the target back.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "platform/graphics_device_gl.h"
#include "render_system.h"
#include "support/gl_test_context.h"
#include "support/render_helpers.h"

using namespace VQ;
using TestSupport::DeviceTexture;
using TestSupport::QuadSpec;

namespace {

constexpr uint32_t W = 32;
constexpr uint32_t H = 32;

int channel(uint32_t argb, int shift)
{
    return int((argb >> shift) & 0xFF);
}

::testing::AssertionResult near(uint32_t actual, uint32_t expected, int tolerance = 2)
{
    for (int shift : {16, 8, 0})
        if (std::abs(channel(actual, shift) - channel(expected, shift)) > tolerance)
            return ::testing::AssertionFailure() << std::hex << "0x" << actual << " is not near 0x" << expected;
    return ::testing::AssertionSuccess();
}

class GLRenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mContext = std::make_unique<TestSupport::GLTestContext>(int(W), int(H));
        ASSERT_TRUE(mContext->ok()) << mContext->error();
        auto device = createGraphicsDeviceGL();
        ASSERT_EQ(device->create(W, H, VertexProcessing::Hardware), DeviceResult::Ok);
        mDevice = device.get();
        mRender = std::make_unique<RenderSystem>();
        RenderSettings settings;
        settings.workspaceWidth = int32_t(W);
        settings.workspaceHeight = int32_t(H);
        mRender->setSettings(settings);
        mRender->setDevice(std::move(device));
        mRender->setShaderSupport(true, true);
        ASSERT_TRUE(mRender->createBatchBuffers());
        mRender->setFixedDeviceState();
        mBackBuffer = mDevice->getBackBuffer();
        mDevice->clear(CLEAR_TARGET, 0xFF000000, 1.0f, 0);
        mRender->applyTransform(int32_t(W), int32_t(H));
        ASSERT_TRUE(mRender->lockBatchBuffer());
    }

    void TearDown() override
    {
        if (mRender) {
            mRender->unlockBatchBuffer();
            mTextures.clear();
            mDevice->release(mBackBuffer);
            mDevice->release(mSceneTexture);
            mDevice->release(mDepthStencil);
        }
        mRender.reset();
        mContext.reset();
    }

    DeviceTexture* texture(uint32_t w, uint32_t h, const std::vector<uint32_t>& argb)
    {
        mTextures.push_back(std::make_unique<DeviceTexture>(*mDevice, w, h, argb));
        return mTextures.back().get();
    }

    void draw(const std::vector<QuadSpec>& quads, TextureBase* tex, int32_t blend = BLEND_ALPHA,
              int32_t address = ADDRESS_WRAP)
    {
        auto data = TestSupport::makeQuads(quads, tex, blend, address);
        mRender->drawRenderData(data.get());
        mRender->flushBatch();
    }

    std::vector<uint32_t> read(uint32_t* width = nullptr, uint32_t* height = nullptr)
    {
        mRender->flushBatch();
        std::vector<uint32_t> pixels;
        uint32_t w = 0, h = 0;
        EXPECT_TRUE(mDevice->readPixels(pixels, w, h));
        if (width)
            *width = w;
        if (height)
            *height = h;
        return pixels;
    }

    // Draw into a render texture with a D24S8 surface, as the scene is.
    void useSceneTexture(uint32_t w, uint32_t h)
    {
        mSceneTexture = mDevice->createTexture(w, h, mDevice->backBufferFormat(), true);
        ASSERT_NE(mSceneTexture, nullptr);
        mDepthStencil = mDevice->createDepthStencilSurface(W, H, GfxFormat::D24S8);
        ASSERT_NE(mDepthStencil, nullptr);
        mDevice->setRenderTarget(mSceneTexture->surface(), mDepthStencil);
        mDevice->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        mRender->applyTransform(int32_t(w), int32_t(h));
    }

    std::unique_ptr<TestSupport::GLTestContext> mContext;
    GraphicsDevice* mDevice = nullptr;
    std::unique_ptr<RenderSystem> mRender;
    GfxSurface* mBackBuffer = nullptr;
    GfxTexture* mSceneTexture = nullptr;
    GfxSurface* mDepthStencil = nullptr;
    std::vector<std::unique_ptr<DeviceTexture>> mTextures;
};

std::vector<uint32_t> distinctTexels(uint32_t w, uint32_t h)
{
    std::vector<uint32_t> texels(size_t(w) * h);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
            texels[y * w + x] = 0xFF000000u | (x * 30 + 10) << 16 | (y * 30 + 10) << 8 | ((x + y) * 15 + 5);
    return texels;
}

}  // namespace

TEST_F(GLRenderTest, TextureDrawnTexelForPixelReadsBackExactTexels)
{
    const auto texels = distinctTexels(8, 8);
    DeviceTexture* tex = texture(8, 8, texels);
    for (bool intoSceneTexture : {false, true}) {
        SCOPED_TRACE(intoSceneTexture ? "scene texture" : "back buffer");
        if (intoSceneTexture)
            useSceneTexture(W, H);
        draw({{4, 6, 8, 8}}, tex);
        uint32_t w = 0;
        const auto pixels = read(&w);
        ASSERT_EQ(w, W);
        // Row 0 of the read-back is the top, and every texel lands on exactly
        // one pixel: orientation and half-pixel alignment are right.
        for (uint32_t y = 0; y < 8; ++y)
            for (uint32_t x = 0; x < 8; ++x)
                EXPECT_EQ(pixels[(y + 6) * W + x + 4], texels[y * 8 + x]) << "texel " << x << "," << y;
        EXPECT_EQ(pixels[5 * W + 4], 0xFF000000u);
        EXPECT_EQ(pixels[6 * W + 3], 0xFF000000u);
        EXPECT_EQ(pixels[14 * W + 4], 0xFF000000u);
        EXPECT_EQ(pixels[6 * W + 12], 0xFF000000u);
    }
}
