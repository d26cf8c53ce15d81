#include "job_manager.h"

#include "log_system.h"

namespace VQ {

Job::Job(std::unique_ptr<IFunction> work) : mWork(std::move(work)) {}

void Job::start()
{
    if (mRunning.load(std::memory_order_acquire))
        return;
    mRunning.store(true, std::memory_order_release);
    mFinished.store(false, std::memory_order_release);
    mAutoRemove = true;
    if (mStarted)
        return;
    std::string reason;
    if (mThread.start([this] { run(); }, &reason)) {
        mStarted = true;
        return;
    }
    // Left running without a thread, the job would hold the loading screen
    // for ever; doing the work here keeps the game going.
    logIfPossible(formatString("ERROR: Can't create job thread (%s), running the job on the calling thread",
                               reason.c_str()));
    run();
}

void Job::run()
{
    if (mWork)
        mWork->call();
    mFinished.store(true, std::memory_order_release);
    // The main thread may delete the job as soon as it sees this clear.
    mRunning.store(false, std::memory_order_release);
}

JobManager::~JobManager()
{
    clear();
}

Job* JobManager::addJob(std::unique_ptr<IFunction> work)
{
    mJobs.push_back(std::make_unique<Job>(std::move(work)));
    return mJobs.back().get();
}

int JobManager::update()
{
    int running = 0;
    for (auto it = mJobs.begin(); it != mJobs.end();) {
        Job& job = **it;
        if (job.isRunning()) {
            ++running;
            ++it;
        } else if (job.mAutoRemove) {
            // The thread has ended its work; joining only releases it.
            job.mThread.join();
            it = mJobs.erase(it);
        } else {
            ++it;
        }
    }
    return running;
}

void JobManager::clear()
{
    for (auto& job : mJobs)
        job->mThread.join();
    mJobs.clear();
}

}  // namespace VQ
