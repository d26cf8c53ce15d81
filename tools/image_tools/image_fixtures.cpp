// Writes the image fixture set into a folder: PNGs of every colour type the
// engine expands, a JPEG with its alpha image, DDS files of the three DXT
// kinds and VQT files of both formats, all showing the fixture pattern.
//
//   image_fixtures <folder> [size]     size: a multiple of 16, default 16

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "fixture_pattern.h"
#include "image_writers.h"

using namespace ImageWriters;

namespace {

struct Writer {
    std::string folder;
    bool ok = true;

    void write(const std::string& name, bool encoded, const Bytes& bytes, const std::string& error)
    {
        if (!encoded || !writeFile(folder + "/" + name, bytes)) {
            fprintf(stderr, "image_fixtures: %s: %s\n", name.c_str(), encoded ? "cannot write the file" : error.c_str());
            ok = false;
        }
    }
};

// The pattern's pixels with `channels` of R, G, B, A picked by `take`.
template <typename Take>
Bytes samples(uint32_t size, Take take)
{
    Bytes out;
    for (uint32_t y = 0; y < size; ++y)
        for (uint32_t x = 0; x < size; ++x)
            take(FixturePattern::pixel(x, y), FixturePattern::index(x, y), out);
    return out;
}

void writePngs(Writer& w, uint32_t size)
{
    using FixturePattern::Rgba;
    std::string error;
    Bytes out;
    auto png = [&](const std::string& name, int colourType, int bitDepth, Bytes rows, Bytes palette = {},
                   Bytes transparency = {}, bool interlaced = false) {
        PngDescription d;
        d.width = d.height = size;
        d.colourType = colourType;
        d.bitDepth = bitDepth;
        d.interlaced = interlaced;
        d.rows = std::move(rows);
        d.palette = std::move(palette);
        d.transparency = std::move(transparency);
        w.write(name, writePng(d, out, error), out, error);
    };

    const Bytes rgb = samples(size, [](Rgba p, uint8_t, Bytes& o) { o.insert(o.end(), {p.r, p.g, p.b}); });
    const Bytes rgba = samples(size, [](Rgba p, uint8_t, Bytes& o) { o.insert(o.end(), {p.r, p.g, p.b, p.a}); });
    png("rgb.png", PNG_COLOR_TYPE_RGB, 8, rgb);
    png("rgb_interlaced.png", PNG_COLOR_TYPE_RGB, 8, rgb, {}, {}, true);
    png("rgba.png", PNG_COLOR_TYPE_RGBA, 8, rgba);
    png("rgba16.png", PNG_COLOR_TYPE_RGBA, 16, samples(size, [](Rgba p, uint8_t, Bytes& o) {
            // Each 8-bit value v stored as v * 257: stripping to 8 bits gives v back.
            o.insert(o.end(), {p.r, p.r, p.g, p.g, p.b, p.b, p.a, p.a});
        }));
    png("grey.png", PNG_COLOR_TYPE_GRAY, 8, samples(size, [](Rgba p, uint8_t, Bytes& o) { o.push_back(p.r); }));
    png("grey_alpha.png", PNG_COLOR_TYPE_GRAY_ALPHA, 8,
        samples(size, [](Rgba p, uint8_t, Bytes& o) { o.insert(o.end(), {p.r, p.a}); }));

    Bytes palette, transparency;
    for (int i = 0; i < 256; ++i) {
        const Rgba c = FixturePattern::colour(uint8_t(i));
        palette.insert(palette.end(), {c.r, c.g, c.b});
        transparency.push_back(c.a);
    }
    const Bytes indices = samples(size, [](Rgba, uint8_t i, Bytes& o) { o.push_back(i); });
    png("palette.png", PNG_COLOR_TYPE_PALETTE, 8, indices, palette, transparency);
    png("palette_opaque.png", PNG_COLOR_TYPE_PALETTE, 8, indices, palette);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        fprintf(stderr, "usage: image_fixtures <folder> [size, a multiple of 16]\n");
        return 2;
    }
    const uint32_t size = argc == 3 ? uint32_t(strtoul(argv[2], nullptr, 10)) : 16;
    if (size == 0 || size % 16 != 0) {
        fprintf(stderr, "image_fixtures: the size must be a positive multiple of 16\n");
        return 2;
    }
    Writer w{argv[1]};
    writePngs(w, size);

    using FixturePattern::Rgba;
    const Bytes rgba = samples(size, [](Rgba p, uint8_t, Bytes& o) { o.insert(o.end(), {p.r, p.g, p.b, p.a}); });
    std::string error;
    Bytes out;

    const Bytes rgb = samples(size, [](Rgba p, uint8_t, Bytes& o) { o.insert(o.end(), {p.r, p.g, p.b}); });
    const Bytes alpha = samples(size, [](Rgba p, uint8_t, Bytes& o) { o.push_back(p.a); });
    w.write("photo_image.jpg", writeJpeg(size, size, 3, rgb, 100, out, error), out, error);
    w.write("photo_a.jpg", writeJpeg(size, size, 1, alpha, 100, out, error), out, error);

    w.write("dxt1.dds", writeDds(Dxt::DXT1, size, size, rgba, false, out, error), out, error);
    w.write("dxt3.dds", writeDds(Dxt::DXT3, size, size, rgba, false, out, error), out, error);
    w.write("dxt5.dds", writeDds(Dxt::DXT5, size, size, rgba, false, out, error), out, error);
    w.write("dxt1_mipmaps.dds", writeDds(Dxt::DXT1, size, size, rgba, true, out, error), out, error);

    w.write("rgba.vqt", writeVqt(2, size, size, rgba, out, error), out, error);
    w.write("palette.vqt", writeVqt(3, size, size, rgba, out, error), out, error);
    return w.ok ? 0 : 1;
}
