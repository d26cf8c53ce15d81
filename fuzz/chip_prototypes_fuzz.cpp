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
    setenv("ALSOFT_DRIVERS", "null", 0);
    gScriptPath = FuzzSupport::startScriptFuzz("chip_prototypes_fuzz", "chip_prototypes_lua", "chip_prototypes.lua");
    new VQ::SoundManager();
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
