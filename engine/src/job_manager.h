#pragma once
// Background loading work: each job runs its work function on a thread of its
// own while the main thread keeps drawing the loading screen. The application
// asks every frame how many jobs still run; finished jobs are reaped then.

#include <atomic>
#include <memory>
#include <vector>

#include "function.h"
#include "platform/thread_posix.h"
#include "singleton.h"

namespace VQ {

// A record owned by the job manager.
class Job {
public:
    explicit Job(std::unique_ptr<IFunction> work);
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;

    // The creator's start request: unless the job runs already, marks it
    // running, not finished and removable once stopped, and (once) creates
    // its thread. When the system refuses the thread the error is logged and
    // the work runs here, on the calling thread, so the job still finishes.
    void start();

    // The job thread's body: the work, then `finished`, then `running`
    // cleared as its last access to the job.
    void run();

    bool isRunning() const { return mRunning.load(std::memory_order_acquire); }
    bool isFinished() const { return mFinished.load(std::memory_order_acquire); }
    bool isStarted() const { return mStarted; }
    bool autoRemove() const { return mAutoRemove; }

private:
    friend class JobManager;

    Thread mThread;
    bool mStarted = false;
    std::atomic<bool> mFinished{false};
    std::atomic<bool> mRunning{false};
    bool mAutoRemove = false;
    std::unique_ptr<IFunction> mWork;
};

class JobManager : public Singleton<JobManager> {
public:
    JobManager() = default;
    // Clears: waits for running jobs.
    ~JobManager() override;

    // A new idle job for the work (owned by the job); the caller starts it.
    Job* addJob(std::unique_ptr<IFunction> work);
    // Counts the running jobs and removes the stopped removable ones (their
    // threads joined, their work deleted). Main thread only.
    int update();
    // Waits for every running job, then deletes all jobs. Main thread only.
    void clear();

    size_t jobCount() const { return mJobs.size(); }

private:
    std::vector<std::unique_ptr<Job>> mJobs;
};

}  // namespace VQ
