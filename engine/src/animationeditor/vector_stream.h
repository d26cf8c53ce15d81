#pragma once
// A byte stream over a byte vector the caller owns: writing appends,
// reading copies from a cursor. Built on the stack around an existing
// vector, once for writing or once for reading.

#include <cstdint>
#include <vector>

#include "animationeditor/data_stream.h"

namespace AE {

class VectorStream : public DataStream {
public:
    explicit VectorStream(std::vector<uint8_t>& buffer) : buffer(buffer) {}

    void write(const void* data, size_t length) override;
    // Stops with "Read data from out of range!" when the cursor is at the
    // end or fewer than `length` bytes remain; nothing is copied then.
    void read(void* out, size_t length) override;
    int size() const override { return int(buffer.size()); }
    int64_t bytesLeft() const override { return int64_t(buffer.size() - readPosition); }

    std::vector<uint8_t>& buffer;
    size_t readPosition = 0;
};

// The stream's fatal report "Read data from out of range!".
[[noreturn]] void reportReadOutOfRange(int line);

}  // namespace AE
