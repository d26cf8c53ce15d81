#pragma once
// The frame clock: measures each frame's time step from the performance
// counter. Everything that animates reads `frameTime` and caps it itself.

#include <cstdint>

#include "singleton.h"

namespace VQ {

class TimerManager : public Singleton<TimerManager> {
public:
    TimerManager();
    ~TimerManager() override;

    // Once per frame, on the main thread: the step since the previous tick
    // (or since construction). Not capped: a long pause arrives whole.
    void tick();
    // The same measurement from a given counter reading; a reading before the
    // last one gives a step of 0.
    void tickAt(uint64_t counter);

    // Seconds; 0 until the first tick, never negative.
    float frameTime() const { return mFrameTime; }
    uint64_t frequency() const { return mFrequency; }
    uint64_t startCounter() const { return mStartCounter; }
    uint64_t lastCounter() const { return mLastCounter; }

private:
    float mFrameTime = 0.0f;
    uint64_t mStartCounter = 0;
    uint64_t mFrequency = 1;
    uint64_t mLastCounter = 0;
};

}  // namespace VQ
