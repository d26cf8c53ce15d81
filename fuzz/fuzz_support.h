#pragma once
// What the libFuzzer targets share: the fatal hook that leaves a load by
// throwing (a fatal report counts as handled), the filter that keeps Lua
// inputs to data, a scratch folder removed when the run ends, and a log that
// writes nowhere (every input would log, and the log is not under test).
//
// A script runs as Lua before it is read: inputs that could reach files, the
// system or loading code are passed over (looksSafeToRun); the engine's
// instruction budget and memory limit end the rest.

#include <array>
#include <cctype>
#include <cstring>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "fatal_error.h"
#include "file_system.h"
#include "log_system.h"
#include "lua_context.h"

namespace FuzzSupport {

struct FatalRaised {};

inline void throwOnFatal(const VQ::FatalReport&)
{
    throw FatalRaised();
}

// Whether a script is safe to run here: no name that reaches files, the
// operating system, the debug library or loading code (a loaded chunk could
// be bytecode), and no way to reach those by a computed name (the globals
// table, environments). Loops, functions and string building are fine: the
// engine ends a script past its instruction budget or memory limit. String
// literals and comments are passed over, so texts may say anything; a word
// that is only a table key or assigned to ("load = { ... }") is data.
inline bool looksSafeToRun(const std::string& text)
{
    static const std::set<std::string, std::less<>> banned = {
        "os", "io", "debug", "load", "loadstring", "loadfile", "dofile", "require", "package",
        "module", "getfenv", "setfenv", "_G", "dump",
    };
    if (text.find('\0') != std::string::npos || text.find('\\') != std::string::npos)
        return false;
    auto isWordChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    // The end of the long bracket opening at `at` ("[[", "[=[", ...), or npos
    // when none opens there or it never closes.
    auto longBracketEnd = [&](size_t at) -> size_t {
        size_t level = 0;
        size_t i = at + 1;
        while (i < text.size() && text[i] == '=')
            ++level, ++i;
        if (i >= text.size() || text[i] != '[')
            return std::string::npos;
        const std::string close = "]" + std::string(level, '=') + "]";
        const size_t end = text.find(close, i + 1);
        return end == std::string::npos ? std::string::npos : end + close.size();
    };
    auto opensLongBracket = [&](size_t at) {
        size_t i = at + 1;
        while (i < text.size() && text[i] == '=')
            ++i;
        return i < text.size() && text[i] == '[';
    };
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"' || c == '\'') {
            const size_t end = text.find_first_of(std::string(1, c) + "\n", i + 1);
            if (end == std::string::npos || text[end] != c)
                return false;
            i = end + 1;
        } else if (c == '-' && i + 1 < text.size() && text[i + 1] == '-') {
            if (i + 2 < text.size() && text[i + 2] == '[' && opensLongBracket(i + 2)) {
                i = longBracketEnd(i + 2);
                if (i == std::string::npos)
                    return false;
            } else {
                i = text.find('\n', i);
                if (i == std::string::npos)
                    break;
            }
        } else if (c == '[' && opensLongBracket(i)) {
            i = longBracketEnd(i);
            if (i == std::string::npos)
                return false;
        } else if (isWordChar(c)) {
            size_t end = i;
            while (end < text.size() && isWordChar(text[end]))
                ++end;
            std::string_view word(text.data() + i, end - i);
            // "2os" is a malformed number to Lua; its name part is checked too.
            const size_t letter = word.find_first_not_of("0123456789");
            if (letter != std::string_view::npos)
                word = word.substr(letter);
            if (letter != std::string_view::npos && banned.count(word)) {
                size_t next = end;
                while (next < text.size() && (text[next] == ' ' || text[next] == '\t'))
                    ++next;
                const bool assigned =
                    next < text.size() && text[next] == '=' && (next + 1 >= text.size() || text[next + 1] != '=');
                if (!assigned)
                    return false;
            }
            i = end;
        } else {
            ++i;
        }
    }
    return true;
}

// Rewrites the checksum of every whole Ogg page in `bytes`: a mutation
// almost always breaks a page's CRC, and the page layer then drops the page
// before the decoders behind it see anything.
inline void repairOggPages(std::vector<uint8_t>& bytes)
{
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t r = i << 24;
            for (int k = 0; k < 8; ++k)
                r = (r & 0x80000000u) ? (r << 1) ^ 0x04c11db7u : r << 1;
            t[i] = r;
        }
        return t;
    }();
    constexpr size_t HEADER = 27;
    size_t at = 0;
    while (at + HEADER <= bytes.size()) {
        if (std::memcmp(&bytes[at], "OggS", 4) != 0) {
            ++at;
            continue;
        }
        const size_t segments = bytes[at + 26];
        if (at + HEADER + segments > bytes.size())
            break;
        size_t length = HEADER + segments;
        for (size_t i = 0; i < segments; ++i)
            length += bytes[at + HEADER + i];
        if (at + length > bytes.size()) {
            ++at;
            continue;
        }
        std::memset(&bytes[at + 22], 0, 4);
        uint32_t crc = 0;
        for (size_t i = 0; i < length; ++i)
            crc = (crc << 8) ^ table[((crc >> 24) & 0xff) ^ bytes[at + i]];
        for (int i = 0; i < 4; ++i)
            bytes[at + 22 + i] = uint8_t(crc >> (8 * i));
        at += length;
    }
}

// Writes the input over the script at `path` when it is data; false (the
// input is passed over) otherwise.
inline bool writeDataScript(const uint8_t* data, size_t size, const std::string& path)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!looksSafeToRun(text))
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
    // A runaway script should cost an input milliseconds, not a second; the
    // shipped scripts need far less (checked by the unit tests).
    VQ::luaInstructionBudget() = 1'000'000;
    std::filesystem::current_path(pattern);
    return pattern;
}

// Copies the shipped content (without its archives, so that loose files
// answer) to media/ under the working folder.
inline void copyShippedMedia()
{
    const std::filesystem::path media = std::string(LANTERRA_SOURCE_DIR) + "/media";
    for (const auto& entry : std::filesystem::recursive_directory_iterator(media)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || name == "data.vqp" || name == "data.zip")
            continue;
        const std::filesystem::path target =
            std::filesystem::path("media") / std::filesystem::relative(entry.path(), media);
        std::filesystem::create_directories(target.parent_path());
        std::filesystem::copy_file(entry.path(), target, std::filesystem::copy_options::overwrite_existing);
    }
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
