#include "dds_image.h"

#include <cstring>

#include "log_system.h"

namespace VQ {

namespace {

// Offsets inside the 124-byte header.
constexpr size_t HEIGHT_OFFSET = 8;
constexpr size_t WIDTH_OFFSET = 12;
constexpr size_t PIXEL_FLAGS_OFFSET = 76;
constexpr size_t FOURCC_OFFSET = 80;
constexpr uint32_t PALETTE_INDEXED_FLAG = 0x20;

}  // namespace

bool DDSImage::matches(const uint8_t* bytes, size_t size)
{
    return size >= 4 && memcmp(bytes, "DDS ", 4) == 0;
}

uint64_t DDSImage::levelZeroSize(int32_t kind, uint32_t w, uint32_t h)
{
    uint64_t blockBytes = 0;
    if (kind == KIND_DXT1)
        blockBytes = 8;
    else if (kind == KIND_DXT3 || kind == KIND_DXT5)
        blockBytes = 16;
    const uint64_t across = w == 0 ? 0 : (uint64_t(w) + 3) / 4;
    const uint64_t down = h == 0 ? 0 : (uint64_t(h) + 3) / 4;
    return across * down * blockBytes;
}

DecodeStatus DDSImage::decode(const uint8_t* bytes, size_t size)
{
    data.reset();
    loaded = false;
    kind = KIND_DDS_OTHER;
    width = height = dataSize = 0;
    memset(header, 0, sizeof(header));

    if (!matches(bytes, size))
        return DecodeStatus::failed("not a DDS file");
    if (size < FILE_HEADER_SIZE)
        return DecodeStatus::failed("file shorter than its header");
    memcpy(header, bytes + 4, HEADER_SIZE);

    int32_t fileKind = KIND_DDS_OTHER;
    if (readLe32(header + PIXEL_FLAGS_OFFSET) == PALETTE_INDEXED_FLAG)
        fileKind = KIND_PALETTE;
    else if (memcmp(header + FOURCC_OFFSET, "DXT1", 4) == 0)
        fileKind = KIND_DXT1;
    else if (memcmp(header + FOURCC_OFFSET, "DXT3", 4) == 0)
        fileKind = KIND_DXT3;
    else if (memcmp(header + FOURCC_OFFSET, "DXT5", 4) == 0)
        fileKind = KIND_DXT5;

    const uint32_t w = readLe32(header + WIDTH_OFFSET);
    const uint32_t h = readLe32(header + HEIGHT_OFFSET);
    const size_t rest = size - FILE_HEADER_SIZE;
    if (fileKind >= KIND_DXT1) {
        if (w == 0 || h == 0 || w > MAX_SIDE || h > MAX_SIDE)
            return DecodeStatus::failed(formatString("size %u x %u out of range", w, h));
        if (levelZeroSize(fileKind, w, h) > rest)
            return DecodeStatus::failed(formatString("%zu bytes of data, fewer than its first level needs", rest));
    }

    data.reset(new uint8_t[rest]);
    memcpy(data.get(), bytes + FILE_HEADER_SIZE, rest);
    kind = fileKind;
    width = w;
    height = h;
    dataSize = uint32_t(rest);
    loaded = true;
    return DecodeStatus::ok();
}

bool DDSImage::probe(const std::string& name, const std::string& package)
{
    return probeImageFile(name, package, "dds_image", 41, 4, matches);
}

int DDSImage::load(const std::string& name, const std::string& package)
{
    std::vector<char> file;
    if (!readImageFile(name, package, "dds_image", 41, file))
        return reportDecodeStatus(DecodeStatus::failed("the file could not be read"), "DDS", name, "dds_image");
    // A file that is not a DDS at all is left empty without a report, as
    // the probe has already chosen another decoder for such files.
    if (!matches(asBytes(file), file.size()))
        return 1;
    return reportDecodeStatus(decode(asBytes(file), file.size()), "DDS", name, "dds_image");
}

}  // namespace VQ
