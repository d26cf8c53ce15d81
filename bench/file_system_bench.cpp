// Building the package map and opening resources by key, on a content
// folder shaped like a full game's: several directories, a few hundred
// resources per list.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "config_manager.h"
#include "file_system.h"
#include "log_system.h"
#include "lua_script_2.h"

namespace {

constexpr int LISTS = 6;
constexpr int RESOURCES_PER_LIST = 400;

void writeText(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// A temporary working folder with generated content, the log, the file
// system and the configuration, for the whole benchmark run.
class BenchContent {
public:
    BenchContent()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "lanterra-bench-XXXXXX").string();
        mRoot = mkdtemp(pattern.data());
        mOldCwd = std::filesystem::current_path();
        std::filesystem::current_path(mRoot);
        const std::filesystem::path media = mRoot / "media";

        writeText(media / "config.lua",
                  "config = { platforms = { { name = 'pc', directories = { 'common', 'pc' }, "
                  "resolution = { 1726, 970 } } }, currentPlatform = 'pc', currentLanguage = 'en' }");
        std::string filelist = "directories = { common = { ";
        for (int l = 0; l < LISTS; ++l) {
            const std::string listName = "lists/list" + std::to_string(l) + ".lua";
            filelist += "{ '" + listName + "' }, ";
            std::string list = std::string("name = '") + (l == 1 ? "en" : "default") + "'\nfilelist = {\n";
            for (int r = 0; r < RESOURCES_PER_LIST; ++r) {
                const std::string name = "res" + std::to_string(l) + "_" + std::to_string(r);
                list += "  { name = '" + name + "_lua', filename = 'data/" + name + ".lua' },\n";
            }
            writeText(media / listName, list + "}\n");
        }
        writeText(media / "filelist.lua", filelist + "}, pc = { } }");
        writeText(media / "data/res0_7.lua", "value = { 1, 2, 3, 4 }\nname = 'seven'\n");

        mLog = std::make_unique<VQ::LogSystem>();
        mFileSystem = std::make_unique<VQ::FileSystem>();
        mConfig = std::make_unique<VQ::ConfigManager>();
        mConfig->load();
        mFileSystem->loadFilesLocationInfo();
    }
    ~BenchContent()
    {
        mConfig.reset();
        mFileSystem.reset();
        mLog.reset();
        std::filesystem::current_path(mOldCwd);
        std::error_code error;
        std::filesystem::remove_all(mRoot, error);
    }
    VQ::FileSystem& fileSystem() { return *mFileSystem; }

private:
    std::filesystem::path mRoot;
    std::filesystem::path mOldCwd;
    std::unique_ptr<VQ::LogSystem> mLog;
    std::unique_ptr<VQ::FileSystem> mFileSystem;
    std::unique_ptr<VQ::ConfigManager> mConfig;
};

BenchContent& content()
{
    static BenchContent instance;
    return instance;
}

// The start-up step: every list read through Lua and entered in the map.
void BM_BuildPackageMap(benchmark::State& state)
{
    VQ::FileSystem& fileSystem = content().fileSystem();
    for (auto _ : state)
        fileSystem.loadFilesLocationInfo();
    state.counters["resources"] = LISTS * RESOURCES_PER_LIST;
}
BENCHMARK(BM_BuildPackageMap)->Unit(benchmark::kMillisecond);

// Key to open file: the map lookup, the "localization" fallback to
// "default" and the loose-file open.
void BM_OpenResourceByKey(benchmark::State& state)
{
    VQ::FileSystem& fileSystem = content().fileSystem();
    for (auto _ : state) {
        std::unique_ptr<VQ::File> file(fileSystem.openFile("localization", "res0_7_lua"));
        benchmark::DoNotOptimize(file.get());
    }
}
BENCHMARK(BM_OpenResourceByKey)->Unit(benchmark::kMicrosecond);

// A key in no package: lookups only, no file-system probing.
void BM_LookUpMissingKey(benchmark::State& state)
{
    VQ::FileSystem& fileSystem = content().fileSystem();
    for (auto _ : state)
        benchmark::DoNotOptimize(fileSystem.openFile("localization", "res9_999_lua"));
}
BENCHMARK(BM_LookUpMissingKey)->Unit(benchmark::kMicrosecond);

// What most loaders do: open by key, read whole, run, read a value.
void BM_LoadLuaScriptByKey(benchmark::State& state)
{
    content();
    for (auto _ : state) {
        VQ::LuaScript2 script;
        script.load("res0_7_lua", "default");
        std::string name;
        script.getString("name", name);
        benchmark::DoNotOptimize(name.data());
    }
}
BENCHMARK(BM_LoadLuaScriptByKey)->Unit(benchmark::kMicrosecond);

}  // namespace
