// Loads arbitrary text as the chip prototype script through the chip
// manager. A fatal report counts as handled: the hook leaves the load by
// throwing, as the tests' hook does.
//
// The script runs as Lua before it is read. Text that could loop forever,
// exhaust memory or reach the file system through Lua's own libraries is
// not what this target examines (data scripts only build tables), so inputs
// naming a loop, a function or a library are passed over.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

#include "behavior.h"
#include "chip_manager.h"
#include "chip_selector.h"
#include "fatal_error.h"
#include "file_system.h"
#include "log_system.h"
#include "sound_system/sound_manager.h"

namespace {

struct FatalRaised {};

void throwOnFatal(const VQ::FatalReport&)
{
    throw FatalRaised();
}

bool looksLikeData(const std::string& text)
{
    static const char* const banned[] = {
        "while", "repeat", "for",     "function", "goto",   "os",      "io",     "load",    "require",
        "package", "debug", "string", "meta",     "raw",    "coroutine", "collect", "error", "pcall",
        "..",     "\\",   "fenv",  "module",  "proxy",    "rep",    "sub",     "find",   "match",   "format",
        "byte",   "char",  "upper",   "lower",    "len",    "reverse", "math",   "table",   "unpack",
        "select", "next",  "pairs",   "print",    "assert", "tostring", "tonumber", "type",  ":",
    };
    for (const char* word : banned)
        if (text.find(word) != std::string::npos)
            return false;
    return text.find('\0') == std::string::npos;
}

std::string gFolder;
std::string gScriptPath;

void removeFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(gFolder, ignored);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char folder[] = "/tmp/chip_prototypes_fuzz_XXXXXX";
    if (!mkdtemp(folder))
        std::abort();
    gFolder = folder;
    std::atexit(removeFolder);
    std::filesystem::current_path(folder);
    std::filesystem::create_directories("media/scripts");
    VQ::contentRoot() = "./media/";
    gScriptPath = std::string(folder) + "/media/scripts/chip_prototypes.lua";
    setenv("ALSOFT_DRIVERS", "null", 0);
    new VQ::LogSystem();
    new VQ::FileSystem();
    new VQ::SoundManager();
    VQ::FileSystem::instance()->filesOfPackage("default")["chip_prototypes_lua"] = "scripts/chip_prototypes.lua";
    VQ::setFatalErrorHook(throwOnFatal);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!looksLikeData(text))
        return -1;
    {
        std::ofstream out(gScriptPath, std::ios::binary | std::ios::trunc);
        out << text;
    }
    try {
        ChipManager manager;
    } catch (const FatalRaised&) {
    }
    clearBehaviorPrototypes();
    clearChipSelectorCache();
    return 0;
}
