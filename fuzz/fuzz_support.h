#pragma once
// What the libFuzzer targets over Lua data scripts share: the fatal hook
// that leaves a load by throwing (a fatal report counts as handled), the
// filter that keeps inputs to data, and a scratch content folder removed
// when the run ends.
//
// A script runs as Lua before it is read. Text that could loop forever,
// exhaust memory or reach the file system through Lua's own libraries is
// not what these targets examine (data scripts only build tables), so
// inputs naming a loop, a function or a library are passed over.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "fatal_error.h"

namespace FuzzSupport {

struct FatalRaised {};

inline void throwOnFatal(const VQ::FatalReport&)
{
    throw FatalRaised();
}

inline bool looksLikeData(const std::string& text)
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

// Writes the input over the script at `path` when it is data; false (the
// input is passed over) otherwise.
inline bool writeDataScript(const uint8_t* data, size_t size, const std::string& path)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!looksLikeData(text))
        return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return true;
}

inline std::string& scratchFolder()
{
    static std::string folder;
    return folder;
}

inline void removeScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(scratchFolder(), ignored);
}

// Makes /tmp/<name>_XXXXXX, enters it (the log and the content root live
// there) and removes it at exit; returns its path.
inline std::string enterScratchFolder(const std::string& name)
{
    std::string pattern = "/tmp/" + name + "_XXXXXX";
    if (!mkdtemp(pattern.data()))
        std::abort();
    scratchFolder() = pattern;
    std::atexit(removeScratchFolder);
    std::filesystem::current_path(pattern);
    return pattern;
}

}  // namespace FuzzSupport
