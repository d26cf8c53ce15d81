#include "log_system.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <thread>

namespace VQ {

namespace {

constexpr size_t FORMAT_STRING_BUFFER = 1096;

// The local time's distance from UTC as last seen by an ordinary log line:
// the crash handler cannot call localtime (it locks), so it adds this to the
// clock instead.
std::atomic<long> gUtcOffsetSeconds{0};

// The "HH:MM:SS" prefix without the C library's time-zone lock.
void crashTimePrefix(char (&prefix)[16])
{
    const long day = 24 * 60 * 60;
    long seconds = long((time(nullptr) + gUtcOffsetSeconds.load(std::memory_order_relaxed)) % day);
    if (seconds < 0)
        seconds += day;
    const int parts[3] = {int(seconds / 3600), int(seconds / 60 % 60), int(seconds % 60)};
    char* out = prefix;
    for (int i = 0; i < 3; ++i) {
        if (i)
            *out++ = ':';
        *out++ = char('0' + parts[i] / 10);
        *out++ = char('0' + parts[i] % 10);
    }
    *out = '\0';
}

// One whole line in one write(2), so that it is never split by another
// writer: prefix, ": ", text, then the stream's own ending.
void writeLineRaw(int fd, const char* prefix, const char* text, const char* ending)
{
    char line[FORMAT_BUFFER_SIZE + 32];
    size_t length = 0;
    for (const char* part : {prefix, ": ", text, ending}) {
        const size_t room = sizeof(line) - length - strlen(ending);
        size_t n = strlen(part);
        if (part != ending && n > room)
            n = room;
        memcpy(line + length, part, n);
        length += n;
    }
    writeAllRaw(fd, line, length);
}

}  // namespace

void writeAllRaw(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        data += n;
        size -= size_t(n);
    }
}

std::string logTimePrefix()
{
    time_t now = time(nullptr);
    struct tm local {};
    localtime_r(&now, &local);
    gUtcOffsetSeconds.store(local.tm_gmtoff, std::memory_order_relaxed);
    char prefix[16];
    snprintf(prefix, sizeof(prefix), "%.2i:%.2i:%.2i", local.tm_hour, local.tm_min, local.tm_sec);
    return prefix;
}

void StdoutLogStream::write(const std::string& text)
{
    const std::string prefix = logTimePrefix();
    fprintf(stdout, "%s: %s \n", prefix.c_str(), text.c_str());
    fflush(stdout);
}

void LogStream::writeFromCrashHandler(const char*, const char* text)
{
    write(text);
}

void StdoutLogStream::writeFromCrashHandler(const char* prefix, const char* text)
{
    writeLineRaw(STDOUT_FILENO, prefix, text, " \n");
}

FileLogStream::FileLogStream(const std::string& path) : mPath(path)
{
    if (FILE* file = fopen(mPath.c_str(), "w"))
        fclose(file);
}

void FileLogStream::write(const std::string& text)
{
    const std::string prefix = logTimePrefix();
    FILE* file = fopen(mPath.c_str(), "a");
    if (!file)
        return;
    fprintf(file, "%s: %s\n", prefix.c_str(), text.c_str());
    fflush(file);
    fclose(file);
}

void FileLogStream::writeFromCrashHandler(const char* prefix, const char* text)
{
    const int fd = ::open(mPath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    writeLineRaw(fd, prefix, text, "\n");
    ::close(fd);
}

LogSystem::LogSystem()
{
    logTimePrefix();  // learns the local time's offset for the crash handler
    mMutexInitialised = true;
    std::lock_guard<std::mutex> lock(mMutex);
    mStreams.push_back(new StdoutLogStream());
    mStreams.push_back(new FileLogStream("VQ.log"));
}

LogSystem::~LogSystem()
{
    removeStreams();
    mMutexInitialised = false;
}

void LogSystem::write(const std::string& text)
{
    std::lock_guard<std::mutex> lock(mMutex);
    for (LogStream* stream : mStreams)
        stream->write(text);
}

void LogSystem::writeFromCrashHandler(const char* text)
{
    char prefix[16];
    crashTimePrefix(prefix);
    // Once the lock could not be had, the report stops waiting for it: its
    // thousands of stack lines would each wait again.
    static std::atomic<bool> givenUp{false};
    bool locked = false;
    for (int attempt = 0; attempt < 50 && !locked && !givenUp.load(); ++attempt) {
        locked = mMutex.try_lock();
        if (!locked)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (!locked)
        givenUp.store(true);
    for (LogStream* stream : mStreams)
        stream->writeFromCrashHandler(prefix, text);
    if (locked)
        mMutex.unlock();
}

void LogSystem::addStream(LogStream* stream)
{
    std::lock_guard<std::mutex> lock(mMutex);
    mStreams.push_back(stream);
}

void LogSystem::removeStreams()
{
    std::lock_guard<std::mutex> lock(mMutex);
    for (LogStream* stream : mStreams)
        delete stream;
    mStreams.clear();
}

void logIfPossible(const std::string& text)
{
    if (LogSystem* logSystem = LogSystem::instancePtr())
        logSystem->write(text);
    else
        fprintf(stderr, "%s\n", text.c_str());
}

void log(const std::string& text)
{
    LogSystem::instance()->write(text);
}

std::string formatString(const char* format, ...)
{
    char buffer[FORMAT_STRING_BUFFER];
    va_list args;
    va_start(args, format);
    int written = vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    if (written < 0)
        return std::string();
    return std::string(buffer);
}

void formatToBuffer(char* buffer, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int written = vsnprintf(buffer, FORMAT_BUFFER_SIZE, format, args);
    va_end(args);
    if (written < 0)
        buffer[0] = '\0';
}

std::string intToString(int32_t value)
{
    return std::to_string(value);
}

std::string uintToString(uint32_t value)
{
    return std::to_string(value);
}

}  // namespace VQ
