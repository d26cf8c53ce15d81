#include "image_writers.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>

#include <jpeglib.h>

namespace ImageWriters {

namespace {

void appendLe32(Bytes& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

// ---- PNG

void pngWriteToMemory(png_structp png, png_bytep bytes, size_t count)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), bytes, bytes + count);
}

void pngFlush(png_structp) {}

int pngChannels(int colourType)
{
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_PALETTE:
        return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB:
        return 3;
    default:
        return 4;
    }
}

bool pngEncode(png_structp png, png_infop info, const PngDescription& d, std::vector<png_bytep>& rows, Bytes& out)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, &out, pngWriteToMemory, pngFlush);
    png_set_IHDR(png, info, d.width, d.height, d.bitDepth, d.colourType,
                 d.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    if (d.colourType == PNG_COLOR_TYPE_PALETTE) {
        for (size_t i = 0; i + 2 < d.palette.size(); i += 3)
            palette.push_back(png_color{d.palette[i], d.palette[i + 1], d.palette[i + 2]});
        png_set_PLTE(png, info, palette.data(), int(palette.size()));
    }
    if (!d.transparency.empty()) {
        if (d.colourType == PNG_COLOR_TYPE_PALETTE) {
            png_set_tRNS(png, info, d.transparency.data(), int(d.transparency.size()), nullptr);
        } else {
            png_color_16 key{};
            auto sample = [&](size_t i) { return png_uint_16(d.transparency[i] << 8 | d.transparency[i + 1]); };
            if (d.colourType == PNG_COLOR_TYPE_GRAY) {
                key.gray = sample(0);
            } else {
                key.red = sample(0);
                key.green = sample(2);
                key.blue = sample(4);
            }
            png_set_tRNS(png, info, nullptr, 0, &key);
        }
    }
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    return true;
}

// ---- DXT blocks

struct Rgb {
    int r, g, b;
};

uint16_t to565(const uint8_t* p)
{
    return uint16_t((p[0] >> 3) << 11 | (p[1] >> 2) << 5 | (p[2] >> 3));
}

Rgb from565(uint16_t c)
{
    const int r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
    return Rgb{r << 3 | r >> 2, g << 2 | g >> 4, b << 3 | b >> 2};
}

int distance(const Rgb& a, const uint8_t* p)
{
    const int dr = a.r - p[0], dg = a.g - p[1], db = a.b - p[2];
    return dr * dr + dg * dg + db * db;
}

// The 16 pixels of one block, clamped at the image's edges.
void gatherBlock(const Bytes& rgba, uint32_t width, uint32_t height, uint32_t bx, uint32_t by, uint8_t block[64])
{
    for (uint32_t y = 0; y < 4; ++y)
        for (uint32_t x = 0; x < 4; ++x) {
            const uint32_t sx = std::min(bx * 4 + x, width - 1);
            const uint32_t sy = std::min(by * 4 + y, height - 1);
            memcpy(block + (y * 4 + x) * 4, rgba.data() + (size_t(sy) * width + sx) * 4, 4);
        }
}

// Endpoints are the darkest and brightest pixels; every pixel takes the
// nearest of the four colours between them.
void encodeColourBlock(const uint8_t block[64], Bytes& out)
{
    int low = 0, high = 0;
    auto luma = [&](int i) { return block[i * 4] * 2 + block[i * 4 + 1] * 4 + block[i * 4 + 2]; };
    for (int i = 1; i < 16; ++i) {
        if (luma(i) < luma(low))
            low = i;
        if (luma(i) > luma(high))
            high = i;
    }
    uint16_t c0 = to565(block + high * 4), c1 = to565(block + low * 4);
    if (c0 < c1)
        std::swap(c0, c1);
    uint32_t indices = 0;
    if (c0 != c1) {
        const Rgb p0 = from565(c0), p1 = from565(c1);
        const Rgb palette[4] = {p0, p1, {(2 * p0.r + p1.r) / 3, (2 * p0.g + p1.g) / 3, (2 * p0.b + p1.b) / 3},
                                {(p0.r + 2 * p1.r) / 3, (p0.g + 2 * p1.g) / 3, (p0.b + 2 * p1.b) / 3}};
        for (int i = 0; i < 16; ++i) {
            int best = 0;
            for (int k = 1; k < 4; ++k)
                if (distance(palette[k], block + i * 4) < distance(palette[best], block + i * 4))
                    best = k;
            indices |= uint32_t(best) << (2 * i);
        }
    }
    out.push_back(uint8_t(c0));
    out.push_back(uint8_t(c0 >> 8));
    out.push_back(uint8_t(c1));
    out.push_back(uint8_t(c1 >> 8));
    appendLe32(out, indices);
}

void encodeExplicitAlpha(const uint8_t block[64], Bytes& out)
{
    for (int i = 0; i < 16; i += 2)
        out.push_back(uint8_t((block[i * 4 + 3] >> 4) | (block[(i + 1) * 4 + 3] >> 4) << 4));
}

void encodeInterpolatedAlpha(const uint8_t block[64], Bytes& out)
{
    int a0 = 0, a1 = 255;
    for (int i = 0; i < 16; ++i) {
        a0 = std::max(a0, int(block[i * 4 + 3]));
        a1 = std::min(a1, int(block[i * 4 + 3]));
    }
    int values[8] = {a0, a1};
    for (int k = 1; k < 7; ++k)
        values[k + 1] = ((7 - k) * a0 + k * a1) / 7;
    uint64_t indices = 0;
    if (a0 != a1)
        for (int i = 0; i < 16; ++i) {
            int best = 0;
            for (int k = 1; k < 8; ++k)
                if (std::abs(values[k] - block[i * 4 + 3]) < std::abs(values[best] - block[i * 4 + 3]))
                    best = k;
            indices |= uint64_t(best) << (3 * i);
        }
    out.push_back(uint8_t(a0));
    out.push_back(uint8_t(a1));
    for (int i = 0; i < 6; ++i)
        out.push_back(uint8_t(indices >> (8 * i)));
}

void encodeLevel(Dxt format, uint32_t width, uint32_t height, const Bytes& rgba, Bytes& out)
{
    uint8_t block[64];
    for (uint32_t by = 0; by < (height + 3) / 4; ++by)
        for (uint32_t bx = 0; bx < (width + 3) / 4; ++bx) {
            gatherBlock(rgba, width, height, bx, by, block);
            if (format == Dxt::DXT3)
                encodeExplicitAlpha(block, out);
            else if (format == Dxt::DXT5)
                encodeInterpolatedAlpha(block, out);
            encodeColourBlock(block, out);
        }
}

Bytes halve(const Bytes& rgba, uint32_t width, uint32_t height, uint32_t& newWidth, uint32_t& newHeight)
{
    newWidth = std::max(1u, width / 2);
    newHeight = std::max(1u, height / 2);
    Bytes out(size_t(newWidth) * newHeight * 4);
    for (uint32_t y = 0; y < newHeight; ++y)
        for (uint32_t x = 0; x < newWidth; ++x)
            for (int c = 0; c < 4; ++c) {
                int sum = 0;
                for (uint32_t dy = 0; dy < 2; ++dy)
                    for (uint32_t dx = 0; dx < 2; ++dx) {
                        const uint32_t sx = std::min(x * 2 + dx, width - 1);
                        const uint32_t sy = std::min(y * 2 + dy, height - 1);
                        sum += rgba[(size_t(sy) * width + sx) * 4 + c];
                    }
                out[(size_t(y) * newWidth + x) * 4 + c] = uint8_t(sum / 4);
            }
    return out;
}

}  // namespace

bool writePng(const PngDescription& d, Bytes& out, std::string& error)
{
    out.clear();
    const size_t rowBytes = (size_t(d.width) * pngChannels(d.colourType) * d.bitDepth + 7) / 8;
    if (d.width == 0 || d.height == 0 || d.rows.size() != rowBytes * d.height) {
        error = "the rows do not match the size and layout";
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<png_bytep> rows(d.height);
    for (uint32_t y = 0; y < d.height; ++y)
        rows[y] = const_cast<png_bytep>(d.rows.data() + y * rowBytes);
    const bool ok = info && pngEncode(png, info, d, rows, out);
    png_destroy_write_struct(&png, &info);
    if (!ok)
        error = "libpng could not encode the image";
    return ok;
}

bool writeJpeg(uint32_t width, uint32_t height, int components, const Bytes& pixels, int quality, Bytes& out,
               std::string& error, bool subsampleChroma)
{
    out.clear();
    if ((components != 1 && components != 3) || width == 0 || height == 0 ||
        pixels.size() != size_t(width) * height * components) {
        error = "the pixels do not match the size and components";
        return false;
    }
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    for (int c = 0; c < info.num_components; ++c)
        info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = subsampleChroma && c == 0 ? 2 : 1;
    jpeg_start_compress(&info, TRUE);
    const size_t rowBytes = size_t(width) * components;
    while (info.next_scanline < height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels.data() + info.next_scanline * rowBytes);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    out.assign(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    free(buffer);
    return true;
}

bool writeDds(Dxt format, uint32_t width, uint32_t height, const Bytes& rgba, bool withMipmaps, Bytes& out,
              std::string& error)
{
    out.clear();
    if (width == 0 || height == 0 || rgba.size() != size_t(width) * height * 4) {
        error = "the pixels do not match the size";
        return false;
    }
    uint32_t levels = 1;
    if (withMipmaps)
        for (uint32_t w = width, h = height; w > 1 || h > 1; w = std::max(1u, w / 2), h = std::max(1u, h / 2))
            ++levels;
    const uint32_t blockBytes = format == Dxt::DXT1 ? 8 : 16;
    const char* fourCC = format == Dxt::DXT1 ? "DXT1" : format == Dxt::DXT3 ? "DXT3" : "DXT5";

    out.insert(out.end(), {'D', 'D', 'S', ' '});
    appendLe32(out, 124);
    // caps, height, width, pixel format, linear size (+ mipmap count)
    appendLe32(out, 0x1 | 0x2 | 0x4 | 0x1000 | 0x80000 | (withMipmaps ? 0x20000 : 0));
    appendLe32(out, height);
    appendLe32(out, width);
    appendLe32(out, ((width + 3) / 4) * ((height + 3) / 4) * blockBytes);
    appendLe32(out, 0);  // depth
    appendLe32(out, withMipmaps ? levels : 0);
    for (int i = 0; i < 11; ++i)
        appendLe32(out, 0);
    appendLe32(out, 32);   // pixel format size
    appendLe32(out, 0x4);  // four-character code present
    out.insert(out.end(), fourCC, fourCC + 4);
    for (int i = 0; i < 5; ++i)
        appendLe32(out, 0);
    appendLe32(out, 0x1000 | (withMipmaps ? 0x8 | 0x400000 : 0));  // texture (complex, mipmapped)
    for (int i = 0; i < 4; ++i)
        appendLe32(out, 0);

    Bytes level = rgba;
    uint32_t w = width, h = height;
    for (uint32_t i = 0; i < levels; ++i) {
        encodeLevel(format, w, h, level, out);
        if (i + 1 < levels) {
            uint32_t nw, nh;
            level = halve(level, w, h, nw, nh);
            w = nw;
            h = nh;
        }
    }
    return true;
}

bool writeVqt(uint32_t format, uint32_t width, uint32_t height, const Bytes& rgba, Bytes& out, std::string& error)
{
    out.clear();
    if (format != 2 && format != 3) {
        error = "the format must be 2 (32-bit) or 3 (palette)";
        return false;
    }
    const uint32_t tileWidth = format == 2 ? 4 : 16;
    if (width == 0 || height == 0 || width % tileWidth != 0 || height % 8 != 0) {
        error = "the size must be whole tiles: a width that is a multiple of " + std::to_string(tileWidth) +
                " and a height that is a multiple of 8";
        return false;
    }
    if (rgba.size() != size_t(width) * height * 4) {
        error = "the pixels do not match the size";
        return false;
    }

    Bytes payload;
    std::map<uint32_t, uint8_t> indexOf;
    if (format == 3) {
        payload.resize(1024, 0);
        for (size_t i = 0; i < rgba.size(); i += 4) {
            uint32_t colour;
            memcpy(&colour, rgba.data() + i, 4);
            if (indexOf.count(colour))
                continue;
            if (indexOf.size() == 256) {
                error = "the image has more than 256 colours";
                return false;
            }
            const uint8_t index = uint8_t(indexOf.size());
            memcpy(payload.data() + size_t(index) * 4, &colour, 4);
            indexOf[colour] = index;
        }
    }
    const uint32_t tilesPerBand = width / tileWidth;
    const uint32_t tileCount = tilesPerBand * (height / 8);
    for (uint32_t tile = 0; tile < tileCount; ++tile) {
        const uint32_t x0 = (tile % tilesPerBand) * tileWidth;
        const uint32_t y0 = (tile / tilesPerBand) * 8;
        for (uint32_t y = y0; y < y0 + 8; ++y)
            for (uint32_t x = x0; x < x0 + tileWidth; ++x) {
                const uint8_t* pixel = rgba.data() + (size_t(y) * width + x) * 4;
                if (format == 2) {
                    payload.insert(payload.end(), pixel, pixel + 4);
                } else {
                    uint32_t colour;
                    memcpy(&colour, pixel, 4);
                    payload.push_back(indexOf[colour]);
                }
            }
    }

    out.insert(out.end(), {'V', 'Q', 'T', '.'});
    appendLe32(out, format);
    appendLe32(out, width);
    appendLe32(out, height);
    appendLe32(out, uint32_t(payload.size()));
    out.insert(out.end(), payload.begin(), payload.end());
    return true;
}

bool writeFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(file);
}

bool readFile(const std::string& path, Bytes& bytes)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

}  // namespace ImageWriters
