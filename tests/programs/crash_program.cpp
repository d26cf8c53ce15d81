// Child program for the crash handler tests: faults in the way its argument
// names ("null", "divide", "abort", "thread", "no-allocation" where any
// allocation after the fault hangs as if the allocator's lock were held,
// "blocked-log" where the log can never be written).
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "log_system.h"
#include "platform/crash_handler_posix.h"

namespace {

volatile int gZero = 0;
volatile int gNumerator = 1000;
volatile uintptr_t gNullAddress = 0;

// The faults are the point here: the undefined-behaviour checker must not
// stop them before the crash handler sees them.
[[gnu::noinline, gnu::no_sanitize_undefined]] void dereferenceNull()
{
    *reinterpret_cast<volatile int*>(gNullAddress) = 42;
}

[[gnu::noinline, gnu::no_sanitize_undefined]] void divideByZero()
{
    volatile int x = gNumerator / gZero;
    (void)x;
}

// A stream that never returns, like a log file on a hung network share.
class BlockedStream : public VQ::LogStream {
public:
    void write(const std::string&) override
    {
        std::unique_lock<std::mutex> lock(mMutex);
        mNever.wait(lock, [] { return false; });
    }

private:
    std::mutex mMutex;
    std::condition_variable mNever;
};

std::atomic<bool> gAllocationHangs{false};

}  // namespace

// The address checker brings its own allocator; this stand-in only works
// over the C library's.
#if !defined(__SANITIZE_ADDRESS__)
extern "C" void* __libc_malloc(size_t size);
extern "C" void* malloc(size_t size)
{
    if (gAllocationHangs.load()) {
        const char text[] = "allocation inside the crash handler\n";
        ::write(STDERR_FILENO, text, sizeof(text) - 1);
        for (;;)
            pause();
    }
    return __libc_malloc(size);
}
#endif

int main(int argc, char** argv)
{
    VQ::installCrashHandler();
    new VQ::LogSystem();
    VQ::log("crash program started");
    const char* kind = argc > 1 ? argv[1] : "null";
    if (strcmp(kind, "divide") == 0) {
        divideByZero();
    } else if (strcmp(kind, "abort") == 0) {
        abort();
    } else if (strcmp(kind, "no-allocation") == 0) {
        gAllocationHangs.store(true);
        dereferenceNull();
    } else if (strcmp(kind, "blocked-log") == 0) {
        VQ::LogSystem::instance()->addStream(new BlockedStream());
        dereferenceNull();
    } else if (strcmp(kind, "thread") == 0) {
        std::thread worker([] {
            VQ::installCrashHandlerStackForThread();
            dereferenceNull();
        });
        worker.join();
    } else {
        dereferenceNull();
    }
    return 0;
}
