#pragma once
// An open resource handed out by a back end through FileSystem::openFile.
// Whoever receives it owns it and deletes it; every loader reads it whole
// (see readWholeResource in file_system.h).

#include <cstdint>
#include <string>

namespace VQ {

class File {
public:
    virtual ~File() = default;

    // Bytes delivered: fewer than asked at the end of the data, 0 past the
    // end, negative on an error (the file has then closed itself).
    virtual int32_t read(void* buffer, int32_t count) = 0;
    virtual void close() = 0;
    // Total size of the resource in bytes.
    virtual int32_t size() = 0;
    // Bytes consumed so far.
    virtual int32_t tell() = 0;
    // Called once by the back end right after construction, never by users.
    virtual bool open(const std::string& name) = 0;
};

// A back end of the file system: answers a path with a new file, or null when
// it does not have that path.
class FileReader {
public:
    virtual ~FileReader() = default;
    virtual File* open(const std::string& path) = 0;
};

}  // namespace VQ
