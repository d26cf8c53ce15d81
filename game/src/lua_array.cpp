#include "lua_array.h"

#include <lua.hpp>

#include "lua_script_2.h"

void forEachElement(VQ::LuaScript2& script, const std::function<void()>& visit)
{
    lua_State* state = script.state();
    if (!lua_istable(state, -1))
        return;
    lua_pushnil(state);
    while (lua_next(state, -2) != 0) {
        visit();
        lua_pop(state, 1);
    }
}
