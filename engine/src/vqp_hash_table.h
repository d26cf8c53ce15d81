#pragma once
// The name table of a package archive ("data.vqp") and the archive's byte
// layout. The reader and the project's packer both work through this one
// header, so the hash, the probing and the layout cannot drift apart.
//
// Layout, all integers unsigned 32-bit little-endian:
//   0   first header word (the reader ignores it; our packer writes MAGIC)
//   4   second header word (ignored; our packer writes FORMAT_VERSION)
//   8   count: table slots, one per stored file, at least 1
//   12  count table entries of ENTRY_BYTES each, in hash-slot order:
//       name (NUL-terminated within NAME_BYTES), offset from the start of
//       the archive, size
//   then the files' bytes, each one contiguous run.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace VQ {

struct TableEntry {
    static constexpr size_t NAME_BYTES = 128;
    char name[NAME_BYTES] = {};
    uint32_t offset = 0;
    uint32_t size = 0;
};

namespace vqp {

constexpr size_t HEADER_BYTES = 12;
constexpr size_t ENTRY_BYTES = 136;
// "LVQP" as the file's first four bytes.
constexpr uint32_t MAGIC = 0x5051564C;
constexpr uint32_t FORMAT_VERSION = 1;
// Offsets and sizes are used as signed 32-bit values when seeking.
constexpr uint64_t MAX_ARCHIVE_BYTES = 0x7FFFFFFF;

// h = h * 31 + b over the name's bytes, each taken as a signed 8-bit value,
// wrapping at 32 bits.
uint32_t hashName(std::string_view name);

// The byte count of the header and a table of `count` entries, in 64 bits
// so that no count can wrap it.
inline uint64_t tableEndOffset(uint64_t count)
{
    return HEADER_BYTES + count * ENTRY_BYTES;
}

uint32_t readLE32(const unsigned char* bytes);
void writeLE32(unsigned char* bytes, uint32_t value);

// Visits the slots a search for `hash` passes through: the home slot
// hash mod count, then the following ones, wrapping to slot 0, count + 1
// visits in all (the home slot twice). Returns the first slot for which
// `visit` returns true, or -1.
template <typename Visit>
int64_t probe(uint32_t hash, uint32_t count, Visit visit)
{
    if (count == 0)
        return -1;
    uint32_t slot = hash % count;
    for (uint64_t step = 0; step <= count; ++step) {
        if (visit(slot))
            return slot;
        slot = slot + 1 == count ? 0 : slot + 1;
    }
    return -1;
}

}  // namespace vqp

// The table as the archive stores it, searched by hash with linear probing.
class HashTable {
public:
    // Decodes `count` entries from `bytes` (count x ENTRY_BYTES of them).
    // False, leaving the table empty, when the table or any entry's data
    // does not lie inside an archive of `archiveBytes` bytes or a name does
    // not end within its field: such an archive is not trusted at all.
    bool decode(const unsigned char* bytes, uint32_t count, uint64_t archiveBytes);
    // The stored form of the table, count x ENTRY_BYTES bytes, names padded
    // with NULs.
    std::vector<unsigned char> encode() const;

    // An empty table of `count` slots, for the packer to fill.
    void reset(uint32_t count);
    // Puts the entry in the first free slot of its name's probe sequence;
    // false when the table is full.
    bool insert(const TableEntry& entry);

    // The entry named exactly `name` (byte for byte), or null.
    const TableEntry* find(std::string_view name) const;

    uint32_t count() const { return uint32_t(mEntries.size()); }
    bool empty() const { return mEntries.empty(); }
    const std::vector<TableEntry>& entries() const { return mEntries; }
    void clear() { mEntries.clear(); }

private:
    std::vector<TableEntry> mEntries;
};

}  // namespace VQ
