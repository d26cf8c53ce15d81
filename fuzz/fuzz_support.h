#pragma once
// What the libFuzzer targets share: the fatal hook that leaves a load by
// throwing (a fatal report counts as handled), the filter that keeps Lua
// inputs to data, a scratch folder removed when the run ends, and a log that
// writes nowhere (every input would log, and the log is not under test).
//
// A script runs as Lua before it is read. Text that could loop forever,
// exhaust memory or reach the file system through Lua's own libraries is
// not what these targets examine (data scripts only build tables), so
// inputs naming a loop, a function, a library or one of Lua's global
// functions are passed over. Names are matched as whole words, so that the
// shipped scripts (with names such as "OnDestroyActions") pass.

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <unistd.h>

#include "fatal_error.h"
#include "file_system.h"
#include "log_system.h"

namespace FuzzSupport {

struct FatalRaised {};

inline void throwOnFatal(const VQ::FatalReport&)
{
    throw FatalRaised();
}

inline bool looksLikeData(const std::string& text)
{
    static const std::set<std::string, std::less<>> bannedWords = {
        "while", "repeat", "for", "function", "goto", "os", "io", "load", "loadfile", "loadstring", "dofile",
        "require", "package", "debug", "string", "getmetatable", "setmetatable", "rawget", "rawset", "rawequal",
        "coroutine", "collectgarbage", "gcinfo", "error", "pcall", "xpcall", "getfenv", "setfenv", "module",
        "newproxy", "rep", "sub", "gsub", "gmatch", "find", "match", "format", "byte", "char", "upper", "lower",
        "len", "reverse", "dump", "math", "table", "unpack", "select", "next", "pairs", "ipairs", "print",
        "assert", "tostring", "tonumber", "type", "_G",
    };
    // Concatenation doubles a string per statement; escapes spell any name.
    for (const char* sequence : {"..", "\\"})
        if (text.find(sequence) != std::string::npos)
            return false;
    if (text.find('\0') != std::string::npos)
        return false;
    auto isWordChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    for (size_t i = 0; i < text.size();) {
        if (!isWordChar(text[i])) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && isWordChar(text[end]))
            ++end;
        std::string_view word(text.data() + i, end - i);
        // "2os" is a malformed number to Lua; its name part is checked too.
        const size_t letter = word.find_first_not_of("0123456789");
        if (bannedWords.count(word) || (letter != std::string_view::npos && bannedWords.count(word.substr(letter))))
            return false;
        i = end;
    }
    return true;
}

// The filter of scripts whose string literals carry ":" and words of every
// kind (UI scripts: commands, "instance" references, texts). It makes sure
// no call can run instead of looking for words in the whole text: outside
// string literals no name of a Lua library, global function or string
// method, no loop or function keyword, no ":", "[", "]" or "\\" (so no
// method call, no indexing by an expression, no long string); string
// literals stay on one line; comments end with their line. Without a
// callable value no call can run.
inline bool looksLikeCallFreeData(const std::string& text)
{
    static const char* const banned[] = {
        "while", "repeat", "for", "function", "goto", "os", "io", "load", "loadstring", "loadfile", "dofile",
        "require", "package", "debug", "string", "getmetatable", "setmetatable", "rawget", "rawset",
        "rawequal", "coroutine", "collectgarbage", "gcinfo", "error", "pcall", "xpcall", "getfenv", "setfenv",
        "module", "newproxy", "math", "table", "unpack", "select", "next", "pairs", "ipairs", "print",
        "assert", "tostring", "tonumber", "type", "_G", "rep", "sub", "find", "match", "gmatch", "gsub",
        "format", "byte", "char", "upper", "lower", "len", "reverse", "dump",
    };
    if (text.find('\0') != std::string::npos || text.find('\\') != std::string::npos)
        return false;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"' || c == '\'') {
            const size_t end = text.find_first_of(std::string(1, c) + "\n", i + 1);
            if (end == std::string::npos || text[end] != c)
                return false;
            i = end + 1;
        } else if (c == '-' && i + 1 < text.size() && text[i + 1] == '-') {
            // A line comment; "--[" may open a long one that ends elsewhere.
            if (i + 2 < text.size() && text[i + 2] == '[')
                return false;
            i = text.find('\n', i);
            if (i == std::string::npos)
                break;
        } else if (c == ':' || c == '[' || c == ']') {
            return false;
        } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            size_t end = i;
            while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_'))
                ++end;
            const std::string word = text.substr(i, end - i);
            for (const char* b : banned)
                if (word == b)
                    return false;
            i = end;
        } else {
            ++i;
        }
    }
    return true;
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

// The log system, writing nowhere.
inline void startSilentLog()
{
    new VQ::LogSystem();
    VQ::LogSystem::instance()->removeStreams();
}

// A scratch content root for a target that rewrites one data script: the
// script at media/scripts/`file`, known to the default package as
// `resource`; the log silent and fatal reports thrown. Returns the script's
// path.
inline std::string startScriptFuzz(const std::string& name, const std::string& resource, const std::string& file)
{
    const std::string folder = enterScratchFolder(name);
    std::filesystem::create_directories("media/scripts");
    VQ::contentRoot() = "./media/";
    startSilentLog();
    new VQ::FileSystem();
    VQ::FileSystem::instance()->filesOfPackage("default")[resource] = "scripts/" + file;
    VQ::setFatalErrorHook(throwOnFatal);
    return folder + "/media/scripts/" + file;
}

}  // namespace FuzzSupport
