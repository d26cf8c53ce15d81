// Loads arbitrary text as the campaign script ("main_mode_lua") through the
// campaign mode's catalogue reader, with a few of the shipped level scripts
// beside it for the star scores; inputs are kept safe to run as
// fuzz_support.h says. Seeds: the shipped main_mode.lua (fuzz/run.sh).

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_support.h"
#include "main_mode.h"
#include "platform_config.h"

namespace {
std::string gScriptPath;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    gScriptPath = FuzzSupport::startScriptFuzz("campaign_script_fuzz", "main_mode_lua", "main_mode.lua");
    std::ofstream("media/scripts/platform_config.lua") << "platformCode = 0\nmodes = {}\n";
    VQ::FileSystem::instance()->filesOfPackage("default")["platform_config_lua"] = "scripts/platform_config.lua";
    for (const char* level : {"level_1", "level_2", "level_3"}) {
        std::filesystem::copy_file(std::string(LANTERRA_SOURCE_DIR) + "/media/levels/" + level + ".lua",
                                   std::string("media/scripts/") + level + ".lua",
                                   std::filesystem::copy_options::overwrite_existing);
        VQ::FileSystem::instance()->filesOfPackage("default")[std::string(level) + "_lua"] =
            std::string("scripts/") + level + ".lua";
    }
    new PlatformConfig();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!FuzzSupport::writeDataScript(data, size, gScriptPath))
        return -1;
    try {
        MainMode mode("");
        mode.levelAt(0, 0, 0);
        mode.levelAt(1, 2, 3);
    } catch (const FuzzSupport::FatalRaised&) {
    }
    return 0;
}
