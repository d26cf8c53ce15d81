#pragma once
// Shared test helpers: catching fatal reports in-process, temporary folders
// and running the small child programs.

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "fatal_error.h"

namespace TestSupport {

// Thrown by the test fatal hook so that the code under test stops where the
// real report would end the process.
struct FatalErrorThrown : std::runtime_error {
    VQ::FatalReport report;
    explicit FatalErrorThrown(const VQ::FatalReport& r) : std::runtime_error(r.description), report(r) {}
};

// Installs the throwing hook for its lifetime.
class FatalHookScope {
public:
    FatalHookScope();
    ~FatalHookScope();
};

// Runs `body` with the hook installed; returns the report it raised, or a
// report with line -1 when it raised none.
VQ::FatalReport catchFatal(const std::function<void()>& body);

// A fresh folder under the system's temporary folder, removed on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return mPath; }
    std::string file(const std::string& name) const { return mPath + "/" + name; }

private:
    std::string mPath;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& contents);

struct ProcessResult {
    bool exited = false;    // ended through exit
    int exitCode = -1;      // when exited
    int signal = 0;         // when ended by a signal
    std::string output;     // standard output and error together
};

// A child process that runs while the test goes on: started in `cwd` with
// extra environment variables, its standard output and error collected.
// Killed and reaped on destruction if still running.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool start(const std::string& path, const std::vector<std::string>& args, const std::string& cwd,
               const std::map<std::string, std::string>& env);
    int pid() const { return mPid; }
    // Collects pending output; false once the process has ended.
    bool running();
    void sendSignal(int signal);
    // Waits for the end (killing it after `timeoutSeconds`) and gives the
    // result with all output.
    ProcessResult wait(int timeoutSeconds = 30);

private:
    void drain();

    int mPid = -1;
    int mOutputFd = -1;
    bool mEnded = false;
    ProcessResult mResult;
};

// Runs a program of the tests' build folder (by name) in `cwd`, with extra
// environment variables, and waits for it (up to `timeoutSeconds`).
ProcessResult runTestProgram(const std::string& name, const std::vector<std::string>& args,
                             const std::string& cwd, const std::map<std::string, std::string>& env,
                             int timeoutSeconds = 30);
ProcessResult runProcess(const std::string& path, const std::vector<std::string>& args, const std::string& cwd,
                         const std::map<std::string, std::string>& env, int timeoutSeconds = 30);

std::vector<std::string> splitLines(const std::string& text);

// Strips the "HH:MM:SS: " prefix of a "VQ.log" line (empty when it has none).
std::string stripLogPrefix(const std::string& line);

}  // namespace TestSupport
