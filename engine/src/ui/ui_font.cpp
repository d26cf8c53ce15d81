#include "ui/ui_font.h"

#include <algorithm>
#include <cmath>

#include "config_manager.h"
#include "fast_sprite.h"
#include "fatal_error.h"
#include "log_system.h"
#include "lua_script_2.h"
#include "render_system.h"
#include "sprite_manager.h"

extern "C" {
#include <lua.h>
}

namespace VQ {

namespace {
const char* const FILE_TAG = "ui_font";
constexpr char16_t LINE_FEED = 0x000A;
constexpr char16_t SPACE = 0x0020;

// Entries of the table on top of the stack, counted the way the rows are
// walked.
uint32_t countEntries(lua_State* state)
{
    uint32_t count = 0;
    lua_pushnil(state);
    while (lua_next(state, -2) != 0) {
        ++count;
        lua_pop(state, 1);
    }
    return count;
}

bool usesCjkBreaks()
{
    const ConfigManager* config = ConfigManager::instancePtr();
    if (!config)
        return false;
    const std::string& language = config->currentLanguage();
    return language == "ja" || language == "JA" || language == "ko" || language == "KO" || language == "ch" ||
           language == "CH";
}

void returnSprite(FastSprite*& sprite)
{
    if (sprite && SpriteManager<FastSprite>::exists())
        SpriteManager<FastSprite>::instancePtr()->releaseSprite(sprite);
    sprite = nullptr;
}

// The row-vector matrix that draws a quad at the origin turned and scaled
// like the node, with `place` as its translation.
void glyphMatrix(const float m[9], const Vector2f& place, float out[9])
{
    out[0] = m[0];
    out[1] = m[1];
    out[2] = 0.0f;
    out[3] = m[3];
    out[4] = m[4];
    out[5] = 0.0f;
    out[6] = place.x;
    out[7] = place.y;
    out[8] = 1.0f;
}

}  // namespace

UIFont::UIFont(const std::string& name, const std::string& package) : mGlyphIndex(INDEX_SIZE, NO_GLYPH)
{
    load(name, package);
}

UIFont::~UIFont()
{
    releasePages();
}

void UIFont::releasePages()
{
    for (Page& page : mPages)
        returnSprite(page.sprite);
    mPages.clear();
}

void UIFont::load(const std::string& name, const std::string& package)
{
    LuaScript2 script;
    if (!script.load(name, package)) {
        const std::string text = formatString("Failed to load %s in %s package", name.c_str(), package.c_str());
        logIfPossible(text);
        assertFailed("VQ", text, FILE_TAG, 52);
    }

    releasePages();
    for (int k = 0; k < MAX_PAGES; ++k) {
        const std::string key = k == 0 ? std::string("Image") : formatString("MIP%i", k);
        std::string image;
        if (!script.getString(key, image) || image.empty())
            continue;
        Page page;
        page.image = image;
        page.package = package;
        script.getFloat(formatString("MIP%iScale", k), page.scale, 1.0f);
        // The scale divides glyph sizes when drawn through a matrix.
        if (!(page.scale > 0.0f) || !std::isfinite(page.scale)) {
            logIfPossible(formatString("WARNING: Font %s: page %i has scale %f, 1.0 is used", name.c_str(), k,
                                       double(page.scale)));
            page.scale = 1.0f;
        }
        mPages.push_back(std::move(page));
    }
    selectPage();

    if (!script.openTable("CharList"))
        assertFailed("VQ", "", FILE_TAG, 90);
    mGlyphCount = countEntries(script.state());
    script.closeTable();

    for (uint32_t t = 0; t < mPages.size(); ++t) {
        const std::string table = t == 0 ? std::string("CharList") : formatString("CharList%i", int(t));
        readPage(script, table, t);
    }

    mWidestWidth = mTallestHeight = 0.0f;
    mWidestCode = mTallestCode = 0;
    if (mPages.empty())
        return;
    const std::vector<GlyphRect>& base = mPages[0].rects;
    for (uint32_t r = 0; r < base.size(); ++r) {
        if (base[r].w > mWidestWidth) {
            mWidestWidth = base[r].w;
            mWidestCode = 0;
            for (uint32_t c = 0; c < INDEX_SIZE; ++c)
                if (mGlyphIndex[c] == r) {
                    mWidestCode = uint16_t(c);
                    break;
                }
        }
        if (base[r].h > mTallestHeight) {
            mTallestHeight = base[r].h;
            mTallestCode = 0;
            for (uint32_t c = 0; c < INDEX_SIZE; ++c)
                if (mGlyphIndex[c] == r) {
                    mTallestCode = uint16_t(c);
                    break;
                }
        }
    }
}

void UIFont::readPage(LuaScript2& script, const std::string& table, uint32_t pageIndex)
{
    if (!script.openTable(table))
        assertFailed("VQ", "Failed to open font CharList table!", FILE_TAG, 106);
    Page& page = mPages[pageIndex];
    page.rects.assign(mGlyphCount, GlyphRect());
    uint32_t row = 0;
    forEachTableEntry(
        script,
        [&] {
            // A page with more rows than the base list would write past
            // its rectangles and past the glyph count.
            if (row >= mGlyphCount)
                assertFailed("VQ", "", FILE_TAG, 113);
            int code = 0;
            script.getIntAt(1, code);
            GlyphRect& rect = page.rects[row];
            script.floatAt(2, rect.x);
            script.floatAt(3, rect.y);
            script.floatAt(4, rect.w);
            script.floatAt(5, rect.h);
            if (code < 0 || code >= 0xFFFF)
                assertFailed("VQ", "", FILE_TAG, 125);
            mGlyphIndex[uint32_t(code)] = uint16_t(row);
            ++row;
        },
        [] { assertFailed("VQ", "", FILE_TAG, 113); });
    script.closeTable();
}

float UIFont::workspaceScale()
{
    const RenderSystem* render = RenderSystem::instancePtr();
    if (!render)
        return 1.0f;
    Vector2f offset;
    Vector2f size;
    float scale = 1.0f;
    render->getWorkspaceViewport(offset, size, scale);
    return scale;
}

UIFont::Page* UIFont::selectPage()
{
    if (mPages.empty())
        return nullptr;
    const float s = workspaceScale();
    size_t best = 0;
    for (size_t k = 1; k < mPages.size(); ++k)
        if (std::fabs(s - mPages[k].scale) <= std::fabs(s - mPages[best].scale))
            best = k;
    for (size_t k = 0; k < mPages.size(); ++k)
        if (k != best)
            returnSprite(mPages[k].sprite);
    Page& page = mPages[best];
    if (!page.sprite)
        page.sprite = SpriteManager<FastSprite>::instance()->createSpriteFromImage(page.image, page.package);
    return &page;
}

int32_t UIFont::glyphRow(uint32_t code) const
{
    if (code >= INDEX_SIZE)
        return -1;
    const uint16_t row = mGlyphIndex[code];
    if (row == NO_GLYPH || row >= mGlyphCount)
        return -1;
    return row;
}

float UIFont::advance(int32_t row, float xcoeff) const
{
    return letterSpacingUnit * xcoeff + mPages[0].rects[size_t(row)].w;
}

float UIFont::lineHeight(float ycoeff) const
{
    const float first = !mPages.empty() && !mPages[0].rects.empty() ? mPages[0].rects[0].h : 0.0f;
    return lineSpacingUnit * ycoeff + first;
}

float UIFont::blockHeight(size_t lines, float ycoeff) const
{
    if (lines <= 1)
        return lineHeight(ycoeff);
    return float(lines) * lineHeight(ycoeff) - lineSpacingUnit * ycoeff;
}

float UIFont::measureLine(const char16_t* first, const char16_t* last, float xcoeff) const
{
    float width = 0.0f;
    if (mPages.empty())
        return width;
    for (const char16_t* c = first; c <= last; ++c) {
        const int32_t row = glyphRow(*c);
        if (row >= 0)
            width += advance(row, xcoeff);
    }
    return width;
}

bool UIFont::isBreakOpportunity(char16_t c, char16_t next)
{
    if (usesCjkBreaks()) {
        if (c != SPACE && c != LINE_FEED && c < 256)
            return false;
        // A line never starts with these punctuation marks.
        return next != 0x3001 && next != 0x3002 && next != 0xFF1F && next != 0xFF01;
    }
    return c == SPACE || c == LINE_FEED;
}

Vector2f UIFont::snapToPixels(const Vector2f& p, float s)
{
    const auto snap = [s](float v) {
        const float scaled = v * s;
        float whole = std::trunc(scaled);
        if (scaled - whole > 0.5f)
            whole += 1.0f;
        return whole / s;
    };
    return Vector2f(snap(p.x), snap(p.y));
}

std::vector<UIFont::Line> UIFont::unwrappedLines(const std::u16string& text, float xcoeff) const
{
    std::vector<Line> lines;
    if (!text.empty())
        lines.push_back(Line{0, int32_t(text.size()) - 1, measureLine(&text.front(), &text.back(), xcoeff), 1});
    return lines;
}

std::vector<UIFont::Line> UIFont::layoutLines(const std::u16string& text, bool wordWrap, float xcoeff,
                                              float boxWidth) const
{
    if (text.empty() || !wordWrap)
        return unwrappedLines(text, xcoeff);
    std::vector<Line> lines;
    const int32_t n = int32_t(text.size());
    const char16_t* s = text.data();
    // The current line; `last` stays -1 until a word ends on it, and a line
    // that never gets an end is dropped.
    Line current;
    bool ended = false;
    const auto startLine = [&](int32_t first) {
        current = Line{first, -1, 0.0f, 0};
        ended = false;
    };
    const auto endLine = [&](int32_t last, float width) {
        current.last = last;
        current.width = width;
        ended = true;
    };
    const auto pushLine = [&] {
        if (ended)
            lines.push_back(current);
    };
    for (int32_t i = 0; i < n; ++i) {
        const bool atEnd = i == n - 1;
        const char16_t next = atEnd ? char16_t(0) : s[i + 1];
        // The last character always breaks.
        if (!atEnd && !isBreakOpportunity(s[i], next))
            continue;
        const char16_t breakChar = atEnd && current.words > 0 ? SPACE : s[i];
        ++current.words;
        const float w = measureLine(s + current.first, s + i, xcoeff);
        if (w < boxWidth) {
            endLine(i, w);
            if (breakChar == LINE_FEED) {
                pushLine();
                startLine(i + 1);
            }
        } else if (current.words == 1) {
            endLine(i, w);
            pushLine();
            startLine(i + 1);
        } else {
            const int32_t moved = current.last + 1;
            pushLine();
            startLine(moved);
            current.words = 1;
            endLine(i, measureLine(s + moved, s + i, xcoeff));
            if (breakChar == LINE_FEED) {
                pushLine();
                startLine(i + 1);
            }
        }
    }
    pushLine();
    return lines;
}

std::vector<UIFont::Line> UIFont::measureLines(const std::u16string& text, bool wordWrap, float xcoeff,
                                               float boxWidth) const
{
    if (text.empty() || !wordWrap)
        return unwrappedLines(text, xcoeff);
    std::vector<Line> lines;
    const int32_t n = int32_t(text.size());
    const char16_t* s = text.data();
    Line current{0, -1, 0.0f, 0};
    int32_t wordStart = 0;
    for (int32_t i = 0; i < n; ++i) {
        const bool atEnd = i == n - 1;
        const char16_t next = atEnd ? char16_t(0) : s[i + 1];
        char16_t breakChar = s[i];
        if (!isBreakOpportunity(s[i], next)) {
            if (!atEnd || current.words == 0)
                continue;
            breakChar = SPACE;
        } else if (atEnd && current.words > 0) {
            breakChar = SPACE;
        }
        const float w = measureLine(s + current.first, s + i, xcoeff);
        if (w <= boxWidth || current.words == 0) {
            current.last = i;
            current.width = w;
            ++current.words;
        } else {
            const int32_t words = breakChar == LINE_FEED ? current.words : 0;
            lines.push_back(current);
            current = Line{wordStart, i, measureLine(s + wordStart, s + i, xcoeff), words};
        }
        if (breakChar == LINE_FEED && current.words > 0) {
            lines.push_back(current);
            current = Line{i + 1, -1, 0.0f, 0};
        }
        wordStart = i + 1;
    }
    current.last = n - 1;
    current.width = measureLine(s + current.first, s + current.last, xcoeff);
    lines.push_back(current);
    return lines;
}

template <typename F>
void UIFont::forEachGlyph(const std::u16string& text, const std::vector<Line>& lines, uint32_t halign,
                          uint32_t valign, float xcoeff, float ycoeff, float boxWidth, float boxHeight,
                          F place) const
{
    const float block = blockHeight(lines.size(), ycoeff);
    float offsetY = 0.0f;
    if (valign == 1)
        offsetY = (boxHeight - block) * 0.5f;
    else if (valign == 2)
        offsetY = boxHeight - block;
    const float height = lineHeight(ycoeff);
    for (size_t l = 0; l < lines.size(); ++l) {
        const Line& line = lines[l];
        float offsetX = 0.0f;
        if (halign == 1)
            offsetX = (boxWidth - line.width) * 0.5f;
        else if (halign == 2)
            offsetX = boxWidth - line.width;
        const float y = float(l) * height + offsetY;
        float pen = 0.0f;
        for (int32_t i = line.first; i <= line.last; ++i) {
            const int32_t row = glyphRow(text[size_t(i)]);
            if (row < 0)
                continue;
            if (!place(offsetX + pen, y, row))
                return;
            pen += advance(row, xcoeff);
        }
    }
}

UIFont::Page* UIFont::preparePage()
{
    if (color.a == 0)
        return nullptr;
    Page* page = selectPage();
    if (!page || !page->sprite)
        return nullptr;
    page->sprite->setColor(color);
    return page;
}

void UIFont::drawGlyph(const Page& page, int32_t row, const Vector2f& at, bool clip, const Rect& clipRect)
{
    const GlyphRect& base = mPages[0].rects[size_t(row)];
    const GlyphRect& source = page.rects[size_t(row)];
    FastSprite* sprite = page.sprite;
    sprite->size = Vector2f(base.w, base.h);
    sprite->setSourceRect(0, Rect(source.x, source.y, source.x + source.w, source.y + source.h));
    sprite->position = at;
    sprite->setClipEnabled(clip);
    if (clip)
        sprite->setClipRect(clipRect);
    sprite->draw();
}

void UIFont::drawText(const Rect& clipRect, const Vector2f& position, const std::u16string& text, bool wordWrap,
                      uint32_t halign, uint32_t valign, float xcoeff, float ycoeff, bool clip, bool pixelPrecision,
                      float boxWidth, float boxHeight)
{
    if (text.empty())
        return;
    const Page* page = preparePage();
    if (!page)
        return;
    const float s = workspaceScale();
    const std::vector<Line> lines = layoutLines(text, wordWrap, xcoeff, boxWidth);
    forEachGlyph(text, lines, halign, valign, xcoeff, ycoeff, boxWidth, boxHeight, [&](float x, float y, int32_t row) {
        Vector2f at(position.x + x, position.y + y);
        if (pixelPrecision)
            at = snapToPixels(at, s);
        drawGlyph(*page, row, at, clip, clipRect);
        return true;
    });
}

void UIFont::drawTextTransformed(const float matrix[9], const std::u16string& text, bool wordWrap, uint32_t halign,
                                 uint32_t valign, float xcoeff, float ycoeff, bool clip, const Rect& clipRect,
                                 bool pixelPrecision, int32_t maxGlyphs, const Vector2f& boxSize)
{
    if (text.empty())
        return;
    const Page* page = preparePage();
    if (!page)
        return;
    FastSprite* sprite = page->sprite;
    const float s = workspaceScale();
    const std::vector<Line> lines = layoutLines(text, wordWrap, xcoeff, boxSize.x);
    int32_t drawnCount = 0;
    forEachGlyph(text, lines, halign, valign, xcoeff, ycoeff, boxSize.x, boxSize.y, [&](float x, float y, int32_t row) {
        sprite->position = Vector2f(0.0f, 0.0f);
        sprite->rotationCenter = Vector2f(0.0f, 0.0f);
        sprite->angle = 0.0f;
        Vector2f at(matrix[6] + x * matrix[0] + y * matrix[3], matrix[7] + x * matrix[1] + y * matrix[4]);
        const GlyphRect& source = page->rects[size_t(row)];
        Vector2f size(source.w / page->scale, source.h / page->scale);
        if (pixelPrecision) {
            if (page->scale != 1.0f)
                size = Vector2f(std::trunc(size.x * s) / s, std::trunc(size.y * s) / s);
            at = Vector2f(std::trunc(at.x * s) / s, std::trunc(at.y * s) / s);
        }
        sprite->size = size;
        sprite->setSourceRect(0, Rect(source.x, source.y, source.x + source.w, source.y + source.h));
        sprite->setClipEnabled(clip);
        if (clip)
            sprite->setClipRect(clipRect);
        float m[9];
        glyphMatrix(matrix, at, m);
        sprite->drawTransformed(m);
        ++drawnCount;
        return maxGlyphs <= 0 || drawnCount < maxGlyphs;
    });
}

void UIFont::drawLine(const Rect& clipRect, const Vector2f& position, const std::string& text, bool verticalCentre,
                      float xcoeff, float ycoeff, bool clip, float boxHeight)
{
    if (text.empty())
        return;
    const Page* page = preparePage();
    if (!page)
        return;
    const float s = workspaceScale();
    const float y = verticalCentre ? (boxHeight - lineHeight(ycoeff)) * 0.5f : 0.0f;
    float pen = 0.0f;
    for (const char c : text) {
        // Widened as a signed byte, so only 7-bit text has glyphs.
        const uint16_t code = uint16_t(int16_t(static_cast<signed char>(c)));
        const int32_t row = glyphRow(code);
        if (row < 0)
            continue;
        const Vector2f at = snapToPixels(Vector2f(position.x + pen, position.y + y), s);
        drawGlyph(*page, row, at, clip, clipRect);
        pen += advance(row, xcoeff);
    }
}

Rect UIFont::getTextRect(const Vector2f& position, const std::u16string& text, bool wordWrap, uint32_t halign,
                         uint32_t valign, float xcoeff, float ycoeff, float boxWidth, float boxHeight)
{
    Rect rect(position.x, position.y, position.x, position.y);
    if (text.empty() || mPages.empty())
        return rect;
    const float s = workspaceScale();
    const std::vector<Line> lines = measureLines(text, wordWrap, xcoeff, boxWidth);
    forEachGlyph(text, lines, halign, valign, xcoeff, ycoeff, boxWidth, boxHeight, [&](float x, float y, int32_t row) {
        const Vector2f at = snapToPixels(Vector2f(position.x + x, position.y + y), s);
        const GlyphRect& base = mPages[0].rects[size_t(row)];
        rect.left = std::min(rect.left, at.x);
        rect.top = std::min(rect.top, at.y);
        rect.right = std::max(rect.right, at.x + base.w);
        rect.bottom = std::max(rect.bottom, at.y + base.h);
        return true;
    });
    return rect;
}

}  // namespace VQ
