// Textures of the texture manager drawn through the real OpenGL device: the
// upload's byte order and the compressed path as the GPU reads them.

#include <gtest/gtest.h>

#include "platform/graphics_device_gl.h"
#include "render_system.h"
#include "support/gl_test_context.h"
#include "support/image_content.h"
#include "support/image_fixture_set.h"
#include "support/render_helpers.h"
#include "texture_manager.h"

using namespace TestSupport;

namespace {

constexpr uint32_t SIDE = 16;

class TextureGLTest : public ImageContentTest {
protected:
    void SetUp() override
    {
        ImageContentTest::SetUp();
        mContext = std::make_unique<GLTestContext>(int(SIDE), int(SIDE));
        ASSERT_TRUE(mContext->ok()) << mContext->error();
        auto device = VQ::createGraphicsDeviceGL();
        ASSERT_EQ(device->create(SIDE, SIDE, VQ::VertexProcessing::Hardware), VQ::DeviceResult::Ok);
        mDevice = device.get();
        mRender = std::make_unique<VQ::RenderSystem>();
        VQ::RenderSettings settings;
        settings.workspaceWidth = int32_t(SIDE);
        settings.workspaceHeight = int32_t(SIDE);
        mRender->setSettings(settings);
        mRender->setDevice(std::move(device));
        ASSERT_TRUE(mRender->createBatchBuffers());
        mRender->setFixedDeviceState();
        mRender->applyTransform(int32_t(SIDE), int32_t(SIDE));

        addImageFixture("default", "rgb_png", "rgb.png");
        addImageFixture("default", "dxt1_dds", "dxt1.dds");
        loadImageContent();
        mManager = std::make_unique<VQ::TextureManager>();
    }

    void TearDown() override
    {
        mManager.reset();
        if (mRender)
            mRender->releaseBatchBuffers();
        mRender.reset();
        mContext.reset();
        ImageContentTest::TearDown();
    }

    // Draws the texture over the whole target, texel for pixel, and reads
    // the target back as R, G, B, A bytes.
    std::vector<uint8_t> drawn(VQ::Texture* texture)
    {
        mDevice->clear(VQ::CLEAR_TARGET, 0xFF000000, 1.0f, 0);
        EXPECT_TRUE(mRender->lockBatchBuffer());
        {
            auto data = makeQuads({{0, 0, float(SIDE), float(SIDE)}}, texture);
            mRender->drawRenderData(data.get());
            mRender->flushBatch();
        }
        mRender->unlockBatchBuffer();
        std::vector<uint32_t> argb;
        uint32_t w = 0, h = 0;
        EXPECT_TRUE(mDevice->readPixels(argb, w, h));
        std::vector<uint8_t> rgba;
        for (uint32_t pixel : argb)
            rgba.insert(rgba.end(), {uint8_t(pixel >> 16), uint8_t(pixel >> 8), uint8_t(pixel), 0xFF});
        return rgba;
    }

    std::unique_ptr<GLTestContext> mContext;
    VQ::GraphicsDevice* mDevice = nullptr;
    std::unique_ptr<VQ::RenderSystem> mRender;
    std::unique_ptr<VQ::TextureManager> mManager;
};

}  // namespace

TEST_F(TextureGLTest, DecodedImagesDrawAsTheirPixels)
{
    VQ::Texture* png = mManager->getTexture("rgb_png", "default");
    VQ::Texture* dxt1 = mManager->getTexture("dxt1_dds", "default");
    mManager->processQueues();
    ASSERT_TRUE(png->mReady);
    ASSERT_TRUE(dxt1->mReady);
    EXPECT_EQ(patternMismatches(drawn(png).data(), SIDE, SIDE, PatternChannels::RGB_OPAQUE, 1), 0);
    // DXT1 keeps four colours of 5:6:5 a block: close, not exact.
    EXPECT_EQ(patternMismatches(drawn(dxt1).data(), SIDE, SIDE, PatternChannels::RGB_OPAQUE, 24), 0);
}
