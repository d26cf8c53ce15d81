#include "platform/performance_counter.h"

#include <chrono>
#include <thread>

namespace VQ {

namespace {
using Clock = std::chrono::steady_clock;
using Counts = std::chrono::nanoseconds;
}  // namespace

uint64_t performanceCounter()
{
    return static_cast<uint64_t>(std::chrono::duration_cast<Counts>(Clock::now().time_since_epoch()).count());
}

uint64_t performanceFrequency()
{
    return static_cast<uint64_t>(Counts::period::den / Counts::period::num);
}

void sleepMilliseconds(unsigned milliseconds)
{
    if (milliseconds == 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace VQ
