#pragma once
// Named timing slots for a developer's benchmark overlay. Created off, and
// nothing switches it on, so the overlay that reads it draws nothing.

#include <string>

#include "singleton.h"
#include "wtimer.h"

namespace VQ {

class Benchmarker : public Singleton<Benchmarker> {
public:
    static constexpr int SLOT_COUNT = 100;

    struct Slot {
        Slot* next = nullptr;
        float seconds = 0.0f;
        std::string name;
        WTimer timer;
        bool measured = false;
    };

    Benchmarker() = default;

    bool isOn() const { return mState == 0; }
    const Slot& slot(int index) const { return mSlots[index]; }

private:
    int mState = 1;  // 1: off
    Slot mSlots[SLOT_COUNT];
};

}  // namespace VQ
