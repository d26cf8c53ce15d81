#include "file_system.h"

#include <atomic>

#include "config_manager.h"
#include "fatal_error.h"
#include "local_reader.h"
#include "log_system.h"
#include "lua_script_2.h"
#include "vqp_reader.h"
#include "wtimer.h"
#include "zip_reader.h"

namespace VQ {

namespace {

const char* const FILE_TAG = "file_system";
const char* const LOCALIZATION_PACKAGE = "localization";
const char* const DEFAULT_PACKAGE = "default";

[[noreturn]] void fileListFailed(int line, const std::string& description = std::string())
{
    assertFailed("VQ", description, FILE_TAG, line);
}

}  // namespace

std::string& contentRoot()
{
    static std::string root = "./media/";
    return root;
}

namespace {

std::atomic<uint64_t> generation{0};

}  // namespace

uint64_t FileSystem::contentGeneration()
{
    return generation.load();
}

FileSystem::FileSystem(Readers readers)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    ++generation;
    mInitialised = true;
    // Archives are asked before loose files, so a loose file only answers
    // for paths no archive holds.
    if (readers == Readers::ArchivesAndLooseFiles) {
        mReaders.push_back(std::make_unique<VQPReader>());
        mReaders.push_back(std::make_unique<ZipReader>());
    }
    mReaders.push_back(std::make_unique<LocalReader>());
    addDefaultEntries();
}

FileSystem::~FileSystem()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    mReaders.clear();
    mPackages.clear();
    mInitialised = false;
}

void FileSystem::addDefaultEntries()
{
    // The configuration and the file list must open before any list is read.
    PackageFiles& files = filesOfPackage(DEFAULT_PACKAGE);
    files["config"] = "/config.lua";
    files["filelist.lua"] = "/filelist.lua";
}

void FileSystem::addReader(FileReader* reader)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    mReaders.emplace_back(reader);
}

File* FileSystem::openFile(const std::string& package, const std::string& name)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);

    std::string usedPackage =
        package == LOCALIZATION_PACKAGE ? ConfigManager::instance()->currentLanguage() : package;

    auto findPath = [this, &name](const std::string& pkg) -> const std::string* {
        auto packageIt = mPackages.find(pkg);
        if (packageIt == mPackages.end())
            return nullptr;
        auto nameIt = packageIt->second.find(name);
        return nameIt == packageIt->second.end() ? nullptr : &nameIt->second;
    };

    const std::string* path = findPath(usedPackage);
    if (!path) {
        usedPackage = DEFAULT_PACKAGE;
        path = findPath(usedPackage);
        if (!path)
            return nullptr;
    }

    for (const auto& reader : mReaders) {
        if (File* file = reader->open(*path))
            return file;
    }
    log(formatString("WARNING: Failed to find '%s' in package '%s'. Content directory: %s", name.c_str(),
                     usedPackage.c_str(), contentRoot().c_str()));
    return nullptr;
}

bool FileSystem::contains(const std::string& package, const std::string& name)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    auto packageIt = mPackages.find(package);
    return packageIt != mPackages.end() && packageIt->second.count(name) != 0;
}

FileSystem::PackageFiles& FileSystem::filesOfPackage(const std::string& package)
{
    return mPackages[package];
}

std::vector<std::string> FileSystem::packageNames()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    std::vector<std::string> names;
    for (const auto& package : mPackages)
        names.push_back(package.first);
    return names;
}

int FileSystem::readWholeFile(const std::string& name, char*& buffer)
{
    delete[] buffer;
    buffer = nullptr;

    std::unique_ptr<File> file(openFile(DEFAULT_PACKAGE, name));
    if (!file || file->size() <= 0)
        return 1;
    std::vector<char> data;
    if (!readWholeResource(*file, name, data))
        return 1;
    buffer = new char[data.size() + 1];
    std::copy(data.begin(), data.end(), buffer);
    buffer[data.size()] = 0;
    return 0;
}

void FileSystem::loadFilesLocationInfo()
{
    WTimer timer;
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    ++generation;

    mPackages.clear();
    addDefaultEntries();

    const std::vector<std::string>* directories = ConfigManager::instance()->getPlatformDirectories();
    if (!directories)
        return;
    for (const std::string& directory : *directories)
        loadDirectoryList(directory);

    log(formatString("Filesystem:: load files location info in %.2f msec", timer.elapsedSeconds() * 1000.0));
}

void FileSystem::loadDirectoryList(const std::string& directory)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    LuaScript2 script;
    if (!script.load("filelist.lua", DEFAULT_PACKAGE))
        fileListFailed(115, "Failed to load filelist.lua");
    if (!script.openTable("directories"))
        fileListFailed(116);
    if (!script.openTable(directory))
        fileListFailed(117);

    forEachTableEntry(
        script,
        [&] {
            std::string listName;
            if (!script.stringAt(1, listName))
                fileListFailed(123);
            filesOfPackage(DEFAULT_PACKAGE)[listName] = listName;
            loadPackageFileList(listName);
        },
        [] { fileListFailed(121); });

    script.closeTable();
    script.closeTable();
}

void FileSystem::loadPackageFileList(const std::string& listName)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    LuaScript2 script;
    std::string error;
    if (!script.load(listName, DEFAULT_PACKAGE, &error)) {
        // A missing list has already been reported by openFile; one that
        // fails to run would otherwise vanish without a trace.
        if (!error.empty())
            log(formatString("WARNING: Package list '%s' failed to run and is skipped: %s", listName.c_str(),
                             error.c_str()));
        return;
    }

    std::string package;
    if (!script.getString("name", package))
        fileListFailed(145);
    if (!script.openTable("filelist"))
        fileListFailed(146);

    PackageFiles& files = filesOfPackage(package);
    forEachTableEntry(
        script,
        [&] {
            std::string name;
            std::string path;
            if (!script.getString("name", name))
                fileListFailed(153);
            if (!script.getString("filename", path))
                fileListFailed(154);
            files[name] = path;
        },
        [] { fileListFailed(152); });
    script.closeTable();
}

bool readWholeResource(File& file, const std::string& resourceName, std::vector<char>& out)
{
    out.clear();
    const int32_t size = file.size();
    int32_t received = 0;
    if (size > 0) {
        out.resize(size_t(size));
        while (received < size) {
            const int32_t count = file.read(out.data() + received, size - received);
            if (count <= 0)
                break;
            received += count;
        }
    }
    if (size < 0 || received != size) {
        log(formatString("WARNING: Failed to read '%s': %d of %d bytes arrived", resourceName.c_str(),
                         int(received), int(size)));
        out.clear();
        return false;
    }
    return true;
}

bool loadWholeResource(const std::string& package, const std::string& name, std::vector<char>& out)
{
    out.clear();
    std::unique_ptr<File> file(FileSystem::instance()->openFile(package, name));
    return file && readWholeResource(*file, name, out);
}

}  // namespace VQ
