#pragma once
// Encoders for the image formats the engine reads, for the project's own
// content tools and test fixtures. Each returns the whole file in memory and
// false (with a reason) when it cannot encode what it was given.

#include <cstdint>
#include <string>
#include <vector>

namespace ImageWriters {

using Bytes = std::vector<uint8_t>;

// A PNG in its stored layout: rows of samples packed as the colour type and
// bit depth say (16-bit samples big-endian), an optional palette (RGB
// triples) and an optional transparency chunk.
struct PngDescription {
    uint32_t width = 0;
    uint32_t height = 0;
    int colourType = 0;  // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    bool interlaced = false;
    Bytes rows;          // height rows, each packed to whole bytes
    Bytes palette;       // palette images: 3 bytes per entry
    Bytes transparency;  // tRNS: alpha per palette entry, or a 16-bit grey / RGB key
};
bool writePng(const PngDescription& png, Bytes& out, std::string& error);

// Baseline JPEG of 1 (grey) or 3 (RGB) components, without chroma
// subsampling unless asked for (then 2 x 2, as most cameras write).
bool writeJpeg(uint32_t width, uint32_t height, int components, const Bytes& pixels, int quality, Bytes& out,
               std::string& error, bool subsampleChroma = false);

// DDS of DXT1, DXT3 or DXT5 blocks from RGBA pixels; `withMipmaps` adds the
// full chain of smaller levels down to 1 x 1.
enum class Dxt { DXT1, DXT3, DXT5 };
bool writeDds(Dxt format, uint32_t width, uint32_t height, const Bytes& rgba, bool withMipmaps, Bytes& out,
              std::string& error);

// VQT from RGBA pixels: format 2 (tiles of 4 x 8 pixels) or format 3 (a
// palette of the image's distinct colours, at most 256, and tiles of 16 x 8
// indices). The width must be whole tiles and the height a multiple of 8.
bool writeVqt(uint32_t format, uint32_t width, uint32_t height, const Bytes& rgba, Bytes& out, std::string& error);

bool writeFile(const std::string& path, const Bytes& bytes);
bool readFile(const std::string& path, Bytes& bytes);

}  // namespace ImageWriters
