#pragma once
// The package archive back end: the first one the file system asks. The
// archive ("data.vqp" in the content root) is opened once; its whole name
// table stays in memory, so an open costs no disk access, and every file
// reads its bytes straight out of the one shared archive stream.

#include <memory>
#include <mutex>
#include <string>

#include "file.h"
#include "local_file.h"
#include "vqp_hash_table.h"

namespace VQ {

class VQPReader : public FileReader {
public:
    // Opens content root + "/data.vqp".
    VQPReader();
    // Opens the archive at `archivePath` (the packer's checks, tests).
    explicit VQPReader(const std::string& archivePath);
    ~VQPReader() override;
    VQPReader(const VQPReader&) = delete;
    VQPReader& operator=(const VQPReader&) = delete;

    // Null when the archive is not in use or holds no entry named `path`.
    File* open(const std::string& path) override;

    // Empty when the archive did not open or was rejected.
    const HashTable& table() const { return mTable; }

private:
    void initHashTable();
    void rejectArchive();

    HashTable mTable;
    uint32_t mHeaderWord0 = 0;
    uint32_t mHeaderWord1 = 0;
    uint32_t mCount = 0;
    std::unique_ptr<LocalFile> mStream;
    // Guards the shared stream across each seek-and-read pair.
    std::recursive_mutex mMutex;
};

// One stored file: reads its run of bytes out of the reader's stream.
class VQPFile : public File {
public:
    VQPFile(LocalFile& stream, std::recursive_mutex& mutex, uint32_t start, uint32_t size);

    bool open(const std::string& name) override;
    // 0 for a count of 0 or less and once the whole entry is consumed.
    int32_t read(void* buffer, int32_t count) override;
    void close() override {}
    int32_t size() override { return mSize; }
    int32_t tell() override { return mPosition; }
    // Clamps to 0 .. size - 1 (0 for an empty entry); returns 0.
    int32_t seek(int32_t position);

private:
    LocalFile& mStream;
    std::recursive_mutex& mMutex;
    int32_t mStart;
    int32_t mSize;
    int32_t mPosition = 0;
};

}  // namespace VQ
