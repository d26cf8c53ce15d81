#pragma once
// Writing a whole file so that a crash, a kill or a full disk at any instant
// leaves either the old file or the new one, never a mixture: the bytes go
// to a temporary file beside the target, every write and the close are
// checked, the file is flushed to disk and renamed over the target, and the
// folder is flushed so that the rename itself survives a power cut.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace VQ {

// Hands the producer of a file's bytes the temporary file to write into.
class CrashSafeSink {
public:
    explicit CrashSafeSink(int fd) : mFd(fd) {}
    // False, with the reason kept for the caller, when not every byte was
    // written. After a failure further writes do nothing.
    bool write(const void* data, size_t size);
    const std::string& error() const { return mError; }
    // For a producer that fails on its own account (a source it cannot read).
    void fail(const std::string& reason);

private:
    int mFd;
    std::string mError;
};

// Writes the file at `path` through `produce`, which returns false to give
// up. On any failure the target is left as it was, the temporary file is
// removed, and `error` names the step and the system's reason. True when
// the new file is in place.
bool writeFileCrashSafe(const std::string& path, const std::function<bool(CrashSafeSink&)>& produce,
                        std::string& error);

// The temporary name used beside `path` (the process id keeps two writers
// apart).
std::string crashSafeTemporaryName(const std::string& path);

// Removes the temporary files that writes killed half-way left in `folder`
// (names ending in ".tmp-" and a process id) and returns their paths. Only
// for a folder no other process writes into at the time.
std::vector<std::string> removeCrashSafeTemporaries(const std::string& folder);

}  // namespace VQ
