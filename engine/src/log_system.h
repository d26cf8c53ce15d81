#pragma once
// The process-wide log: every line goes to the standard output and to
// "VQ.log" with the local time in front. Also the small formatting helpers
// that log lines, fatal reports and indexed keys are built with.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "singleton.h"

namespace VQ {

class LogStream {
public:
    virtual ~LogStream() = default;
    virtual void write(const std::string& text) = 0;
    // From inside a signal handler: the line with its time prefix already
    // made. Streams that can write without allocating or locking override
    // this; the default goes through write().
    virtual void writeFromCrashHandler(const char* prefix, const char* text);
};

class StdoutLogStream : public LogStream {
public:
    void write(const std::string& text) override;
    void writeFromCrashHandler(const char* prefix, const char* text) override;
};

class FileLogStream : public LogStream {
public:
    // Truncates the file: each run starts an empty log.
    explicit FileLogStream(const std::string& path);
    // Opens, appends and closes per line so that every line is on disk when
    // write returns, even if the process crashes right after.
    void write(const std::string& text) override;
    void writeFromCrashHandler(const char* prefix, const char* text) override;
    const std::string& path() const { return mPath; }

private:
    std::string mPath;
};

class LogSystem : public Singleton<LogSystem> {
public:
    LogSystem();
    ~LogSystem() override;

    void write(const std::string& text);

    // For the crash handler: the crashing thread may hold the mutex (a fault
    // inside a stream's write), so the lock is only tried for a short while
    // before writing without it. Allocates nothing: the fault may have
    // interrupted the allocator.
    void writeFromCrashHandler(const char* text);

    // Test hook: appends a stream (owned by the log system).
    void addStream(LogStream* stream);
    // Test hook: drops every stream; lines are then written nowhere (fuzz
    // targets, whose inputs would each log).
    void removeStreams();

private:
    std::vector<LogStream*> mStreams;
    std::mutex mMutex;
    bool mMutexInitialised = false;
};

// Writes one line when the log system exists; otherwise the line goes to the
// standard error. Used where logging must never recurse into a fatal report.
void logIfPossible(const std::string& text);

// Checks that the log system exists (fatal otherwise) and writes the line.
void log(const std::string& text);

// printf-style formatting; the result is cut to its first 1095 characters.
std::string formatString(const char* format, ...) __attribute__((format(printf, 1, 2)));

// printf-style formatting into a caller's buffer of at least 4096 characters;
// always terminated.
constexpr size_t FORMAT_BUFFER_SIZE = 4096;
void formatToBuffer(char* buffer, const char* format, ...) __attribute__((format(printf, 2, 3)));

std::string intToString(int32_t value);
std::string uintToString(uint32_t value);

// write(2) until all is written or the descriptor fails; safe in a signal
// handler.
void writeAllRaw(int fd, const char* data, size_t size);

// The "HH:MM:SS" local-time prefix shared by both streams.
std::string logTimePrefix();

}  // namespace VQ
