#include "timer_manager.h"

#include "platform/performance_counter.h"

namespace VQ {

TimerManager::TimerManager()
{
    mFrequency = performanceFrequency();
    mStartCounter = performanceCounter();
    mLastCounter = mStartCounter;
    mFrameTime = 0.0f;
    // The main thread is not pinned to one processor here. The pinning only
    // guarded against counters that differ between processors, which the
    // monotonic clock does not have; and on Linux every thread inherits its
    // creator's processor mask, so pinning the main thread would confine the
    // loading jobs and the video thread to the same single core. With no
    // pinning there is no previous mask to restore on destruction either.
}

TimerManager::~TimerManager() = default;

void TimerManager::tick()
{
    tickAt(performanceCounter());
}

void TimerManager::tickAt(uint64_t counter)
{
    const auto difference = static_cast<int64_t>(counter - mLastCounter);
    const double step = static_cast<double>(difference) / static_cast<double>(mFrequency);
    mFrameTime = step < 0.0 ? 0.0f : static_cast<float>(step);
    mLastCounter = counter;
}

}  // namespace VQ
