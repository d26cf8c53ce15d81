#pragma once
// PNG files through libpng. Every colour type becomes 4 bytes per pixel:
// R, G, B, 0xFF (kind 1) for images without transparency, R, G, B, A
// (kind 2) for images with an alpha channel or a transparency chunk.

#include "image.h"

namespace VQ {

class PngImage : public Image {
public:
    static constexpr size_t SIGNATURE_SIZE = 8;

    // True when the file starts with the PNG signature; a missing file is fatal.
    static bool check(const std::string& name, const std::string& package);
    // As check, but a missing file is simply false (for optional images).
    static bool probe(const std::string& name, const std::string& package);
    static bool matches(const uint8_t* bytes, size_t size);

    int load(const std::string& name, const std::string& package) override;
    uint32_t getExtra() override { return pitch; }

    DecodeStatus decode(const uint8_t* bytes, size_t size);

    // Enlarges 32-bit RGBA data to power-of-two sides; the new area is
    // transparent black. 0 when done, 1 when not applicable.
    int padToPowerOfTwo();

    uint32_t getPitch() const { return pitch; }
    uint32_t getDecodedWidth() const { return decodedWidth; }
    uint32_t getDecodedHeight() const { return decodedHeight; }

private:
    uint32_t pitch = 0;
    uint32_t decodedWidth = 0;
    uint32_t decodedHeight = 0;
};

}  // namespace VQ
