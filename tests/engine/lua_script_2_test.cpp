#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "lua_context.h"
#include "lua_script_2.h"
#include "support/content_fixture.h"

extern "C" {
#include <lua.h>
}

using namespace TestSupport;

namespace {

class LuaScript2Test : public ContentTest {
protected:
    void SetUp() override
    {
        ContentTest::SetUp();
        copyFixture("content");
        addResource("getters_lua", "data/getters.lua");
        addResource("rects_lua", "data/rects.lua");
    }
    void addResource(const std::string& name, const std::string& path)
    {
        mFileSystem->filesOfPackage("default")[name] = path;
    }
    void addScript(const std::string& name, const std::string& text)
    {
        writeContent("scripts/" + name, text);
        addResource(name, "scripts/" + name);
    }
    // Compiles a script with the Lua 5.1 compiler into a resource.
    void addPrecompiled(const std::string& name, const std::string& text)
    {
        writeContent("source.lua", text);
        const ProcessResult result =
            runProcess("/usr/bin/luac5.1", {"-o", contentPath(name), contentPath("source.lua")}, mDir.path(), {});
        ASSERT_TRUE(result.exited && result.exitCode == 0) << result.output;
        addResource(name, name);
    }
};

}  // namespace

TEST_F(LuaScript2Test, NumericGettersFollowTheValueConventions)
{
    VQ::LuaScript2 script;
    ASSERT_TRUE(script.load("getters_lua", "default"));

    struct BoolCase {
        const char* name;
        bool value;
        bool result;
    };
    for (const BoolCase& c : {BoolCase{"one", true, true}, BoolCase{"zero", false, true}, BoolCase{"half", false, true},
                              BoolCase{"minusHalf", false, true}, BoolCase{"twoAndHalf", true, true},
                              BoolCase{"minusOne", true, true}, BoolCase{"textOne", true, true},
                              BoolCase{"yes", false, false}, BoolCase{"no", false, false},
                              BoolCase{"absent", false, false}}) {
        SCOPED_TRACE(c.name);
        bool value = !c.value;
        EXPECT_EQ(script.getBool(c.name, value), c.result);
        EXPECT_EQ(value, c.value);
    }

    struct IntCase {
        const char* name;
        int value;
        unsigned uvalue;
        bool result;
    };
    for (const IntCase& c : {IntCase{"twoNine", 2, 2u, true}, IntCase{"minusTwoNine", -2, 4294967294u, true},
                             IntCase{"textSeven", 7, 7u, true}, IntCase{"textHex", 16, 16u, true},
                             IntCase{"textPadded", 12, 12u, true}, IntCase{"minusOne", -1, 4294967295u, true},
                             IntCase{"yes", 1, 1u, false}, IntCase{"no", 1, 1u, false},
                             IntCase{"textWord", 1, 1u, false}, IntCase{"absent", 1, 1u, false}}) {
        SCOPED_TRACE(c.name);
        int value = 99;
        unsigned uvalue = 99;
        float fvalue = 99.0f;
        EXPECT_EQ(script.getInt(c.name, value, 1), c.result);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(script.getUInt(c.name, uvalue, 1), c.result);
        EXPECT_EQ(uvalue, c.uvalue);
        EXPECT_EQ(script.getFloat(c.name, fvalue, 1.0f), c.result);
        if (!c.result) {
            EXPECT_EQ(fvalue, 1.0f);
        }
    }
    float f = 0.0f;
    EXPECT_TRUE(script.getFloat("twoNine", f, 0.0f));
    EXPECT_FLOAT_EQ(f, 2.9f);

    // Values out of the integer range saturate instead of overflowing.
    EXPECT_EQ(VQ::luaNumberToInt(1e20), 2147483647);
    EXPECT_EQ(VQ::luaNumberToInt(NAN), 0);
    EXPECT_EQ(VQ::luaNumberToByte(256.0), 0);
    EXPECT_EQ(lua_gettop(script.state()), 0);
}

TEST_F(LuaScript2Test, StringAndCompoundGettersGiveFixedFailureValues)
{
    VQ::LuaScript2 script;
    ASSERT_TRUE(script.load("getters_lua", "default"));

    std::string text = "old";
    EXPECT_TRUE(script.getString("twoAndHalf", text));
    EXPECT_EQ(text, "2.5");
    EXPECT_FALSE(script.getString("yes", text));
    EXPECT_EQ(text, "");
    text = "old";
    EXPECT_FALSE(script.getString("absent", text));
    EXPECT_EQ(text, "");

    VQ::Color color(0xFFFFFFFFu);
    EXPECT_TRUE(script.getColor("color", color));
    EXPECT_EQ(color.argb(), 0xFFFF8000u);
    EXPECT_TRUE(script.getColor("colorWrap", color));
    EXPECT_EQ(color.r, 44);
    color = VQ::Color(0xFFFFFFFFu);
    EXPECT_FALSE(script.getColor("colorShort", color));
    EXPECT_EQ(color.argb(), 0u);

    float pair[2] = {9.0f, 9.0f};
    EXPECT_TRUE(script.getVector2("pair", pair));
    EXPECT_FLOAT_EQ(pair[0], 1.5f);
    EXPECT_FLOAT_EQ(pair[1], 2.0f);
    EXPECT_FALSE(script.getVector2("single", pair));
    EXPECT_EQ(pair[0], 0.0f);
    EXPECT_EQ(pair[1], 0.0f);

    float rect[4] = {9, 9, 9, 9};
    EXPECT_TRUE(script.getRect("rect", rect));
    EXPECT_EQ(rect[3], 4.0f);
    EXPECT_FALSE(script.getRect("shortRect", rect));
    EXPECT_EQ(rect[0], 0.0f);
    EXPECT_FALSE(script.getRect("one", rect));
    EXPECT_EQ(lua_gettop(script.state()), 0);
}

TEST_F(LuaScript2Test, RectanglesFollowReferencesToOtherScripts)
{
    VQ::LuaScript2 script;
    ASSERT_TRUE(script.load("rects_lua", "default"));
    float rect[4] = {9, 9, 9, 9};
    EXPECT_TRUE(script.getRect("borrowed", rect));
    EXPECT_EQ(rect[0], 10.0f);
    EXPECT_EQ(rect[3], 40.0f);

    // A reference that leads nowhere is still a reference: true, all zero.
    for (const char* name : {"missingField", "missingScript", "selfLoop"}) {
        SCOPED_TRACE(name);
        float r[4] = {9, 9, 9, 9};
        EXPECT_TRUE(script.getRect(name, r));
        EXPECT_EQ(r[0], 0.0f);
        EXPECT_EQ(r[3], 0.0f);
    }
    // The cycle ends at the depth limit with a warning.
    EXPECT_EQ(countLogLines("WARNING: Rectangle reference to 'selfLoop' of 'rects_lua' nests deeper than 16 scripts"),
              1);
    EXPECT_EQ(lua_gettop(script.state()), 0);
}

TEST_F(LuaScript2Test, NestedTablesOpenByNameAndPosition)
{
    VQ::LuaScript2 script;
    ASSERT_TRUE(script.load("getters_lua", "default"));
    lua_State* state = script.state();

    EXPECT_FALSE(script.openTable("one"));
    EXPECT_FALSE(script.openTable("absent"));
    EXPECT_EQ(lua_gettop(state), 0);

    ASSERT_TRUE(script.openTable("outer"));
    std::string title;
    EXPECT_TRUE(script.getString("title", title));
    EXPECT_EQ(title, "outer");
    ASSERT_TRUE(script.openTable("inner"));
    int depth = 0;
    EXPECT_TRUE(script.getInt("depth", depth, 0));
    EXPECT_EQ(depth, 2);
    ASSERT_TRUE(script.openTable("list"));
    std::string element = "unchanged";
    EXPECT_TRUE(script.stringAt(2, element));
    EXPECT_EQ(element, "b");
    EXPECT_FALSE(script.stringAt(7, element));
    EXPECT_EQ(element, "b");
    EXPECT_EQ(script.depth(), 3);
    script.closeTable();
    script.closeTable();

    ASSERT_TRUE(script.openTable("rows"));
    std::vector<int> rows;
    VQ::forEachTableEntry(
        script,
        [&] {
            int value = 0;
            EXPECT_TRUE(script.getIntAt(1, value));
            rows.push_back(value);
        },
        [] { FAIL(); });
    EXPECT_EQ(rows, (std::vector<int>{10, 20, 30}));

    // Walking by hand: the stack-top readers see the lua_next value.
    std::vector<float> seen;
    lua_pushnil(state);
    while (lua_next(state, -2) != 0) {
        float value = -1.0f;
        EXPECT_FALSE(script.topFloat(value));
        EXPECT_EQ(value, 0.0f);
        ASSERT_TRUE(script.enterTable());
        uint8_t byte = 0;
        EXPECT_TRUE(script.byteAt(1, byte));
        seen.push_back(byte);
        script.closeTable();
        lua_pop(state, 1);
    }
    EXPECT_EQ(seen, (std::vector<float>{10, 20, 30}));
    script.closeTable();
    script.closeTable();
    EXPECT_EQ(script.depth(), 0);
    EXPECT_EQ(lua_gettop(state), 0);
}

TEST_F(LuaScript2Test, TableMisuseStopsWithTheReport)
{
    VQ::LuaScript2 script;
    ASSERT_TRUE(script.load("getters_lua", "default"));
    VQ::FatalReport report = catchFatal([&] { script.closeTable(); });
    EXPECT_EQ(report.file, "lua_script_2");
    EXPECT_EQ(report.line, 163);
    // "LuaScript::closeTable() " and Cyrillic text in Windows-1251.
    EXPECT_EQ(report.description.rfind("LuaScript::closeTable() \xe2\xfb\xe7\xe2\xe0\xed", 0), 0u);

    ASSERT_TRUE(script.openTable("outer"));
    script.closeTable();
    report = catchFatal([&] { script.closeTable(); });
    EXPECT_EQ(report.line, 163);

    report = catchFatal([&] { script.enterTable(); });
    EXPECT_EQ(report.file, "lua_script_2");
    EXPECT_EQ(report.line, 144);
    EXPECT_EQ(report.description.substr(0, 3), "\xcd\xe5\xe2");
}

TEST_F(LuaScript2Test, LoadSucceedsOnlyWhenTheChunkLoadsAndRuns)
{
    addScript("comment_lua", "-- a comment first\nvalue = 5");
    addScript("syntax_lua", "value = = 5");
    addScript("raises_lua", "value = 5\nerror('no')");
    addScript("empty_lua", "");
    addScript("zero_lua", std::string("value = 5\0garbage(", 18));
    addPrecompiled("compiled_lua", "value = 6");
    addPrecompiled("compiled_raises_lua", "value = 6\nerror('no')");

    struct Case {
        const char* name;
        bool loads;
        int value;
    };
    for (const Case& c : {Case{"comment_lua", true, 5}, Case{"syntax_lua", false, 0}, Case{"raises_lua", false, 5},
                          Case{"empty_lua", true, 0}, Case{"zero_lua", true, 5}, Case{"compiled_lua", false, 0},
                          Case{"compiled_raises_lua", false, 0}, Case{"absent_lua", false, 0}}) {
        SCOPED_TRACE(c.name);
        VQ::LuaScript2 script;
        std::string error;
        EXPECT_EQ(script.load(c.name, "default", &error), c.loads);
        EXPECT_EQ(error.empty(), c.loads || std::string(c.name) == "absent_lua") << error;
        int value = 0;
        script.getInt("value", value, 0);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(lua_gettop(script.state()), 0);
    }
    {
        VQ::LuaScript2 script;
        std::string error;
        EXPECT_FALSE(script.load("compiled_lua", "default", &error));
        EXPECT_NE(error.find("'compiled_lua' is a precompiled Lua chunk"), std::string::npos) << error;
    }
    // Failures are the caller's to report: a missing key logs nothing.
    for (const std::string& line : logLines())
        EXPECT_EQ(line.find("absent_lua"), std::string::npos) << line;
}

// A script that never ends fails within the budget, with an error naming it,
// in both loaders, and one that grows without end at the memory limit; the
// state stays usable for the next run.
TEST_F(LuaScript2Test, ARunawayScriptFailsPastItsInstructionBudget)
{
    addScript("loop_lua", "value = 1\nwhile true do end");
    addScript("deep_lua", "local function f() return f() end\nf()");
    addScript("after_lua", "value = 2");
    for (const char* name : {"loop_lua", "deep_lua"}) {
        SCOPED_TRACE(name);
        VQ::LuaScript2 script;
        std::string error;
        EXPECT_FALSE(script.load(name, "default", &error));
        EXPECT_NE(error.find(std::string("script '") + name + "' ran past its instruction budget"),
                  std::string::npos)
            << error;
        EXPECT_TRUE(script.load("after_lua", "default"));
        int value = 0;
        script.getInt("value", value, 0);
        EXPECT_EQ(value, 2);
    }
    VQ::LuaContext context;
    std::string error;
    EXPECT_FALSE(context.runFile("loop_lua", &error));
    EXPECT_NE(error.find("script 'loop_lua' ran past"), std::string::npos) << error;
    // A string doubled without end stops at the memory limit.
    addScript("grow_lua", "local s = 'x'\nwhile true do s = s .. s end");
    EXPECT_FALSE(context.runFile("grow_lua", &error));
    EXPECT_NE(error.find("not enough memory"), std::string::npos) << error;
    // A small budget counts, and a run within it passes.
    std::vector<char> text{'x', '=', '1', '\0'};
    EXPECT_TRUE(VQ::runScriptText(context.state(), text, "small", nullptr, 10'000));
}

// Every shipped script (campaign, levels, UI, configuration, lists) runs in
// a fiftieth of the budget, so the budget stops only runaway scripts.
TEST(LuaInstructionBudget, EveryShippedScriptRunsWellWithinIt)
{
    int scripts = 0;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(std::string(LANTERRA_SOURCE_DIR) + "/media")) {
        if (!entry.is_regular_file() || entry.path().extension() != ".lua")
            continue;
        SCOPED_TRACE(entry.path().string());
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<char> text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        text.push_back('\0');
        VQ::LuaContext context;
        std::string error;
        EXPECT_TRUE(VQ::runScriptText(context.state(), text, entry.path().filename().string(), &error,
                                      VQ::LUA_INSTRUCTION_BUDGET / 50))
            << error;
        ++scripts;
    }
    EXPECT_GT(scripts, 0);
}

TEST_F(LuaScript2Test, ContextRunsTextScriptsAndReadsBySlot)
{
    addScript("font_lua", "pair = { 1, '2' }\nrow = { 1, 2, 3, 4, 5 }\nshort = { 1, 2, 3, 4 }\nnum = '3.5'");
    addPrecompiled("compiled_lua", "pair = { 1, 2 }");

    VQ::LuaContext context;
    EXPECT_FALSE(context.runFile("absent_lua"));
    EXPECT_FALSE(context.runFile("compiled_lua"));
    ASSERT_TRUE(context.runFile("font_lua"));
    lua_State* state = context.state();
    {
        VQ::LuaStackGuard guard(state);
        VQ::LuaStackSlot pair = context.getGlobal("pair");
        VQ::LuaStackSlot row = context.getGlobal("row");
        VQ::LuaStackSlot shortRow = context.getGlobal("short");
        VQ::LuaStackSlot num = context.getGlobal("num");
        EXPECT_EQ(pair.index(), 1);
        EXPECT_EQ(num.index(), 4);

        float a = 0, b = 0, c = 0, d = 0, e = 0;
        EXPECT_TRUE(pair.getFloatPair(a, b));
        EXPECT_EQ(b, 2.0f);
        EXPECT_TRUE(row.getFiveFloats(a, b, c, d, e));
        EXPECT_EQ(e, 5.0f);
        e = -1;
        EXPECT_FALSE(shortRow.getFiveFloats(a, b, c, d, e));
        EXPECT_EQ(e, -1.0f);
        EXPECT_FALSE(num.getFloatPair(a, b));
        EXPECT_TRUE(num.isNumber());
        EXPECT_FLOAT_EQ(num.toFloat(), 3.5f);
        EXPECT_FALSE(pair.isNumber());
        EXPECT_EQ(pair.toFloat(), 0.0f);
        EXPECT_EQ(lua_gettop(state), 4);
    }
    EXPECT_EQ(lua_gettop(state), 0);
}
