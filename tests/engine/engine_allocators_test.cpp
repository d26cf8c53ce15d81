#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "buddy_allocator.h"
#include "engine_allocators.h"
#include "stack_allocator.h"
#include "support/test_support.h"

namespace {

constexpr size_t KB = 1024;

size_t offsetOf(const VQ::BuddyAllocator& buddy, void* block)
{
    return static_cast<size_t>(static_cast<uint8_t*>(block) - buddy.base());
}

TEST(BuddyAllocator, BlockSizeIsTheSmallestPowerOfTwoPageRunThatHoldsTheRequest)
{
    const struct {
        size_t request, block;
    } cases[] = {{0, 16 * KB},         {1, 16 * KB},         {16 * KB, 16 * KB},     {16 * KB + 1, 32 * KB},
                 {300 * KB, 512 * KB}, {1024 * KB, 1024 * KB}, {1024 * KB + 1, 2048 * KB}, {2048 * KB, 2048 * KB}};
    for (const auto& c : cases)
        EXPECT_EQ(VQ::BuddyAllocator::blockSize(c.request), c.block) << c.request;
}

TEST(BuddyAllocator, AlignedFirstFitOverThePages)
{
    VQ::BuddyAllocator buddy;
    // Each step: request -> expected offset (or none).
    const struct {
        size_t request;
        long offset;  // -1: null
    } steps[] = {
        {16 * KB, 0},                // page 0
        {32 * KB, 32 * KB},          // pages 2-3: a 32 KB block starts on a 32 KB boundary
        {16 * KB, 16 * KB},          // page 1, the first free page
        {300 * KB, 512 * KB},        // a 512 KB block skips the partly used first half of 512 KB
        {2048 * KB + 1, -1},         // larger than the area
        {2048 * KB, -1},             // the whole area is not free
        {1024 * KB, 1024 * KB},      // the upper half
        {512 * KB, -1},              // nothing of that size is left
    };
    for (const auto& s : steps) {
        void* block = buddy.alloc(s.request);
        if (s.offset < 0)
            EXPECT_EQ(block, nullptr) << s.request;
        else
            EXPECT_EQ(block ? long(offsetOf(buddy, block)) : -1, s.offset) << s.request;
    }
}

TEST(BuddyAllocator, EightQuarterBlocksFillTheAreaAndAFreedOneIsReused)
{
    VQ::BuddyAllocator buddy;
    std::vector<void*> blocks;
    for (int i = 0; i < 8; ++i) {
        blocks.push_back(buddy.alloc(256 * KB));
        ASSERT_NE(blocks.back(), nullptr);
        EXPECT_EQ(offsetOf(buddy, blocks.back()), size_t(i) * 256 * KB);
    }
    for (int page = 0; page < VQ::BuddyAllocator::PAGE_COUNT; ++page)
        EXPECT_TRUE(buddy.isPageUsed(page));
    EXPECT_EQ(buddy.alloc(256 * KB), nullptr);
    EXPECT_EQ(buddy.alloc(1), nullptr);

    buddy.dealloc(blocks[2], 256 * KB);
    EXPECT_EQ(buddy.alloc(256 * KB), blocks[2]);

    for (void* block : blocks)
        buddy.dealloc(block, 256 * KB);
    EXPECT_EQ(buddy.bytesInUse(), 0u);
    EXPECT_EQ(buddy.peakBytesInUse(), 2048 * KB);
    EXPECT_EQ(offsetOf(buddy, buddy.alloc(2048 * KB)), 0u);
}

TEST(BuddyAllocator, ABadPointerIsTheFatalReport)
{
    VQ::BuddyAllocator buddy;
    void* block = buddy.alloc(64 * KB);
    uint8_t outside[16];
    const struct {
        void* address;
        size_t size;
    } cases[] = {
        {outside, 16},
        {buddy.base() + VQ::BuddyAllocator::AREA_SIZE, 16},  // one past the end
        {nullptr, 16},
        {buddy.base() + 16 * KB, 64 * KB},                   // inside, but no 64 KB block starts there
        {buddy.base() + 1, 16},                              // not on a page
    };
    for (const auto& c : cases) {
        const VQ::FatalReport report = TestSupport::catchFatal([&] { buddy.dealloc(c.address, c.size); });
        EXPECT_EQ(report.name, "VQ");
        EXPECT_EQ(report.description, "BuddyAllocator::dealloc(), Bad pointer specified");
        EXPECT_EQ(report.file, "buddy_allocator");
        EXPECT_EQ(report.line, 175);
    }
    EXPECT_TRUE(buddy.isPageUsed(0));  // nothing was freed by the refused calls
    buddy.dealloc(block, 64 * KB);
    EXPECT_FALSE(buddy.isPageUsed(0));
}

TEST(StackAllocator, BlocksNestLastInFirstOut)
{
    VQ::StackAllocator stack;
    EXPECT_EQ(stack.capacity(), 0x80000u);
    EXPECT_EQ(stack.top(), 0u);
    {
        VQ::StackAllocator::ScopedBlock outer(stack, 100);
        ASSERT_TRUE(outer);
        EXPECT_EQ(outer.data(), stack.buffer());
        const uint32_t afterOuter = stack.top();
        EXPECT_GE(afterOuter, 100u);
        {
            VQ::StackAllocator::ScopedBlock inner(stack, 1000);
            ASSERT_TRUE(inner);
            EXPECT_EQ(inner.data(), stack.buffer() + afterOuter);
            EXPECT_EQ(reinterpret_cast<uintptr_t>(inner.data()) % 16, 0u);
            VQ::StackAllocator::ScopedBlock tooLarge(stack, stack.capacity());
            EXPECT_FALSE(tooLarge);
            EXPECT_EQ(stack.top(), afterOuter + 1008u);
        }
        EXPECT_EQ(stack.top(), afterOuter);
        VQ::StackAllocator::ScopedBlock rest(stack, stack.capacity() - afterOuter);  // exactly the rest fits
        EXPECT_TRUE(rest);
        EXPECT_EQ(stack.top(), stack.capacity());
        VQ::StackAllocator::ScopedBlock none(stack, 1);
        EXPECT_FALSE(none);
    }
    EXPECT_EQ(stack.top(), 0u);
}

TEST(EngineAllocators, SetUpGivesFreshAreas)
{
    VQ::EngineAllocators allocators;
    EXPECT_EQ(allocators.stackAllocator(), nullptr);
    allocators.setUp();
    ASSERT_NE(allocators.buddyAllocator(), nullptr);
    ASSERT_NE(allocators.buddyAllocator()->alloc(2048 * KB), nullptr);
    allocators.stackAllocator()->setTop(64);

    allocators.setUp();
    EXPECT_EQ(allocators.stackAllocator()->top(), 0u);
    EXPECT_NE(allocators.buddyAllocator()->alloc(2048 * KB), nullptr);
    EXPECT_EQ(VQ::EngineAllocators::instance(), &allocators);
}

}  // namespace
