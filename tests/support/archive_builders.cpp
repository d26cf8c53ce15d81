#include "support/archive_builders.h"

#include <algorithm>
#include <cstring>

#include <minizip/zip.h>
#include <zlib.h>

#include "vqp_hash_table.h"

namespace TestSupport {

std::string buildVqpArchive(const std::vector<StoredFile>& files)
{
    VQ::HashTable table;
    table.reset(uint32_t(files.size()));
    uint64_t offset = VQ::vqp::tableEndOffset(files.size());
    std::string data;
    for (const StoredFile& file : files) {
        VQ::TableEntry entry;
        std::memcpy(entry.name, file.name.data(), std::min(file.name.size(), sizeof(entry.name) - 1));
        entry.offset = uint32_t(offset);
        entry.size = uint32_t(file.data.size());
        offset += file.data.size();
        data += file.data;
        table.insert(entry);
    }
    std::string archive(VQ::vqp::HEADER_BYTES, '\0');
    VQ::vqp::writeLE32(reinterpret_cast<unsigned char*>(archive.data()) + 8, table.count());
    const auto bytes = table.encode();
    return archive + std::string(bytes.begin(), bytes.end()) + data;
}

bool writeZip(const std::string& path, const std::vector<ZipEntry>& entries)
{
    zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    bool ok = true;
    for (const ZipEntry& entry : entries) {
        zip_fileinfo info = {};
        ok = ok &&
             zipOpenNewFileInZip(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                 entry.deflate ? Z_DEFLATED : 0, entry.deflate ? Z_BEST_COMPRESSION : 0) == ZIP_OK &&
             zipWriteInFileInZip(zip, entry.data.data(), unsigned(entry.data.size())) == ZIP_OK &&
             zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

size_t firstEntryDataOffset(const std::string& zipBytes)
{
    auto le16 = [&](size_t at) { return size_t(uint8_t(zipBytes[at])) | size_t(uint8_t(zipBytes[at + 1])) << 8; };
    return 30 + le16(26) + le16(28);
}

}  // namespace TestSupport
