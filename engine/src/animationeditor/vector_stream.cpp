#include "animationeditor/vector_stream.h"

#include <cstring>

#include "fatal_error.h"

namespace AE {

void reportReadOutOfRange(int line)
{
    VQ::assertFailed("VQ", "Read data from out of range!", "vector_stream", line);
}

void VectorStream::write(const void* data, size_t length)
{
    if (length == 0)
        return;
    const auto* bytes = static_cast<const uint8_t*>(data);
    buffer.insert(buffer.end(), bytes, bytes + length);
}

void VectorStream::read(void* out, size_t length)
{
    if (readPosition >= buffer.size() || length > buffer.size() - readPosition)
        reportReadOutOfRange(__LINE__);
    std::memcpy(out, buffer.data() + readPosition, length);
    readPosition += length;
}

void writeCString(DataStream& stream, const std::string& value)
{
    if (!value.empty())
        stream.write(value.data(), value.size());
    const char zero = 0;
    stream.write(&zero, 1);
}

void readCString(std::string& value, DataStream& stream)
{
    value.clear();
    for (;;) {
        char c = 0;
        stream.read(&c, 1);
        if (c == 0)
            return;
        value.push_back(c);
    }
}

void requireBytes(DataStream& stream, uint64_t bytes)
{
    const int64_t left = stream.bytesLeft();
    if (left >= 0 && bytes > uint64_t(left))
        reportReadOutOfRange(__LINE__);
}

}  // namespace AE
