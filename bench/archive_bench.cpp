// Opening and reading every entry of the packed sample content, side by
// side from the package archive, the ZIP archive and loose files. The
// sample content is copied to a temporary folder, packed with the project's
// packer, and the same entries are written into a ZIP.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "file_system.h"
#include "local_reader.h"
#include "log_system.h"
#include "support/archive_builders.h"
#include "vqp_reader.h"
#include "zip_reader.h"

namespace {

class ArchiveContent {
public:
    ArchiveContent()
    {
        namespace fs = std::filesystem;
        std::string pattern = (fs::temp_directory_path() / "lanterra-archive-bench-XXXXXX").string();
        mRoot = mkdtemp(pattern.data());
        mOldCwd = fs::current_path();
        fs::current_path(mRoot);
        const fs::path media = mRoot / "media";
        const fs::path source = fs::path(LANTERRA_SOURCE_DIR) / "media";
        for (const auto& entry : fs::recursive_directory_iterator(source)) {
            const fs::path relative = fs::relative(entry.path(), source);
            if (entry.is_directory() || relative == "data.vqp" || relative == "data.zip")
                continue;
            fs::create_directories((media / relative).parent_path());
            fs::copy_file(entry.path(), media / relative);
        }
        const std::string command = std::string("'") + LANTERRA_VQP_PACK + "' pack media/data.vqp --content media" +
                                    " > packer.log 2>&1";
        if (std::system(command.c_str()) != 0)
            std::abort();

        mLog = std::make_unique<VQ::LogSystem>();
        mVqp = std::make_unique<VQ::VQPReader>((media / "data.vqp").string());
        std::vector<TestSupport::ZipEntry> zipEntries;
        for (const VQ::TableEntry& entry : mVqp->table().entries()) {
            mPaths.push_back(entry.name);
            std::unique_ptr<VQ::File> loose(mLoose.open(entry.name));
            std::vector<char> data;
            if (!loose || !VQ::readWholeResource(*loose, entry.name, data))
                std::abort();
            const std::string name = entry.name[0] == '/' ? entry.name + 1 : entry.name;
            zipEntries.push_back({name, std::string(data.begin(), data.end())});
        }
        TestSupport::writeZip((mRoot / "data.zip").string(), zipEntries);

        // The ZIP reader takes the process-wide path on its first open.
        const std::string oldZipPath = VQ::zipArchivePath();
        VQ::zipArchivePath() = (mRoot / "data.zip").string();
        mZip = std::make_unique<VQ::ZipReader>();
        delete mZip->open(mPaths.front());
        VQ::zipArchivePath() = oldZipPath;
    }
    ~ArchiveContent()
    {
        mZip.reset();
        mVqp.reset();
        mLog.reset();
        std::filesystem::current_path(mOldCwd);
        std::error_code error;
        std::filesystem::remove_all(mRoot, error);
    }

    std::filesystem::path mRoot;
    std::filesystem::path mOldCwd;
    std::vector<std::string> mPaths;
    std::unique_ptr<VQ::LogSystem> mLog;
    std::unique_ptr<VQ::VQPReader> mVqp;
    std::unique_ptr<VQ::ZipReader> mZip;
    VQ::LocalReader mLoose;
};

ArchiveContent& content()
{
    static ArchiveContent instance;
    return instance;
}

void readEveryEntry(benchmark::State& state, VQ::FileReader& reader)
{
    const std::vector<std::string>& paths = content().mPaths;
    std::vector<char> data;
    int64_t bytes = 0;
    for (auto _ : state) {
        for (const std::string& path : paths) {
            std::unique_ptr<VQ::File> file(reader.open(path));
            if (!file || !VQ::readWholeResource(*file, path, data)) {
                state.SkipWithError("an entry did not read");
                return;
            }
            bytes += int64_t(data.size());
            benchmark::DoNotOptimize(data.data());
        }
    }
    state.SetBytesProcessed(bytes);
    state.counters["entries"] = double(paths.size());
}

void BM_ReadAllEntries_Vqp(benchmark::State& state)
{
    readEveryEntry(state, *content().mVqp);
}
BENCHMARK(BM_ReadAllEntries_Vqp)->Unit(benchmark::kMicrosecond);

void BM_ReadAllEntries_Zip(benchmark::State& state)
{
    readEveryEntry(state, *content().mZip);
}
BENCHMARK(BM_ReadAllEntries_Zip)->Unit(benchmark::kMicrosecond);

void BM_ReadAllEntries_LooseFiles(benchmark::State& state)
{
    readEveryEntry(state, content().mLoose);
}
BENCHMARK(BM_ReadAllEntries_LooseFiles)->Unit(benchmark::kMicrosecond);

}  // namespace
