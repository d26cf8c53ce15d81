#pragma once
// Reading and writing the sections of the game's save files through the
// engine's byte stream: little-endian values without alignment, counted
// lists, NUL-terminated names.
//
// Save files come from outside the program (a disk, a copy, an editor), so
// the reader checks before every read that the bytes remain: a short or
// forged section ends the read where its data ends, never past it, and a
// count that the remaining bytes cannot hold ends it before anything is
// allocated for it. The first such end logs one "WARNING: " naming the
// section; every read after it does nothing and answers false, so a reader
// keeps what it read before the break.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace AE {
class DataStream;
}

class SectionReader {
public:
    // Reads from the stream's current position to the end of its data.
    SectionReader(AE::DataStream& stream, const std::string& sectionName);

    bool u8(uint8_t& out);
    bool u32(uint32_t& out);
    bool i32(int32_t& out);
    bool u64(uint64_t& out);
    bool i64(int64_t& out);
    bool f32(float& out);
    // Bytes up to a 0 byte, which is not kept.
    bool cString(std::string& out);
    bool skip(size_t count);
    bool bytes(void* out, size_t count);
    // A uint32 length, then that many bytes.
    bool blob(std::vector<uint8_t>& out);
    // A uint32 count of elements, each at least `elementBytes` long.
    bool count(uint32_t& out, size_t elementBytes);

    bool ok() const { return !mBroken; }
    size_t bytesLeft() const { return mLeft; }

private:
    bool breakOff();

    AE::DataStream& mStream;
    std::string mSection;
    size_t mLeft;
    bool mBroken = false;
};

class SectionWriter {
public:
    explicit SectionWriter(AE::DataStream& stream) : mStream(stream) {}

    void u8(uint8_t value);
    void u32(uint32_t value);
    void i32(int32_t value);
    void u64(uint64_t value);
    void i64(int64_t value);
    void f32(float value);
    void cString(const std::string& value);
    void bytes(const void* data, size_t count);

private:
    AE::DataStream& mStream;
};

// A table of named byte blocks, as the profile file holds its sections and
// the tutorial its sequences: a uint32 count, then per entry the name, a 0
// byte, a uint32 length and the bytes, in ascending name order.
using NamedBlobs = std::map<std::string, std::vector<uint8_t>>;
void writeNamedBlobs(SectionWriter& out, const NamedBlobs& blobs);
// The entries read whole (a later name replaces an earlier one); reading
// stops where the table breaks off.
NamedBlobs readNamedBlobs(SectionReader& in);
