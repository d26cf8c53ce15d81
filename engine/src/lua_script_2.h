#pragma once
// Reads a Lua data script: runs it once in a fresh Lua 5.1 state of its own
// and reads the resulting globals and nested tables back with typed
// getters. A reader belongs to the thread that created it.
//
// Conventions every getter shares: "numeric" is a Lua number or a string
// Lua converts to one; integers are truncated toward zero; unsigned values
// are the low 32 bits (-1 reads 4294967295); bytes the low 8 bits (256
// reads 0). Flags are numbers: a Lua boolean is never converted, so
// getBool gives false for `true`, and the numeric getters keep the default.
// Each getter that takes a name pushes the value and pops it again, so the
// stack holds exactly the open tables between calls.

#include <cstdint>
#include <functional>
#include <string>

#include "color.h"

struct lua_State;

namespace VQ {

class LuaScript2 {
public:
    LuaScript2();
    ~LuaScript2();
    LuaScript2(const LuaScript2&) = delete;
    LuaScript2& operator=(const LuaScript2&) = delete;

    // Opens (package, name) through the file system and runs it as text
    // within the instruction budget (runScriptText: a precompiled chunk is
    // refused). True when it loaded and ran without error. Logs nothing;
    // when `error` is given it receives Lua's message when the script was
    // found but failed to load or run (empty otherwise).
    bool load(const std::string& name, const std::string& package, std::string* error = nullptr);

    lua_State* state() const { return mState; }
    int depth() const { return mDepth; }

    // Pushes the field of the innermost open table, or the global at depth 0.
    void pushField(const std::string& name);

    // Opens the named table (it stays on the stack until closeTable); false,
    // with the stack unchanged, when the value is not a table.
    bool openTable(const std::string& name);
    // Opens the table lying on top of the stack (a lua_next value). Fatal
    // when no table is open.
    bool enterTable();
    // Fatal when no table is open.
    void closeTable();

    // Failure values: "" / false / default.
    bool getString(const std::string& name, std::string& out);
    bool getBool(const std::string& name, bool& out);
    bool getFloat(const std::string& name, float& out, float defaultValue);
    bool getInt(const std::string& name, int& out, int defaultValue);
    bool getUInt(const std::string& name, unsigned& out, unsigned defaultValue);
    // {x, y}; both 0 on failure.
    bool getVector2(const std::string& name, float out[2]);
    // {a, b, c, d}, or a reference {script, field, package} to a rectangle
    // of another script (true once the reference is read, whatever it gives).
    // All 0 on failure.
    bool getRect(const std::string& name, float out[4]);
    // {red, green, blue, alpha} as bytes; colour 0 on failure.
    bool getColor(const std::string& name, Color& out);

    // Read the value on top of the stack without popping it; "" or 0 on
    // failure.
    bool topString(std::string& out);
    bool topFloat(float& out);
    bool topInt(int& out);
    bool topUInt(unsigned& out);

    // Element `index` of the table on top of the stack; `out` is left
    // unchanged on failure.
    bool stringAt(int index, std::string& out);
    bool floatAt(int index, float& out);
    bool getIntAt(int index, int& out);
    bool byteAt(int index, uint8_t& out);

private:
    bool numberAt(int index, double& out);
    bool getRectAt(const std::string& name, float out[4], int referenceDepth);
    static bool getRectFromScript(const std::string& script, const std::string& field,
                                  const std::string& package, float out[4], int referenceDepth);

    lua_State* mState = nullptr;
    int mDepth = 0;
};

// Walks the table open on top of the stack (lua_next order, so arrays in
// index order): each value that is a table is opened, `body` reads it, and
// it is closed again; for any other value `notATable` is called (it may
// stop with a fatal report).
void forEachTableEntry(LuaScript2& script, const std::function<void()>& body,
                       const std::function<void()>& notATable);

// The conversions of the getters, shared with the other Lua readers.
int32_t luaNumberToInt(double value);
uint32_t luaNumberToUInt(double value);
uint8_t luaNumberToByte(double value);

}  // namespace VQ
