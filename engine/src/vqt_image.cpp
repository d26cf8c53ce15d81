#include "vqt_image.h"

#include <cstring>

#include "log_system.h"

namespace VQ {

namespace {

constexpr uint32_t TILE_HEIGHT = 8;
constexpr uint32_t RGBA_TILE_WIDTH = 4;
constexpr uint32_t PALETTE_TILE_WIDTH = 16;

}  // namespace

bool VQTImage::matches(const uint8_t* bytes, size_t size)
{
    return size >= 4 && memcmp(bytes, "VQT.", 4) == 0;
}

DecodeStatus VQTImage::decode(const uint8_t* bytes, size_t size)
{
    data.reset();
    kind = KIND_RGBA;
    width = height = dataSize = 0;

    if (size < HEADER_SIZE || !matches(bytes, size))
        return DecodeStatus::failed("not a VQT file");
    const uint32_t format = readLe32(bytes + 4);
    const uint32_t w = readLe32(bytes + 8);
    const uint32_t h = readLe32(bytes + 12);
    const uint32_t payloadSize = readLe32(bytes + 16);
    if (format != FORMAT_RGBA && format != FORMAT_PALETTE)
        return DecodeStatus::fatal(151, "unknown VQT format " + uintToString(format));

    const uint32_t tileWidth = format == FORMAT_RGBA ? RGBA_TILE_WIDTH : PALETTE_TILE_WIDTH;
    if (w == 0 || h == 0 || w > MAX_SIDE || h > MAX_SIDE)
        return DecodeStatus::failed(formatString("size %u x %u out of range", w, h));
    // Pixels outside whole tiles would never be written: such a file was
    // not made for this decoder.
    if (w % tileWidth != 0 || h % TILE_HEIGHT != 0)
        return DecodeStatus::failed(formatString("size %u x %u is not made of whole %u x %u tiles", w, h,
                                                 tileWidth, TILE_HEIGHT));
    const uint64_t pixels = uint64_t(w) * h;
    const uint64_t needed = format == FORMAT_RGBA ? pixels * 4 : PALETTE_BYTES + pixels;
    if (payloadSize < needed)
        return DecodeStatus::failed(formatString("payload of %u bytes is smaller than the image", payloadSize));
    if (uint64_t(payloadSize) > size - HEADER_SIZE)
        return DecodeStatus::failed(formatString("payload of %u bytes runs past the end of the file", payloadSize));

    // The payload is untiled straight from the file's bytes: there is no
    // staging copy to allocate.
    const uint8_t* payload = bytes + HEADER_SIZE;
    const uint32_t outSize = uint32_t(pixels * 4);
    std::unique_ptr<uint8_t[]> out(new uint8_t[outSize]);
    const uint32_t rowBytes = w * 4;
    const uint32_t tilesPerBand = w / tileWidth;
    const uint32_t tileCount = uint32_t(pixels / (tileWidth * TILE_HEIGHT));

    if (format == FORMAT_RGBA) {
        const uint8_t* src = payload;
        for (uint32_t tile = 0; tile < tileCount; ++tile) {
            const uint32_t band = tile / tilesPerBand;
            const uint32_t column = tile % tilesPerBand;
            uint8_t* dst = out.get() + size_t(band) * TILE_HEIGHT * rowBytes + column * RGBA_TILE_WIDTH * 4;
            for (uint32_t row = 0; row < TILE_HEIGHT; ++row) {
                memcpy(dst, src, RGBA_TILE_WIDTH * 4);
                src += RGBA_TILE_WIDTH * 4;
                dst += rowBytes;
            }
        }
    } else {
        const uint8_t* palette = payload;
        const uint8_t* src = payload + PALETTE_BYTES;
        for (uint32_t tile = 0; tile < tileCount; ++tile) {
            const uint32_t band = tile / tilesPerBand;
            const uint32_t column = tile % tilesPerBand;
            uint8_t* rowStart = out.get() + size_t(band) * TILE_HEIGHT * rowBytes + column * PALETTE_TILE_WIDTH * 4;
            for (uint32_t row = 0; row < TILE_HEIGHT; ++row) {
                uint8_t* dst = rowStart + size_t(row) * rowBytes;
                for (uint32_t x = 0; x < PALETTE_TILE_WIDTH; ++x, dst += 4)
                    memcpy(dst, palette + size_t(*src++) * 4, 4);
            }
        }
    }

    data = std::move(out);
    width = w;
    height = h;
    dataSize = outSize;
    return DecodeStatus::ok();
}

bool VQTImage::probe(const std::string& name, const std::string& package)
{
    return probeImageFile(name, package, "vqt_image", 85, 4, matches);
}

int VQTImage::load(const std::string& name, const std::string& package)
{
    std::vector<char> file;
    DecodeStatus status = readImageFile(name, package, "vqt_image", 85, file)
                              ? decode(asBytes(file), file.size())
                              : DecodeStatus::failed("the file could not be read");
    const int result = reportDecodeStatus(status, "VQT", name, "vqt_image");
    if (result != 0)
        log(formatString("Failed to load VQT image %s", name.c_str()));
    return result;
}

}  // namespace VQ
