// Bakes the sample content's bitmap fonts from DejaVu Sans (Debian's
// fonts-dejavu-core) through FreeType: each glyph is drawn white, its
// coverage in the alpha channel, into a cell as wide as its advance and as
// tall as the font's line, so that a font that advances by the cell width
// and stacks lines by the first cell's height sets text as the typeface
// would. Cells are packed on shelves with a transparent gutter so that
// filtering never pulls in a neighbour.
//
//     font_baker <media folder> [<font folder>]
//
// Writes images/font2.png (the system font and font2 on one sheet),
// images/small_font.png, images/main_font.png and images/main_font_2x.png,
// and fonts/<name>.lua with the glyph rows in ascending code order.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "image_writers.h"

namespace {

const char* const DEFAULT_FONT_FOLDER = "/usr/share/fonts/truetype/dejavu";
constexpr int GUTTER = 2;

// Latin-1 without the control codes.
std::vector<uint32_t> latin1()
{
    std::vector<uint32_t> codes;
    for (uint32_t c = 32; c <= 126; ++c)
        codes.push_back(c);
    for (uint32_t c = 160; c <= 255; ++c)
        codes.push_back(c);
    return codes;
}

// Latin-1 and the typographic marks interface texts use.
std::vector<uint32_t> interfaceSet()
{
    std::vector<uint32_t> codes = latin1();
    for (uint32_t c : {0x2013u, 0x2014u, 0x2018u, 0x2019u, 0x201Cu, 0x201Du, 0x2022u, 0x2026u, 0x20ACu, 0x2122u})
        codes.push_back(c);
    return codes;
}

struct Sheet {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> alpha;

    Sheet(uint32_t w, uint32_t h) : width(w), height(h), alpha(size_t(w) * h, 0) {}

    bool save(const std::string& path) const
    {
        ImageWriters::PngDescription png;
        png.width = width;
        png.height = height;
        png.colourType = PNG_COLOR_TYPE_RGBA;
        // White everywhere, the gutter included, so that filtering at a
        // glyph's edge blends towards transparent white, never black.
        png.rows.reserve(alpha.size() * 4);
        for (uint8_t a : alpha)
            png.rows.insert(png.rows.end(), {255, 255, 255, a});
        ImageWriters::Bytes out;
        std::string error;
        if (!ImageWriters::writePng(png, out, error) || !ImageWriters::writeFile(path, out)) {
            std::fprintf(stderr, "font_baker: cannot write %s: %s\n", path.c_str(), error.c_str());
            return false;
        }
        return true;
    }
};

struct Glyph {
    uint32_t code = 0;
    int x = 0, y = 0, w = 0, h = 0;
};

// Places cells left to right on shelves of the line height.
class ShelfPacker {
public:
    ShelfPacker(uint32_t width, int top) : mWidth(int(width)), mX(GUTTER), mY(top) {}

    void place(Glyph& glyph)
    {
        if (mX + glyph.w + GUTTER > mWidth) {
            mX = GUTTER;
            mY += mShelf + GUTTER;
            mShelf = 0;
        }
        glyph.x = mX;
        glyph.y = mY;
        mX += glyph.w + GUTTER;
        mShelf = std::max(mShelf, glyph.h);
    }
    // The first free row below everything placed.
    int bottom() const { return mY + mShelf + GUTTER; }

private:
    int mWidth;
    int mX;
    int mY;
    int mShelf = 0;
};

class Face {
public:
    Face(FT_Library library, const std::string& path, int pixelSize) : mPixelSize(pixelSize)
    {
        if (FT_New_Face(library, path.c_str(), 0, &mFace) != 0) {
            std::fprintf(stderr, "font_baker: cannot open %s\n", path.c_str());
            mFace = nullptr;
            return;
        }
        FT_Set_Pixel_Sizes(mFace, 0, FT_UInt(pixelSize));
        mAscender = int(std::ceil(double(mFace->size->metrics.ascender) / 64.0));
        mDescender = int(std::floor(double(mFace->size->metrics.descender) / 64.0));
    }
    ~Face()
    {
        if (mFace)
            FT_Done_Face(mFace);
    }
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;

    bool ok() const { return mFace != nullptr; }
    int lineHeight() const { return mAscender - mDescender; }

    // The cell width of `code`: its advance in whole pixels.
    int advance(uint32_t code)
    {
        if (!load(code))
            return 0;
        return int(std::lround(double(mFace->glyph->advance.x) / 64.0));
    }

    // Draws `code` into its cell on the base line, clipped to the cell.
    void render(uint32_t code, Sheet& sheet, const Glyph& cell)
    {
        if (!load(code) || FT_Render_Glyph(mFace->glyph, FT_RENDER_MODE_NORMAL) != 0)
            return;
        const FT_Bitmap& bitmap = mFace->glyph->bitmap;
        // The advance is rounded into the cell; centre the rounding error.
        const double exact = double(mFace->glyph->advance.x) / 64.0;
        const int shift = int(std::lround((double(cell.w) - exact) / 2.0));
        const int left = cell.x + shift + mFace->glyph->bitmap_left;
        const int top = cell.y + mAscender - mFace->glyph->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row)
            for (unsigned col = 0; col < bitmap.width; ++col) {
                const int px = left + int(col);
                const int py = top + int(row);
                if (px < cell.x || px >= cell.x + cell.w || py < cell.y || py >= cell.y + cell.h)
                    continue;
                const uint8_t value = bitmap.buffer[int(row) * bitmap.pitch + int(col)];
                uint8_t& out = sheet.alpha[size_t(py) * sheet.width + size_t(px)];
                out = std::max(out, value);
            }
    }

    int pixelSize() const { return mPixelSize; }

private:
    bool load(uint32_t code)
    {
        const FT_UInt index = FT_Get_Char_Index(mFace, code);
        if (index == 0) {
            std::fprintf(stderr, "font_baker: U+%04X is missing at %d px, left empty\n", code, mPixelSize);
            return false;
        }
        return FT_Load_Glyph(mFace, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT) == 0;
    }

    FT_Face mFace = nullptr;
    int mPixelSize;
    int mAscender = 0;
    int mDescender = 0;
};

// The cells of `codes` at `face`'s size, `cellScale` times wider and taller
// than the base cells `base` when given (a higher-resolution page of the
// same glyphs), placed by `packer` and drawn onto `sheet`.
std::vector<Glyph> bake(Face& face, const std::vector<uint32_t>& codes, ShelfPacker& packer, Sheet* sheet,
                        const std::vector<Glyph>* base = nullptr, int cellScale = 1)
{
    std::vector<Glyph> glyphs;
    for (size_t i = 0; i < codes.size(); ++i) {
        Glyph g;
        g.code = codes[i];
        g.w = base ? (*base)[i].w * cellScale : face.advance(codes[i]);
        g.h = base ? (*base)[i].h * cellScale : face.lineHeight();
        packer.place(g);
        if (sheet)
            face.render(codes[i], *sheet, g);
        glyphs.push_back(g);
    }
    return glyphs;
}

std::string charListText(const std::string& table, const std::vector<Glyph>& glyphs)
{
    std::string out = table + " = {\n";
    char line[96];
    for (const Glyph& g : glyphs) {
        std::snprintf(line, sizeof line, "    { %u, %d, %d, %d, %d },\n", g.code, g.x, g.y, g.w, g.h);
        out += line;
    }
    return out + "}\n";
}

bool writeText(const std::string& path, const std::string& text)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "font_baker: cannot write %s\n", path.c_str());
        return false;
    }
    const bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && ok;
}

std::string header(const std::string& what)
{
    return "-- " + what + "\n-- Baked by tools/font_baker from DejaVu Sans; glyph rows {code, x, y, w, h} in\n"
                          "-- ascending code order.\n";
}

uint32_t sheetHeight(int bottom)
{
    uint32_t h = 16;
    while (h < uint32_t(bottom))
        h *= 2;
    return h;
}

// Measures first, for the power-of-two sheet of the least area (the
// squarer one on a tie), then draws.
template <typename F>
bool bakeSheet(const std::string& path, F layout)
{
    uint32_t width = 0;
    uint32_t height = 0;
    for (uint32_t w = 64; w <= 2048; w *= 2) {
        ShelfPacker measure(w, GUTTER);
        layout(measure, nullptr);
        const uint32_t h = sheetHeight(measure.bottom());
        const bool squarer = std::max(w, h) < std::max(width, height);
        if (width == 0 || uint64_t(w) * h < uint64_t(width) * height ||
            (uint64_t(w) * h == uint64_t(width) * height && squarer)) {
            width = w;
            height = h;
        }
    }
    Sheet sheet(width, height);
    ShelfPacker packer(width, GUTTER);
    layout(packer, &sheet);
    return sheet.save(path);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: font_baker <media folder> [<font folder>]\n");
        return 2;
    }
    const std::string media = argv[1];
    const std::string fonts = argc > 2 ? argv[2] : DEFAULT_FONT_FOLDER;
    FT_Library library;
    if (FT_Init_FreeType(&library) != 0) {
        std::fprintf(stderr, "font_baker: FreeType did not start\n");
        return 1;
    }
    bool ok = true;
    {
        Face system(library, fonts + "/DejaVuSans.ttf", 14);
        Face bold(library, fonts + "/DejaVuSans-Bold.ttf", 22);
        Face small(library, fonts + "/DejaVuSans.ttf", 12);
        Face main(library, fonts + "/DejaVuSans.ttf", 18);
        Face main2x(library, fonts + "/DejaVuSans.ttf", 36);
        if (!system.ok() || !bold.ok() || !small.ok() || !main.ok() || !main2x.ok())
            return 1;

        // The system font and font2 share one sheet, the one the simple
        // font always draws from.
        std::vector<Glyph> systemGlyphs;
        std::vector<Glyph> font2Glyphs;
        ok &= bakeSheet(media + "/images/font2.png", [&](ShelfPacker& packer, Sheet* sheet) {
            systemGlyphs = bake(system, latin1(), packer, sheet);
            font2Glyphs = bake(bold, latin1(), packer, sheet);
        });
        ok &= writeText(media + "/fonts/system_font.lua",
                        header("The engine's system font: DejaVu Sans 14 px on the shared sheet.") +
                            "Image = \"font2_image\"\n" + charListText("CharList", systemGlyphs));
        ok &= writeText(media + "/fonts/font2.lua",
                        header("DejaVu Sans Bold 22 px on the shared sheet; read as a simple and as a UI font.") +
                            "Image = \"font2_image\"\n" + charListText("CharList", font2Glyphs));

        std::vector<Glyph> smallGlyphs;
        ok &= bakeSheet(media + "/images/small_font.png", [&](ShelfPacker& packer, Sheet* sheet) {
            smallGlyphs = bake(small, interfaceSet(), packer, sheet);
        });
        ok &= writeText(media + "/fonts/small_font.lua",
                        header("The interface's small font: DejaVu Sans 12 px.") + "Image = \"small_font_image\"\n" +
                            charListText("CharList", smallGlyphs));

        // Two pages of one font: the second at twice the resolution, its
        // cells exactly twice the base cells so both cover the same area.
        std::vector<Glyph> mainGlyphs;
        std::vector<Glyph> main2xGlyphs;
        ok &= bakeSheet(media + "/images/main_font.png", [&](ShelfPacker& packer, Sheet* sheet) {
            mainGlyphs = bake(main, interfaceSet(), packer, sheet);
        });
        ok &= bakeSheet(media + "/images/main_font_2x.png", [&](ShelfPacker& packer, Sheet* sheet) {
            main2xGlyphs = bake(main2x, interfaceSet(), packer, sheet, &mainGlyphs, 2);
        });
        ok &= writeText(media + "/fonts/main_font.lua",
                        header("The interface's main font: DejaVu Sans 18 px, and 36 px for screens shown at\n"
                               "-- twice the workspace size or more.") +
                            "Image = \"main_font_image\"\nMIP0Scale = 1.0\n"
                            "MIP1 = \"main_font_2x_image\"\nMIP1Scale = 2.0\n" +
                            charListText("CharList", mainGlyphs) + charListText("CharList1", main2xGlyphs));
    }
    FT_Done_FreeType(library);
    return ok ? 0 : 1;
}
