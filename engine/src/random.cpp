#include "random.h"

#include <atomic>

namespace VQ {

namespace {

std::atomic<uint32_t> gState{1};

}  // namespace

int rand()
{
    uint32_t state = gState.load(std::memory_order_relaxed);
    uint32_t next;
    do {
        next = state * 214013u + 2531011u;
    } while (!gState.compare_exchange_weak(state, next, std::memory_order_relaxed));
    return int((next >> 16) & 0x7FFF);
}

void srand(uint32_t seed)
{
    gState.store(seed, std::memory_order_relaxed);
}

}  // namespace VQ
