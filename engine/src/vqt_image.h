#pragma once
// The engine's own texture format: a 20-byte header ("VQT.", format, width,
// height, payload size) and pixels stored in tiles, 32-bit (format 2, tiles
// of 4 x 8) or palette indices (format 3, a 256-entry RGBA palette and tiles
// of 16 x 8). Decoding only reorders bytes into rows of R, G, B, A.

#include "image.h"

namespace VQ {

class VQTImage : public Image {
public:
    static constexpr uint32_t HEADER_SIZE = 20;
    static constexpr uint32_t FORMAT_RGBA = 2;
    static constexpr uint32_t FORMAT_PALETTE = 3;
    static constexpr uint32_t PALETTE_BYTES = 1024;

    // True when the file's first four bytes are "VQT."; a missing file is fatal.
    static bool probe(const std::string& name, const std::string& package);
    static bool matches(const uint8_t* bytes, size_t size);

    int load(const std::string& name, const std::string& package) override;
    uint32_t getExtra() override { return width; }

    // Decodes a whole file held in memory. On failure the image is left
    // without data and with no size.
    DecodeStatus decode(const uint8_t* bytes, size_t size);
};

}  // namespace VQ
