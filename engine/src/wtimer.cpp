#include "wtimer.h"

#include "platform/performance_counter.h"

namespace VQ {

WTimer::WTimer()
{
    reset();
}

void WTimer::reset()
{
    mFrequency = performanceFrequency();
    mStartCounter = performanceCounter();
    mCounter = mStartCounter;
}

float WTimer::elapsedSeconds()
{
    mCounter = performanceCounter();
    return static_cast<float>(static_cast<double>(mCounter - mStartCounter) / static_cast<double>(mFrequency));
}

}  // namespace VQ
