#pragma once
// One running copy per user: a lock file in the user's runtime folder
// ($XDG_RUNTIME_DIR when it is an absolute path to a folder the user can
// write in, else the temporary folder with the user id in the file's name)
// named after the program.
// The copy that holds the lock listens on a local socket beside it; a second
// copy sends a raise request there and ends.

#include <string>

namespace VQ {

class SingleInstance {
public:
    enum class Result {
        Acquired,        // this process is the one instance
        AlreadyRunning,  // another holds the lock; it was asked to raise its window
        Failed,          // no lock could be made; the program runs unguarded
    };

    explicit SingleInstance(const std::string& name);
    // Releases the lock and removes the socket.
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    Result acquire();

    // True once for every raise request that arrived since the last call.
    // Never blocks.
    bool takeRaiseRequest();

    const std::string& lockPath() const { return mLockPath; }
    const std::string& socketPath() const { return mSocketPath; }

    // The folder the lock lives in.
    static std::string runtimeDirectory();

private:
    void sendRaiseRequest();

    std::string mLockPath;
    std::string mSocketPath;
    int mLockFd = -1;
    int mListenFd = -1;
};

}  // namespace VQ
