#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "job_manager.h"
#include "platform/performance_counter.h"
#include "wtimer.h"

namespace {

// Work that records how often it ran and was destroyed, optionally sleeping
// first or waiting for the test to let it go.
struct WorkLog {
    std::atomic<int> calls{0};
    std::atomic<int> destroyed{0};
    std::atomic<bool> gateOpen{true};
    std::atomic<bool> done{false};
    std::thread::id thread;
};

class TestWork : public VQ::IFunction {
public:
    TestWork(WorkLog& log, unsigned sleepMs = 0) : mLog(log), mSleepMs(sleepMs) {}
    ~TestWork() override { ++mLog.destroyed; }
    void invoke() override
    {
        mLog.thread = std::this_thread::get_id();
        ++mLog.calls;
        while (!mLog.gateOpen)
            VQ::sleepMilliseconds(1);
        if (mSleepMs)
            VQ::sleepMilliseconds(mSleepMs);
        mLog.done = true;
    }

private:
    WorkLog& mLog;
    unsigned mSleepMs;
};

// Updates like the frame loop until no job runs; the count of the last call.
int updateUntilIdle(VQ::JobManager& jobs)
{
    VQ::WTimer timer;
    int running = jobs.update();
    while (running != 0 && timer.elapsedSeconds() < 10.0f) {
        VQ::sleepMilliseconds(1);
        running = jobs.update();
    }
    return running;
}

TEST(JobManager, WithNoJobsNothingRuns)
{
    VQ::JobManager jobs;
    EXPECT_EQ(jobs.update(), 0);
}

TEST(JobManager, ASleepingJobCountsWhileItRunsAndIsReapedOnceAfter)
{
    VQ::JobManager jobs;
    WorkLog log;
    VQ::Job* job = jobs.addJob(std::make_unique<TestWork>(log, 50));
    EXPECT_FALSE(job->isRunning());
    job->start();
    EXPECT_TRUE(job->isStarted());
    EXPECT_TRUE(job->autoRemove());
    job->start();  // a second request while it runs starts nothing more
    EXPECT_EQ(jobs.update(), 1);

    EXPECT_EQ(updateUntilIdle(jobs), 0);
    EXPECT_EQ(jobs.jobCount(), 0u);
    EXPECT_TRUE(log.done);
    EXPECT_EQ(log.calls, 1);
    EXPECT_EQ(log.destroyed, 1);
    EXPECT_NE(log.thread, std::this_thread::get_id());
}

TEST(JobManager, TwoJobsHoldTheLoadingPathUntilBothReturn)
{
    VQ::JobManager jobs;
    WorkLog first, second;
    first.gateOpen = false;
    second.gateOpen = false;
    VQ::Job* firstJob = jobs.addJob(std::make_unique<TestWork>(first));
    firstJob->start();
    jobs.addJob(std::make_unique<TestWork>(second))->start();
    EXPECT_EQ(jobs.update(), 2);

    first.gateOpen = true;
    while (firstJob->isRunning())
        VQ::sleepMilliseconds(1);
    EXPECT_TRUE(firstJob->isFinished());
    EXPECT_EQ(jobs.update(), 1);
    EXPECT_EQ(first.destroyed, 1);  // the finished one is reaped while the other runs
    EXPECT_EQ(second.destroyed, 0);

    second.gateOpen = true;
    EXPECT_EQ(updateUntilIdle(jobs), 0);
    EXPECT_EQ(second.destroyed, 1);
}

TEST(JobManager, AJobNeverStartedStaysAndIsNotCounted)
{
    VQ::JobManager jobs;
    WorkLog log;
    jobs.addJob(std::make_unique<TestWork>(log));
    EXPECT_EQ(jobs.update(), 0);
    EXPECT_EQ(jobs.jobCount(), 1u);
    EXPECT_EQ(log.calls, 0);
    jobs.clear();
    EXPECT_EQ(jobs.jobCount(), 0u);
    EXPECT_EQ(log.destroyed, 1);
}

TEST(JobManager, ClearWaitsForARunningJob)
{
    WorkLog log;
    {
        VQ::JobManager jobs;
        jobs.addJob(std::make_unique<TestWork>(log, 100))->start();
        jobs.clear();
        EXPECT_TRUE(log.done);
        EXPECT_EQ(log.destroyed, 1);
        jobs.addJob(std::make_unique<TestWork>(log, 50))->start();
    }  // the destructor clears as well
    EXPECT_EQ(log.calls, 2);
    EXPECT_EQ(log.destroyed, 2);
}

TEST(JobManager, AJobWhoseThreadIsRefusedRunsHereAndFinishes)
{
    VQ::JobManager jobs;
    WorkLog log;
    VQ::Thread::setCreationFailsForTesting(true);
    testing::internal::CaptureStderr();
    VQ::Job* job = jobs.addJob(std::make_unique<TestWork>(log));
    job->start();
    const std::string errors = testing::internal::GetCapturedStderr();
    VQ::Thread::setCreationFailsForTesting(false);

    EXPECT_NE(errors.find("ERROR: Can't create job thread ("), std::string::npos) << errors;
    EXPECT_FALSE(job->isStarted());
    EXPECT_TRUE(job->isFinished());
    EXPECT_EQ(log.thread, std::this_thread::get_id());
    EXPECT_EQ(jobs.update(), 0);
    EXPECT_EQ(jobs.jobCount(), 0u);
    EXPECT_EQ(log.destroyed, 1);
}

}  // namespace
