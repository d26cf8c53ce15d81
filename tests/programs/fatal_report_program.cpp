// Child program for the fatal report tests: brings up the log, then reports
// ("VQ", "boom", "file_system", 116), or with "nolog" reports before the log
// system exists.
#include <cstring>

#include "fatal_error.h"
#include "log_system.h"
#include "platform/crash_handler_posix.h"

int main(int argc, char** argv)
{
    VQ::installCrashHandler();
    if (argc > 1 && strcmp(argv[1], "nolog") == 0)
        VQ::log("nobody listens");
    new VQ::LogSystem();
    VQ::assertFailed("VQ", "boom", "file_system", 116);
}
