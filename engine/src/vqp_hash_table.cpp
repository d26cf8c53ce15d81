#include "vqp_hash_table.h"

#include <cstring>

namespace VQ {

namespace vqp {

uint32_t hashName(std::string_view name)
{
    uint32_t hash = 0;
    for (char c : name)
        hash = hash * 31u + uint32_t(int32_t(static_cast<signed char>(c)));
    return hash;
}

uint32_t readLE32(const unsigned char* bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

void writeLE32(unsigned char* bytes, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

}  // namespace vqp

namespace {

std::string_view entryName(const TableEntry& entry)
{
    return std::string_view(entry.name, strnlen(entry.name, TableEntry::NAME_BYTES));
}

}  // namespace

bool HashTable::decode(const unsigned char* bytes, uint32_t count, uint64_t archiveBytes)
{
    mEntries.clear();
    if (vqp::tableEndOffset(count) > archiveBytes)
        return false;
    std::vector<TableEntry> entries(count);
    for (uint32_t i = 0; i < count; ++i) {
        const unsigned char* record = bytes + size_t(i) * vqp::ENTRY_BYTES;
        TableEntry& entry = entries[i];
        std::memcpy(entry.name, record, TableEntry::NAME_BYTES);
        entry.offset = vqp::readLE32(record + TableEntry::NAME_BYTES);
        entry.size = vqp::readLE32(record + TableEntry::NAME_BYTES + 4);
        if (std::memchr(entry.name, 0, TableEntry::NAME_BYTES) == nullptr)
            return false;
        if (uint64_t(entry.offset) + entry.size > archiveBytes)
            return false;
    }
    mEntries = std::move(entries);
    return true;
}

std::vector<unsigned char> HashTable::encode() const
{
    std::vector<unsigned char> bytes(mEntries.size() * vqp::ENTRY_BYTES, 0);
    for (size_t i = 0; i < mEntries.size(); ++i) {
        unsigned char* record = bytes.data() + i * vqp::ENTRY_BYTES;
        const std::string_view name = entryName(mEntries[i]);
        std::memcpy(record, name.data(), name.size());
        vqp::writeLE32(record + TableEntry::NAME_BYTES, mEntries[i].offset);
        vqp::writeLE32(record + TableEntry::NAME_BYTES + 4, mEntries[i].size);
    }
    return bytes;
}

void HashTable::reset(uint32_t count)
{
    mEntries.assign(count, TableEntry());
}

bool HashTable::insert(const TableEntry& entry)
{
    const int64_t slot = vqp::probe(vqp::hashName(entryName(entry)), count(),
                                    [this](uint32_t s) { return mEntries[s].name[0] == 0; });
    if (slot < 0)
        return false;
    mEntries[size_t(slot)] = entry;
    return true;
}

const TableEntry* HashTable::find(std::string_view name) const
{
    // An empty name would match an unused slot.
    if (name.empty())
        return nullptr;
    const int64_t slot = vqp::probe(vqp::hashName(name), count(),
                                    [this, name](uint32_t s) { return entryName(mEntries[s]) == name; });
    return slot < 0 ? nullptr : &mEntries[size_t(slot)];
}

}  // namespace VQ
