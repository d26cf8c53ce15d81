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

void prepareErrors(Decompressor& d)
{
    d.info.err = jpeg_std_error(&d.errors.standard);
    d.errors.standard.error_exit = errorExit;
    d.errors.standard.output_message = outputMessage;
    d.errors.message[0] = '\0';
}

// All libjpeg work for one file. `start` sees the header with the output
// size worked out and may choose the output colour space; it returns false
// to stop there. `row` gives where scanline y goes, `rowDone` is told once
// it is there. False when libjpeg reported an error (its message is in the
// error manager). Whatever the callers keep lives outside this frame, so
// that it stays defined across the jump.
template <typename Start, typename Row, typename RowDone>
bool runDecompressor(Decompressor& d, const uint8_t* bytes, size_t size, bool& tooLarge, Start start, Row row,
                     RowDone rowDone)
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
    jpeg_calc_output_dimensions(&d.info);
    if (!start(d.info))
        return true;
    jpeg_start_decompress(&d.info);
    while (d.info.output_scanline < d.info.output_height) {
        const JDIMENSION y = d.info.output_scanline;
        JSAMPROW target = row(y);
        jpeg_read_scanlines(&d.info, &target, 1);
        rowDone(y, target);
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

// What a run of the decompressor comes to: libjpeg's error, a size out of
// range, or else `otherwise`.
DecodeStatus outcome(const Decompressor& d, bool ran, bool tooLarge, DecodeStatus otherwise)
{
    if (!ran)
        return DecodeStatus::failed(std::string("libjpeg: ") + d.errors.message);
    if (tooLarge)
        return DecodeStatus::failed(
            formatString("size %u x %u out of range", unsigned(d.info.image_width), unsigned(d.info.image_height)));
    return otherwise;
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
    prepareErrors(d);
    bool tooLarge = false;
    size_t rowBytes = 0;
    const bool ran = runDecompressor(
        d, bytes, size, tooLarge,
        [&](const jpeg_decompress_struct& info) {
            result.width = info.output_width;
            result.height = info.output_height;
            result.components = info.output_components;
            rowBytes = size_t(result.width) * result.components;
            result.pixels.reset(new uint8_t[rowBytes * result.height]);
            return true;
        },
        [&](JDIMENSION y) { return result.pixels.get() + y * rowBytes; }, [](JDIMENSION, JSAMPROW) {});
    const DecodeStatus status = outcome(d, ran, tooLarge, DecodeStatus::ok());
    if (!status.isOk())
        result = Decoded();
    return status;
}

// The colour image is decoded straight into the R, G, B bytes of the result
// (libjpeg-turbo writes a fourth byte after them), then the alpha image's
// rows into its fourth bytes: no full-size buffer besides the result.
DecodeStatus JpegImage::decodeColour(const uint8_t* bytes, size_t size)
{
    Decompressor d;
    prepareErrors(d);
    bool tooLarge = false;
    int components = 3;
    const bool ran = runDecompressor(
        d, bytes, size, tooLarge,
        [&](jpeg_decompress_struct& info) {
            if (info.out_color_space != JCS_RGB) {
                components = info.output_components;
                return false;
            }
            info.out_color_space = JCS_EXT_RGBX;
            width = info.output_width;
            height = info.output_height;
            data.reset(new uint8_t[size_t(width) * height * 4]);
            return true;
        },
        [&](JDIMENSION y) { return data.get() + size_t(y) * width * 4; }, [](JDIMENSION, JSAMPROW) {});
    return outcome(d, ran, tooLarge,
                   components == 3 ? DecodeStatus::ok()
                                   : DecodeStatus::failed(
                                         formatString("the colour image has %d components, not 3", components)));
}

DecodeStatus JpegImage::decodeAlpha(const uint8_t* bytes, size_t size)
{
    Decompressor d;
    prepareErrors(d);
    bool tooLarge = false;
    DecodeStatus mismatch = DecodeStatus::ok();
    std::unique_ptr<uint8_t[]> row;
    const bool ran = runDecompressor(
        d, bytes, size, tooLarge,
        [&](const jpeg_decompress_struct& info) {
            if (info.output_components != 1) {
                mismatch = DecodeStatus::failed(
                    formatString("the alpha image has %d components, not 1", info.output_components));
                return false;
            }
            if (info.output_width != width || info.output_height != height) {
                mismatch = DecodeStatus::failed(formatString("the alpha image is %u x %u, the colour image %u x %u",
                                                             unsigned(info.output_width),
                                                             unsigned(info.output_height), width, height));
                return false;
            }
            row.reset(new uint8_t[width]);
            return true;
        },
        [&](JDIMENSION) { return row.get(); },
        [&](JDIMENSION y, JSAMPROW alpha) {
            // From locals: a store might change a member as far as the
            // compiler knows, and reading the width again after each one
            // made this loop a tenth of the decode.
            const uint32_t count = width;
            const uint8_t* from = alpha;
            uint8_t* dst = data.get() + size_t(y) * count * 4 + 3;
            for (uint32_t x = 0; x < count; ++x)
                dst[size_t(x) * 4] = from[x];
        });
    return outcome(d, ran, tooLarge, mismatch);
}

DecodeStatus JpegImage::decode(const uint8_t* colourBytes, size_t colourSize, const uint8_t* alphaBytes,
                               size_t alphaSize)
{
    data.reset();
    kind = KIND_RGBA;
    width = height = dataSize = pitch = decodedWidth = decodedHeight = 0;

    DecodeStatus status = decodeColour(colourBytes, colourSize);
    if (status.isOk())
        status = decodeAlpha(alphaBytes, alphaSize);
    if (!status.isOk()) {
        data.reset();
        width = height = 0;
        return status;
    }
    decodedWidth = width;
    decodedHeight = height;
    pitch = dataSize = width * height * 4;
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
