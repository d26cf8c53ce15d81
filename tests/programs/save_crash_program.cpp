// Child program for the save-file crash tests. Run in a folder of its own
// with XDG_DATA_HOME set; it loads the profile saved last, as the game does.
//   save_crash_program kills N SEED  saves silver 111 and 222, then N times:
//                                    forks a child that saves the two in
//                                    turn, kills it with SIGKILL at a
//                                    random instant and checks that
//                                    "profile_0.dat" reads and holds one of
//                                    the two. Prints "kills: N whole" and
//                                    exits 0, or names the first bad kill.
//   save_crash_program limit BYTES   saves once, then under a file-size
//                                    limit of BYTES (SIGXFSZ ignored) saves
//                                    again; exit status 0 when that save
//                                    reported failure.
// The kills run here rather than in the test program: a small process
// forks and ends quickly, the whole test program (under the address
// checker most of all) does not.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "file_system.h"
#include "game_properties.h"
#include "game_time.h"
#include "log_system.h"
#include "platform_config.h"
#include "save_file.h"

namespace {

using Bytes = std::vector<uint8_t>;

int64_t fixedClock()
{
    return 1700000000;
}

Bytes payloadOf(const std::string& name)
{
    Bytes payload(SaveFile::MAX_PAYLOAD_BYTES);
    const int read = SaveFile::read(name, payload.data(), 0);
    if (read < 0)
        return {};
    payload.resize(size_t(read));
    return payload;
}

[[noreturn]] void saveForever(GameProperties& properties, int ready)
{
    for (long i = 0;; ++i) {
        properties.profile()->silver = i % 2 ? 111 : 222;
        properties.save();
        if (i == 0 && write(ready, "r", 1) != 1)
            _exit(1);
    }
}

int kills(GameProperties& properties, int count, unsigned seed)
{
    PlayerProfile& profile = *properties.profile();
    profile.silver = 111;
    properties.save();
    const Bytes first = payloadOf("profile_0.dat");
    profile.silver = 222;
    properties.save();
    const Bytes second = payloadOf("profile_0.dat");
    if (first.empty() || second.empty() || first == second) {
        std::printf("the two reference saves failed\n");
        return 1;
    }

    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayMicroseconds(0, 2000);
    for (int kill = 0; kill < count; ++kill) {
        int ready[2];
        if (pipe(ready) != 0)
            return 1;
        const pid_t child = fork();
        if (child < 0)
            return 1;
        if (child == 0) {
            close(ready[0]);
            saveForever(properties, ready[1]);
        }
        close(ready[1]);
        char byte = 0;
        const bool started = read(ready[0], &byte, 1) == 1;
        close(ready[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        if (!started || !WIFSIGNALED(status) || WTERMSIG(status) != SIGKILL) {
            std::printf("kill %d: the saving child did not run until killed\n", kill);
            return 1;
        }
        const Bytes payload = payloadOf("profile_0.dat");
        if (payload != first && payload != second) {
            std::printf("kill %d: profile_0.dat holds %zu bytes that are neither save\n", kill, payload.size());
            return 1;
        }
        if (payloadOf("last_profile.dat") != Bytes(8, 0)) {
            std::printf("kill %d: last_profile.dat is not whole\n", kill);
            return 1;
        }
    }
    std::printf("kills: %d whole\n", count);
    return 0;
}

int limit(GameProperties& properties, rlim_t bytes)
{
    properties.profile()->silver = 111;
    if (!properties.save())
        return 3;
    const rlimit fileSize = {bytes, bytes};
    signal(SIGXFSZ, SIG_IGN);
    if (setrlimit(RLIMIT_FSIZE, &fileSize) != 0)
        return 4;
    properties.profile()->silver = 222;
    return properties.save() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (!(command == "kills" && argc == 4) && !(command == "limit" && argc == 3)) {
        std::fprintf(stderr, "usage: save_crash_program kills N SEED | limit BYTES\n");
        return 2;
    }
    std::filesystem::create_directories("media");
    std::ofstream("media/platform_config.lua") << "platformCode = 0\nmodes = {}\n";
    VQ::contentRoot() = "./media/";
    VQ::LogSystem log;
    VQ::FileSystem fileSystem;
    fileSystem.filesOfPackage("default")["platform_config_lua"] = "platform_config.lua";
    PlatformConfig platform;
    setTimeSource(fixedClock);
    GameProperties properties;

    if (command == "kills")
        return kills(properties, std::atoi(argv[2]), unsigned(std::strtoul(argv[3], nullptr, 10)));
    return limit(properties, std::strtoul(argv[2], nullptr, 10));
}
