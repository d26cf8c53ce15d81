#include "buddy_allocator.h"

#include <cstring>

#include "fatal_error.h"

namespace VQ {

BuddyAllocator::BuddyAllocator() : mBase(new uint8_t[AREA_SIZE]) {}

size_t BuddyAllocator::blockSize(size_t size)
{
    size_t block = PAGE_SIZE;
    while (block < size && block < AREA_SIZE)
        block *= 2;
    return block;
}

void* BuddyAllocator::alloc(size_t size)
{
    if (size > AREA_SIZE)
        return nullptr;
    const size_t block = blockSize(size);
    const int pages = static_cast<int>(block / PAGE_SIZE);
    for (int position = 0; position < PAGE_COUNT; position += pages) {
        bool free = true;
        for (int page = position; page < position + pages && free; ++page)
            free = mPageMap[page] == 0;
        if (!free)
            continue;
        std::memset(mPageMap + position, 0xFF, pages);
        mBytesInUse += static_cast<uint32_t>(block);
        if (mBytesInUse > mPeakBytesInUse)
            mPeakBytesInUse = mBytesInUse;
        return mBase.get() + position * PAGE_SIZE;
    }
    return nullptr;
}

void BuddyAllocator::dealloc(void* address, size_t size)
{
    const auto* byte = static_cast<const uint8_t*>(address);
    const size_t block = blockSize(size);
    // Only blocks this allocator can have handed out are accepted: a start
    // outside the area, or one whose block would not line up with or would
    // run past the page map, would clear pages of other blocks (or beyond).
    const bool inside = byte >= mBase.get() && byte < mBase.get() + AREA_SIZE;
    const size_t offset = inside ? static_cast<size_t>(byte - mBase.get()) : 0;
    if (!inside || size > AREA_SIZE || offset % block != 0)
        assertFailed("VQ", "BuddyAllocator::dealloc(), Bad pointer specified", "buddy_allocator", 175);
    std::memset(mPageMap + offset / PAGE_SIZE, 0, block / PAGE_SIZE);
    mBytesInUse = mBytesInUse >= block ? mBytesInUse - static_cast<uint32_t>(block) : 0;
}

}  // namespace VQ
