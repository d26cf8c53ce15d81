#pragma once
// The engine's own minimal bitmap font for 8-bit text (the base loading
// screen, the board's numbers): one glyph sheet, a contiguous range of
// character codes, drawn glyph by glyph as the sheet's grid sprite. No
// alignment, wrapping or clipping; interface text uses UIFont instead.

#include <cstdint>
#include <string>
#include <vector>

#include "color.h"

namespace VQ {

class Sprite;

class Font {
public:
    // One record per code of the range.
    struct Glyph {
        float x = 0.0f, y = 0.0f, w = 0.0f, h = 0.0f;
        // The record's own index when its code has a row, -1 for a gap.
        int32_t present = -1;
    };

    // Ranges beyond this are refused: the font draws bytes, so only 256
    // records can ever be reached, and a wild code must not size the table.
    static constexpr int64_t MAX_RANGE = 65536;

    Font() = default;
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;
    // Gives the sheet sprite back to its manager.
    ~Font();

    // Reads the font script `name` of package "default"; the sheet is always
    // the image "font2_image". Every malformed script is fatal.
    void load(const std::string& name);

    // Draws `text` from (x, y) on; `scale` spaces the glyphs without
    // resizing them. Bytes outside the range and gaps take no room.
    void drawText(float x, float y, const std::string& text, float scale, const Color& color);

    int32_t firstCode() const { return mFirstCode; }
    int32_t lastCode() const { return mLastCode; }
    int32_t range() const { return mRange; }
    const std::vector<Glyph>& glyphs() const { return mGlyphs; }
    Sprite* sprite() const { return mSprite; }

private:
    void releaseSprite();

    std::vector<Glyph> mGlyphs;
    Sprite* mSprite = nullptr;
    int32_t mFirstCode = 0;
    int32_t mLastCode = 0;
    int32_t mRange = 0;
};

}  // namespace VQ
