// Video frames on the OpenGL device, by their pixels: a clip of the
// palette's colour bars drawn through the yuv2rgb shaders and through the
// processor path shows its colours on both.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/gl_test_context.h"
#include "video_fixture.h"

using namespace VideoTestSupport;

namespace {

// true: the shader path; false: the processor path (shader file absent).
class VideoGLTest : public VideoTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        VideoTest::SetUp();
        mUseGL = true;
        mSettings.workspaceWidth = 64;
        mSettings.workspaceHeight = 48;
        addClip("bars", makeClip(64, 48, 1, [](VideoGen::Clip& clip) {
                    clip.quality = 63;
                    clip.pixel = [](uint32_t, uint32_t x, uint32_t) {
                        return VideoGen::colourBars(VideoGen::paletteBars(), 64, x);
                    };
                }));
        // Decoding is driven by hand.
        appActive() = false;
    }
    void TearDown() override
    {
        VideoTest::TearDown();
        mContext.reset();
    }

    std::unique_ptr<TestSupport::GLTestContext> mContext;
};

}  // namespace

TEST_P(VideoGLTest, ColourBarsShowTheirColours)
{
    mContext = std::make_unique<TestSupport::GLTestContext>(64, 48);
    if (!mContext->ok())
        GTEST_SKIP() << mContext->error();
    if (!GetParam())
        std::filesystem::remove(contentPath("shaders/yuv2rgb_vs.glsl"));
    startVideo(64, 48);
    VQ::VideoSurface* surface = mStreamer->createSurface("bars");
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->gpuConversion, GetParam() ? 1 : 0);
    mRender->endFrame();  // the frame end creates the textures
    surface->decodeFrame();
    ASSERT_EQ(surface->frameCount, 1u);
    mRender->endFrame();  // and uploads the frame
    surface->setPosition(VQ::Vector2f(0, 0));
    surface->setSize(VQ::Vector2f(64, 48));

    mRender->beginFrame();
    surface->draw();
    mRender->endFrame();
    std::vector<uint32_t> pixels;
    uint32_t w = 0, h = 0;
    ASSERT_TRUE(mGfx->readPixels(pixels, w, h));
    ASSERT_EQ(w, 64u);
    const std::vector<VideoGen::Rgb>& bars = VideoGen::paletteBars();
    for (size_t i = 0; i < bars.size(); ++i) {
        const uint32_t x = uint32_t((i * 64 + 32) / bars.size());
        for (uint32_t y : {4u, 24u, 43u}) {
            const uint32_t p = pixels[y * w + x];
            EXPECT_NEAR(int((p >> 16) & 0xFF), bars[i].r, 8) << "bar " << i << " row " << y;
            EXPECT_NEAR(int((p >> 8) & 0xFF), bars[i].g, 8) << "bar " << i << " row " << y;
            EXPECT_NEAR(int(p & 0xFF), bars[i].b, 8) << "bar " << i << " row " << y;
        }
    }
    mRender->present();
    mStreamer->destroySurface(surface);
}

INSTANTIATE_TEST_SUITE_P(Paths, VideoGLTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? std::string("Shaders") : std::string("Processor");
                         });
