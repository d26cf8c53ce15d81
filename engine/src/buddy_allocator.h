#pragma once
// A 2 MB area handed out in power-of-two blocks of 16 KB to 2 MB, each
// aligned to its own size, first fit over a map of 128 pages. Loaders use it
// for large short-lived buffers; a failed request returns null and the caller
// falls back to the general heap.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace VQ {

class BuddyAllocator {
public:
    static constexpr size_t AREA_SIZE = 0x200000;
    static constexpr size_t PAGE_SIZE = 0x4000;
    static constexpr int PAGE_COUNT = 128;

    BuddyAllocator();

    // A free block of at least `size` bytes, or null.
    void* alloc(size_t size);
    // Frees the block at `address`; `size` must be the size that was
    // requested. An address that is not a block of this area is fatal.
    void dealloc(void* address, size_t size);

    uint8_t* base() const { return mBase.get(); }
    bool isPageUsed(int page) const { return mPageMap[page] != 0; }
    uint32_t bytesInUse() const { return mBytesInUse; }
    uint32_t peakBytesInUse() const { return mPeakBytesInUse; }

    // The block size serving a request: the smallest of 16 KB ... 2 MB that
    // holds it.
    static size_t blockSize(size_t size);

private:
    std::unique_ptr<uint8_t[]> mBase;
    uint8_t mPageMap[PAGE_COUNT] = {};
    uint32_t mBytesInUse = 0;
    uint32_t mPeakBytesInUse = 0;
};

}  // namespace VQ
