// Arbitrary text in each of the start-up scripts in turn: as config.lua
// (the configuration manager), as filelist.lua (the directory lists) and as
// a package list (lists/default.lua), each followed by the file system's
// rebuild of its package map; the other two stay as shipped. A missing
// required value ends in the fatal report, anything else in a log line.
// Inputs are kept safe to run as fuzz_support.h says. Seeds: the shipped
// config.lua, filelist.lua and package lists (fuzz/run.sh).

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "config_manager.h"
#include "fuzz_support.h"

namespace {

const char* const ROLES[] = {"config.lua", "filelist.lua", "lists/default.lua"};

void restoreShipped(const std::string& relative)
{
    std::filesystem::copy_file(std::string(LANTERRA_SOURCE_DIR) + "/media/" + relative, "media/" + relative,
                               std::filesystem::copy_options::overwrite_existing);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::enterScratchFolder("config_scripts_fuzz");
    std::filesystem::create_directories("media/lists");
    for (const auto& entry : std::filesystem::directory_iterator(std::string(LANTERRA_SOURCE_DIR) + "/media/lists"))
        restoreShipped("lists/" + entry.path().filename().string());
    for (const char* role : ROLES)
        restoreShipped(role);
    VQ::contentRoot() = "./media/";
    FuzzSupport::startSilentLog();
    VQ::setFatalErrorHook(FuzzSupport::throwOnFatal);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!FuzzSupport::looksSafeToRun(text))
        return -1;
    for (const char* role : ROLES) {
        {
            std::ofstream out(std::string("media/") + role, std::ios::binary | std::ios::trunc);
            out << text;
        }
        try {
            VQ::FileSystem files(VQ::FileSystem::Readers::LooseFilesOnly);
            VQ::ConfigManager config;
            config.load();
            files.loadFilesLocationInfo();
        } catch (const FuzzSupport::FatalRaised&) {
        }
        restoreShipped(role);
    }
    return 0;
}
