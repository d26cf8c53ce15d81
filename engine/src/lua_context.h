#pragma once
// The smaller Lua accessor for readers that work with absolute stack
// positions (the level loader, the older bitmap font): run a text script,
// then read values through slots, restoring the stack with a guard.

#include <string>

struct lua_State;

namespace VQ {

// One value on the Lua stack, by absolute index.
class LuaStackSlot {
public:
    LuaStackSlot(lua_State* state, int index) : mState(state), mIndex(index) {}

    lua_State* state() const { return mState; }
    int index() const { return mIndex; }

    bool isNumber() const;
    // 0 when not numeric.
    float toFloat() const;
    // Elements 1 and 2 of the table in the slot, both numeric; otherwise
    // false with the outputs unchanged. The stack top is restored.
    bool getFloatPair(float& a, float& b) const;
    // Elements 1 to 5, likewise.
    bool getFiveFloats(float& a, float& b, float& c, float& d, float& e) const;

private:
    lua_State* mState;
    int mIndex;
};

// Sets the stack top back to where it was at construction.
class LuaStackGuard {
public:
    explicit LuaStackGuard(lua_State* state);
    ~LuaStackGuard();
    LuaStackGuard(const LuaStackGuard&) = delete;
    LuaStackGuard& operator=(const LuaStackGuard&) = delete;

private:
    lua_State* mState;
    int mTop;
};

class LuaContext {
public:
    // A fresh state with the standard libraries, closed by the destructor.
    LuaContext();
    // Wraps a state the caller keeps owning.
    explicit LuaContext(lua_State* state);
    ~LuaContext();
    LuaContext(const LuaContext&) = delete;
    LuaContext& operator=(const LuaContext&) = delete;

    lua_State* state() const { return mState; }

    // Runs the text script ("default", name); true when it was found, loaded
    // and ran. Precompiled chunks are not accepted here.
    bool runFile(const std::string& name);

    // Pushes the global; the caller restores the stack (LuaStackGuard).
    LuaStackSlot getGlobal(const std::string& name);

private:
    lua_State* mState;
    bool mOwned;
};

}  // namespace VQ
