#pragma once
// The process-wide cache of parsed XML sprite tables. A table is read and
// parsed once; its reader is handed to one user at a time and given back,
// and a second user of a table that is in use gets a reader of its own.
// Not locked: the engine asks for and gives back readers from one loading
// thread at a time and purges only at shut-down.

#include <cstdint>
#include <string>

#include "singleton.h"

namespace VQ {

class XmlDataReader;

class XmlCachedFilesManager : public Singleton<XmlCachedFilesManager> {
public:
    XmlCachedFilesManager();
    // Leaves the cached entries alone: they belong to the process, and only
    // `purge` frees them.
    ~XmlCachedFilesManager() override;

    // A reader of (package, name)'s XML twin, its cursor on "root", marked in
    // use until `releaseReader`. The file read is the name up to its first
    // "_sprites" followed by "_sxml". Never null: a missing file gives a
    // reader whose reads all fail.
    XmlDataReader* getReader(const std::string& package, const std::string& name);
    // Marks the reader free again; the caller must not use it afterwards.
    void releaseReader(XmlDataReader* reader);
    // Deletes every entry that is not in use.
    void purge();

    // For tests and diagnostics: the entries held, and how often the entry
    // of `reader` was handed out (0 when the reader is not cached).
    size_t entryCount() const;
    uint32_t useCount(const XmlDataReader* reader) const;

    // "game_field_sprites" -> "game_field_sxml"; "menu" -> "menu_sxml".
    static std::string xmlFileName(const std::string& name);
};

}  // namespace VQ
