#pragma once
// The interface's bitmap font: UTF-16 text drawn glyph by glyph as one fast
// sprite from a table of glyph rectangles. A font may carry up to four pages
// of the same glyphs at different resolutions; the page nearest to the
// workspace scale is drawn, while layout always measures in the base page's
// units so the text covers the same workspace area on every page. Fonts are
// made and shared by UIFontManager; nothing else constructs them.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "color.h"
#include "rect.h"
#include "vector2.h"

namespace VQ {

class FastSprite;
class LuaScript2;

class UIFont {
public:
    static constexpr int MAX_PAGES = 4;
    static constexpr uint16_t NO_GLYPH = 0xFFFF;
    static constexpr uint32_t INDEX_SIZE = 0xFFFF;

    struct GlyphRect {
        float x = 0.0f, y = 0.0f, w = 0.0f, h = 0.0f;
    };

    struct Page {
        // Only the selected page holds a sprite.
        FastSprite* sprite = nullptr;
        float scale = 1.0f;
        std::vector<GlyphRect> rects;
        std::string image;
        std::string package;
    };

    // One laid-out line: the inclusive range [first, last] of the text and
    // its width in base-page units.
    struct Line {
        int32_t first = 0;
        int32_t last = -1;
        float width = 0.0f;
        int32_t words = 0;
    };

    // Loads the font script (name, package); a script that cannot be read
    // or a malformed glyph table is fatal.
    UIFont(const std::string& name, const std::string& package);
    UIFont(const UIFont&) = delete;
    UIFont& operator=(const UIFont&) = delete;
    ~UIFont();

    // The page nearest to the workspace scale (the later one on a tie),
    // holding the font's one sprite; null when the font has no page.
    Page* selectPage();

    // The advances of [first, last] summed in base-page units; 0 when last
    // lies before first.
    float measureLine(const char16_t* first, const char16_t* last, float xcoeff) const;

    // halign 0 left, 1 centre, 2 right; valign 0 top, 1 middle, 2 bottom.
    // The box's top-left corner is `position`.
    void drawText(const Rect& clipRect, const Vector2f& position, const std::u16string& text, bool wordWrap,
                  uint32_t halign, uint32_t valign, float xcoeff, float ycoeff, bool clip, bool pixelPrecision,
                  float boxWidth, float boxHeight);
    // The same layout, every glyph placed through a row-vector 3 x 3 matrix
    // (m[6], m[7] the translation). A `maxGlyphs` above 0 stops after that
    // many glyphs.
    void drawTextTransformed(const float matrix[9], const std::u16string& text, bool wordWrap, uint32_t halign,
                             uint32_t valign, float xcoeff, float ycoeff, bool clip, const Rect& clipRect,
                             bool pixelPrecision, int32_t maxGlyphs, const Vector2f& boxSize);
    // One line of 7-bit text, no wrapping; every place snapped to pixels.
    void drawLine(const Rect& clipRect, const Vector2f& position, const std::string& text, bool verticalCentre,
                  float xcoeff, float ycoeff, bool clip, float boxHeight);
    // The bounding rectangle of the glyphs the layout places, grown from the
    // zero-size rectangle at `position`.
    Rect getTextRect(const Vector2f& position, const std::u16string& text, bool wordWrap, uint32_t halign,
                     uint32_t valign, float xcoeff, float ycoeff, float boxWidth, float boxHeight);

    // The lines drawing lays out (also the wrapping the tests examine).
    std::vector<Line> layoutLines(const std::u16string& text, bool wordWrap, float xcoeff, float boxWidth) const;
    // The lines getTextRect measures; its wrapping differs from drawing's.
    std::vector<Line> measureLines(const std::u16string& text, bool wordWrap, float xcoeff, float boxWidth) const;

    // Whether `c` followed by `next` (0 at the end) is a place to break a
    // line in the configuration's current language.
    static bool isBreakOpportunity(char16_t c, char16_t next);
    // A point snapped to whole pixels at workspace scale `s`.
    static Vector2f snapToPixels(const Vector2f& p, float s);
    static float workspaceScale();

    // The row of `code` in the glyph tables, or -1 when the font lacks it.
    int32_t glyphRow(uint32_t code) const;
    float lineHeight(float ycoeff) const;
    float blockHeight(size_t lines, float ycoeff) const;

    uint32_t glyphCount() const { return mGlyphCount; }
    uint32_t pageCount() const { return uint32_t(mPages.size()); }
    const Page& page(uint32_t index) const { return mPages[index]; }
    float widestWidth() const { return mWidestWidth; }
    float tallestHeight() const { return mTallestHeight; }
    uint16_t widestCode() const { return mWidestCode; }
    uint16_t tallestCode() const { return mTallestCode; }

    // Used for every glyph; nothing is drawn while its alpha is 0.
    Color color;
    // Kept by UIFontManager.
    int32_t refCount = 0;
    const float letterSpacingUnit = 5.0f;
    const float lineSpacingUnit = 5.0f;

private:
    void load(const std::string& name, const std::string& package);
    void readPage(LuaScript2& script, const std::string& table, uint32_t pageIndex);
    void releasePages();
    float advance(int32_t row, float xcoeff) const;
    // The whole text as one line (none for an empty text).
    std::vector<Line> unwrappedLines(const std::u16string& text, float xcoeff) const;
    // Calls `place(x, y, row)` for each glyph of the laid-out lines, with
    // the place local to the box (alignment offsets included).
    template <typename F>
    void forEachGlyph(const std::u16string& text, const std::vector<Line>& lines, uint32_t halign,
                      uint32_t valign, float xcoeff, float ycoeff, float boxWidth, float boxHeight, F place) const;
    // The selected page, its sprite coloured for drawing; null when nothing
    // can be drawn (no page, no sprite, or an invisible colour).
    Page* preparePage();
    // One glyph at its base-page size from the page's rectangle.
    void drawGlyph(const Page& page, int32_t row, const Vector2f& at, bool clip, const Rect& clipRect);

    uint32_t mGlyphCount = 0;
    std::vector<uint16_t> mGlyphIndex;
    float mWidestWidth = 0.0f;
    float mTallestHeight = 0.0f;
    uint16_t mTallestCode = 0;
    uint16_t mWidestCode = 0;
    std::vector<Page> mPages;
};

}  // namespace VQ
