#include "jpeg_image.h"

#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <jpeglib.h>

#include <csetjmp>
#include <cstring>

#include "log_system.h"

namespace VQ {

namespace {

// libjpeg's standard error manager ends the process; this one jumps back to
// the decoder with the message, which then fails the image.
struct ErrorManager {
    jpeg_error_mgr standard;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr info)
{
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    manager->standard.format_message(info, manager->message);
    longjmp(manager->jump, 1);
}

// Warnings (such as a file cut short, which libjpeg pads) are not printed.
void outputMessage(j_common_ptr) {}

// A progressive file can carry any number of scans, each a full pass over
// the image; no real image needs more than a few dozen.
constexpr int MAX_SCANS = 500;

void limitScans(j_common_ptr info)
{
    if (info->is_decompressor) {
        auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
        if (decompress->input_scan_number > MAX_SCANS) {
            auto* manager = reinterpret_cast<ErrorManager*>(info->err);
            snprintf(manager->message, sizeof(manager->message), "more than %d scans", MAX_SCANS);
            longjmp(manager->jump, 1);
        }
    }
}

struct Decompressor {
    jpeg_decompress_struct info;
    ErrorManager errors;
    jpeg_progress_mgr progress;
    bool created = false;
    ~Decompressor()
    {
        if (created)
            jpeg_destroy_decompress(&info);
    }
};

// All libjpeg work. False when libjpeg reported an error (its message is in
// the error manager); the results live in the caller's frame so that they
// stay defined across the jump.
bool runDecompressor(Decompressor& d, const uint8_t* bytes, size_t size, JpegImage::Decoded& out, bool& tooLarge)
{
    if (setjmp(d.errors.jump))
        return false;
    jpeg_create_decompress(&d.info);
    d.created = true;
    d.progress.progress_monitor = limitScans;
    d.info.progress = &d.progress;
    jpeg_mem_src(&d.info, bytes, static_cast<unsigned long>(size));
    jpeg_read_header(&d.info, TRUE);
    if (d.info.image_width > Image::MAX_SIDE || d.info.image_height > Image::MAX_SIDE) {
        tooLarge = true;
        return true;
    }
    jpeg_start_decompress(&d.info);

    out.width = d.info.output_width;
    out.height = d.info.output_height;
    out.components = d.info.output_components;
    const size_t rowBytes = size_t(out.width) * out.components;
    out.pixels.reset(new uint8_t[rowBytes * out.height]);
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW row = out.pixels.get() + d.info.output_scanline * rowBytes;
        jpeg_read_scanlines(&d.info, &row, 1);
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

}  // namespace

bool JpegImage::matches(const uint8_t* bytes, size_t size)
{
    return size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8;
}

bool JpegImage::alphaName(const std::string& name, std::string& result)
{
    static const std::string suffix = "_image";
    const size_t at = name.rfind(suffix);
    if (at == std::string::npos)
        return false;
    result = name;
    result.replace(at, suffix.size(), "_a");
    return true;
}

DecodeStatus JpegImage::decodeFile(const uint8_t* bytes, size_t size, Decoded& result)
{
    result = Decoded();
    Decompressor d;
    d.info.err = jpeg_std_error(&d.errors.standard);
    d.errors.standard.error_exit = errorExit;
    d.errors.standard.output_message = outputMessage;
    d.errors.message[0] = '\0';

    bool tooLarge = false;
    if (!runDecompressor(d, bytes, size, result, tooLarge)) {
        result = Decoded();
        return DecodeStatus::failed(std::string("libjpeg: ") + d.errors.message);
    }
    if (tooLarge)
        return DecodeStatus::failed(formatString("size %u x %u out of range", unsigned(d.info.image_width),
                                                 unsigned(d.info.image_height)));
    return DecodeStatus::ok();
}

DecodeStatus JpegImage::combine(const Decoded& colour, const Decoded& alpha)
{
    if (colour.components != 3)
        return DecodeStatus::failed(formatString("the colour image has %d components, not 3", colour.components));
    if (alpha.components != 1)
        return DecodeStatus::failed(formatString("the alpha image has %d components, not 1", alpha.components));
    if (alpha.width != colour.width || alpha.height != colour.height)
        return DecodeStatus::failed(formatString("the alpha image is %u x %u, the colour image %u x %u",
                                                 alpha.width, alpha.height, colour.width, colour.height));

    const size_t pixels = size_t(colour.width) * colour.height;
    std::unique_ptr<uint8_t[]> out(new uint8_t[pixels * 4]);
    const uint8_t* rgb = colour.pixels.get();
    const uint8_t* a = alpha.pixels.get();
    uint8_t* dst = out.get();
    for (size_t i = 0; i < pixels; ++i, rgb += 3, dst += 4) {
        dst[0] = rgb[0];
        dst[1] = rgb[1];
        dst[2] = rgb[2];
        dst[3] = a[i];
    }
    data = std::move(out);
    dataSize = uint32_t(pixels * 4);
    kind = KIND_RGBA;
    return DecodeStatus::ok();
}

DecodeStatus JpegImage::decode(const uint8_t* colourBytes, size_t colourSize, const uint8_t* alphaBytes,
                               size_t alphaSize)
{
    data.reset();
    kind = KIND_RGBA;
    width = height = dataSize = pitch = decodedWidth = decodedHeight = 0;

    Decoded colour;
    DecodeStatus status = decodeFile(colourBytes, colourSize, colour);
    if (!status.isOk())
        return status;
    width = decodedWidth = colour.width;
    height = decodedHeight = colour.height;
    pitch = width * height * 4;

    Decoded alpha;
    status = decodeFile(alphaBytes, alphaSize, alpha);
    if (status.isOk())
        status = combine(colour, alpha);
    if (!status.isOk())
        width = height = pitch = decodedWidth = decodedHeight = 0;
    return status;
}

bool JpegImage::probe(const std::string& name, const std::string& package)
{
    return probeImageFile(name, package, "jpeg_image", 95, 2, matches);
}

int JpegImage::load(const std::string& name, const std::string& package)
{
    data.reset();
    width = height = dataSize = pitch = decodedWidth = decodedHeight = 0;

    std::vector<char> colour;
    if (!readImageFile(name, package, "jpeg_image", 95, colour))
        return reportDecodeStatus(DecodeStatus::failed("the file could not be read"), "JPEG", name, "jpeg_image");
    std::string alphaResource;
    if (!alphaName(name, alphaResource))
        return reportDecodeStatus(DecodeStatus::failed("the name has no \"_image\" to find its alpha image by"),
                                  "JPEG", name, "jpeg_image");
    std::vector<char> alpha;
    if (!readImageFile(alphaResource, package, "jpeg_image", 95, alpha))
        return reportDecodeStatus(DecodeStatus::failed("its alpha image could not be read"), "JPEG", name,
                                  "jpeg_image");
    return reportDecodeStatus(decode(asBytes(colour), colour.size(), asBytes(alpha), alpha.size()), "JPEG", name,
                              "jpeg_image");
}

}  // namespace VQ
