#include "engine_allocators.h"

namespace VQ {

EngineAllocators::~EngineAllocators() = default;

void EngineAllocators::setUp()
{
    mStackAllocator.reset();
    mBuddyAllocator.reset();
    mStackAllocator = std::make_unique<StackAllocator>();
    mBuddyAllocator = std::make_unique<BuddyAllocator>();
}

}  // namespace VQ
