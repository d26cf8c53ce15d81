#include "support/test_support.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace TestSupport {

namespace {

void throwingHook(const VQ::FatalReport& report)
{
    throw FatalErrorThrown(report);
}

}  // namespace

FatalHookScope::FatalHookScope()
{
    VQ::setFatalErrorHook(throwingHook);
}

FatalHookScope::~FatalHookScope()
{
    VQ::setFatalErrorHook(nullptr);
}

VQ::FatalReport catchFatal(const std::function<void()>& body)
{
    FatalHookScope scope;
    try {
        body();
    } catch (const FatalErrorThrown& e) {
        return e.report;
    }
    VQ::FatalReport none;
    none.line = -1;
    return none;
}

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "lanterra-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data()))
        throw std::runtime_error("mkdtemp failed");
    mPath = buffer.data();
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(mPath, ec);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeFile(const std::string& path, const std::string& contents)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
}

ChildProcess::~ChildProcess()
{
    if (mPid > 0 && !mEnded) {
        kill(mPid, SIGKILL);
        waitpid(mPid, nullptr, 0);
    }
    if (mOutputFd >= 0)
        close(mOutputFd);
}

bool ChildProcess::start(const std::string& path, const std::vector<std::string>& args, const std::string& cwd,
                         const std::map<std::string, std::string>& env)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return false;
    pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], 1);
        dup2(pipeFds[1], 2);
        close(pipeFds[0]);
        close(pipeFds[1]);
        if (!cwd.empty() && chdir(cwd.c_str()) != 0)
            _exit(127);
        for (const auto& [key, value] : env)
            setenv(key.c_str(), value.c_str(), 1);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(path.c_str()));
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(path.c_str(), argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    if (pid < 0) {
        close(pipeFds[0]);
        return false;
    }
    fcntl(pipeFds[0], F_SETFL, O_NONBLOCK);
    mPid = pid;
    mOutputFd = pipeFds[0];
    return true;
}

void ChildProcess::drain()
{
    if (mOutputFd < 0)
        return;
    char buffer[4096];
    ssize_t n;
    while ((n = read(mOutputFd, buffer, sizeof(buffer))) > 0)
        mResult.output.append(buffer, size_t(n));
}

bool ChildProcess::running()
{
    drain();
    if (mPid <= 0 || mEnded)
        return false;
    int status = 0;
    if (waitpid(mPid, &status, WNOHANG) != mPid)
        return true;
    mEnded = true;
    if (WIFEXITED(status)) {
        mResult.exited = true;
        mResult.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        mResult.signal = WTERMSIG(status);
    }
    drain();
    return false;
}

void ChildProcess::sendSignal(int signal)
{
    if (mPid > 0 && !mEnded)
        kill(mPid, signal);
}

ProcessResult ChildProcess::wait(int timeoutSeconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    while (running()) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(mPid, SIGKILL);
            while (running())
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return mResult;
}

ProcessResult runProcess(const std::string& path, const std::vector<std::string>& args, const std::string& cwd,
                         const std::map<std::string, std::string>& env, int timeoutSeconds)
{
    ChildProcess child;
    if (!child.start(path, args, cwd, env))
        return ProcessResult();
    return child.wait(timeoutSeconds);
}

ProcessResult runTestProgram(const std::string& name, const std::vector<std::string>& args,
                             const std::string& cwd, const std::map<std::string, std::string>& env,
                             int timeoutSeconds)
{
    return runProcess(std::string(LANTERRA_TEST_PROGRAMS_DIR) + "/" + name, args, cwd, env, timeoutSeconds);
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::stringstream ss(text);
    std::string line;
    while (std::getline(ss, line))
        lines.push_back(line);
    return lines;
}

std::string stripLogPrefix(const std::string& line)
{
    if (line.size() >= 10 && line[2] == ':' && line[5] == ':' && line[8] == ':' && line[9] == ' ')
        return line.substr(10);
    return std::string();
}

}  // namespace TestSupport
