// vqp_pack: builds, lists, checks and unpacks the game's package archive
// ("data.vqp"), through the engine's own name table and reader.
//
//   vqp_pack pack OUTPUT --content DIR     pack what the game will ask for
//   vqp_pack pack OUTPUT NAME=FILE...      pack the given files under NAME
//   vqp_pack verify ARCHIVE --content DIR  the archive holds exactly those
//   vqp_pack verify ARCHIVE NAME=FILE...   files, each found by the reader's
//                                          lookup with the same bytes
//   vqp_pack list ARCHIVE                  slot, offset, size and name
//   vqp_pack extract ARCHIVE DIR           write every entry under DIR
//
// --content DIR reads DIR/config.lua, DIR/filelist.lua and the package
// lists with the engine's own rules (DIR is the content root), and takes
// every path of the resulting package map, each found by the loose-file
// rule: DIR + path, else the path itself, relative to the working folder.
// A listed path with no file is reported and left out; the game then warns
// when it is opened, with or without the archive.
//
// The archive's first header word is MAGIC, the bytes "LVQP"; the second is
// FORMAT_VERSION, 1. The reader ignores both. Names must be 1 to 127 bytes
// and unique. Files are stored in byte-wise name order and the names are
// padded with NULs, so the same input always gives the same bytes. The
// archive is written to a temporary file beside OUTPUT, flushed to disk and
// renamed over it, so a failed run leaves the old archive in place.
//
// Exit status: 0 on success, 1 on an error (reported on standard error),
// 2 for a wrong command line. The engine's log lines go to standard output
// and "VQ.log" in the working folder.


#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "config_manager.h"
#include "file_system.h"
#include "local_file.h"
#include "local_reader.h"
#include "log_system.h"
#include "platform/crash_safe_file.h"
#include "vqp_reader.h"

namespace {

// A file to pack: its name in the archive and how to open its bytes.
struct Source {
    std::string name;
    std::function<VQ::File*()> open;
};

int fail(const std::string& message)
{
    std::fprintf(stderr, "vqp_pack: %s\n", message.c_str());
    return 1;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: vqp_pack pack OUTPUT (--content DIR | NAME=FILE...)\n"
                 "       vqp_pack verify ARCHIVE (--content DIR | NAME=FILE...)\n"
                 "       vqp_pack list ARCHIVE\n"
                 "       vqp_pack extract ARCHIVE DIR\n");
    return 2;
}

bool readAll(VQ::File* opened, const std::string& name, std::vector<char>& bytes)
{
    std::unique_ptr<VQ::File> file(opened);
    return file && VQ::readWholeResource(*file, name, bytes);
}

// The sources the engine would open: every path of the package map built
// from the content folder, found by the loose-file rule.
bool contentSources(const std::string& contentDir, std::vector<Source>& sources)
{
    VQ::contentRoot() = contentDir + "/";
    std::set<std::string> paths;
    {
        VQ::FileSystem fileSystem(VQ::FileSystem::Readers::LooseFilesOnly);
        VQ::ConfigManager config;
        config.load();
        fileSystem.loadFilesLocationInfo();
        for (const std::string& package : fileSystem.packageNames())
            for (const auto& entry : fileSystem.filesOfPackage(package))
                paths.insert(entry.second);
    }

    auto reader = std::make_shared<VQ::LocalReader>();
    for (const std::string& path : paths) {
        std::unique_ptr<VQ::File> probe(reader->open(path));
        if (!probe) {
            std::fprintf(stderr, "vqp_pack: '%s' is listed but has no file; left out\n", path.c_str());
            continue;
        }
        sources.push_back({path, [reader, path] { return reader->open(path); }});
    }
    return true;
}

// NAME=FILE arguments.
bool rawSources(const std::vector<std::string>& args, std::vector<Source>& sources)
{
    for (const std::string& arg : args) {
        const size_t equals = arg.find('=');
        if (equals == std::string::npos) {
            fail("expected NAME=FILE, got '" + arg + "'");
            return false;
        }
        const std::string file = arg.substr(equals + 1);
        sources.push_back({arg.substr(0, equals), [file]() -> VQ::File* {
                               auto local = std::make_unique<VQ::LocalFile>();
                               return local->open(file) ? local.release() : nullptr;
                           }});
    }
    return true;
}

bool collectSources(const std::vector<std::string>& args, std::vector<Source>& sources)
{
    if (args.size() == 2 && args[0] == "--content")
        return contentSources(args[1], sources);
    return rawSources(args, sources);
}

// Names sorted byte-wise; false, reported, for a set the archive cannot hold.
bool checkNames(std::vector<Source>& sources)
{
    if (sources.empty()) {
        fail("nothing to pack: an archive holds at least one file");
        return false;
    }
    std::sort(sources.begin(), sources.end(), [](const Source& a, const Source& b) { return a.name < b.name; });
    for (size_t i = 0; i < sources.size(); ++i) {
        const std::string& name = sources[i].name;
        if (name.empty() || name.size() >= VQ::TableEntry::NAME_BYTES || name.find('\0') != std::string::npos) {
            fail("name '" + name + "' must be 1 to 127 bytes");
            return false;
        }
        if (i > 0 && name == sources[i - 1].name) {
            fail("name '" + name + "' is given twice");
            return false;
        }
    }
    return true;
}

bool writeBytes(FILE* out, const void* bytes, size_t count)
{
    return count == 0 || std::fwrite(bytes, 1, count, out) == count;
}

int pack(const std::string& output, std::vector<Source>& sources)
{
    if (!checkNames(sources))
        return 1;

    VQ::HashTable table;
    table.reset(uint32_t(sources.size()));
    uint64_t offset = VQ::vqp::tableEndOffset(sources.size());
    for (const Source& source : sources) {
        std::unique_ptr<VQ::File> file(source.open());
        if (!file)
            return fail("cannot open '" + source.name + "'");
        VQ::TableEntry entry;
        std::memcpy(entry.name, source.name.data(), source.name.size());
        entry.offset = uint32_t(offset);
        entry.size = uint32_t(file->size());
        offset += entry.size;
        if (offset > VQ::vqp::MAX_ARCHIVE_BYTES)
            return fail("the archive would exceed 2 GiB");
        table.insert(entry);
    }

    const std::vector<unsigned char> tableBytes = table.encode();
    auto produce = [&](VQ::CrashSafeSink& out) {
        unsigned char header[VQ::vqp::HEADER_BYTES];
        VQ::vqp::writeLE32(header, VQ::vqp::MAGIC);
        VQ::vqp::writeLE32(header + 4, VQ::vqp::FORMAT_VERSION);
        VQ::vqp::writeLE32(header + 8, table.count());
        if (!out.write(header, sizeof(header)) || !out.write(tableBytes.data(), tableBytes.size()))
            return false;
        for (const Source& source : sources) {
            const VQ::TableEntry* entry = table.find(source.name);
            std::vector<char> bytes;
            // The file may have changed since its size was taken.
            if (!readAll(source.open(), source.name, bytes) || bytes.size() != entry->size) {
                out.fail("'" + source.name + "' could not be read whole");
                return false;
            }
            if (!out.write(bytes.data(), bytes.size()))
                return false;
        }
        return true;
    };
    std::string error;
    if (!VQ::writeFileCrashSafe(output, produce, error))
        return fail("cannot write '" + output + "': " + error);
    std::printf("packed %zu files into %s\n", sources.size(), output.c_str());
    return 0;
}

int verify(const std::string& archive, std::vector<Source>& sources)
{
    if (!checkNames(sources))
        return 1;
    VQ::VQPReader reader(archive);
    if (reader.table().empty())
        return fail("'" + archive + "' is not a usable archive");
    int faults = 0;
    for (const Source& source : sources) {
        std::vector<char> expected;
        std::vector<char> stored;
        if (!readAll(source.open(), source.name, expected)) {
            faults += fail("cannot read the source of '" + source.name + "'");
        } else if (!readAll(reader.open(source.name), source.name, stored)) {
            faults += fail("'" + source.name + "' is not found through the archive's lookup");
        } else if (stored != expected) {
            faults += fail("'" + source.name + "' differs from its source");
        }
    }
    std::set<std::string> names;
    for (const Source& source : sources)
        names.insert(source.name);
    for (const VQ::TableEntry& entry : reader.table().entries()) {
        if (!names.count(entry.name))
            faults += fail(std::string("the archive also holds '") + entry.name + "'");
    }
    if (faults)
        return 1;
    std::printf("verified %zu files in %s\n", sources.size(), archive.c_str());
    return 0;
}

int list(const std::string& archive)
{
    VQ::VQPReader reader(archive);
    if (reader.table().empty())
        return fail("'" + archive + "' is not a usable archive");
    const auto& entries = reader.table().entries();
    for (size_t slot = 0; slot < entries.size(); ++slot)
        std::printf("%6zu %10u %10u %s\n", slot, entries[slot].offset, entries[slot].size, entries[slot].name);
    return 0;
}

// Entry names become paths under the target folder; a name that would
// leave it (an empty, "." or ".." component) is refused.
bool safeRelativePath(const std::string& name, std::filesystem::path& out)
{
    const std::string relative = !name.empty() && name[0] == '/' ? name.substr(1) : name;
    out.clear();
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = relative.find('/', start);
        if (end == std::string::npos)
            end = relative.size();
        const std::string part = relative.substr(start, end - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        out /= part;
        start = end + 1;
    }
    return true;
}

int extract(const std::string& archive, const std::string& directory)
{
    VQ::VQPReader reader(archive);
    if (reader.table().empty())
        return fail("'" + archive + "' is not a usable archive");
    int faults = 0;
    for (const VQ::TableEntry& entry : reader.table().entries()) {
        std::filesystem::path relative;
        std::vector<char> bytes;
        if (!safeRelativePath(entry.name, relative)) {
            faults += fail(std::string("'") + entry.name + "' is not a safe file name; skipped");
            continue;
        }
        if (!readAll(reader.open(entry.name), entry.name, bytes)) {
            faults += fail(std::string("'") + entry.name + "' could not be read");
            continue;
        }
        const std::filesystem::path target = std::filesystem::path(directory) / relative;
        std::error_code error;
        std::filesystem::create_directories(target.parent_path(), error);
        FILE* out = std::fopen(target.c_str(), "wb");
        bool written = out && writeBytes(out, bytes.data(), bytes.size());
        if (out)
            written &= std::fclose(out) == 0;
        if (!written)
            faults += fail("cannot write '" + target.string() + "'");
    }
    return faults ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() < 2)
        return usage();
    const std::string& command = args[0];
    const std::string& archive = args[1];
    const std::vector<std::string> rest(args.begin() + 2, args.end());

    VQ::LogSystem log;
    if (command == "pack" || command == "verify") {
        std::vector<Source> sources;
        if (!collectSources(rest, sources))
            return 1;
        return command == "pack" ? pack(archive, sources) : verify(archive, sources);
    }
    if (command == "list" && rest.empty())
        return list(archive);
    if (command == "extract" && rest.size() == 1)
        return extract(archive, rest[0]);
    return usage();
}
