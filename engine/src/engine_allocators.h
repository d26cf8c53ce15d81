#pragma once
// The engine's two fixed memory areas for large short-lived loader buffers:
// the 512 KB stack area and the 2 MB buddy area. Neither takes a lock: they
// are used by loading code, which runs on the main thread or inside the one
// running loading job while the main thread only draws the loading screen.

#include <memory>

#include "buddy_allocator.h"
#include "singleton.h"
#include "stack_allocator.h"

namespace VQ {

class EngineAllocators : public Singleton<EngineAllocators> {
public:
    EngineAllocators() = default;
    ~EngineAllocators() override;

    // (Re)creates both allocators with fresh areas; existing ones and their
    // areas are freed first.
    void setUp();

    // Null before `setUp`.
    StackAllocator* stackAllocator() const { return mStackAllocator.get(); }
    BuddyAllocator* buddyAllocator() const { return mBuddyAllocator.get(); }

private:
    std::unique_ptr<StackAllocator> mStackAllocator;
    std::unique_ptr<BuddyAllocator> mBuddyAllocator;
};

}  // namespace VQ
