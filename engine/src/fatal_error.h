#pragma once
// The fatal error report: logs the report, shows it in a box, and ends the
// process (Cancel: exit status 255; OK: through the crash handler).

#include <string>

namespace VQ {

struct FatalReport {
    std::string name;
    std::string description;
    std::string file;
    int line = 0;
};

// Reports an unrecoverable error and never returns. `file` and `line` are the
// reporting check's own source tag and line as the report texts give them.
[[noreturn]] void assertFailed(const std::string& name, const std::string& description, const char* file,
                               int line);

// "Name:\n  ...\n\nDescription:\n  ...\n\nFile:\n  ...\n\nLine:\n  ..."
std::string buildFatalReportText(const std::string& name, const std::string& description, const char* file,
                                 int line);

// Tests replace the box with a hook that records the report and leaves the
// normal flow (by throwing). The hook is called after the report is logged;
// if it returns, the report carries on as without it.
using FatalErrorHook = void (*)(const FatalReport& report);
void setFatalErrorHook(FatalErrorHook hook);
FatalErrorHook fatalErrorHook();

}  // namespace VQ
