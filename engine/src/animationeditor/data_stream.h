#pragma once
// The engine's minimal byte stream: raw bytes in, raw bytes out, plus
// NUL-terminated strings. Scene nodes write themselves through it and the
// game's save files are written and read through its vector form.
// Values travel as their in-memory little-endian bytes.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

namespace AE {

class DataStream {
public:
    virtual ~DataStream() = default;
    virtual void write(const void* data, size_t length) = 0;
    // Fills `out` with the next `length` bytes; a stream that cannot stops
    // with a fatal report (it never returns short).
    virtual void read(void* out, size_t length) = 0;
    // Bytes in the stream, or -1 when the stream cannot tell.
    virtual int size() const { return -1; }
    // Bytes not yet read, or -1 when the stream cannot tell.
    virtual int64_t bytesLeft() const { return -1; }
};

// The string's bytes and one zero byte.
void writeCString(DataStream& stream, const std::string& value);
// Clears `value`, then appends bytes up to (not including) a zero byte.
void readCString(std::string& value, DataStream& stream);

// A count read from a stream promises this many bytes still to come: when
// the stream knows it holds fewer, the read stops with the stream's fatal
// report before anything is allocated for them.
void requireBytes(DataStream& stream, uint64_t bytes);

// Plain values as their in-memory bytes.
template <typename T>
void writeValue(DataStream& stream, const T& value)
{
    static_assert(std::is_trivially_copyable_v<T> && !std::is_same_v<T, bool>);
    stream.write(&value, sizeof(T));
}

template <typename T>
T readValue(DataStream& stream)
{
    static_assert(std::is_trivially_copyable_v<T> && !std::is_same_v<T, bool>);
    T value;
    stream.read(&value, sizeof(T));
    return value;
}

// A bool is one byte, 1 or 0; any non-zero byte reads as true.
inline void writeBool(DataStream& stream, bool value)
{
    const uint8_t byte = value ? 1 : 0;
    stream.write(&byte, 1);
}

inline bool readBool(DataStream& stream)
{
    return readValue<uint8_t>(stream) != 0;
}

// Zero bytes (padding inside records), so that streams are reproducible.
inline void writeZeros(DataStream& stream, size_t count)
{
    static const uint8_t zeros[8] = {};
    while (count > 0) {
        const size_t n = count < sizeof(zeros) ? count : sizeof(zeros);
        stream.write(zeros, n);
        count -= n;
    }
}

inline void skipBytes(DataStream& stream, size_t count)
{
    uint8_t scratch[8];
    while (count > 0) {
        const size_t n = count < sizeof(scratch) ? count : sizeof(scratch);
        stream.read(scratch, n);
        count -= n;
    }
}

}  // namespace AE
