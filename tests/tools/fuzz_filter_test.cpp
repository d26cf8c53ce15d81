// The fuzz targets' Lua filter: every shipped script passes it (so the seeds
// are real inputs and the corpus grows from them), and what reaches files,
// the system or loading code does not.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

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

// The Ogg fix-up computes the page checksum as libogg does: a shipped file
// comes back byte for byte, and a page damaged and repaired differs from
// the original in the damaged byte and its checksum only.
TEST(FuzzOggRepair, PageChecksumsAreThoseOfTheFormat)
{
    std::ifstream in(std::string(LANTERRA_SOURCE_DIR) + "/media/sounds/button_clicked.ogg", std::ios::binary);
    const std::vector<uint8_t> shipped((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(shipped.size(), 200u);
    std::vector<uint8_t> bytes = shipped;
    FuzzSupport::repairOggPages(bytes);
    EXPECT_EQ(bytes, shipped);

    const size_t damaged = shipped.size() - 10;
    bytes[damaged] ^= 0x5a;
    FuzzSupport::repairOggPages(bytes);
    size_t differing = 0;
    for (size_t i = 0; i < bytes.size(); ++i)
        differing += bytes[i] != shipped[i];
    EXPECT_NE(bytes[damaged], shipped[damaged]);
    EXPECT_GE(differing, 2u);
    EXPECT_LE(differing, 5u);
}
