#include "png_image.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

namespace VQ {

namespace {

struct MemorySource {
    const uint8_t* bytes;
    size_t size;
    size_t position;
};

void readFromMemory(png_structp png, png_bytep out, size_t count)
{
    auto* source = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (count > source->size - source->position)
        png_error(png, "unexpected end of file");
    memcpy(out, source->bytes + source->position, count);
    source->position += count;
}

// libpng's errors come back through png_jmpbuf; its messages and warnings
// are not printed: the caller reports the failure its own way.
void silentError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void silentWarning(png_structp, png_const_charp) {}

// Owns libpng's read structures so that every way out destroys them.
struct ReadStructs {
    png_structp png = nullptr;
    png_infop info = nullptr;
    png_infop endInfo = nullptr;
    ~ReadStructs() { png_destroy_read_struct(&png, info ? &info : nullptr, endInfo ? &endInfo : nullptr); }
};

// What the libpng calls produce. It lives in the caller's frame, so that
// its state stays defined when an error jumps back out of libpng.
struct DecodedRows {
    std::unique_ptr<uint8_t[]> pixels;
    std::vector<png_bytep> rows;
    uint32_t width = 0;
    uint32_t height = 0;
    bool transparent = false;
    bool rowLayoutOk = false;
};

// All libpng work after the structures exist. False when libpng reported an
// error; nothing here keeps state of its own across the jump.
bool readRows(ReadStructs& structs, MemorySource& source, DecodedRows& out)
{
    if (setjmp(png_jmpbuf(structs.png)))
        return false;

    png_set_read_fn(structs.png, &source, readFromMemory);
    png_set_sig_bytes(structs.png, int(PngImage::SIGNATURE_SIZE));
    png_set_user_limits(structs.png, Image::MAX_SIDE, Image::MAX_SIDE);
    png_read_info(structs.png, structs.info);

    out.width = png_get_image_width(structs.png, structs.info);
    out.height = png_get_image_height(structs.png, structs.info);
    const int colourType = png_get_color_type(structs.png, structs.info);
    out.transparent =
        (colourType & PNG_COLOR_MASK_ALPHA) || png_get_valid(structs.png, structs.info, PNG_INFO_tRNS);

    // Every colour type ends as 8-bit RGB or RGBA: palettes are looked up
    // (with their transparency), grey is widened, 16-bit is stripped.
    png_set_expand(structs.png);
    png_set_strip_16(structs.png);
    png_set_gray_to_rgb(structs.png);
    if (!out.transparent)
        png_set_filler(structs.png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(structs.png);
    png_read_update_info(structs.png, structs.info);

    const size_t rowBytes = png_get_rowbytes(structs.png, structs.info);
    out.rowLayoutOk = png_get_channels(structs.png, structs.info) == 4 &&
                      png_get_bit_depth(structs.png, structs.info) == 8 && rowBytes == size_t(out.width) * 4;
    if (!out.rowLayoutOk)
        return true;

    out.pixels.reset(new uint8_t[rowBytes * out.height]);
    out.rows.resize(out.height);
    for (uint32_t y = 0; y < out.height; ++y)
        out.rows[y] = out.pixels.get() + y * rowBytes;
    png_read_image(structs.png, out.rows.data());
    return true;
}

uint32_t nextPowerOfTwo(uint32_t value)
{
    uint32_t result = 1;
    while (result < value)
        result <<= 1;
    return result;
}

}  // namespace

bool PngImage::matches(const uint8_t* bytes, size_t size)
{
    return size >= SIGNATURE_SIZE && png_sig_cmp(bytes, 0, SIGNATURE_SIZE) == 0;
}

DecodeStatus PngImage::decode(const uint8_t* bytes, size_t size)
{
    data.reset();
    kind = KIND_RGBA;
    width = height = dataSize = pitch = decodedWidth = decodedHeight = 0;

    if (!matches(bytes, size))
        return DecodeStatus::fatal(132, "not a PNG file");

    ReadStructs structs;
    structs.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, silentError, silentWarning);
    if (!structs.png)
        return DecodeStatus::fatal(135);
    structs.info = png_create_info_struct(structs.png);
    if (!structs.info)
        return DecodeStatus::fatal(138);
    structs.endInfo = png_create_info_struct(structs.png);
    if (!structs.endInfo)
        return DecodeStatus::fatal(141);

    MemorySource source{bytes, size, SIGNATURE_SIZE};
    DecodedRows decoded;
    if (!readRows(structs, source, decoded))
        return DecodeStatus::fatal(143, "libpng could not decode the file");
    if (!decoded.rowLayoutOk)
        return DecodeStatus::fatal(143, "unexpected row layout after the colour transforms");

    const uint32_t rowBytes = decoded.width * 4;
    data = std::move(decoded.pixels);
    kind = decoded.transparent ? KIND_RGBA : KIND_RGB;
    width = decodedWidth = decoded.width;
    height = decodedHeight = decoded.height;
    pitch = rowBytes;
    dataSize = rowBytes * decoded.height;
    return DecodeStatus::ok();
}

int PngImage::padToPowerOfTwo()
{
    if (kind != KIND_RGBA || !data)
        return 1;
    const uint32_t paddedWidth = nextPowerOfTwo(width);
    const uint32_t paddedHeight = nextPowerOfTwo(height);
    const size_t paddedSize = size_t(paddedWidth) * paddedHeight * 4;
    std::unique_ptr<uint8_t[]> padded(new uint8_t[paddedSize]());
    for (uint32_t y = 0; y < height; ++y)
        memcpy(padded.get() + size_t(y) * paddedWidth * 4, data.get() + size_t(y) * pitch, size_t(width) * 4);
    data = std::move(padded);
    width = paddedWidth;
    height = paddedHeight;
    pitch = paddedWidth * 4;
    dataSize = uint32_t(paddedSize);
    return 0;
}

bool PngImage::check(const std::string& name, const std::string& package)
{
    return probeImageFile(name, package, "png_image", 57, SIGNATURE_SIZE, matches);
}

bool PngImage::probe(const std::string& name, const std::string& package)
{
    return probeImageFile(name, package, "png_image", 57, SIGNATURE_SIZE, matches, false);
}

int PngImage::load(const std::string& name, const std::string& package)
{
    std::vector<char> file;
    const DecodeStatus status = readImageFile(name, package, "png_image", 48, file)
                                    ? decode(asBytes(file), file.size())
                                    : DecodeStatus::fatal(143, "the file could not be read");
    return reportDecodeStatus(status, "PNG", name, "png_image");
}

}  // namespace VQ
