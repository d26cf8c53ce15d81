#pragma once
// A loose file on disk. Also the stream an archive back end reads its own
// archive file through, hence the extra seek.

#include <cstdio>

#include "file.h"

namespace VQ {

class LocalFile : public File {
public:
    LocalFile() = default;
    ~LocalFile() override;
    LocalFile(const LocalFile&) = delete;
    LocalFile& operator=(const LocalFile&) = delete;

    // Fails for anything but a readable regular file whose size fits in 31 bits.
    bool open(const std::string& name) override;
    // 0..count, never negative.
    int32_t read(void* buffer, int32_t count) override;
    void close() override;
    int32_t size() override { return mSize; }
    // -1 when the file is not open or its position cannot be read.
    int32_t tell() override;
    // Positions at `position` bytes from the start; returns 0.
    int32_t seek(int32_t position);

private:
    FILE* mStream = nullptr;
    int32_t mSize = -1;
};

}  // namespace VQ
