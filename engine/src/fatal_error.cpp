#include "fatal_error.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <unistd.h>

#include "log_system.h"
#include "platform/message_box_sdl.h"
#include "singleton.h"

namespace VQ {

namespace {

std::atomic<FatalErrorHook> gFatalErrorHook{nullptr};

}  // namespace

void setFatalErrorHook(FatalErrorHook hook)
{
    gFatalErrorHook.store(hook);
}

FatalErrorHook fatalErrorHook()
{
    return gFatalErrorHook.load();
}

std::string buildFatalReportText(const std::string& name, const std::string& description, const char* file,
                                 int line)
{
    return "Name:\n  " + name + "\n\nDescription:\n  " + description + "\n\nFile:\n  " + (file ? file : "") +
           "\n\nLine:\n  " + intToString(line);
}

void assertFailed(const std::string& name, const std::string& description, const char* file, int line)
{
    const std::string report = buildFatalReportText(name, description, file, line);

    // Logging goes through the singleton check, which itself reports a
    // missing log system fatally: outside the log's lifetime the report only
    // reaches the standard error, or it would recurse for ever.
    if (LogSystem* logSystem = LogSystem::instancePtr())
        logSystem->write(formatString("ERROR: Assert occured\n %s", report.c_str()));
    else
        fprintf(stderr, "ERROR: Assert occured\n %s\n", report.c_str());

    if (FatalErrorHook hook = gFatalErrorHook.load())
        hook(FatalReport{name, description, file ? file : "", line});

    const MessageBoxAnswer answer = showMessageBoxOkCancel("An error was occured", report, true);
    if (answer == MessageBoxAnswer::Cancel) {
        fflush(stdout);
        fflush(stderr);
        _exit(255);
    }
    // OK: the crash handler takes over from the failed check.
    raise(SIGTRAP);
    // Should the trap be ignored, the process must still not go on.
    abort();
}

void reportMissingSingleton(const std::type_info& type)
{
    int status = 0;
    char* readable = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    char text[256];
    snprintf(text, sizeof(text), "Singleton not initialized: %s", status == 0 && readable ? readable : type.name());
    free(readable);
    assertFailed("VQ", text, "singleton", 40);
}

}  // namespace VQ
