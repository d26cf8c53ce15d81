#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <stdexcept>

#include "dds_image.h"
#include "image_writers.h"
#include "jpeg_image.h"
#include "png_image.h"
#include "support/image_fixture_set.h"
#include "support/test_support.h"
#include "vqt_image.h"

using namespace TestSupport;
using VQ::DecodeStatus;
using VQ::Image;

namespace {

using Bytes = std::vector<uint8_t>;

void putLe32(Bytes& bytes, size_t at, uint32_t value)
{
    if (at + 4 > bytes.size())
        throw std::out_of_range("putLe32 past the end");
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = uint8_t(value >> (8 * i));
}

Bytes vqtHeader(uint32_t format, uint32_t width, uint32_t height, uint32_t payloadSize)
{
    Bytes bytes(20);
    memcpy(bytes.data(), "VQT.", 4);
    putLe32(bytes, 4, format);
    putLe32(bytes, 8, width);
    putLe32(bytes, 12, height);
    putLe32(bytes, 16, payloadSize);
    return bytes;
}

}  // namespace

// ---- PNG

struct PngCase {
    const char* file;
    int32_t kind;
    PatternChannels channels;
};

void PrintTo(const PngCase& c, std::ostream* out)
{
    *out << c.file;
}

class PngFixtureTest : public ::testing::TestWithParam<PngCase> {};

TEST_P(PngFixtureTest, DecodesToFourBytesPerPixelOfThePattern)
{
    const PngCase& c = GetParam();
    const Bytes file = imageFixture(c.file);
    VQ::PngImage image;
    ASSERT_TRUE(image.decode(file.data(), file.size()).isOk());
    EXPECT_EQ(image.getKind(), c.kind);
    EXPECT_EQ(image.getWidth(), 16u);
    EXPECT_EQ(image.getHeight(), 16u);
    EXPECT_EQ(image.getPitch(), 64u);
    EXPECT_EQ(image.getExtra(), 64u);
    EXPECT_EQ(image.getDataSize(), 16u * 16u * 4u);
    EXPECT_EQ(patternMismatches(image.getData(), 16, 16, c.channels), 0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryColourType, PngFixtureTest,
    ::testing::Values(PngCase{"rgb.png", Image::KIND_RGB, PatternChannels::RGB_OPAQUE},
                      PngCase{"rgb_interlaced.png", Image::KIND_RGB, PatternChannels::RGB_OPAQUE},
                      PngCase{"rgba.png", Image::KIND_RGBA, PatternChannels::RGBA},
                      PngCase{"rgba16.png", Image::KIND_RGBA, PatternChannels::RGBA},
                      PngCase{"grey.png", Image::KIND_RGB, PatternChannels::GREY_OPAQUE},
                      PngCase{"grey_alpha.png", Image::KIND_RGBA, PatternChannels::GREY_ALPHA},
                      PngCase{"palette.png", Image::KIND_RGBA, PatternChannels::RGBA},
                      PngCase{"palette_opaque.png", Image::KIND_RGB, PatternChannels::RGB_OPAQUE}),
    [](const auto& info) {
        std::string name = info.param.file;
        return name.substr(0, name.find('.'));
    });

TEST(PngImageTest, LowBitDepthGreyAndColourKeysAreExpanded)
{
    // 2-bit grey 0..3 becomes 0, 85, 170, 255; the tRNS key colour becomes
    // transparent and the image turns RGBA.
    ImageWriters::PngDescription d;
    d.width = 4;
    d.height = 1;
    d.colourType = PNG_COLOR_TYPE_GRAY;
    d.bitDepth = 2;
    d.rows = {0x1B};  // 0, 1, 2, 3
    d.transparency = {0x00, 0x02};
    Bytes file;
    std::string error;
    ASSERT_TRUE(ImageWriters::writePng(d, file, error)) << error;

    VQ::PngImage image;
    ASSERT_TRUE(image.decode(file.data(), file.size()).isOk());
    EXPECT_EQ(image.getKind(), Image::KIND_RGBA);
    const Bytes expected = {0, 0, 0, 255, 85, 85, 85, 255, 170, 170, 170, 0, 255, 255, 255, 255};
    EXPECT_EQ(Bytes(image.getData(), image.getData() + image.getDataSize()), expected);
}

TEST(PngImageTest, BrokenFilesAreFatalAtTheirChecks)
{
    const Bytes good = imageFixture("rgba.png");
    const Bytes notPng = imageFixture("dxt1.dds");
    const Bytes truncated(good.begin(), good.begin() + good.size() / 2);
    Bytes badCrc = good;
    badCrc[20] ^= 0x40;  // inside IHDR

    ImageWriters::PngDescription wide;
    wide.width = Image::MAX_SIDE + 1;
    wide.height = 1;
    wide.colourType = PNG_COLOR_TYPE_GRAY;
    wide.rows.assign(wide.width, 0);
    Bytes tooWide;
    std::string error;
    ASSERT_TRUE(ImageWriters::writePng(wide, tooWide, error));

    const struct {
        const char* what;
        const Bytes& bytes;
        int line;
    } cases[] = {{"not a PNG", notPng, 132}, {"cut short", truncated, 143}, {"bad checksum", badCrc, 143},
                 {"too wide", tooWide, 143}};
    for (const auto& c : cases) {
        VQ::PngImage image;
        const DecodeStatus status = image.decode(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(status.code, DecodeStatus::FATAL) << c.what;
        EXPECT_EQ(status.line, c.line) << c.what;
        EXPECT_EQ(image.getData(), nullptr) << c.what;
    }
}

TEST(PngImageTest, PaddingToPowersOfTwoKeepsRowsAndDecodedSize)
{
    ImageWriters::PngDescription d;
    d.width = 3;
    d.height = 5;
    d.colourType = PNG_COLOR_TYPE_RGBA;
    for (uint8_t i = 0; i < 15 * 4; ++i)
        d.rows.push_back(uint8_t(i + 1));
    Bytes file;
    std::string error;
    ASSERT_TRUE(ImageWriters::writePng(d, file, error));

    VQ::PngImage image;
    ASSERT_TRUE(image.decode(file.data(), file.size()).isOk());
    ASSERT_EQ(image.padToPowerOfTwo(), 0);
    EXPECT_EQ(image.getWidth(), 4u);
    EXPECT_EQ(image.getHeight(), 8u);
    EXPECT_EQ(image.getPitch(), 16u);
    EXPECT_EQ(image.getDataSize(), 4u * 8u * 4u);
    EXPECT_EQ(image.getDecodedWidth(), 3u);
    EXPECT_EQ(image.getDecodedHeight(), 5u);
    const uint8_t* data = image.getData();
    EXPECT_EQ(data[0], 1);
    EXPECT_EQ(data[16 + 0], 13);      // row 1 starts at the padded pitch
    EXPECT_EQ(data[4 * 16 + 11], 60);  // last byte of the last decoded row
    EXPECT_EQ(data[4 * 16 + 12], 0);   // padding is transparent black
    EXPECT_EQ(data[7 * 16 + 15], 0);

    const Bytes rgb = imageFixture("rgb.png");
    VQ::PngImage opaque;
    ASSERT_TRUE(opaque.decode(rgb.data(), rgb.size()).isOk());
    EXPECT_EQ(opaque.padToPowerOfTwo(), 1);
}

// ---- JPEG

TEST(JpegImageTest, ColourAndAlphaImagesCombineIntoRgba)
{
    const Bytes colour = imageFixture("photo_image.jpg");
    const Bytes alpha = imageFixture("photo_a.jpg");
    VQ::JpegImage image;
    ASSERT_TRUE(image.decode(colour.data(), colour.size(), alpha.data(), alpha.size()).isOk());
    EXPECT_EQ(image.getKind(), Image::KIND_RGBA);
    EXPECT_EQ(image.getWidth(), 16u);
    EXPECT_EQ(image.getHeight(), 16u);
    EXPECT_EQ(image.getDataSize(), 16u * 16u * 4u);
    EXPECT_EQ(image.getExtra(), 16u * 16u * 4u);
    // Lossy even at the highest quality: close, not exact.
    EXPECT_EQ(patternMismatches(image.getData(), 16, 16, PatternChannels::RGBA, 6), 0);
}

// The pair gives exactly what libjpeg gives for its two files, colour bytes
// then the alpha byte, whatever the size and the chroma sampling.
TEST(JpegImageTest, ThePairIsTheLibrarysOwnTwoDecodesInterleaved)
{
    const struct {
        uint32_t width, height;
        bool subsampled;
    } cases[] = {{16, 16, false}, {37, 29, true}, {64, 48, false}, {130, 7, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << (c.subsampled ? " subsampled" : ""));
        Bytes rgb(size_t(c.width) * c.height * 3);
        Bytes grey(size_t(c.width) * c.height);
        for (size_t i = 0; i < grey.size(); ++i) {
            rgb[i * 3] = uint8_t(i * 7);
            rgb[i * 3 + 1] = uint8_t((i / c.width) * 13);
            rgb[i * 3 + 2] = uint8_t(i * i);
            grey[i] = uint8_t(255 - i * 3);
        }
        Bytes colourFile, alphaFile;
        std::string why;
        ASSERT_TRUE(ImageWriters::writeJpeg(c.width, c.height, 3, rgb, 85, colourFile, why, c.subsampled)) << why;
        ASSERT_TRUE(ImageWriters::writeJpeg(c.width, c.height, 1, grey, 85, alphaFile, why)) << why;

        VQ::JpegImage::Decoded colour, alpha;
        ASSERT_TRUE(VQ::JpegImage::decodeFile(colourFile.data(), colourFile.size(), colour).isOk());
        ASSERT_TRUE(VQ::JpegImage::decodeFile(alphaFile.data(), alphaFile.size(), alpha).isOk());
        ASSERT_EQ(colour.components, 3);
        Bytes expected;
        for (size_t i = 0; i < grey.size(); ++i)
            expected.insert(expected.end(), {colour.pixels[i * 3], colour.pixels[i * 3 + 1], colour.pixels[i * 3 + 2],
                                             alpha.pixels[i]});

        VQ::JpegImage image;
        ASSERT_TRUE(image.decode(colourFile.data(), colourFile.size(), alphaFile.data(), alphaFile.size()).isOk());
        ASSERT_EQ(image.getDataSize(), expected.size());
        EXPECT_EQ(Bytes(image.getData(), image.getData() + expected.size()), expected);
    }
}

TEST(JpegImageTest, MismatchedOrBrokenPairsFailWithoutEndingTheProcess)
{
    const Bytes colour = imageFixture("photo_image.jpg");
    const Bytes alpha = imageFixture("photo_a.jpg");
    Bytes smallAlpha;
    std::string why;
    ASSERT_TRUE(ImageWriters::writeJpeg(8, 8, 1, Bytes(64, 200), 90, smallAlpha, why));
    const Bytes garbage = {0xFF, 0xD8, 0xFF, 0x00, 0x12, 0x34};
    const Bytes empty;

    const struct {
        const char* what;
        const Bytes& colour;
        const Bytes& alpha;
    } cases[] = {{"grey colour image", alpha, alpha},
                 {"colour alpha image", colour, colour},
                 {"alpha of another size", colour, smallAlpha},
                 {"broken colour image", garbage, alpha},
                 {"broken alpha image", colour, garbage},
                 {"empty alpha image", colour, empty}};
    for (const auto& c : cases) {
        VQ::JpegImage image;
        const DecodeStatus status = image.decode(c.colour.data(), c.colour.size(), c.alpha.data(), c.alpha.size());
        EXPECT_EQ(status.code, DecodeStatus::FAILED) << c.what;
        EXPECT_FALSE(status.reason.empty()) << c.what;
        EXPECT_EQ(image.getData(), nullptr) << c.what;
        EXPECT_EQ(image.getWidth(), 0u) << c.what;
    }
}

TEST(JpegImageTest, AlphaNameReplacesTheLastImageSuffix)
{
    const struct {
        const char* name;
        const char* alpha;  // null: none
    } cases[] = {{"logo_image", "logo_a"},
                 {"a_image_b_image", "a_image_b_a"},
                 {"x_image_jpg", "x_a_jpg"},
                 {"_image", "_a"},
                 {"logo", nullptr},
                 {"logo_imag", nullptr}};
    for (const auto& c : cases) {
        std::string result = "untouched";
        EXPECT_EQ(VQ::JpegImage::alphaName(c.name, result), c.alpha != nullptr) << c.name;
        if (c.alpha) {
            EXPECT_EQ(result, c.alpha);
        }
    }
}

// ---- DDS

TEST(DDSImageTest, DxtKindsKeepTheBytesAfterTheHeader)
{
    const struct {
        const char* file;
        int32_t kind;
        uint64_t levelZero;
    } cases[] = {{"dxt1.dds", Image::KIND_DXT1, 16 * 8},
                 {"dxt3.dds", Image::KIND_DXT3, 16 * 16},
                 {"dxt5.dds", Image::KIND_DXT5, 16 * 16},
                 {"dxt1_mipmaps.dds", Image::KIND_DXT1, 16 * 8}};
    for (const auto& c : cases) {
        const Bytes file = imageFixture(c.file);
        VQ::DDSImage image;
        ASSERT_TRUE(image.decode(file.data(), file.size()).isOk()) << c.file;
        EXPECT_TRUE(image.isLoaded());
        EXPECT_EQ(image.getKind(), c.kind) << c.file;
        EXPECT_EQ(image.getWidth(), 16u);
        EXPECT_EQ(image.getHeight(), 16u);
        EXPECT_EQ(image.getExtra(), 0u);
        EXPECT_EQ(Bytes(image.getData(), image.getData() + image.getDataSize()), Bytes(file.begin() + 128, file.end()))
            << c.file;
        EXPECT_EQ(VQ::DDSImage::levelZeroSize(c.kind, 16, 16), c.levelZero);
    }
    // The mipmapped file holds more than its first level: 8x8, 4x4, 2x2, 1x1 follow.
    EXPECT_EQ(imageFixture("dxt1_mipmaps.dds").size(), 128u + 128u + 32u + 8u + 8u + 8u);
    EXPECT_EQ(VQ::DDSImage::levelZeroSize(Image::KIND_DXT5, 5, 1), 32u);
}

TEST(DDSImageTest, OtherPixelFormatsGetTheirOwnKinds)
{
    Bytes other = imageFixture("dxt1.dds");
    memcpy(other.data() + 4 + 80, "ABCD", 4);
    Bytes palette = imageFixture("dxt1.dds");
    putLe32(palette, 4 + 76, 0x20);
    for (const auto& [bytes, kind] : {std::pair{other, Image::KIND_DDS_OTHER}, {palette, Image::KIND_PALETTE}}) {
        VQ::DDSImage image;
        ASSERT_TRUE(image.decode(bytes.data(), bytes.size()).isOk());
        EXPECT_EQ(image.getKind(), kind);
    }
}

TEST(DDSImageTest, ShortFilesFail)
{
    const Bytes dxt5 = imageFixture("dxt5.dds");
    Bytes zeroWidth = dxt5;
    putLe32(zeroWidth, 4 + 12, 0);
    Bytes hugeHeight = dxt5;
    putLe32(hugeHeight, 4 + 8, 0xFFFFFFFFu);
    const struct {
        const char* what;
        Bytes bytes;
    } cases[] = {{"magic only", Bytes(dxt5.begin(), dxt5.begin() + 4)},
                 {"header cut short", Bytes(dxt5.begin(), dxt5.begin() + 100)},
                 {"no data", Bytes(dxt5.begin(), dxt5.begin() + 128)},
                 {"first level cut short", Bytes(dxt5.begin(), dxt5.end() - 1)},
                 {"zero width", zeroWidth},
                 {"huge height", hugeHeight}};
    for (const auto& c : cases) {
        VQ::DDSImage image;
        const DecodeStatus status = image.decode(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(status.code, DecodeStatus::FAILED) << c.what;
        EXPECT_FALSE(image.isLoaded()) << c.what;
        EXPECT_EQ(image.getData(), nullptr) << c.what;
    }
}

// ---- VQT

TEST(VQTImageTest, RgbaTilesAreFourAcrossAndEightDown)
{
    // 8 x 8: two tiles; payload byte k of tile t is written at its place.
    Bytes file = vqtHeader(2, 8, 8, 256);
    for (int k = 0; k < 256; ++k)
        file.push_back(uint8_t(k));
    VQ::VQTImage image;
    ASSERT_TRUE(image.decode(file.data(), file.size()).isOk());
    EXPECT_EQ(image.getKind(), Image::KIND_RGBA);
    EXPECT_EQ(image.getExtra(), 8u);
    ASSERT_EQ(image.getDataSize(), 256u);
    for (int tile = 0; tile < 2; ++tile)
        for (int p = 0; p < 32; ++p) {
            const int x = tile * 4 + p % 4, y = p / 4;
            EXPECT_EQ(image.getData()[(y * 8 + x) * 4], uint8_t(tile * 128 + p * 4)) << x << "," << y;
        }
}

TEST(VQTImageTest, PaletteTilesAreSixteenAcrossAndEightDown)
{
    // 16 x 8: one tile; index byte k is the pixel at column k % 16, row k / 16.
    Bytes file = vqtHeader(3, 16, 8, 1024 + 128);
    for (int entry = 0; entry < 256; ++entry)
        file.insert(file.end(), {uint8_t(entry), uint8_t(255 - entry), 7, uint8_t(entry ^ 0x55)});
    for (int k = 0; k < 128; ++k)
        file.push_back(uint8_t(255 - k));
    VQ::VQTImage image;
    ASSERT_TRUE(image.decode(file.data(), file.size()).isOk());
    EXPECT_EQ(image.getKind(), Image::KIND_RGBA);
    ASSERT_EQ(image.getDataSize(), 16u * 8u * 4u);
    for (int k = 0; k < 128; ++k) {
        const uint8_t entry = uint8_t(255 - k);
        const uint8_t* pixel = image.getData() + ((k / 16) * 16 + k % 16) * 4;
        EXPECT_EQ(Bytes(pixel, pixel + 4), (Bytes{entry, uint8_t(255 - entry), 7, uint8_t(entry ^ 0x55)})) << k;
    }
}

TEST(VQTImageTest, ToolMadeFixturesOfBothFormatsShowThePattern)
{
    for (const char* name : {"rgba.vqt", "palette.vqt"}) {
        const Bytes file = imageFixture(name);
        VQ::VQTImage image;
        ASSERT_TRUE(image.decode(file.data(), file.size()).isOk()) << name;
        EXPECT_EQ(image.getWidth(), 16u);
        EXPECT_EQ(image.getHeight(), 16u);
        EXPECT_EQ(patternMismatches(image.getData(), 16, 16, PatternChannels::RGBA), 0) << name;
    }
}

TEST(VQTImageTest, HeadersThatDoNotFitTheirPayloadFail)
{
    auto withPayload = [](Bytes header, size_t payload) {
        header.resize(header.size() + payload, 0);
        return header;
    };
    Bytes badMagic = withPayload(vqtHeader(2, 4, 8, 128), 128);
    badMagic[3] = '!';
    struct {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"shorter than the header", withPayload(vqtHeader(2, 4, 8, 0), 0)},
        {"bad magic", badMagic},
        {"zero width", withPayload(vqtHeader(2, 0, 8, 0), 0)},
        {"width not whole tiles", withPayload(vqtHeader(2, 6, 8, 6 * 8 * 4), 6 * 8 * 4)},
        {"palette width not whole tiles", withPayload(vqtHeader(3, 8, 8, 1024 + 64), 1024 + 64)},
        {"height not whole tiles", withPayload(vqtHeader(2, 4, 12, 4 * 12 * 4), 4 * 12 * 4)},
        {"payload smaller than the image", withPayload(vqtHeader(2, 4, 8, 127), 127)},
        {"palette payload without its indices", withPayload(vqtHeader(3, 16, 8, 1024), 1024)},
        {"payload past the end of the file", withPayload(vqtHeader(2, 4, 8, 128), 100)},
        {"size whose byte count overflows", withPayload(vqtHeader(2, 0x40000000, 8, 128), 128)},
        {"too large", withPayload(vqtHeader(2, 16384, 16384, 0xFFFFFFFFu), 128)},
    };
    cases[0].bytes.pop_back();
    for (const auto& c : cases) {
        VQ::VQTImage image;
        const DecodeStatus status = image.decode(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(status.code, DecodeStatus::FAILED) << c.what;
        EXPECT_EQ(image.getData(), nullptr) << c.what;
        EXPECT_EQ(image.getWidth(), 0u) << c.what;
    }

    Bytes unknownFormat = withPayload(vqtHeader(7, 4, 8, 128), 128);
    VQ::VQTImage image;
    const DecodeStatus status = image.decode(unknownFormat.data(), unknownFormat.size());
    EXPECT_EQ(status.code, DecodeStatus::FATAL);
    EXPECT_EQ(status.line, 151);
}

TEST(VqtToolTest, ConvertsPngsInBothFormatsAndRefusesWhatDoesNotFit)
{
    TempDir dir;
    const std::string png = imageFixtureFolder() + "/rgba.png";
    for (const bool palette : {false, true}) {
        const std::string out = dir.file(palette ? "p.vqt" : "c.vqt");
        std::vector<std::string> args = {png, out};
        if (palette)
            args.insert(args.begin(), "--palette");
        const ProcessResult result = runProcess(toolPath("image_tools/vqt_tool"), args, dir.path(), {});
        ASSERT_TRUE(result.exited && result.exitCode == 0) << result.output;
        const std::string bytes = readFile(out);
        VQ::VQTImage image;
        ASSERT_TRUE(image.decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()).isOk());
        EXPECT_EQ(VQ::readLe32(reinterpret_cast<const uint8_t*>(bytes.data()) + 4), palette ? 3u : 2u);
        EXPECT_EQ(patternMismatches(image.getData(), 16, 16, PatternChannels::RGBA), 0);
    }

    // 20 x 8: whole 4-pixel tiles, but not whole 16-pixel palette tiles.
    ImageWriters::PngDescription d;
    d.width = 20;
    d.height = 8;
    d.colourType = PNG_COLOR_TYPE_GRAY;
    for (int i = 0; i < 20 * 8; ++i)
        d.rows.push_back(uint8_t(i));
    Bytes narrow;
    std::string error;
    ASSERT_TRUE(ImageWriters::writePng(d, narrow, error));
    writeFile(dir.file("narrow.png"), std::string(narrow.begin(), narrow.end()));
    // 32 x 16 with 512 distinct colours: too many for a palette.
    d.width = 32;
    d.height = 16;
    d.colourType = PNG_COLOR_TYPE_RGB;
    d.rows.clear();
    for (int i = 0; i < 32 * 16; ++i)
        d.rows.insert(d.rows.end(), {uint8_t(i), uint8_t(i >> 8), 0});
    Bytes colourful;
    ASSERT_TRUE(ImageWriters::writePng(d, colourful, error));
    writeFile(dir.file("colourful.png"), std::string(colourful.begin(), colourful.end()));

    const struct {
        std::vector<std::string> args;
        const char* message;
    } refusals[] = {{{"--palette", dir.file("narrow.png"), dir.file("x.vqt")}, "multiple of 16"},
                    {{"--palette", dir.file("colourful.png"), dir.file("x.vqt")}, "more than 256 colours"},
                    {{dir.file("missing.png"), dir.file("x.vqt")}, "cannot read"},
                    {{dir.file("narrow.png")}, "usage"}};
    for (const auto& r : refusals) {
        const ProcessResult result = runProcess(toolPath("image_tools/vqt_tool"), r.args, dir.path(), {});
        EXPECT_TRUE(result.exited && result.exitCode != 0) << r.message;
        EXPECT_NE(result.output.find(r.message), std::string::npos) << result.output;
    }
    const ProcessResult ok =
        runProcess(toolPath("image_tools/vqt_tool"), {dir.file("narrow.png"), dir.file("n.vqt")}, dir.path(), {});
    EXPECT_TRUE(ok.exited && ok.exitCode == 0) << ok.output;
}
