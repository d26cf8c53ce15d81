#pragma once
// The engine's single entry point for reading content. A resource is named
// by a key, package and resource name ("default" / "chip_prototypes_lua"),
// never by a path: the package map, built from "filelist.lua" and the
// package lists it names, turns the key into a path, and the back ends are
// asked in a fixed order (archives first, loose files last) to open it.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "file.h"
#include "singleton.h"

namespace VQ {

// The folder loose files are looked for in, "./media/" relative to the
// working folder. Process-wide; the program's entry sets it before the
// managers exist, tests point it at their own content.
std::string& contentRoot();

class FileSystem : public Singleton<FileSystem> {
public:
    using PackageFiles = std::map<std::string, std::string>;  // resource name -> path

    enum class Readers {
        // The package archive, then the ZIP archive, then loose files.
        ArchivesAndLooseFiles,
        // Loose files only: for the packer, which must not read the archive
        // it is about to replace.
        LooseFilesOnly,
    };

    explicit FileSystem(Readers readers = Readers::ArchivesAndLooseFiles);
    ~FileSystem() override;

    // Appends a back end after the others; ownership passes.
    void addReader(FileReader* reader);

    // Opens (package, name); the caller owns and deletes the result. The
    // package "localization" means the current language's package. A key in
    // neither the package nor "default" gives null silently; a known key no
    // back end can open gives null and a warning.
    File* openFile(const std::string& package, const std::string& name);

    bool contains(const std::string& package, const std::string& name);

    // The package's name -> path map, created empty when new. Takes no lock:
    // callers outside the file system use it only while nothing rebuilds it.
    PackageFiles& filesOfPackage(const std::string& package);

    // The names of every package in the map.
    std::vector<std::string> packageNames();

    // Reads ("default", name) whole into a new buffer of size + 1 bytes, the
    // last one 0; the caller frees it with delete[]. Whatever `buffer` held is
    // freed first. 0 on success; 1 (buffer null) for a missing, empty or
    // short file.
    int readWholeFile(const std::string& name, char*& buffer);

    // Rebuilds the package map from the current platform's directory lists.
    void loadFilesLocationInfo();

    // Changes whenever a file system starts or rebuilds its package map:
    // loaders that keep parsed content across loads start afresh when it
    // differs from the one they loaded under.
    static uint64_t contentGeneration();

private:
    void addDefaultEntries();
    void loadDirectoryList(const std::string& directory);
    void loadPackageFileList(const std::string& listName);

    std::recursive_mutex mMutex;
    bool mInitialised = false;
    std::vector<std::unique_ptr<FileReader>> mReaders;
    std::map<std::string, PackageFiles> mPackages;
};

// The shared whole-resource read every loader uses. Reads all of `file`
// into `out` (exactly size() bytes, nothing added); true only when exactly
// that many arrived. Otherwise logs "WARNING: " naming `resourceName`,
// leaves `out` empty and returns false. The file stays open and owned by
// the caller.
bool readWholeResource(File& file, const std::string& resourceName, std::vector<char>& out);

// Opens (package, name), reads it whole with readWholeResource and deletes
// the file. False when the key is missing (as openFile: silent, or its
// warning) or the read falls short.
bool loadWholeResource(const std::string& package, const std::string& name, std::vector<char>& out);

}  // namespace VQ
