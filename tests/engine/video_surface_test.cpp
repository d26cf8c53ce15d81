// Video surfaces and the streamer: the processor conversion's tables, timed
// decoding on the video thread against the banked clock, the frame buffers'
// textures and sprites, headers that are refused, and the ends of a stream
// (its last page, a cut, a damaged packet, a rewind).

#include <gtest/gtest.h>

#include <ogg/ogg.h>

#include <chrono>
#include <cstring>
#include <filesystem>

#include "texture.h"
#include "video_fixture.h"

using namespace VideoTestSupport;
using VQ::VideoFrameBuffer;
using VQ::VideoSurface;

namespace {

struct Rgba {
    int r, g, b, a;
};

// One pixel of luma Y with chroma U and V, through the processor conversion.
Rgba convertOne(uint8_t y, uint8_t u, uint8_t v)
{
    uint8_t luma[4] = {y, y, y, y};
    yuv_buffer yuv{};
    yuv.y_width = yuv.y_height = 2;
    yuv.y_stride = 2;
    yuv.uv_width = yuv.uv_height = 1;
    yuv.uv_stride = 1;
    yuv.y = luma;
    yuv.u = &u;
    yuv.v = &v;
    uint8_t out[16] = {};
    VQ::convertYuvToRgba(yuv, out, 2, 2);
    return {out[12], out[13], out[14], out[15]};
}

// Rewrites one byte of the stream's identification header (its first page's
// body), keeping the page valid.
std::vector<uint8_t> patchIdentification(std::vector<uint8_t> clip, size_t offset, uint8_t value)
{
    ogg_page page;
    const size_t headerLength = 27 + clip[26];
    page.header = clip.data();
    page.header_len = long(headerLength);
    page.body = clip.data() + headerLength;
    page.body_len = long(clip[27]);  // one segment: the 42-byte header
    page.body[offset] = value;
    ogg_page_checksum_set(&page);
    return clip;
}

}  // namespace

TEST(VideoConversion, TheIntegerTablesGiveTheDocumentedColours)
{
    const struct {
        uint8_t y, u, v;
        Rgba expected;
    } cases[] = {
        {128, 128, 128, {128, 128, 128, 255}},
        {100, 128, 200, {198, 49, 100, 255}},
        {16, 0, 128, {16, 60, 0, 255}},      // blue clamped from -210
        {255, 128, 255, {255, 165, 255, 255}},  // red clamped from 428
    };
    for (const auto& c : cases) {
        const Rgba got = convertOne(c.y, c.u, c.v);
        EXPECT_EQ(got.r, c.expected.r) << int(c.y) << "," << int(c.u) << "," << int(c.v);
        EXPECT_EQ(got.g, c.expected.g) << int(c.y) << "," << int(c.u) << "," << int(c.v);
        EXPECT_EQ(got.b, c.expected.b) << int(c.y) << "," << int(c.u) << "," << int(c.v);
        EXPECT_EQ(got.a, c.expected.a);
    }
    // The shift floors.
    EXPECT_EQ(VQ::yuvTables().t175[1], -174);
    EXPECT_EQ(VQ::yuvTables().t175[255], 173);
}

TEST(VideoConversion, PlanesStoredBottomUpAreReadTopRowFirst)
{
    // Two rows, the top one dark: the decoder may hand planes with a
    // negative stride, the pointer at the top row.
    uint8_t luma[4] = {200, 200, 20, 20};  // memory: bottom row first
    uint8_t u = 128, v = 128;
    yuv_buffer yuv{};
    yuv.y_width = yuv.y_height = 2;
    yuv.y_stride = -2;
    yuv.y = luma + 2;
    yuv.uv_width = yuv.uv_height = 1;
    yuv.uv_stride = -1;
    yuv.u = &u;
    yuv.v = &v;
    uint8_t out[16] = {};
    VQ::convertYuvToRgba(yuv, out, 2, 2);
    EXPECT_EQ(out[0], 20);
    EXPECT_EQ(out[8], 200);
}

class VideoSurfaceTest : public VideoTest {
protected:
    void TearDown() override
    {
        mByHand.clear();
        VideoTest::TearDown();
    }
    // A surface outside the streamer, for tests that decode by hand: the
    // video thread never sees it, and its clock keeps running.
    VideoSurface* openByHand(const char* name)
    {
        auto surface = std::make_unique<VideoSurface>();
        if (surface->open(name) != 0)
            return nullptr;
        mByHand.push_back(std::move(surface));
        return mByHand.back().get();
    }

    std::vector<std::unique_ptr<VideoSurface>> mByHand;
};

TEST_F(VideoSurfaceTest, AClipPlaysAtItsRateWhileActiveAndItsClockStandsWhileInactive)
{
    addClip("clip", makeClip(64, 48, 50, [](VideoGen::Clip& clip) {
                clip.colorspace = 2;
                clip.comments = {"TITLE=Lantern", "NOTE=%s %n"};
            }));
    startVideo();
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    VideoSurface* surface = mStreamer->createSurface("clip");
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(mStreamer->surfaceCount(), 1u);

    runFrames(0.6);
    const uint32_t early = surface->frameCount;
    EXPECT_NEAR(double(early), 0.6 * 25, 3.0);

    // A second in the background: nothing is decoded, no time passes.
    appActive() = false;
    runFrames(0.2);
    const uint32_t paused = surface->frameCount;
    runFrames(0.8);
    EXPECT_EQ(surface->frameCount, paused);
    EXPECT_FALSE(surface->clockRunning);
    appActive() = true;

    runFrames(3.0, [&] { return surface->ended.load(); });
    ASSERT_TRUE(surface->ended);
    // 2 s of play and the second in the background.
    EXPECT_NEAR(elapsed(), 3.0, 0.3);
    EXPECT_NEAR(double(surface->frameCount), 50.0, 2.0);
    EXPECT_TRUE(surface->playing);
    // Ended: the last frame stays drawable and no further one is decoded.
    const uint32_t last = surface->frameCount;
    runFrames(0.2);
    EXPECT_EQ(surface->frameCount, last);
    EXPECT_TRUE(surface->frames->luma.hasFrame);

    const std::vector<std::string> lines = logLines();
    const auto at = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) - lines.begin();
    };
    const long begin = at("--BEGIN --");
    ASSERT_LT(begin, long(lines.size()));
    EXPECT_EQ(at("VideoSurface: colorspace ITU Rec 470BG (PAL)"), begin - 2);
    EXPECT_EQ(at("VideoSurface: dump comments"), begin - 1);
    ASSERT_LT(begin + 4, long(lines.size()));
    EXPECT_EQ(lines[size_t(begin + 1)].rfind("Vendor: Xiph.Org libtheora", 0), 0u) << lines[size_t(begin + 1)];
    EXPECT_EQ(lines[size_t(begin + 2)], "TITLE=Lantern");
    EXPECT_EQ(lines[size_t(begin + 3)], "NOTE=%s %n");
    EXPECT_EQ(lines[size_t(begin + 4)], "--END --");

    EXPECT_EQ(mStreamer->destroySurface(surface), 0u);
    EXPECT_EQ(mStreamer->surfaceCount(), 0u);
}

TEST_F(VideoSurfaceTest, FrameBuffersGetPowerOfTwoTexturesShowingTheFrameArea)
{
    addClip("wide", makeClip(640, 368, 1));
    addClip("bars444", makeClip(64, 48, 1, [](VideoGen::Clip& clip) { clip.pixelFormat = VideoGen::PF_444; }));
    startVideo();
    const size_t spritesBefore = mSprites->spriteCount();
    const size_t queuedBefore = mTextures->creationQueueSize();
    const auto check = [](const VideoFrameBuffer& buffer, uint32_t w, uint32_t h, uint32_t textureW,
                          uint32_t textureH, int32_t format) {
        EXPECT_EQ(buffer.width, w);
        EXPECT_EQ(buffer.height, h);
        EXPECT_TRUE(buffer.created);
        for (int i = 0; i < 3; ++i) {
            ASSERT_NE(buffer.textures[i], nullptr);
            ASSERT_NE(buffer.sprites[i], nullptr);
            EXPECT_EQ(buffer.textures[i]->mWidth, textureW);
            EXPECT_EQ(buffer.textures[i]->mHeight, textureH);
            EXPECT_EQ(buffer.textures[i]->mTextureFormat, format);
            const VQ::Rect& rect = buffer.sprites[i]->sourceRects()[0];
            EXPECT_EQ(rect.left, 0.0f);
            EXPECT_EQ(rect.top, 0.0f);
            EXPECT_EQ(rect.right, float(w));
            EXPECT_EQ(rect.bottom, float(h));
        }
    };

    VideoSurface* shaders = mStreamer->createSurface("wide");
    ASSERT_NE(shaders, nullptr);
    ASSERT_EQ(shaders->gpuConversion, 1);
    check(shaders->frames->luma, 640, 368, 1024, 512, VQ::TF_L8);
    check(shaders->frames->chroma, 320, 184, 512, 256, VQ::TF_A8L8);
    EXPECT_FALSE(shaders->frames->rgb.created);
    EXPECT_EQ(shaders->getSize(), VQ::Vector2f(640, 368));

    // Chroma at full size cannot go through the shader path's buffers.
    VideoSurface* full = mStreamer->createSurface("bars444");
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full->gpuConversion, 0);
    check(full->frames->rgb, 64, 48, 64, 64, VQ::TF_A8R8G8B8);

    // Without the shader files the processor path is used.
    std::filesystem::remove(contentPath("shaders/yuv2rgb_ps.glsl"));
    VideoSurface* processor = mStreamer->createSurface("wide");
    ASSERT_NE(processor, nullptr);
    EXPECT_EQ(processor->gpuConversion, 0);
    check(processor->frames->rgb, 640, 368, 1024, 512, VQ::TF_A8R8G8B8);

    EXPECT_EQ(mTextures->creationQueueSize(), queuedBefore + 12);
    for (VideoSurface* surface : {shaders, full, processor})
        EXPECT_EQ(mStreamer->destroySurface(surface), 0u);
    EXPECT_EQ(mSprites->spriteCount(), spritesBefore);
    EXPECT_EQ(mTextures->creationQueueSize(), queuedBefore);
}

TEST_F(VideoSurfaceTest, FullChromaClipsConvertAtTheirOwnPlaneScale)
{
    const std::vector<VideoGen::Rgb> bars = {{220, 40, 40}, {40, 200, 60}, {50, 60, 210}, {230, 220, 200}};
    addClip("bars", makeClip(64, 16, 1, [&](VideoGen::Clip& clip) {
                clip.pixelFormat = VideoGen::PF_444;
                clip.quality = 63;
                clip.pixel = [&](uint32_t, uint32_t x, uint32_t) { return VideoGen::colourBars(bars, 64, x); };
            }));
    startVideo();
    VideoSurface* surface = openByHand("bars");
    ASSERT_NE(surface, nullptr);
    surface->decodeFrame();
    ASSERT_EQ(surface->frameCount, 1u);
    const uint8_t* pixels = surface->frames->rgb.pixels.get();
    for (uint32_t i = 0; i < bars.size(); ++i) {
        const uint8_t* p = pixels + (8 * 64 + 8 + 16 * i) * 4;
        EXPECT_NEAR(p[0], bars[i].r, 8) << i;
        EXPECT_NEAR(p[1], bars[i].g, 8) << i;
        EXPECT_NEAR(p[2], bars[i].b, 8) << i;
    }
}

TEST_F(VideoSurfaceTest, StreamsThatCannotBeShownFailTheOpenAndLeaveNothingBehind)
{
    const std::vector<uint8_t> clip = makeClip(64, 48, 2);
    // The identification header: frame width in macroblocks at 10 (two
    // bytes), the rate's numerator at 22 and denominator at 26 (four each).
    addClip("too_wide", patchIdentification(patchIdentification(clip, 10, 0x02), 11, 0x10));  // 528 blocks
    addClip("no_rate", patchIdentification(clip, 25, 0));
    addClip("headers_cut", std::vector<uint8_t>(clip.begin(), clip.begin() + 200));
    addClip("not_video", std::vector<uint8_t>(4000, 'x'));
    startVideo();
    const size_t sprites = mSprites->spriteCount();
    const size_t queued = mTextures->creationQueueSize();
    for (const char* name : {"too_wide", "no_rate", "headers_cut", "not_video", "missing"}) {
        EXPECT_EQ(mStreamer->createSurface(name), nullptr) << name;
        EXPECT_EQ(mSprites->spriteCount(), sprites) << name;
    }
    EXPECT_EQ(mStreamer->surfaceCount(), 0u);
    EXPECT_EQ(mTextures->creationQueueSize(), queued);
    VideoSurface stray;
    EXPECT_EQ(mStreamer->destroySurface(&stray), 1u);
    EXPECT_EQ(mStreamer->destroySurface(nullptr), 1u);
}

TEST_F(VideoSurfaceTest, TheEndOfTheDataACutAndADamagedPacketEndDecoding)
{
    // A moving picture, so that the frames take most of the bytes.
    const auto moving = [](VideoGen::Clip& c) {
        c.pixel = [](uint32_t frame, uint32_t x, uint32_t y) { return VideoGen::lanternScene(frame, 40, x, y, 64, 48); };
    };
    const std::vector<uint8_t> clip = makeClip(64, 48, 40, moving);
    addClip("whole", clip);
    // Cut halfway into the last page.
    const std::string bytes(clip.begin(), clip.end());
    const size_t lastPage = bytes.rfind("OggS");
    addClip("cut", std::vector<uint8_t>(clip.begin(), clip.begin() + long(lastPage + (clip.size() - lastPage) / 2)));
    addClip("damaged", makeClip(64, 48, 20, [](VideoGen::Clip& c) { c.damagedFrame = 5; }));
    startVideo();
    // Decoded by hand, each frame taken as uploaded.
    const auto decodeAll = [&](VideoSurface* surface) {
        for (int i = 0; i < 60 && surface->playing && !surface->ended; ++i) {
            surface->decodeFrame();
            surface->uploadFrame();
        }
    };
    VideoSurface* whole = openByHand("whole");
    VideoSurface* cut = openByHand("cut");
    VideoSurface* damaged = openByHand("damaged");
    ASSERT_TRUE(whole && cut && damaged);
    for (VideoSurface* surface : {whole, cut, damaged})
        decodeAll(surface);
    EXPECT_TRUE(whole->ended);
    EXPECT_EQ(whole->frameCount, 40u);
    EXPECT_TRUE(cut->ended);
    EXPECT_GT(cut->frameCount, 0u);
    EXPECT_LT(cut->frameCount, 40u);
    // A bad packet closes the surface without ending it.
    EXPECT_FALSE(damaged->playing);
    EXPECT_FALSE(damaged->ended);
    EXPECT_EQ(damaged->frameCount, 5u);
    EXPECT_EQ(damaged->frames, nullptr);
    damaged->draw();
    damaged->uploadFrame();
    EXPECT_EQ(damaged->getSize(), VQ::Vector2f(1, 1));
}

TEST_F(VideoSurfaceTest, ALoopingClipRewindsAndEndsOnceItsFileIsGone)
{
    addClip("loop", makeClip(64, 48, 6));
    startVideo();
    VideoSurface* surface = openByHand("loop");
    ASSERT_NE(surface, nullptr);
    surface->looping = true;
    std::vector<uint32_t> counts;
    for (int i = 0; i < 9; ++i) {
        surface->decodeFrame();
        surface->uploadFrame();
        counts.push_back(surface->frameCount);
    }
    EXPECT_EQ(counts, (std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 1, 2, 3}));
    EXPECT_FALSE(surface->ended);

    std::filesystem::remove(contentPath("videos/loop.ogv"));
    for (int i = 0; i < 6 && !surface->ended; ++i) {
        surface->decodeFrame();
        surface->uploadFrame();
    }
    EXPECT_TRUE(surface->ended);
}
