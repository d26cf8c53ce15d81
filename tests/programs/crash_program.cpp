// Child program for the crash handler tests: faults in the way its argument
// names ("null", "divide", "abort", "thread").
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
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

}  // namespace

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
