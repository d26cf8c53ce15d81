#pragma once
// The smaller Lua accessor for readers that work with absolute stack
// positions (the level loader, the older bitmap font): run a text script,
// then read values through slots, restoring the stack with a guard.

#include <cstddef>
#include <string>
#include <vector>

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

// How many Lua instructions one run of a data script may take. Every shipped
// script needs a small fraction of it; a script that loops for ever fails
// with an error naming it instead of hanging the game.
constexpr long LUA_INSTRUCTION_BUDGET = 50'000'000;
// The budget runs get unless they name one: LUA_INSTRUCTION_BUDGET, lowered
// by fuzz targets so that a runaway input costs little.
long& luaInstructionBudget();

// How much memory one script state may hold: far above any shipped script,
// low enough that a script building strings or tables without end fails
// with Lua's "not enough memory" instead of taking the machine's memory.
constexpr size_t LUA_MEMORY_LIMIT = size_t(256) << 20;

// A state with the standard libraries whose allocations stop at
// LUA_MEMORY_LIMIT; closed by closeScriptState.
lua_State* newScriptState();
void closeScriptState(lua_State* state);

// Loads `text` (a script's bytes followed by a 0 byte; the chunk ends at its
// first 0 byte) as a text chunk named `name` and runs it within `budget`
// instructions. A precompiled chunk (first byte 0x1B) is refused: Lua 5.1
// runs its bytecode unchecked, so a damaged one can crash the interpreter.
// True when it loaded and ran; otherwise `error`, when given, receives Lua's
// message. The stack is left as it was.
bool runScriptText(lua_State* state, const std::vector<char>& text, const std::string& name,
                   std::string* error = nullptr, long budget = luaInstructionBudget());

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

    // Runs the text script ("default", name) through runScriptText; true
    // when it was found, loaded and ran. `error` as there.
    bool runFile(const std::string& name, std::string* error = nullptr);

    // Pushes the global; the caller restores the stack (LuaStackGuard).
    LuaStackSlot getGlobal(const std::string& name);

private:
    lua_State* mState;
    bool mOwned;
};

}  // namespace VQ
