#include "log_system.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <thread>

namespace VQ {

namespace {

constexpr size_t FORMAT_STRING_BUFFER = 1096;

}  // namespace

std::string logTimePrefix()
{
    time_t now = time(nullptr);
    struct tm local {};
    localtime_r(&now, &local);
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

LogSystem::LogSystem()
{
    mMutexInitialised = true;
    std::lock_guard<std::mutex> lock(mMutex);
    mStreams.push_back(new StdoutLogStream());
    mStreams.push_back(new FileLogStream("VQ.log"));
}

LogSystem::~LogSystem()
{
    std::lock_guard<std::mutex> lock(mMutex);
    for (LogStream* stream : mStreams)
        delete stream;
    mStreams.clear();
    mMutexInitialised = false;
}

void LogSystem::write(const std::string& text)
{
    std::lock_guard<std::mutex> lock(mMutex);
    for (LogStream* stream : mStreams)
        stream->write(text);
}

void LogSystem::writeFromCrashHandler(const std::string& text)
{
    bool locked = false;
    for (int attempt = 0; attempt < 50 && !locked; ++attempt) {
        locked = mMutex.try_lock();
        if (!locked)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    for (LogStream* stream : mStreams)
        stream->write(text);
    if (locked)
        mMutex.unlock();
}

void LogSystem::addStream(LogStream* stream)
{
    std::lock_guard<std::mutex> lock(mMutex);
    mStreams.push_back(stream);
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
