// Loads arbitrary text as the chip prototype script through the chip
// manager; inputs are kept to data as fuzz_support.h says.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "behavior.h"
#include "chip_manager.h"
#include "chip_selector.h"
#include "fatal_error.h"
#include "file_system.h"
#include "fuzz_support.h"
#include "sound_system/sound_manager.h"

namespace {
std::string gScriptPath;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const std::string folder = FuzzSupport::enterScratchFolder("chip_prototypes_fuzz");
    std::filesystem::create_directories("media/scripts");
    VQ::contentRoot() = "./media/";
    gScriptPath = folder + "/media/scripts/chip_prototypes.lua";
    setenv("ALSOFT_DRIVERS", "null", 0);
    FuzzSupport::startSilentLog();
    new VQ::FileSystem();
    new VQ::SoundManager();
    VQ::FileSystem::instance()->filesOfPackage("default")["chip_prototypes_lua"] = "scripts/chip_prototypes.lua";
    VQ::setFatalErrorHook(FuzzSupport::throwOnFatal);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!FuzzSupport::writeDataScript(data, size, gScriptPath))
        return -1;
    try {
        ChipManager manager;
    } catch (const FuzzSupport::FatalRaised&) {
    }
    clearBehaviorPrototypes();
    clearChipSelectorCache();
    return 0;
}
