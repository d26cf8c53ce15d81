#include "save_file.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "game_constants.h"
#include "log_system.h"
#include "platform/crash_safe_file.h"
#include "platform_config.h"
#include "utils.h"

namespace SaveFile {

namespace {

void putLE32(unsigned char* out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<unsigned char>(value >> (8 * i));
}

uint32_t getLE32(const unsigned char* in)
{
    return uint32_t(in[0]) | uint32_t(in[1]) << 8 | uint32_t(in[2]) << 16 | uint32_t(in[3]) << 24;
}

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

// The length of an open regular file, or -1.
long long fileLength(FILE* file)
{
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    return static_cast<long long>(info.st_size);
}

bool isReadableLength(long long length)
{
    return length > static_cast<long long>(HEADER_BYTES) &&
           length <= static_cast<long long>(HEADER_BYTES + MAX_PAYLOAD_BYTES);
}

}  // namespace

uint32_t checksum(const void* data, size_t length)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    uint32_t sum = 0;
    for (size_t i = 0; i < length; ++i)
        sum += bytes[i];
    return sum;
}

uint32_t tag()
{
    return static_cast<uint32_t>(PlatformConfig::instance()->platformCode) * 65536u + 65u;
}

std::string path(const std::string& name)
{
    return VQ::userDataDirectory("", GameConstants::COMPANY_PATH) + name;
}

bool write(const std::string& name, const void* data, size_t length)
{
    const std::string filePath = path(name);
    if (length == 0 || length > MAX_PAYLOAD_BYTES) {
        VQ::logIfPossible(VQ::formatString("ERROR: Save file '%s' not written: a payload of %zu bytes could not be "
                                           "read back",
                                           filePath.c_str(), length));
        return true;
    }
    unsigned char header[HEADER_BYTES];
    putLE32(header, checksum(data, length));
    putLE32(header + 4, tag());
    std::string error;
    const bool written = VQ::writeFileCrashSafe(
        filePath, [&](VQ::CrashSafeSink& sink) { return sink.write(header, sizeof(header)) && sink.write(data, length); },
        error);
    if (!written) {
        VQ::logIfPossible(
            VQ::formatString("ERROR: Save file '%s' not written: %s", filePath.c_str(), error.c_str()));
        return true;
    }
    return false;
}

int read(const std::string& name, void* buffer, size_t capacity)
{
    const std::string filePath = path(name);
    std::unique_ptr<FILE, FileCloser> file(std::fopen(filePath.c_str(), "rb"));
    if (!file)
        return -1;
    const long long length = fileLength(file.get());
    if (length < 0) {
        VQ::logIfPossible(VQ::formatString("WARNING: Save file '%s' ignored: it is not a file", filePath.c_str()));
        return -1;
    }
    if (!isReadableLength(length)) {
        VQ::logIfPossible(VQ::formatString("WARNING: Save file '%s' ignored: %lld bytes is not the size of a save file",
                                           filePath.c_str(), length));
        return -1;
    }
    std::vector<unsigned char> bytes(static_cast<size_t>(length));
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        VQ::logIfPossible(VQ::formatString("WARNING: Save file '%s' could not be read", filePath.c_str()));
        return -1;
    }
    const unsigned char* payload = bytes.data() + HEADER_BYTES;
    size_t count = bytes.size() - HEADER_BYTES;
    if (getLE32(bytes.data()) != checksum(payload, count)) {
        VQ::logIfPossible(VQ::formatString("WARNING: Save file '%s' ignored: its checksum does not match",
                                           filePath.c_str()));
        return -1;
    }
    if (getLE32(bytes.data() + 4) != tag()) {
        VQ::logIfPossible(VQ::formatString("WARNING: Save file '%s' ignored: it was written for another platform",
                                           filePath.c_str()));
        return -1;
    }
    if (capacity != 0 && capacity < count)
        count = capacity;
    std::memcpy(buffer, payload, count);
    return static_cast<int>(count);
}

int payloadSize(const std::string& name)
{
    const std::string filePath = path(name);
    std::unique_ptr<FILE, FileCloser> file(std::fopen(filePath.c_str(), "rb"));
    if (!file)
        return -1;
    const long long length = fileLength(file.get());
    return isReadableLength(length) ? static_cast<int>(length - static_cast<long long>(HEADER_BYTES)) : -1;
}

}  // namespace SaveFile
