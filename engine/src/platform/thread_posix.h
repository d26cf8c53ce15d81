#pragma once
// Threads the engine creates (loading jobs, streaming and worker threads).
// Each starts by giving itself the crash handler's alternate signal stack,
// so a crash on it is reported like one on the main thread.

#include <pthread.h>

#include <functional>
#include <string>

namespace VQ {

class Thread {
public:
    Thread() = default;
    // Joins a thread that was started and not joined yet.
    ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Creates the thread running `body`. False when it could not be created,
    // with the system's reason in `reason` (when given); nothing runs then.
    bool start(std::function<void()> body, std::string* reason = nullptr);
    bool started() const { return mStarted; }
    // Waits for the thread to end; does nothing when it was never started or
    // has been joined already. Never call from the thread itself.
    void join();

    // Tests: makes every following `start` fail as if the system refused.
    static void setCreationFailsForTesting(bool fails);

private:
    pthread_t mHandle{};
    bool mStarted = false;
};

}  // namespace VQ
