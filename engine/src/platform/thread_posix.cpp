#include "platform/thread_posix.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/crash_handler_posix.h"

namespace VQ {

namespace {

std::atomic<bool> sCreationFails{false};

void* threadMain(void* argument)
{
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(argument));
    installCrashHandlerStackForThread();
    (*body)();
    return nullptr;
}

}  // namespace

Thread::~Thread()
{
    join();
}

bool Thread::start(std::function<void()> body, std::string* reason)
{
    if (mStarted) {
        if (reason)
            *reason = "thread already started";
        return false;
    }
    auto argument = std::make_unique<std::function<void()>>(std::move(body));
    const int error = sCreationFails.load() ? EAGAIN : pthread_create(&mHandle, nullptr, threadMain, argument.get());
    if (error != 0) {
        if (reason)
            *reason = std::strerror(error);
        return false;
    }
    argument.release();  // the thread owns it now
    mStarted = true;
    return true;
}

void Thread::join()
{
    if (!mStarted)
        return;
    pthread_join(mHandle, nullptr);
    mStarted = false;
}

void Thread::setCreationFailsForTesting(bool fails)
{
    sCreationFails.store(fails);
}

}  // namespace VQ
