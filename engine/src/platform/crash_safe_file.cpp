#include "platform/crash_safe_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace VQ {

namespace {

std::string reason(const char* step, int error)
{
    return std::string(step) + ": " + std::strerror(error);
}

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool CrashSafeSink::write(const void* data, size_t size)
{
    if (!mError.empty())
        return false;
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(mFd, bytes, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            mError = reason("write", errno);
            return false;
        }
        if (written == 0) {
            mError = "write: no progress";
            return false;
        }
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

void CrashSafeSink::fail(const std::string& why)
{
    if (mError.empty())
        mError = why;
}

std::string crashSafeTemporaryName(const std::string& path)
{
    return path + ".tmp-" + std::to_string(getpid());
}

std::vector<std::string> removeCrashSafeTemporaries(const std::string& folder)
{
    std::vector<std::string> removed;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return removed;
    static const std::string MARK = ".tmp-";
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        const size_t at = name.rfind(MARK);
        if (at == std::string::npos || at == 0 || at + MARK.size() == name.size())
            continue;
        const std::string pid = name.substr(at + MARK.size());
        if (pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::string path = folder;
        if (!path.empty() && path.back() != '/')
            path += '/';
        path += name;
        struct stat info;
        if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::unlink(path.c_str()) == 0)
            removed.push_back(path);
    }
    ::closedir(dir);
    return removed;
}

bool writeFileCrashSafe(const std::string& path, const std::function<bool(CrashSafeSink&)>& produce,
                        std::string& error)
{
    const std::string temporary = crashSafeTemporaryName(path);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = reason("create", errno);
        return false;
    }

    CrashSafeSink sink(fd);
    bool ok = produce(sink) && sink.error().empty();
    if (!ok) {
        error = sink.error().empty() ? "the data could not be produced" : sink.error();
    } else if (::fsync(fd) != 0) {
        error = reason("fsync", errno);
        ok = false;
    }
    // A failed close can be the first report of a failed write (network
    // and some local file systems defer errors to it).
    if (::close(fd) != 0 && ok) {
        error = reason("close", errno);
        ok = false;
    }
    if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
        error = reason("rename", errno);
        ok = false;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }

    // The new name is durable only once the folder's entry is on disk. The
    // file itself is already complete, so a failure here is not reported
    // as a lost write.
    const int folder = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

}  // namespace VQ
