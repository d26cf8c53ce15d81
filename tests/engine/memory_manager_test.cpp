#include <gtest/gtest.h>

#include <cstdio>

#include "memory_manager.h"
#include "support/test_support.h"

using namespace TestSupport;

namespace {

TEST(MemoryManager, QuitReportWithNothingTrackedFollowsTheLastLogLine)
{
    TempDir dir;
    writeFile(dir.file("VQ.log"), "12:00:00: last line\n");
    VQ::MemoryManager manager;
    manager.dumpLeaks(dir.file("VQ.log"));
    EXPECT_EQ(readFile(dir.file("VQ.log")),
              "12:00:00: last line\n"
              "*******************************\n"
              "***** MEMORY MANAGED DUMP *****\n"
              "MemoryManager: Memory Leaks not found\n"
              "************* END *************\n"
              "*******************************\n");
}

TEST(MemoryManager, TrackedAllocationsAreReportedInAddressOrderWithFullPointers)
{
    TempDir dir;
    VQ::MemoryManager manager;
    static char area[64];
    manager.addAllocation(area + 32, 10, 7, "second.cpp");
    manager.addAllocation(area, 300, 42, "first.cpp");
    manager.addAllocation(area + 48, 1, 1, "gone.cpp");
    manager.removeAllocation(area + 48);
    EXPECT_EQ(manager.allocationCount(), 2u);
    manager.dumpLeaks(dir.file("VQ.log"));

    char first[128], second[128];
    std::snprintf(first, sizeof first, "WARNING: Possible memory leak at first.cpp:42, size 300 bytes, ptr %p ",
                  static_cast<void*>(area));
    std::snprintf(second, sizeof second, "WARNING: Possible memory leak at second.cpp:7, size 10 bytes, ptr %p ",
                  static_cast<void*>(area + 32));
    const auto lines = splitLines(readFile(dir.file("VQ.log")));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[2], first);
    EXPECT_EQ(lines[3], second);
    EXPECT_EQ(lines[4], "WARNING: Found 2 possible memory leaks");
    EXPECT_EQ(lines[5], "************* END *************");
}

TEST(MemoryManager, AnUnopenableLogFileGetsNothing)
{
    TempDir dir;
    VQ::MemoryManager manager;
    manager.dumpLeaks(dir.file("missing/VQ.log"));
    EXPECT_EQ(readFile(dir.file("missing/VQ.log")), "");
}

}  // namespace
