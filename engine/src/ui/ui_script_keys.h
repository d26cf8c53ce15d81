#pragma once
// The UI's reading of script keys: a key that is missing or of the wrong
// kind leaves the field as it was (the Lua reader's getters would write
// their failure values), so every value is read into a temporary and
// assigned only when the read succeeds.

#include <string>

#include "color.h"
#include "lua_script_2.h"
#include "rect.h"
#include "vector2.h"

namespace VQ::UIKeys {

inline bool readString(LuaScript2& script, const std::string& key, std::string& field)
{
    std::string value;
    if (!script.getString(key, value))
        return false;
    field = std::move(value);
    return true;
}

// A number, non-zero for true; a Lua boolean reads as absent.
inline bool readFlag(LuaScript2& script, const std::string& key, bool& field)
{
    bool value = false;
    if (!script.getBool(key, value))
        return false;
    field = value;
    return true;
}

inline bool readFloat(LuaScript2& script, const std::string& key, float& field)
{
    float value = 0.0f;
    if (!script.getFloat(key, value, 0.0f))
        return false;
    field = value;
    return true;
}

template <typename Int>
inline bool readInt(LuaScript2& script, const std::string& key, Int& field)
{
    int value = 0;
    if (!script.getInt(key, value, 0))
        return false;
    field = Int(value);
    return true;
}

inline bool readUInt(LuaScript2& script, const std::string& key, uint32_t& field)
{
    unsigned value = 0;
    if (!script.getUInt(key, value, 0))
        return false;
    field = value;
    return true;
}

inline bool readVector(LuaScript2& script, const std::string& key, Vector2f& field)
{
    float value[2] = {};
    if (!script.getVector2(key, value))
        return false;
    field = Vector2f(value[0], value[1]);
    return true;
}

inline bool readRect(LuaScript2& script, const std::string& key, Rect& field)
{
    float value[4] = {};
    if (!script.getRect(key, value))
        return false;
    field = Rect(value[0], value[1], value[2], value[3]);
    return true;
}

inline bool readColor(LuaScript2& script, const std::string& key, Color& field)
{
    Color value;
    if (!script.getColor(key, value))
        return false;
    field = value;
    return true;
}

}  // namespace VQ::UIKeys
