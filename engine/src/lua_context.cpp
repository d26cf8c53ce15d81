#include "lua_context.h"

#include <cstdio>
#include <cstdlib>
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

// Registry keys of the running script's budget: the instructions left and
// the script's name for the error.
char gBudgetLeftKey;
char gBudgetNameKey;

// Checked every BUDGET_STEP instructions.
constexpr int BUDGET_STEP = 1000;

void budgetHook(lua_State* state, lua_Debug*)
{
    lua_pushlightuserdata(state, &gBudgetLeftKey);
    lua_rawget(state, LUA_REGISTRYINDEX);
    const double left = lua_tonumber(state, -1) - BUDGET_STEP;
    lua_pop(state, 1);
    lua_pushlightuserdata(state, &gBudgetLeftKey);
    lua_pushnumber(state, left);
    lua_rawset(state, LUA_REGISTRYINDEX);
    if (left >= 0)
        return;
    lua_pushlightuserdata(state, &gBudgetNameKey);
    lua_rawget(state, LUA_REGISTRYINDEX);
    const char* name = lua_tostring(state, -1);
    luaL_error(state, "script '%s' ran past its instruction budget (a loop that never ends?)", name ? name : "?");
}

struct ScriptMemory {
    size_t used = 0;
};

void* cappedAlloc(void* userData, void* block, size_t oldSize, size_t newSize)
{
    auto* memory = static_cast<ScriptMemory*>(userData);
    if (newSize == 0) {
        std::free(block);
        memory->used -= oldSize;
        return nullptr;
    }
    if (newSize > oldSize && newSize - oldSize > LUA_MEMORY_LIMIT - memory->used)
        return nullptr;
    void* grown = std::realloc(block, newSize);
    if (grown)
        memory->used = memory->used - oldSize + newSize;
    return grown;
}

int reportPanic(lua_State* state)
{
    const char* message = lua_tostring(state, -1);
    std::fprintf(stderr, "PANIC: unprotected error in call to Lua API (%s)\n", message ? message : "?");
    return 0;
}

}  // namespace

long& luaInstructionBudget()
{
    static long budget = LUA_INSTRUCTION_BUDGET;
    return budget;
}

lua_State* newScriptState()
{
    auto* memory = new ScriptMemory();
    lua_State* state = lua_newstate(cappedAlloc, memory);
    if (!state) {
        delete memory;
        return nullptr;
    }
    lua_atpanic(state, reportPanic);
    luaL_openlibs(state);
    return state;
}

void closeScriptState(lua_State* state)
{
    if (!state)
        return;
    void* memory = nullptr;
    lua_getallocf(state, &memory);
    lua_close(state);
    delete static_cast<ScriptMemory*>(memory);
}

bool runScriptText(lua_State* state, const std::vector<char>& text, const std::string& name, std::string* error,
                   long budget)
{
    if (error)
        error->clear();
    const int top = lua_gettop(state);
    const char* data = text.empty() ? "" : text.data();
    if (data[0] == '\x1b') {
        if (error)
            *error = "script '" + name + "' is a precompiled Lua chunk; only text scripts are loaded";
        return false;
    }
    lua_pushlightuserdata(state, &gBudgetLeftKey);
    lua_pushnumber(state, double(budget));
    lua_rawset(state, LUA_REGISTRYINDEX);
    lua_pushlightuserdata(state, &gBudgetNameKey);
    lua_pushlstring(state, name.data(), name.size());
    lua_rawset(state, LUA_REGISTRYINDEX);
    // The hook stays set once the run is over: a metamethod the script left
    // behind runs on the same budget when a reader reaches it.
    lua_sethook(state, budgetHook, LUA_MASKCOUNT, BUDGET_STEP);
    int status = luaL_loadbuffer(state, data, std::strlen(data), name.c_str());
    if (status == 0)
        status = lua_pcall(state, 0, LUA_MULTRET, 0);
    if (status != 0 && error) {
        const char* message = lua_tostring(state, -1);
        *error = message ? message : "unknown Lua error";
    }
    lua_settop(state, top);
    return status == 0;
}

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

LuaContext::LuaContext() : mState(newScriptState()), mOwned(true) {}

LuaContext::LuaContext(lua_State* state) : mState(state), mOwned(false) {}

LuaContext::~LuaContext()
{
    if (mOwned)
        closeScriptState(mState);
}

bool LuaContext::runFile(const std::string& name, std::string* error)
{
    if (error)
        error->clear();
    std::vector<char> text;
    if (!loadWholeResource("default", name, text))
        return false;
    text.push_back('\0');
    return runScriptText(mState, text, name, error);
}

LuaStackSlot LuaContext::getGlobal(const std::string& name)
{
    lua_getfield(mState, LUA_GLOBALSINDEX, name.c_str());
    return LuaStackSlot(mState, lua_gettop(mState));
}

}  // namespace VQ
