// The fuzz targets' Lua filter: every shipped script passes it (so the seeds
// are real inputs and the corpus grows from them), and what reaches files,
// the system or loading code does not.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "../fuzz/fuzz_support.h"

TEST(FuzzLuaFilter, EveryShippedScriptPassesIt)
{
    int scripts = 0;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(std::string(LANTERRA_SOURCE_DIR) + "/media")) {
        if (!entry.is_regular_file() || entry.path().extension() != ".lua")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_TRUE(FuzzSupport::looksSafeToRun(text)) << entry.path();
        ++scripts;
    }
    EXPECT_GT(scripts, 0);
}

TEST(FuzzLuaFilter, WhatReachesFilesTheSystemOrLoadingIsPassedOver)
{
    for (const char* text : {"os.exit()", "io.open('x')", "x = debug.getinfo(1)", "loadstring('x=1')()",
                             "load(f)", "require 'x'", "package.loaded.os.exit()", "_G['o' .. 's'].exit()",
                             "getfenv(1).os.exit()", "f = string.dump(g)", "x = 2os", "x = os", "a = 'x\\111'",
                             "x = [[ open", "-- [[ fine\nx = io", "s = 'unclosed"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(FuzzSupport::looksSafeToRun(text));
    }
    for (const char* text : {"load = { 'a', 'b' }", "t = { load = 1, os = 2 }", "s = 'os io load'",
                             "--[[ os.exit() ]] x = 1", "x = [==[ io ]==]", "for i = 1, 3 do x = i .. 'a' end",
                             "function f() return string.rep('x', 3) end", "while true do end"}) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(FuzzSupport::looksSafeToRun(text));
    }
}
