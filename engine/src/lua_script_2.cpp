#include "lua_script_2.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "fatal_error.h"
#include "file_system.h"
#include "log_system.h"
#include "lua_context.h"

extern "C" {
#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>
}

namespace VQ {

namespace {

const char* const FILE_TAG = "lua_script_2";

// The two descriptions are kept as the Windows-1251 bytes the report has
// always carried.
const char* const ENTER_AT_GLOBAL_LEVEL =
    "\xcd\xe5\xe2\xee\xe7\xec\xee\xe6\xed\xee\x20\xf7\xe8\xf2\xe0\xf2\xfc\x20\xf2\xe5\xea\xf3\xf9\xf3\xfe\x20"
    "\xf2\xe0\xe1\xeb\xe8\xf6\xf3\x20\xe8\xe7\x20\xe3\xeb\xee\xe1\xe0\xeb\xfc\xed\xee\xe3\xee\x20\xef\xf0\xee"
    "\xf1\xf2\xf0\xe0\xed\xf1\xf2\xe2\xe0\x2e";
const char* const CLOSE_TOO_OFTEN =
    "LuaScript::closeTable() \xe2\xfb\xe7\xe2\xe0\xed\x20\xe8\xe7\xeb\xe8\xf8\xed\xe5\xe5\x20\xea\xee\xeb\x2d"
    "\xe2\xee\x20\xf0\xe0\xe7";

// A rectangle may refer to one in another script, which may refer on; a
// cycle of references would otherwise never end.
constexpr int MAX_RECT_REFERENCE_DEPTH = 16;

int64_t truncateToInt64(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 9223372036854775807.0)
        return std::numeric_limits<int64_t>::max();
    if (value <= -9223372036854775808.0)
        return std::numeric_limits<int64_t>::min();
    return int64_t(value);
}

// Pops what was pushed since construction, on every return path.
class StackRestorer {
public:
    explicit StackRestorer(lua_State* state) : mState(state), mTop(lua_gettop(state)) {}
    ~StackRestorer() { lua_settop(mState, mTop); }

private:
    lua_State* mState;
    int mTop;
};

bool isNumeric(lua_State* state, int index)
{
    return lua_isnumber(state, index) != 0;
}

bool readString(lua_State* state, int index, std::string& out)
{
    if (!lua_isstring(state, index))
        return false;
    size_t length = 0;
    const char* text = lua_tolstring(state, index, &length);
    out.assign(text, length);
    return true;
}

}  // namespace

int32_t luaNumberToInt(double value)
{
    const int64_t wide = truncateToInt64(value);
    if (wide > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (wide < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return int32_t(wide);
}

uint32_t luaNumberToUInt(double value)
{
    return uint32_t(uint64_t(truncateToInt64(value)));
}

uint8_t luaNumberToByte(double value)
{
    return uint8_t(uint64_t(truncateToInt64(value)));
}

LuaScript2::LuaScript2() : mState(newScriptState()) {}

LuaScript2::~LuaScript2()
{
    closeScriptState(mState);
}

bool LuaScript2::load(const std::string& name, const std::string& package, std::string* error)
{
    if (error)
        error->clear();
    std::vector<char> text;
    if (!loadWholeResource(package, name, text))
        return false;
    text.push_back('\0');

    // The chunk's results and any error message are of no use to readers
    // that count open tables on the stack: runScriptText leaves none.
    return runScriptText(mState, text, name, error);
}

void LuaScript2::pushField(const std::string& name)
{
    if (mDepth > 0) {
        lua_pushstring(mState, name.c_str());
        lua_gettable(mState, -2);
    } else {
        lua_getfield(mState, LUA_GLOBALSINDEX, name.c_str());
    }
}

bool LuaScript2::openTable(const std::string& name)
{
    pushField(name);
    if (!lua_istable(mState, -1)) {
        lua_pop(mState, 1);
        return false;
    }
    ++mDepth;
    return true;
}

bool LuaScript2::enterTable()
{
    if (mDepth <= 0)
        assertFailed("VQ", ENTER_AT_GLOBAL_LEVEL, FILE_TAG, 144);
    if (!lua_istable(mState, -1))
        return false;
    lua_pushvalue(mState, -1);
    ++mDepth;
    return true;
}

void LuaScript2::closeTable()
{
    if (mDepth <= 0)
        assertFailed("VQ", CLOSE_TOO_OFTEN, FILE_TAG, 163);
    --mDepth;
    lua_pop(mState, 1);
}

bool LuaScript2::getString(const std::string& name, std::string& out)
{
    StackRestorer restore(mState);
    pushField(name);
    if (readString(mState, -1, out))
        return true;
    out.clear();
    return false;
}

bool LuaScript2::getBool(const std::string& name, bool& out)
{
    StackRestorer restore(mState);
    pushField(name);
    out = isNumeric(mState, -1) && truncateToInt64(lua_tonumber(mState, -1)) != 0;
    return isNumeric(mState, -1);
}

bool LuaScript2::getFloat(const std::string& name, float& out, float defaultValue)
{
    StackRestorer restore(mState);
    pushField(name);
    const bool numeric = isNumeric(mState, -1);
    out = numeric ? float(lua_tonumber(mState, -1)) : defaultValue;
    return numeric;
}

bool LuaScript2::getInt(const std::string& name, int& out, int defaultValue)
{
    StackRestorer restore(mState);
    pushField(name);
    const bool numeric = isNumeric(mState, -1);
    out = numeric ? luaNumberToInt(lua_tonumber(mState, -1)) : defaultValue;
    return numeric;
}

bool LuaScript2::getUInt(const std::string& name, unsigned& out, unsigned defaultValue)
{
    StackRestorer restore(mState);
    pushField(name);
    const bool numeric = isNumeric(mState, -1);
    out = numeric ? luaNumberToUInt(lua_tonumber(mState, -1)) : defaultValue;
    return numeric;
}

bool LuaScript2::getVector2(const std::string& name, float out[2])
{
    StackRestorer restore(mState);
    pushField(name);
    float x = 0.0f;
    float y = 0.0f;
    const bool ok = lua_istable(mState, -1) && floatAt(1, x) && floatAt(2, y);
    out[0] = ok ? x : 0.0f;
    out[1] = ok ? y : 0.0f;
    return ok;
}

bool LuaScript2::getRect(const std::string& name, float out[4])
{
    return getRectAt(name, out, 0);
}

bool LuaScript2::getRectAt(const std::string& name, float out[4], int referenceDepth)
{
    StackRestorer restore(mState);
    pushField(name);
    for (int i = 0; i < 4; ++i)
        out[i] = 0.0f;
    if (!lua_istable(mState, -1))
        return false;

    float values[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    if (floatAt(1, values[0]) && floatAt(2, values[1]) && floatAt(3, values[2]) && floatAt(4, values[3])) {
        for (int i = 0; i < 4; ++i)
            out[i] = values[i];
        return true;
    }

    // A reference is three real strings; numbers would read as text too, and
    // {1, 2, 3} is a short rectangle, not a script named "1".
    std::string reference[3];
    for (int i = 0; i < 3; ++i) {
        lua_rawgeti(mState, -1, i + 1);
        const bool isString = lua_type(mState, -1) == LUA_TSTRING;
        if (isString)
            readString(mState, -1, reference[i]);
        lua_pop(mState, 1);
        if (!isString)
            return false;
    }
    getRectFromScript(reference[0], reference[1], reference[2], out, referenceDepth + 1);
    return true;
}

bool LuaScript2::getRectFromScript(const std::string& script, const std::string& field,
                                   const std::string& package, float out[4], int referenceDepth)
{
    if (referenceDepth > MAX_RECT_REFERENCE_DEPTH) {
        log(formatString("WARNING: Rectangle reference to '%s' of '%s' nests deeper than %d scripts",
                         field.c_str(), script.c_str(), MAX_RECT_REFERENCE_DEPTH));
        return false;
    }
    LuaScript2 reader;
    reader.load(script, package);
    return reader.getRectAt(field, out, referenceDepth);
}

bool LuaScript2::topString(std::string& out)
{
    if (readString(mState, -1, out))
        return true;
    out.clear();
    return false;
}

bool LuaScript2::topFloat(float& out)
{
    const bool numeric = isNumeric(mState, -1);
    out = numeric ? float(lua_tonumber(mState, -1)) : 0.0f;
    return numeric;
}

bool LuaScript2::topInt(int& out)
{
    const bool numeric = isNumeric(mState, -1);
    out = numeric ? luaNumberToInt(lua_tonumber(mState, -1)) : 0;
    return numeric;
}

bool LuaScript2::topUInt(unsigned& out)
{
    const bool numeric = isNumeric(mState, -1);
    out = numeric ? luaNumberToUInt(lua_tonumber(mState, -1)) : 0u;
    return numeric;
}

bool LuaScript2::stringAt(int index, std::string& out)
{
    if (!lua_istable(mState, -1))
        return false;
    StackRestorer restore(mState);
    lua_rawgeti(mState, -1, index);
    return readString(mState, -1, out);
}

bool LuaScript2::numberAt(int index, double& out)
{
    if (!lua_istable(mState, -1))
        return false;
    StackRestorer restore(mState);
    lua_rawgeti(mState, -1, index);
    if (!isNumeric(mState, -1))
        return false;
    out = lua_tonumber(mState, -1);
    return true;
}

bool LuaScript2::floatAt(int index, float& out)
{
    double value = 0.0;
    if (!numberAt(index, value))
        return false;
    out = float(value);
    return true;
}

bool LuaScript2::getIntAt(int index, int& out)
{
    double value = 0.0;
    if (!numberAt(index, value))
        return false;
    out = luaNumberToInt(value);
    return true;
}

bool LuaScript2::byteAt(int index, uint8_t& out)
{
    double value = 0.0;
    if (!numberAt(index, value))
        return false;
    out = luaNumberToByte(value);
    return true;
}

bool LuaScript2::getColor(const std::string& name, Color& out)
{
    StackRestorer restore(mState);
    pushField(name);
    uint8_t channels[4] = {0, 0, 0, 0};
    const bool ok = lua_istable(mState, -1) && byteAt(1, channels[0]) && byteAt(2, channels[1]) &&
                    byteAt(3, channels[2]) && byteAt(4, channels[3]);
    out = ok ? Color::fromBytes(channels[0], channels[1], channels[2], channels[3]) : Color();
    return ok;
}

void forEachTableEntry(LuaScript2& script, const std::function<void()>& body,
                       const std::function<void()>& notATable)
{
    lua_State* state = script.state();
    lua_pushnil(state);
    while (lua_next(state, -2) != 0) {
        if (script.enterTable()) {
            body();
            script.closeTable();
        } else {
            notATable();
        }
        lua_pop(state, 1);
    }
}

}  // namespace VQ
