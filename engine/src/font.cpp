#include "font.h"

#include "fatal_error.h"
#include "lua_context.h"
#include "lua_script_2.h"
#include "sprite.h"
#include "sprite_manager.h"

extern "C" {
#include <lua.h>
}

namespace VQ {

namespace {
const char* const FILE_TAG = "font";

struct Row {
    int32_t code;
    float x, y, w, h;
};
}  // namespace

Font::~Font()
{
    releaseSprite();
}

void Font::releaseSprite()
{
    if (mSprite && SpriteManager<Sprite>::exists())
        SpriteManager<Sprite>::instancePtr()->releaseSprite(mSprite);
    mSprite = nullptr;
}

void Font::load(const std::string& name)
{
    LuaContext lua;
    if (!lua.runFile(name))
        assertFailed("VQ", "", FILE_TAG, 29);
    lua_State* state = lua.state();
    {
        LuaStackGuard guard(state);
        lua.getGlobal("Image");
        // A number passes too: the value is only checked, never used.
        if (lua_type(state, -1) != LUA_TSTRING && lua_type(state, -1) != LUA_TNUMBER)
            assertFailed("VQ", "", FILE_TAG, 36);
    }

    // A reload replaces the sheet sprite rather than leaving the old one
    // with the manager until shut-down.
    releaseSprite();
    mSprite = SpriteManager<Sprite>::instance()->createSpriteFromImage("font2_image", "default");

    LuaStackGuard guard(state);
    const LuaStackSlot list = lua.getGlobal("CharList");
    if (!lua_istable(state, list.index()))
        assertFailed("VQ", "", FILE_TAG, 65);
    mGlyphs.clear();
    mFirstCode = mLastCode = mRange = 0;

    std::vector<Row> rows;
    lua_pushnil(state);
    while (lua_next(state, list.index()) != 0) {
        const LuaStackSlot value(state, lua_gettop(state));
        float code = 0.0f;
        Row row{};
        if (value.getFiveFloats(code, row.x, row.y, row.w, row.h)) {
            row.code = luaNumberToInt(code);
            rows.push_back(row);
        }
        lua_pop(state, 1);
    }
    if (rows.empty())
        return;

    const int64_t first = rows.front().code;
    const int64_t last = rows.back().code;
    const int64_t range = last - first + 1;
    if (range < int64_t(rows.size()) || range > MAX_RANGE)
        assertFailed("VQ", "", FILE_TAG, 76);
    mFirstCode = int32_t(first);
    mLastCode = int32_t(last);
    mRange = int32_t(range);
    mGlyphs.assign(size_t(range), Glyph());
    for (const Row& row : rows) {
        const int64_t k = int64_t(row.code) - first;
        // Codes may still step back inside the range; such rows and
        // repeats of a code already filled are passed over.
        if (k < 0 || k >= range || mGlyphs[size_t(k)].present != -1)
            continue;
        mGlyphs[size_t(k)] = Glyph{row.x, row.y, row.w, row.h, int32_t(k)};
    }
}

void Font::drawText(float x, float y, const std::string& text, float scale, const Color& color)
{
    if (!mSprite)
        return;
    float advance = 0.0f;
    for (const char c : text) {
        // Wraps modulo 256, so a byte below the first code lands far past
        // the range rather than before it.
        const uint32_t index = uint8_t(uint32_t(uint8_t(c)) - uint32_t(mFirstCode));
        if (index >= uint32_t(mRange) || mGlyphs[index].present == -1)
            continue;
        const Glyph& g = mGlyphs[index];
        mSprite->setSourceRect(0, Rect(g.x, g.y, g.x + g.w, g.y + g.h), false);
        mSprite->updateTexCoords();
        mSprite->setPositionXY(x + advance, y);
        mSprite->setSize(Vector2f(g.w, g.h));
        mSprite->setColor(color);
        mSprite->updateVertices();
        mSprite->draw();
        advance += scale == 1.0f ? g.w : g.w * scale;
    }
}

}  // namespace VQ
