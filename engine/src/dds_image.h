#pragma once
// DDS files, read raw: the 124-byte header after "DDS " gives the size and
// pixel format, and the rest of the file is kept as it stands. Only the
// DXT1/3/5 kinds are drawn (their first level, as compressed textures).

#include "image.h"

namespace VQ {

class DDSImage : public Image {
public:
    static constexpr uint32_t HEADER_SIZE = 124;
    static constexpr uint32_t FILE_HEADER_SIZE = 4 + HEADER_SIZE;

    // True when the file starts with "DDS "; a missing file is fatal.
    static bool probe(const std::string& name, const std::string& package);
    static bool matches(const uint8_t* bytes, size_t size);

    // Bytes of the first level of a DXT kind: 4 x 4 blocks of 8 (DXT1) or
    // 16 bytes (DXT3, DXT5); 0 for any other kind.
    static uint64_t levelZeroSize(int32_t kind, uint32_t width, uint32_t height);

    int load(const std::string& name, const std::string& package) override;
    uint32_t getExtra() override { return 0; }

    DecodeStatus decode(const uint8_t* bytes, size_t size);
    bool isLoaded() const { return loaded; }

private:
    uint8_t header[HEADER_SIZE] = {};
    bool loaded = false;
};

}  // namespace VQ
