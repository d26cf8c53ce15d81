#include "xml_cached_files_manager.h"

#include <atomic>
#include <memory>
#include <vector>

#include "log_system.h"
#include "xml_data_reader.h"

namespace VQ {

namespace {

struct CacheEntry {
    std::string name;
    std::string package;
    std::unique_ptr<XmlDataReader> reader = std::make_unique<XmlDataReader>();
    // Given back possibly on another thread than the one that took it, so a
    // flag rather than a mutex.
    std::atomic<bool> inUse{false};
    uint32_t useCount = 0;

    bool tryTake()
    {
        bool expected = false;
        return inUse.compare_exchange_strong(expected, true);
    }
};

// Created on first use and never destroyed: entries outlive the manager and
// are freed only by purge (readers handed out must stay valid to the end).
std::vector<CacheEntry*>& cacheEntries()
{
    static auto* entries = new std::vector<CacheEntry*>();
    return *entries;
}

}  // namespace

XmlCachedFilesManager::XmlCachedFilesManager() = default;

XmlCachedFilesManager::~XmlCachedFilesManager() = default;

std::string XmlCachedFilesManager::xmlFileName(const std::string& name)
{
    return name.substr(0, name.find("_sprites")) + "_sxml";
}

XmlDataReader* XmlCachedFilesManager::getReader(const std::string& package, const std::string& name)
{
    std::vector<CacheEntry*>& entries = cacheEntries();
    for (CacheEntry* entry : entries) {
        if (entry->name == name && entry->package == package && entry->tryTake()) {
            ++entry->useCount;
            entry->reader->rewind();
            return entry->reader.get();
        }
    }

    auto entry = std::make_unique<CacheEntry>();
    entry->name = name;
    entry->package = package;
    // A missing file leaves an entry whose reads all fail; callers then fall
    // back to the Lua table.
    entry->reader->load(package, xmlFileName(name));
    ++entry->useCount;
    entry->tryTake();
    log(formatString(">>> XML Cache %s: %s (%i)", package.c_str(), name.c_str(), int(entries.size())));
    entries.push_back(entry.release());
    return entries.back()->reader.get();
}

void XmlCachedFilesManager::releaseReader(XmlDataReader* reader)
{
    for (CacheEntry* entry : cacheEntries()) {
        if (entry->reader.get() == reader)
            entry->inUse.store(false);
    }
}

void XmlCachedFilesManager::purge()
{
    std::vector<CacheEntry*>& entries = cacheEntries();
    std::vector<CacheEntry*> kept;
    for (CacheEntry* entry : entries) {
        if (entry->tryTake())
            delete entry;
        else
            kept.push_back(entry);
    }
    entries.swap(kept);
}

size_t XmlCachedFilesManager::entryCount() const
{
    return cacheEntries().size();
}

uint32_t XmlCachedFilesManager::useCount(const XmlDataReader* reader) const
{
    for (const CacheEntry* entry : cacheEntries()) {
        if (entry->reader.get() == reader)
            return entry->useCount;
    }
    return 0;
}

}  // namespace VQ
