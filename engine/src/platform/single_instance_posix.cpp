#include "platform/single_instance_posix.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace VQ {

namespace {

constexpr char RAISE_REQUEST[] = "raise\n";

// Keeps the name usable as a file name whatever the title holds.
std::string fileNameOf(const std::string& name)
{
    std::string out;
    for (char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '-' || c == '_' || c == '.';
        out.push_back(plain ? c : '_');
    }
    if (out.empty() || out[0] == '.')
        out.insert(out.begin(), '_');
    return out;
}

bool fillAddress(const std::string& path, sockaddr_un& address)
{
    memset(&address, 0, sizeof(address));
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path))
        return false;
    memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// The user's own runtime folder; empty when it is unset, relative, or not a
// folder the user can write in (no lock could be taken there, and a
// relative one would name a different folder from every working folder).
std::string userRuntimeFolder()
{
    const char* runtime = getenv("XDG_RUNTIME_DIR");
    if (!runtime || runtime[0] != '/')
        return std::string();
    struct stat info;
    if (stat(runtime, &info) != 0 || !S_ISDIR(info.st_mode) || access(runtime, W_OK | X_OK) != 0)
        return std::string();
    return runtime;
}

}  // namespace

std::string SingleInstance::runtimeDirectory()
{
    if (std::string own = userRuntimeFolder(); !own.empty())
        return own;
    std::error_code error;
    std::string folder = std::filesystem::temp_directory_path(error).string();
    return folder.empty() ? "/tmp" : folder;
}

SingleInstance::SingleInstance(const std::string& name)
{
    std::string base = runtimeDirectory() + "/" + fileNameOf(name);
    // The temporary folder is shared by every user; the runtime folder is not.
    if (userRuntimeFolder().empty())
        base += "-" + std::to_string(getuid());
    mLockPath = base + ".lock";
    mSocketPath = base + ".sock";
}

SingleInstance::~SingleInstance()
{
    if (mListenFd >= 0) {
        close(mListenFd);
        unlink(mSocketPath.c_str());
    }
    if (mLockFd >= 0)
        close(mLockFd);
}

SingleInstance::Result SingleInstance::acquire()
{
    mLockFd = open(mLockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (mLockFd < 0)
        return Result::Failed;
    if (flock(mLockFd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        close(mLockFd);
        mLockFd = -1;
        if (!held)
            return Result::Failed;
        sendRaiseRequest();
        return Result::AlreadyRunning;
    }

    // Holding the lock makes any socket file left by a crashed run stale.
    unlink(mSocketPath.c_str());
    sockaddr_un address;
    if (!fillAddress(mSocketPath, address))
        return Result::Acquired;
    mListenFd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (mListenFd < 0)
        return Result::Acquired;
    if (bind(mListenFd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || listen(mListenFd, 4) != 0) {
        close(mListenFd);
        mListenFd = -1;
    }
    return Result::Acquired;
}

void SingleInstance::sendRaiseRequest()
{
    sockaddr_un address;
    if (!fillAddress(mSocketPath, address))
        return;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    // The first copy may still be starting and not listen yet; then it is
    // already coming to the front by itself.
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0) {
        ssize_t written = write(fd, RAISE_REQUEST, sizeof(RAISE_REQUEST) - 1);
        (void)written;
    }
    close(fd);
}

bool SingleInstance::takeRaiseRequest()
{
    if (mListenFd < 0)
        return false;
    bool requested = false;
    for (;;) {
        const int fd = accept4(mListenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            break;
        char buffer[16];
        // Any connection counts: the request is the connection itself.
        ssize_t ignored = read(fd, buffer, sizeof(buffer));
        (void)ignored;
        close(fd);
        requested = true;
    }
    return requested;
}

}  // namespace VQ
