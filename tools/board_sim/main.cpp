// board_sim CONTENT_ROOT LEVEL [--seed N] [--draw] [--rules] [--stock A,B,C,D]
//           [--boosters C,M,B] < commands
// Plays a level without window or sound device; see board_sim.h for the
// commands and what they print.

#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ext/stdio_filebuf.h>
#include <iostream>
#include <string>

#include "board_sim.h"
#include "game_field.h"
#include "random_seed.h"

namespace {

int usage()
{
    std::fprintf(stderr, "usage: board_sim CONTENT_ROOT LEVEL [--seed N] [--draw] [--rules] [--stock A,B,C,D] "
                         "[--boosters C,M,B] < commands\n");
    return 2;
}

// N comma-separated whole numbers, each at least 0 (and at most `most`).
template <size_t N>
bool readList(const char* text, std::array<int, N>& out, long most)
{
    for (size_t i = 0; i < N; ++i) {
        char* end = nullptr;
        const long value = std::strtol(text, &end, 10);
        if (end == text || value < 0 || value > most || (i + 1 < N ? *end != ',' : *end != '\0'))
            return false;
        out[i] = static_cast<int>(value);
        text = end + 1;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return usage();
    bool draw = false;
    bool rules = false;
    bool seeded = false;
    std::array<int, 4> stock{};
    std::array<int, 3> boosters{};
    bool stockGiven = false, boostersGiven = false;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--draw") == 0) {
            draw = true;
            continue;
        }
        if (std::strcmp(argv[i], "--rules") == 0) {
            rules = true;
            continue;
        }
        if (std::strcmp(argv[i], "--stock") == 0 && i + 1 < argc) {
            if (!readList(argv[++i], stock, 9999))
                return usage();
            stockGiven = true;
            continue;
        }
        if (std::strcmp(argv[i], "--boosters") == 0 && i + 1 < argc) {
            if (!readList(argv[++i], boosters, 1))
                return usage();
            boostersGiven = true;
            continue;
        }
        if (std::strcmp(argv[i], "--seed") != 0 || i + 1 >= argc)
            return usage();
        char* end = nullptr;
        const char* text = argv[++i];
        const unsigned long seed = std::strtoul(text, &end, 10);
        if (!*text || *end || seed > 0xFFFFFFFFul)
            return usage();
        BoardSim::useSeed(static_cast<uint32_t>(seed));
        seeded = true;
    }
    if (!seeded) {
        // From the clock, as the game's level start does: a random start
        // differs from run to run.
        seedRandomFromCounter();
    }
    // The null device of OpenAL: the board's sounds go nowhere.
    setenv("ALSOFT_DRIVERS", "null", 1);

    // The engine's log echoes every line on the standard output; the board's
    // own output keeps it to itself and the log goes to the standard error.
    std::fflush(stdout);
    const int outputFd = dup(STDOUT_FILENO);
    if (outputFd < 0 || dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
        std::perror("board_sim");
        return 1;
    }
    __gnu_cxx::stdio_filebuf<char> outputBuffer(outputFd, std::ios::out);
    std::ostream output(&outputBuffer);

    BoardSim sim(output);
    if (draw)
        sim.enableDrawing();
    if (rules)
        sim.enableRules();
    if (stockGiven)
        sim.setBonusStock(stock);
    if (boostersGiven)
        sim.setBoosters(boosters);
    if (!sim.start(argv[1], argv[2])) {
        std::fprintf(stderr, "board_sim: cannot draw: %s\n", sim.drawing() ? sim.drawing()->error().c_str() : "");
        return 1;
    }
    // The commands still run (the board ignores them), so that a driver
    // reads the same replies; the status tells the failure.
    const bool loaded = sim.field().active;
    if (!loaded)
        std::fprintf(stderr, "board_sim: level '%s' could not be loaded (see VQ.log)\n", argv[2]);
    std::string line;
    while (std::getline(std::cin, line)) {
        const bool more = sim.execute(line);
        // Each reply is out before the next command is read: a program can
        // drive the board line by line.
        output.flush();
        if (!more)
            break;
    }
    output.flush();
    return loaded ? 0 : 1;
}
