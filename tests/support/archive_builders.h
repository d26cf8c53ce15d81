#pragma once
// Builds small package and ZIP archives for the archive back ends' tests
// and benchmarks.

#include <string>
#include <utility>
#include <vector>

namespace TestSupport {

struct StoredFile {
    std::string name;
    std::string data;
};

// A package archive laid out as our packer does, through the shared table
// code (header words 0, files stored in the given order).
std::string buildVqpArchive(const std::vector<StoredFile>& files);

struct ZipEntry {
    std::string name;
    std::string data;
    bool deflate = true;
};

// Writes the archive at `path` (replacing it); false when minizip fails.
bool writeZip(const std::string& path, const std::vector<ZipEntry>& entries);

// The archive offset where the first entry's stored bytes begin (after its
// local header), for tests that damage them.
size_t firstEntryDataOffset(const std::string& zipBytes);

}  // namespace TestSupport
