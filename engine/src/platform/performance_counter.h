#pragma once
// The high-resolution clock every timer reads, and sleeping. Monotonic: the
// counter never goes back when the wall clock is changed.

#include <cstdint>

namespace VQ {

// Counts since an arbitrary start; `performanceFrequency` counts make a second.
uint64_t performanceCounter();
uint64_t performanceFrequency();

// Suspends the calling thread; 0 gives the processor to another thread.
void sleepMilliseconds(unsigned milliseconds);

}  // namespace VQ
