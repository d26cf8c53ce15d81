#include "local_file.h"

#include <cstdint>
#include <filesystem>
#include <limits>

namespace VQ {

LocalFile::~LocalFile()
{
    close();
}

bool LocalFile::open(const std::string& name)
{
    close();
    // A directory opens as a stream on Linux and only fails on read, so only
    // regular files count as resources.
    std::error_code error;
    if (name.empty() || !std::filesystem::is_regular_file(name, error))
        return false;
    mStream = std::fopen(name.c_str(), "rb");
    if (!mStream)
        return false;

    long size = -1;
    if (std::fseek(mStream, 0, SEEK_END) == 0)
        size = std::ftell(mStream);
    // A size we cannot measure or represent would make every whole-file
    // read wrong; such a file does not open.
    if (size < 0 || size > std::numeric_limits<int32_t>::max() || std::fseek(mStream, 0, SEEK_SET) != 0) {
        close();
        return false;
    }
    mSize = int32_t(size);
    return true;
}

int32_t LocalFile::read(void* buffer, int32_t count)
{
    if (!mStream || count <= 0)
        return 0;
    return int32_t(std::fread(buffer, 1, size_t(count), mStream));
}

void LocalFile::close()
{
    if (mStream) {
        std::fclose(mStream);
        mStream = nullptr;
    }
}

int32_t LocalFile::tell()
{
    if (!mStream)
        return -1;
    const long position = std::ftell(mStream);
    return position < 0 ? -1 : int32_t(position);
}

int32_t LocalFile::seek(int32_t position)
{
    if (mStream) {
        std::clearerr(mStream);
        std::fseek(mStream, position < 0 ? 0 : long(position), SEEK_SET);
    }
    return 0;
}

}  // namespace VQ
