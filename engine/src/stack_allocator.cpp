#include "stack_allocator.h"

namespace VQ {

namespace {
constexpr uint32_t BLOCK_ALIGNMENT = 16;
}

StackAllocator::StackAllocator() : mBuffer(new uint8_t[CAPACITY]) {}

StackAllocator::ScopedBlock::ScopedBlock(StackAllocator& allocator, size_t size) :
    mAllocator(allocator), mSavedTop(allocator.top())
{
    if (size > allocator.capacity() - mSavedTop)
        return;
    mData = allocator.buffer() + mSavedTop;
    // Rounding the next top up keeps every block aligned; the area's end is
    // aligned, so the rounded top never passes it.
    const uint64_t next = (uint64_t(mSavedTop) + size + BLOCK_ALIGNMENT - 1) & ~uint64_t(BLOCK_ALIGNMENT - 1);
    allocator.setTop(static_cast<uint32_t>(next));
}

StackAllocator::ScopedBlock::~ScopedBlock()
{
    mAllocator.setTop(mSavedTop);
}

}  // namespace VQ
