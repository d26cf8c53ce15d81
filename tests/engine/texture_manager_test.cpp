#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "platform/recording_graphics_device.h"
#include "png_image.h"
#include "render_system.h"
#include "support/image_content.h"
#include "support/image_fixture_set.h"
#include "texture_manager.h"

using namespace TestSupport;
using VQ::GfxFormat;
using VQ::Texture;
using VQ::TextureManager;

namespace {

using Bytes = std::vector<uint8_t>;

// The recording device, refusing as many texture creations as a test asks.
class RefusingDevice : public VQ::RecordingGraphicsDevice {
public:
    VQ::GfxTexture* createTexture(uint32_t width, uint32_t height, GfxFormat format, bool renderTarget) override
    {
        ++textureAttempts;
        if (refusals > 0) {
            --refusals;
            return nullptr;
        }
        return RecordingGraphicsDevice::createTexture(width, height, format, renderTarget);
    }
    int refusals = 0;
    int textureAttempts = 0;
};

class TextureManagerTest : public ImageContentTest {
protected:
    void SetUp() override
    {
        ImageContentTest::SetUp();
        mRender = std::make_unique<VQ::RenderSystem>();
        auto device = std::make_unique<RefusingDevice>();
        ASSERT_EQ(device->create(800, 600, VQ::VertexProcessing::Hardware), VQ::DeviceResult::Ok);
        mDevice = device.get();
        mRender->setDevice(std::move(device));
        VQ::RenderSettings settings;
        settings.workspaceWidth = 1280;
        settings.workspaceHeight = 720;
        mRender->setSettings(settings);

        addImageFixture("default", "rgba_png", "rgba.png");
        addImageFixture("default", "rgb_png", "rgb.png");
        addImageFixture("default", "palette_vqt", "palette.vqt");
        addImageFixture("default", "photo_image", "photo_image.jpg");
        addImageFixture("default", "photo_a", "photo_a.jpg");
        addImageFixture("default", "dxt1_dds", "dxt1.dds");
        addImageFixture("default", "dxt5_dds", "dxt5.dds");
        addImageFixture("default", "mipmapped_dds", "dxt1_mipmaps.dds");
        addImageFixture("ui", "rgba_png", "rgba.png");
        addImageBytes("default", "text_file", {'h', 'e', 'l', 'l', 'o'});
        addImageBytes("default", "broken_vqt", {'V', 'Q', 'T', '.', 2, 0, 0, 0, 6, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0});
        Bytes other = imageFixture("dxt1.dds");
        memcpy(other.data() + 4 + 80, "ABCD", 4);
        addImageBytes("default", "other_dds", other);
        loadImageContent();
        mManager = std::make_unique<TextureManager>();
    }

    void TearDown() override
    {
        mManager.reset();
        mRender.reset();
        ImageContentTest::TearDown();
    }

    // What the device texture holds, as its format lays it out.
    Bytes uploaded(Texture* texture)
    {
        uint32_t pitch = 0;
        uint8_t* pixels = mDevice->lockTexture(texture->mHandle, false, pitch);
        if (!pixels)
            return {};
        const size_t size = size_t(pitch) * VQ::formatRows(texture->mHandle->format(), texture->mHandle->height());
        Bytes result(pixels, pixels + size);
        mDevice->unlockTexture(texture->mHandle);
        return result;
    }

    // The uploaded B, G, R, A bytes turned back into R, G, B, A.
    Bytes uploadedRgba(Texture* texture)
    {
        Bytes bytes = uploaded(texture);
        for (size_t i = 0; i + 3 < bytes.size(); i += 4)
            std::swap(bytes[i], bytes[i + 2]);
        return bytes;
    }

    int textureEvents(bool created)
    {
        int count = 0;
        for (const auto& event : mDevice->resourceEvents())
            count += event.created == created && (event.kind == "texture" || event.kind == "rendertexture");
        return count;
    }

    std::unique_ptr<VQ::RenderSystem> mRender;
    RefusingDevice* mDevice = nullptr;
    std::unique_ptr<TextureManager> mManager;
};

}  // namespace

TEST_F(TextureManagerTest, AskingTwiceDecodesOnceAndTheTextureIsMadeAtTheFrameEnd)
{
    Texture* texture = mManager->getTexture("rgba_png", "default");
    ASSERT_NE(texture, nullptr);
    EXPECT_FALSE(texture->mReady);
    EXPECT_EQ(texture->mHandle, nullptr);
    EXPECT_EQ(texture->mRefCount, 0);
    EXPECT_EQ(texture->mWidth, 16u);
    EXPECT_EQ(texture->mSize, 16u * 16u * 4u);
    EXPECT_NE(texture->mPixels, nullptr);

    // The file is gone: a second decode would be fatal.
    removeImageFile("default", "rgba_png");
    EXPECT_EQ(mManager->getTexture("rgba_png", "default"), texture);
    // Another package is another texture.
    Texture* other = mManager->getTexture("rgba_png", "ui");
    EXPECT_NE(other, texture);
    EXPECT_EQ(mManager->creationQueueSize(), 2u);

    mManager->processQueues();
    EXPECT_TRUE(texture->mReady);
    ASSERT_NE(texture->mHandle, nullptr);
    EXPECT_EQ(texture->mHandle->format(), GfxFormat::A8R8G8B8);
    EXPECT_EQ(texture->mImage, nullptr);
    EXPECT_EQ(texture->mPixels, nullptr);
    EXPECT_EQ(mManager->creationQueueSize(), 0u);
    EXPECT_EQ(patternMismatches(uploadedRgba(texture).data(), 16, 16, PatternChannels::RGBA), 0);
}

TEST_F(TextureManagerTest, EveryFormatUploadsItsPixels)
{
    const struct {
        const char* name;
        GfxFormat format;
        PatternChannels channels;
        int tolerance;
    } images[] = {{"rgb_png", GfxFormat::A8R8G8B8, PatternChannels::RGB_OPAQUE, 0},
                  {"palette_vqt", GfxFormat::A8R8G8B8, PatternChannels::RGBA, 0},
                  {"photo_image", GfxFormat::A8R8G8B8, PatternChannels::RGBA, 6}};
    const struct {
        const char* name;
        const char* file;
        GfxFormat format;
        size_t levelZero;
    } compressed[] = {{"dxt1_dds", "dxt1.dds", GfxFormat::DXT1, 128},
                      {"dxt5_dds", "dxt5.dds", GfxFormat::DXT5, 256},
                      {"mipmapped_dds", "dxt1_mipmaps.dds", GfxFormat::DXT1, 128}};
    for (const auto& image : images)
        mManager->getTexture(image.name, "default");
    for (const auto& c : compressed)
        mManager->getTexture(c.name, "default");
    mManager->processQueues();

    for (const auto& image : images) {
        Texture* texture = mManager->getTexture(image.name, "default");
        ASSERT_TRUE(texture->mReady) << image.name;
        EXPECT_EQ(texture->mHandle->format(), image.format) << image.name;
        EXPECT_EQ(patternMismatches(uploadedRgba(texture).data(), 16, 16, image.channels, image.tolerance), 0)
            << image.name;
    }
    // Only the first level of a DXT file is copied, however many follow.
    for (const auto& c : compressed) {
        Texture* texture = mManager->getTexture(c.name, "default");
        ASSERT_TRUE(texture->mReady) << c.name;
        EXPECT_EQ(texture->mHandle->format(), c.format) << c.name;
        const Bytes file = imageFixture(c.file);
        EXPECT_EQ(texture->mSize, file.size() - 128) << c.name;
        EXPECT_EQ(uploaded(texture), Bytes(file.begin() + 128, file.begin() + 128 + long(c.levelZero))) << c.name;
    }
}

TEST_F(TextureManagerTest, ReferencesCountDownAndTheLastOneUnregisters)
{
    Texture* texture = mManager->getTexture("rgba_png", "default");
    mManager->processQueues();
    texture->addReference();
    texture->addReference();

    mManager->releaseTexture(texture);
    EXPECT_EQ(texture->mRefCount, 1);
    EXPECT_EQ(mManager->getTexture("rgba_png", "default"), texture);
    EXPECT_EQ(mManager->getTotalBytes(), 1024u);

    // Render data give references back through the base class.
    static_cast<VQ::TextureBase*>(texture)->releaseReference();
    EXPECT_EQ(mManager->getTotalBytes(), 0u);
    // Not registered any more: a further release changes nothing.
    mManager->releaseTexture(texture);
    EXPECT_EQ(texture->mRefCount, 0);
    EXPECT_EQ(textureEvents(false), 0);

    // The device texture goes at the next frame end; a new request loads again.
    mManager->processQueues();
    EXPECT_EQ(textureEvents(false), 1);
    Texture* again = mManager->getTexture("rgba_png", "default");
    EXPECT_FALSE(again->mReady);
    EXPECT_EQ(mManager->getTotalBytes(), 1024u);
}

TEST_F(TextureManagerTest, ByteTotalsFollowTheMapAndNeverGoBelowZero)
{
    Texture* a = mManager->getTexture("rgba_png", "default");
    Texture* b = mManager->getTexture("rgb_png", "default");
    EXPECT_EQ(mManager->getTotalBytes(), 2048u);
    EXPECT_EQ(mManager->getPeakBytes(), 2048u);
    mManager->releaseTexture(a);
    EXPECT_EQ(mManager->getTotalBytes(), 1024u);
    b->mSize = 5000;
    mManager->destroyTexture(b);
    EXPECT_EQ(mManager->getTotalBytes(), 0u);
    EXPECT_EQ(mManager->getPeakBytes(), 2048u);
    // Released before they were ever made: they leave the creation queue.
    EXPECT_EQ(mManager->creationQueueSize(), 0u);
    mManager->processQueues();
    EXPECT_EQ(textureEvents(true), 0);
}

TEST_F(TextureManagerTest, RenderTexturesAreNumberedAndRebuiltAfterAReset)
{
    auto lastRenderTextureName = [&] {
        std::string name;
        for (const std::string& line : logLines())
            if (line.rfind("Creating render texture... (", 0) == 0)
                name = line.substr(28, line.size() - 29);
        return name;
    };
    Texture* first = mManager->createRenderTexture();
    const std::string firstName = lastRenderTextureName();
    Texture* second = mManager->createRenderTexture();
    const std::string secondName = lastRenderTextureName();
    ASSERT_EQ(firstName.rfind("rendertexture", 0), 0u);
    const int number = std::stoi(firstName.substr(13));
    EXPECT_EQ(secondName, "rendertexture" + std::to_string(number + 1));
    EXPECT_EQ(mManager->getTexture(firstName, "default"), first);
    EXPECT_EQ(mManager->getTexture(secondName, "default"), second);

    // Sized to the workspace (1280 x 720), but never beyond the window (800 x 600).
    EXPECT_TRUE(first->mReady);
    ASSERT_NE(first->mHandle, nullptr);
    EXPECT_TRUE(first->mHandle->renderTarget());
    EXPECT_EQ(first->mWidth, 800u);
    EXPECT_EQ(first->mHeight, 600u);
    EXPECT_EQ(first->mSize, 800u * 600u * 4u);
    EXPECT_EQ(countLogLines("Create texture TU_RENDER_TEXTURE size (800, 600)"), 2);
    mManager->processQueues();
    EXPECT_EQ(mManager->creationQueueSize(), 0u);

    // A static texture and a render texture that survives the reset.
    Texture* picture = mManager->getTexture("rgba_png", "default");
    mManager->processQueues();
    VQ::GfxTexture* pictureHandle = picture->mHandle;

    // The reset as the render system does it: the old render textures go,
    // the device is reset, and two new ones are made.
    mManager->destroyTexture(second);
    mManager->processReleaseQueue();
    mManager->releaseDeviceTextures();
    EXPECT_EQ(first->mHandle, nullptr);
    EXPECT_EQ(picture->mHandle, pictureHandle);
    ASSERT_EQ(mDevice->reset(1024, 768), VQ::DeviceResult::Ok);
    mManager->restoreDeviceTextures();
    ASSERT_NE(first->mHandle, nullptr);
    EXPECT_EQ(first->mHandle->width(), 800u);
    EXPECT_TRUE(first->mReady);
    EXPECT_EQ(picture->mHandle, pictureHandle);

    Texture* third = mManager->createRenderTexture();
    EXPECT_EQ(lastRenderTextureName(), "rendertexture" + std::to_string(number + 2));
    EXPECT_EQ(third->mWidth, 1024u);
    EXPECT_EQ(third->mHeight, 720u);
}

TEST_F(TextureManagerTest, ATextureTheDeviceRefusesIsRetriedOnceAFrameAndReportedOnce)
{
    Texture* refused = mManager->getTexture("rgba_png", "default");
    Texture* fine = mManager->getTexture("rgb_png", "default");
    const std::string error = "ERROR: Failed to create texture 'rgba_png' of 16 x 16; it is tried again each frame";

    mDevice->refusals = 1;
    mManager->processQueues();
    EXPECT_FALSE(refused->mReady);
    EXPECT_TRUE(fine->mReady);
    EXPECT_EQ(mManager->creationQueueSize(), 1u);

    for (int frame = 0; frame < 2; ++frame) {
        mDevice->refusals = 1;
        const int attempts = mDevice->textureAttempts;
        mManager->processQueues();
        EXPECT_EQ(mDevice->textureAttempts, attempts + 1);
    }
    EXPECT_EQ(countLogLines(error), 1);
    mManager->processQueues();
    EXPECT_TRUE(refused->mReady);
    EXPECT_EQ(mManager->creationQueueSize(), 0u);
}

TEST_F(TextureManagerTest, FilesNoDecoderCanDrawAreFatal)
{
    const struct {
        const char* name;
        const char* file;
        int line;
    } cases[] = {{"text_file", "texture_dx8", 77}, {"other_dds", "texture_dx8", 77}, {"missing", "png_image", 57}};
    for (const auto& c : cases) {
        const VQ::FatalReport report = catchFatal([&] { mManager->getTexture(c.name, "default"); });
        EXPECT_EQ(report.file, c.file) << c.name;
        EXPECT_EQ(report.line, c.line) << c.name;
    }
    EXPECT_EQ(countLogLines("ERROR: file 'missing' not found in package 'default'"), 1);
    EXPECT_EQ(mManager->getTotalBytes(), 0u);
}

TEST_F(TextureManagerTest, AnImageThatFailedToLoadIsRegisteredButNeverDrawn)
{
    Texture* texture = mManager->getTexture("broken_vqt", "default");
    EXPECT_EQ(countLogLines("Failed to load VQT image broken_vqt"), 1);
    EXPECT_EQ(texture->mWidth, 0u);
    mManager->processQueues();
    mManager->processQueues();
    EXPECT_FALSE(texture->mReady);
    EXPECT_EQ(countLogLines("ERROR: Failed to create texture 'broken_vqt' of 0 x 0; it is tried again each frame"),
              1);
}

TEST_F(TextureManagerTest, EmptyTexturesTakeUpdatesClippedToTheirSize)
{
    Texture* luminance = mManager->createEmptyTexture(8, 4, VQ::TF_L8);
    Texture* colour = mManager->createEmptyTexture(2, 2, VQ::TF_A8R8G8B8);
    EXPECT_EQ(luminance->mSize, 8u * 4u * 4u);
    EXPECT_EQ(Texture::update(luminance, VQ::PIXEL_KIND_L8, Bytes(64).data(), 16, 4), 1);  // not made yet
    mManager->processQueues();
    ASSERT_TRUE(luminance->mReady);
    EXPECT_EQ(luminance->mHandle->format(), GfxFormat::L8);

    // A 16 x 2 source: 8 x 2 of it fit.
    Bytes source(32);
    for (size_t i = 0; i < source.size(); ++i)
        source[i] = uint8_t(i + 1);
    EXPECT_EQ(Texture::update(luminance, VQ::PIXEL_KIND_L8, source.data(), 16, 2), 0);
    const Bytes l8 = uploaded(luminance);
    EXPECT_EQ(Bytes(l8.begin(), l8.begin() + 8), Bytes({1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(Bytes(l8.begin() + 8, l8.begin() + 16), Bytes({17, 18, 19, 20, 21, 22, 23, 24}));
    EXPECT_EQ(l8[16], 0);

    const Bytes rgba = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    EXPECT_EQ(Texture::update(colour, VQ::Image::KIND_RGBA, rgba.data(), 2, 2), 0);
    EXPECT_EQ(uploaded(colour), Bytes({3, 2, 1, 4, 7, 6, 5, 8, 11, 10, 9, 12, 15, 14, 13, 16}));
    mDevice->failNextLock();
    EXPECT_EQ(Texture::update(colour, VQ::Image::KIND_RGBA, rgba.data(), 2, 2), 1);
}

TEST_F(TextureManagerTest, ImagesDecodedByTheCallerBecomeTextures)
{
    auto decoded = [] {
        auto* image = new VQ::PngImage();
        const Bytes png = imageFixture("rgba.png");
        image->decode(png.data(), png.size());
        return image;
    };
    Texture* logo = mManager->createTextureFromImage("default", decoded(), "logo");
    EXPECT_EQ(mManager->createTextureFromImage("default", decoded(), "logo"), logo);
    EXPECT_EQ(mManager->getTotalBytes(), 1024u);
    mManager->processQueues();
    EXPECT_EQ(patternMismatches(uploadedRgba(logo).data(), 16, 16, PatternChannels::RGBA), 0);
}

TEST_F(TextureManagerTest, ThreadsAskingForOneNameShareOneTexture)
{
    for (int round = 0; round < 5; ++round) {
        std::vector<Texture*> results(6, nullptr);
        std::vector<std::thread> threads;
        for (size_t i = 0; i < results.size(); ++i)
            threads.emplace_back([&, i] { results[i] = mManager->getTexture("photo_image", "default"); });
        for (auto& thread : threads)
            thread.join();
        for (Texture* result : results)
            EXPECT_EQ(result, results[0]);
        EXPECT_EQ(mManager->creationQueueSize(), 1u);
        EXPECT_EQ(mManager->getTotalBytes(), 1024u);
        mManager->destroyTexture(results[0]);
        mManager->processQueues();
    }
}

TEST_F(TextureManagerTest, ShutDownCountsEachPackagesTextures)
{
    mManager->getTexture("rgba_png", "default");
    mManager->getTexture("rgb_png", "default");
    mManager->getTexture("rgba_png", "ui");
    mManager->processQueues();
    testing::internal::CaptureStdout();
    mManager.reset();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("total textures 2 \n"), std::string::npos) << out;
    EXPECT_NE(out.find("total textures 1 \n"), std::string::npos) << out;
    EXPECT_EQ(textureEvents(false), 3);
}
