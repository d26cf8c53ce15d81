#pragma once
// A 512 KB scratch area for large short-lived loader buffers, taken and given
// back strictly last in, first out: a user reads `top`, takes memory at that
// offset after checking that it fits, advances `top`, and sets it back to the
// value it read when done. `ScopedBlock` does exactly that.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace VQ {

class StackAllocator {
public:
    static constexpr uint32_t CAPACITY = 0x80000;

    StackAllocator();

    uint8_t* buffer() { return mBuffer.get(); }
    uint32_t capacity() const { return mCapacity; }
    uint32_t top() const { return mTop; }
    void setTop(uint32_t top) { mTop = top; }

    // A block of `size` bytes at the current top, or none (null data) when it
    // does not fit into the rest; the top goes back on destruction. Blocks
    // start 16-byte aligned so that loaders may read words from them.
    class ScopedBlock {
    public:
        ScopedBlock(StackAllocator& allocator, size_t size);
        ~ScopedBlock();
        ScopedBlock(const ScopedBlock&) = delete;
        ScopedBlock& operator=(const ScopedBlock&) = delete;

        uint8_t* data() const { return mData; }
        explicit operator bool() const { return mData != nullptr; }

    private:
        StackAllocator& mAllocator;
        uint32_t mSavedTop;
        uint8_t* mData = nullptr;
    };

private:
    std::unique_ptr<uint8_t[]> mBuffer;
    uint32_t mCapacity = CAPACITY;
    uint32_t mTop = 0;
};

}  // namespace VQ
