#pragma once
// A stopwatch any part can own: started on construction, read as float
// seconds since the start.

#include <cstdint>

namespace VQ {

class WTimer {
public:
    WTimer();
    virtual ~WTimer() = default;

    // Re-reads the frequency and starts again from now.
    void reset();
    float elapsedSeconds();

private:
    uint64_t mStartCounter = 0;
    uint64_t mFrequency = 1;
    uint64_t mCounter = 0;
};

}  // namespace VQ
