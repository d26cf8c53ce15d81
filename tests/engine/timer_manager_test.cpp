#include <gtest/gtest.h>

#include <memory>

#include "benchmarker.h"
#include "platform/performance_counter.h"
#include "timer_manager.h"
#include "wtimer.h"

namespace {

TEST(TimerManager, FrameTimeAfterARealSleepIsSaneAndNeverNegative)
{
    auto timers = std::make_unique<VQ::TimerManager>();
    EXPECT_EQ(timers->frameTime(), 0.0f);
    EXPECT_EQ(VQ::TimerManager::instance(), timers.get());

    VQ::sleepMilliseconds(100);
    timers->tick();
    EXPECT_GE(timers->frameTime(), 0.095f);
    EXPECT_LT(timers->frameTime(), 2.0f);

    // The next tick measures only its own frame, not the time since start.
    timers->tick();
    EXPECT_GE(timers->frameTime(), 0.0f);
    EXPECT_LT(timers->frameTime(), 0.09f);
}

TEST(TimerManager, EachTickGetsTheStepSinceThePreviousReading)
{
    VQ::TimerManager timers;
    const uint64_t f = timers.frequency();
    const uint64_t start = timers.lastCounter();
    struct Case {
        uint64_t reading;
        float expected;
    };
    const Case cases[] = {
        {start + f / 2, 0.5f},
        {start + f / 2 + f / 100, 0.01f},
        {start + f / 2 + f / 100 + f / 1000, 0.001f},
        {start, 0.0f},                       // a reading before the last one
        {start + 3600 * f, 3600.0f},         // a long pause arrives unclamped
        {start + 3600 * f, 0.0f},
    };
    for (const Case& c : cases) {
        timers.tickAt(c.reading);
        EXPECT_NEAR(timers.frameTime(), c.expected, c.expected * 1e-5f + 1e-7f);
        EXPECT_EQ(timers.lastCounter(), c.reading);
    }
}

TEST(WTimer, MeasuresFromStartAndFromReset)
{
    VQ::WTimer timer;
    VQ::sleepMilliseconds(30);
    const float first = timer.elapsedSeconds();
    EXPECT_GE(first, 0.028f);
    EXPECT_LT(first, 2.0f);
    EXPECT_GE(timer.elapsedSeconds(), first);

    timer.reset();
    EXPECT_LT(timer.elapsedSeconds(), first);
}

TEST(Benchmarker, IsCreatedOffWithEmptySlots)
{
    VQ::Benchmarker benchmarker;
    EXPECT_FALSE(benchmarker.isOn());
    for (int i = 0; i < VQ::Benchmarker::SLOT_COUNT; ++i) {
        EXPECT_FALSE(benchmarker.slot(i).measured);
        EXPECT_EQ(benchmarker.slot(i).next, nullptr);
    }
}

}  // namespace
