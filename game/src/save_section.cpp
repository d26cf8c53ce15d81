#include "save_section.h"

#include <cstring>

#include "animationeditor/data_stream.h"
#include "log_system.h"

namespace {

template <typename T>
T fromLittleEndian(const unsigned char* bytes)
{
    std::make_unsigned_t<T> value = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        value |= static_cast<std::make_unsigned_t<T>>(bytes[i]) << (8 * i);
    return static_cast<T>(value);
}

template <typename T>
void toLittleEndian(T value, unsigned char* bytes)
{
    const auto bits = static_cast<std::make_unsigned_t<T>>(value);
    for (size_t i = 0; i < sizeof(T); ++i)
        bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
}

template <typename T>
bool readValue(SectionReader& in, T& out)
{
    unsigned char bytes[sizeof(T)];
    if (!in.bytes(bytes, sizeof(T)))
        return false;
    out = fromLittleEndian<T>(bytes);
    return true;
}

template <typename T>
void writeValue(SectionWriter& out, T value)
{
    unsigned char bytes[sizeof(T)];
    toLittleEndian(value, bytes);
    out.bytes(bytes, sizeof(T));
}

// A stream that cannot tell what is left gives the reader nothing to read:
// it never reads past what it knows is there.
size_t bytesLeftIn(const AE::DataStream& stream)
{
    const int64_t left = stream.bytesLeft();
    return left > 0 ? static_cast<size_t>(left) : 0;
}

}  // namespace

SectionReader::SectionReader(AE::DataStream& stream, const std::string& sectionName)
    : mStream(stream), mSection(sectionName), mLeft(bytesLeftIn(stream))
{
}

bool SectionReader::breakOff()
{
    if (!mBroken) {
        mBroken = true;
        VQ::logIfPossible(VQ::formatString("WARNING: Save section '%s' ends before the data it announces; the rest "
                                           "of it is not read",
                                           mSection.c_str()));
    }
    return false;
}

bool SectionReader::bytes(void* out, size_t count)
{
    if (mBroken || count > mLeft)
        return breakOff();
    if (count > 0)
        mStream.read(out, count);
    mLeft -= count;
    return true;
}

bool SectionReader::skip(size_t count)
{
    if (mBroken || count > mLeft)
        return breakOff();
    AE::skipBytes(mStream, count);
    mLeft -= count;
    return true;
}

bool SectionReader::u8(uint8_t& out)
{
    return readValue(*this, out);
}

bool SectionReader::u32(uint32_t& out)
{
    return readValue(*this, out);
}

bool SectionReader::i32(int32_t& out)
{
    return readValue(*this, out);
}

bool SectionReader::u64(uint64_t& out)
{
    return readValue(*this, out);
}

bool SectionReader::i64(int64_t& out)
{
    return readValue(*this, out);
}

bool SectionReader::f32(float& out)
{
    uint32_t bits = 0;
    if (!readValue(*this, bits))
        return false;
    std::memcpy(&out, &bits, sizeof(out));
    return true;
}

bool SectionReader::cString(std::string& out)
{
    std::string text;
    for (;;) {
        char c = 0;
        if (!bytes(&c, 1))
            return false;
        if (c == '\0')
            break;
        text.push_back(c);
    }
    out = std::move(text);
    return true;
}

bool SectionReader::count(uint32_t& out, size_t elementBytes)
{
    uint32_t n = 0;
    if (!u32(n))
        return false;
    if (elementBytes > 0 && n > mLeft / elementBytes)
        return breakOff();
    out = n;
    return true;
}

bool SectionReader::blob(std::vector<uint8_t>& out)
{
    uint32_t length = 0;
    if (!count(length, 1))
        return false;
    std::vector<uint8_t> data(length);
    if (!bytes(data.data(), data.size()))
        return false;
    out = std::move(data);
    return true;
}

void SectionWriter::bytes(const void* data, size_t count)
{
    if (count > 0)
        mStream.write(data, count);
}

void SectionWriter::u8(uint8_t value)
{
    bytes(&value, 1);
}

void SectionWriter::u32(uint32_t value)
{
    writeValue(*this, value);
}

void SectionWriter::i32(int32_t value)
{
    writeValue(*this, value);
}

void SectionWriter::u64(uint64_t value)
{
    writeValue(*this, value);
}

void SectionWriter::i64(int64_t value)
{
    writeValue(*this, value);
}

void SectionWriter::f32(float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    writeValue(*this, bits);
}

void SectionWriter::cString(const std::string& value)
{
    AE::writeCString(mStream, value);
}

void writeNamedBlobs(SectionWriter& out, const NamedBlobs& blobs)
{
    out.u32(static_cast<uint32_t>(blobs.size()));
    for (const auto& [name, data] : blobs) {
        out.cString(name);
        out.u32(static_cast<uint32_t>(data.size()));
        out.bytes(data.data(), data.size());
    }
}

NamedBlobs readNamedBlobs(SectionReader& in)
{
    NamedBlobs blobs;
    uint32_t n = 0;
    // Each entry takes at least its name's 0 byte and its length.
    if (!in.count(n, 5))
        return blobs;
    for (uint32_t i = 0; i < n; ++i) {
        std::string name;
        std::vector<uint8_t> data;
        if (!in.cString(name) || !in.blob(data))
            break;
        blobs[name] = std::move(data);
    }
    return blobs;
}
