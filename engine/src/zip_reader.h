#pragma once
// The ZIP archive back end ("data.zip" in the content root), asked after the
// package archive and before loose files. The archive is opened on first
// use and indexed once: each entry's position is recorded, so an open jumps
// straight to its entry. Every open file reads through a minizip handle of
// its own, taken from a pool that keeps handles for reuse.

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include <minizip/unzip.h>

#include "file.h"

namespace VQ {

// The archive the ZIP back end opens, process-wide; set to content root +
// "data.zip" by the first open when still empty.
std::string& zipArchivePath();

class ZipReader : public FileReader {
public:
    ZipReader() = default;
    // Every ZippedFile must be deleted before its reader.
    ~ZipReader() override;
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // Entry names are the path without one leading '/'. Null when there is
    // no archive, no such entry, or the entry cannot be opened. An archive
    // that could not be opened is not tried again under the same path.
    File* open(const std::string& path) override;

    // A pooled handle, or a new one; null while the archive is not open.
    unzFile acquireHandle();
    void releaseHandle(unzFile handle);

    // The recorded position of an entry; false when the archive has none.
    bool findPosition(const std::string& name, unz64_file_pos& position) const;

    size_t pooledHandles();

private:
    void cacheFileLocationInfo(unzFile handle);

    std::string mPath;
    bool mOpened = false;
    // The archive path last found without an archive.
    std::string mAbsentPath;
    std::map<std::string, unz64_file_pos> mPositions;
    std::vector<unzFile> mPool;
    std::recursive_mutex mMutex;
};

// One entry of the ZIP archive, decompressed as it is read.
class ZippedFile : public File {
public:
    ZippedFile(unzFile handle, ZipReader& reader);
    ~ZippedFile() override;
    ZippedFile(const ZippedFile&) = delete;
    ZippedFile& operator=(const ZippedFile&) = delete;

    bool open(const std::string& name) override;
    // minizip's result: negative on a damaged entry (the file then closes
    // itself). The read that completes the entry also checks its CRC, so
    // damaged stored bytes end in an error too.
    int32_t read(void* buffer, int32_t count) override;
    void close() override;
    int32_t size() override { return mSize; }
    int32_t tell() override { return mPosition; }

    // 0 when the entry was found and positioned, 1 when the archive has no
    // such name, else minizip's error code.
    int locate();

private:
    unzFile mHandle;
    ZipReader& mReader;
    std::string mName;
    int32_t mSize = 0;
    int32_t mPosition = 0;
    bool mOpen = false;
};

}  // namespace VQ
