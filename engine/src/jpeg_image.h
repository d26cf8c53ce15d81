#pragma once
// JPEG files through libjpeg. A colour image "X_image" always comes with a
// one-component image "X_a" of the same size in the same package that holds
// its alpha; together they become R, G, B, A (kind 2).

#include "image.h"

namespace VQ {

class JpegImage : public Image {
public:
    // True when the file starts with 0xFF 0xD8; a missing file is fatal.
    static bool probe(const std::string& name, const std::string& package);
    static bool matches(const uint8_t* bytes, size_t size);

    // The alpha image's name: the last "_image" replaced by "_a". False
    // when the name has no "_image".
    static bool alphaName(const std::string& name, std::string& result);

    int load(const std::string& name, const std::string& package) override;
    uint32_t getExtra() override { return pitch; }

    // One decoded JPEG file as libjpeg gives it: rows of `components` bytes
    // per pixel.
    struct Decoded {
        std::unique_ptr<uint8_t[]> pixels;
        uint32_t width = 0;
        uint32_t height = 0;
        int components = 0;
    };
    static DecodeStatus decodeFile(const uint8_t* bytes, size_t size, Decoded& result);

    // Decodes the colour image and its alpha image and combines them.
    DecodeStatus decode(const uint8_t* colour, size_t colourSize, const uint8_t* alpha, size_t alphaSize);

private:
    DecodeStatus decodeColour(const uint8_t* bytes, size_t size);
    DecodeStatus decodeAlpha(const uint8_t* bytes, size_t size);

    uint32_t pitch = 0;
    uint32_t decodedWidth = 0;
    uint32_t decodedHeight = 0;
};

}  // namespace VQ
