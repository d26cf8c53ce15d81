#include <gtest/gtest.h>

#include <signal.h>

#include <atomic>
#include <thread>

#include "platform/thread_posix.h"

namespace {

TEST(Thread, RunsTheBodyOnItsOwnThreadWithTheCrashStack)
{
    std::atomic<bool> ran{false};
    bool hasAltStack = false;
    std::thread::id bodyThread;
    VQ::Thread thread;
    std::string reason = "untouched";
    ASSERT_TRUE(thread.start(
        [&] {
            stack_t current{};
            sigaltstack(nullptr, &current);
            hasAltStack = (current.ss_flags & SS_DISABLE) == 0 && current.ss_size > 0;
            bodyThread = std::this_thread::get_id();
            ran = true;
        },
        &reason));
    EXPECT_TRUE(thread.started());
    thread.join();
    EXPECT_FALSE(thread.started());
    EXPECT_TRUE(ran);
    EXPECT_TRUE(hasAltStack);
    EXPECT_NE(bodyThread, std::this_thread::get_id());
    EXPECT_EQ(reason, "untouched");
    thread.join();  // a second join is harmless
}

TEST(Thread, RefusedCreationReportsTheReasonAndRunsNothing)
{
    VQ::Thread::setCreationFailsForTesting(true);
    bool ran = false;
    VQ::Thread thread;
    std::string reason;
    EXPECT_FALSE(thread.start([&] { ran = true; }, &reason));
    VQ::Thread::setCreationFailsForTesting(false);
    EXPECT_FALSE(thread.started());
    EXPECT_FALSE(reason.empty());
    EXPECT_FALSE(ran);
}

}  // namespace
