// Child program for the save-file tests: run in a folder of its own with
// XDG_DATA_HOME set, `save_limit_program BYTES` saves the profile once, then
// under a file-size limit of BYTES (SIGXFSZ ignored) saves it again. Exit
// status 0 when that second save reported its failure.
#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "file_system.h"
#include "game_properties.h"
#include "game_time.h"
#include "log_system.h"
#include "platform_config.h"

namespace {

int64_t fixedClock()
{
    return 1700000000;
}

void writeText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: save_limit_program BYTES\n");
        return 2;
    }
    std::filesystem::create_directories("media");
    writeText("media/platform_config.lua", "platformCode = 0\nmodes = {}\n");
    VQ::contentRoot() = "./media/";
    VQ::LogSystem log;
    VQ::FileSystem fileSystem;
    fileSystem.filesOfPackage("default")["platform_config_lua"] = "platform_config.lua";
    PlatformConfig platform;
    setTimeSource(fixedClock);

    GameProperties properties;
    PlayerProfile& profile = *properties.profile();
    profile.silver = 111;
    if (!properties.save())
        return 3;
    const rlim_t limit = std::strtoul(argv[1], nullptr, 10);
    const rlimit fileSize = {limit, limit};
    signal(SIGXFSZ, SIG_IGN);
    if (setrlimit(RLIMIT_FSIZE, &fileSize) != 0)
        return 4;
    profile.silver = 222;
    return properties.save() ? 1 : 0;
}
