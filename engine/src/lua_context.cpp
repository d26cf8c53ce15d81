#include "lua_context.h"

#include <cstring>
#include <vector>

#include "file_system.h"

extern "C" {
#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>
}

namespace VQ {

namespace {

// Elements 1..count of the table at `index`, all numeric, or nothing written.
bool readFloats(lua_State* state, int index, float* const* outputs, int count)
{
    if (!lua_istable(state, index))
        return false;
    LuaStackGuard guard(state);
    float values[8];
    for (int i = 0; i < count; ++i) {
        lua_rawgeti(state, index, i + 1);
        if (!lua_isnumber(state, -1))
            return false;
        values[i] = float(lua_tonumber(state, -1));
        lua_pop(state, 1);
    }
    for (int i = 0; i < count; ++i)
        *outputs[i] = values[i];
    return true;
}

}  // namespace

bool LuaStackSlot::isNumber() const
{
    return lua_isnumber(mState, mIndex) != 0;
}

float LuaStackSlot::toFloat() const
{
    return isNumber() ? float(lua_tonumber(mState, mIndex)) : 0.0f;
}

bool LuaStackSlot::getFloatPair(float& a, float& b) const
{
    float* const outputs[] = {&a, &b};
    return readFloats(mState, mIndex, outputs, 2);
}

bool LuaStackSlot::getFiveFloats(float& a, float& b, float& c, float& d, float& e) const
{
    float* const outputs[] = {&a, &b, &c, &d, &e};
    return readFloats(mState, mIndex, outputs, 5);
}

LuaStackGuard::LuaStackGuard(lua_State* state) : mState(state), mTop(lua_gettop(state)) {}

LuaStackGuard::~LuaStackGuard()
{
    lua_settop(mState, mTop);
}

LuaContext::LuaContext() : mState(luaL_newstate()), mOwned(true)
{
    luaL_openlibs(mState);
}

LuaContext::LuaContext(lua_State* state) : mState(state), mOwned(false) {}

LuaContext::~LuaContext()
{
    if (mOwned && mState)
        lua_close(mState);
}

bool LuaContext::runFile(const std::string& name)
{
    std::vector<char> text;
    if (!loadWholeResource("default", name, text))
        return false;
    text.push_back('\0');
    const int top = lua_gettop(mState);
    const size_t length = std::strlen(text.data());
    // Loading as text: a precompiled chunk's 0 bytes cut it short, and Lua
    // then rejects it as truncated.
    bool ok = luaL_loadbuffer(mState, text.data(), length, name.c_str()) == 0 &&
              lua_pcall(mState, 0, LUA_MULTRET, 0) == 0;
    lua_settop(mState, top);
    return ok;
}

LuaStackSlot LuaContext::getGlobal(const std::string& name)
{
    lua_getfield(mState, LUA_GLOBALSINDEX, name.c_str());
    return LuaStackSlot(mState, lua_gettop(mState));
}

}  // namespace VQ
