#include <gtest/gtest.h>

#include "jpeg_image.h"
#include "png_image.h"
#include "support/image_content.h"
#include "support/image_fixture_set.h"
#include "vqt_image.h"

using namespace TestSupport;

namespace {

class ImageLoadTest : public ImageContentTest {
protected:
    void SetUp() override
    {
        ImageContentTest::SetUp();
        addImageFixture("default", "logo_png", "rgba.png");
        addImageFixture("default", "tiles_vqt", "palette.vqt");
        addImageFixture("default", "photo_image", "photo_image.jpg");
        addImageFixture("default", "photo_a", "photo_a.jpg");
        addImageFixture("default", "photo", "photo_image.jpg");
        addImageFixture("default", "lonely_image", "photo_image.jpg");
        addImageBytes("default", "broken_vqt", {'V', 'Q', 'T', '.', 2, 0, 0, 0, 6, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0});
        loadImageContent();
    }
};

}  // namespace

TEST_F(ImageLoadTest, LoadsThroughTheFileSystemByPackageAndName)
{
    VQ::PngImage png;
    EXPECT_TRUE(VQ::PngImage::check("logo_png", "default"));
    EXPECT_EQ(png.load("logo_png", "default"), 0);
    EXPECT_EQ(patternMismatches(png.getData(), 16, 16, PatternChannels::RGBA), 0);

    VQ::VQTImage vqt;
    EXPECT_TRUE(VQ::VQTImage::probe("tiles_vqt", "default"));
    EXPECT_FALSE(VQ::PngImage::check("tiles_vqt", "default"));
    EXPECT_EQ(vqt.load("tiles_vqt", "default"), 0);
    EXPECT_EQ(patternMismatches(vqt.getData(), 16, 16, PatternChannels::RGBA), 0);

    VQ::JpegImage jpeg;
    EXPECT_TRUE(VQ::JpegImage::probe("photo_image", "default"));
    EXPECT_EQ(jpeg.load("photo_image", "default"), 0);
    EXPECT_EQ(patternMismatches(jpeg.getData(), 16, 16, PatternChannels::RGBA, 6), 0);
}

TEST_F(ImageLoadTest, MissingFilesAreFatalExceptForTheOptionalPngProbe)
{
    EXPECT_FALSE(VQ::PngImage::probe("nothing_png", "default"));
    EXPECT_EQ(countLogLines("ERROR: file 'nothing_png' not found in package 'default'"), 0);

    const struct {
        const char* what;
        std::function<void()> call;
        const char* file;
        int line;
    } cases[] = {
        {"png check", [] { VQ::PngImage::check("nothing_png", "default"); }, "png_image", 57},
        {"png load", [] { VQ::PngImage().load("nothing_png", "default"); }, "png_image", 48},
        {"vqt load", [] { VQ::VQTImage().load("nothing_png", "default"); }, "vqt_image", 85},
        {"jpeg load", [] { VQ::JpegImage().load("nothing_png", "default"); }, "jpeg_image", 95},
        {"jpeg without its alpha image", [] { VQ::JpegImage().load("lonely_image", "default"); }, "jpeg_image", 95},
    };
    for (const auto& c : cases) {
        const VQ::FatalReport report = catchFatal(c.call);
        EXPECT_EQ(report.file, c.file) << c.what;
        EXPECT_EQ(report.line, c.line) << c.what;
        EXPECT_EQ(report.description, "") << c.what;
    }
    EXPECT_EQ(countLogLines("ERROR: file 'nothing_png' not found in package 'default'"), 4);
    EXPECT_EQ(countLogLines("ERROR: file 'lonely_a' not found in package 'default'"), 1);
}

TEST_F(ImageLoadTest, FailedLoadsLeaveTheImageEmptyAndSaySo)
{
    VQ::VQTImage vqt;
    EXPECT_EQ(vqt.load("broken_vqt", "default"), 1);
    EXPECT_EQ(vqt.getData(), nullptr);
    EXPECT_EQ(vqt.getWidth(), 0u);
    EXPECT_EQ(countLogLines("Failed to load VQT image broken_vqt"), 1);

    VQ::JpegImage jpeg;
    EXPECT_EQ(jpeg.load("photo", "default"), 1);
    EXPECT_EQ(jpeg.getData(), nullptr);
    EXPECT_EQ(countLogLines("ERROR: Failed to load JPEG image 'photo': the name has no \"_image\" to find its alpha "
                            "image by"),
              1);
}
