#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/picture.h"
#include "support/test_support.h"

using namespace TestSupport;

namespace {

struct SimRun {
    int exitCode = -1;
    std::string output;  // standard output only
};

// Runs board_sim in `dir` with `commands` on its standard input.
SimRun runBoardSim(const TempDir& dir, const std::string& arguments, const std::string& commands)
{
    writeFile(dir.file("commands.txt"), commands);
    const std::string command = "cd '" + dir.path() + "' && ALSOFT_DRIVERS=null '" LANTERRA_BOARD_SIM "' " +
                                arguments + " < commands.txt 2> stderr.txt";
    SimRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        run.output.append(buffer, n);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

const std::string MEDIA = std::string("'") + LANTERRA_SOURCE_DIR + "/media'";

TEST(BoardSimProgram, ASeedReplaysTheSameGameByteForByte)
{
    TempDir dir;
    const std::string commands = "dump\nsettle\nstep 0.5\nclick 3 4\nswap 1 1 2 1\ndump\nquit\ndump\n";
    const SimRun first = runBoardSim(dir, MEDIA + " level_1_lua --seed 42", commands);
    const SimRun second = runBoardSim(dir, MEDIA + " level_1_lua --seed 42", commands);
    ASSERT_EQ(first.exitCode, 0);
    EXPECT_EQ(first.output, second.output);
    const SimRun other = runBoardSim(dir, MEDIA + " level_1_lua --seed 43", commands);
    EXPECT_NE(first.output, other.output);

    const std::vector<std::string> lines = splitLines(first.output);
    ASSERT_GE(lines.size(), 12u);
    EXPECT_EQ(lines[0], "mode setupLevelRules");
    EXPECT_EQ(lines[1], "board 9 9");
    // Row 1: the corner holes and the falling goal; row 9: tiles.
    EXPECT_EQ(lines[2].substr(0, 2), "# ");
    EXPECT_NE(lines[2].find(" FallingLevelGoal "), std::string::npos);
    EXPECT_EQ(lines[2].substr(lines[2].size() - 2), " #");
    EXPECT_NE(lines[10].find("+1"), std::string::npos);
    EXPECT_EQ(lines[11], "mode onLevelBegin");
    EXPECT_EQ(lines[12].rfind("settled ", 0), 0u) << lines[12];
    // "quit" ends the run: one dump after it is not made.
    int boards = 0;
    for (const std::string& line : lines)
        boards += line.rfind("board ", 0) == 0;
    EXPECT_EQ(boards, 2);

    const std::string log = readFile(dir.file("VQ.log"));
    const size_t begin = log.find("void GameField::initialize() -begin");
    const size_t loading = log.find("Loading level 'level_1_lua'");
    const size_t done = log.find("Loading done.");
    ASSERT_NE(begin, std::string::npos);
    EXPECT_LT(begin, loading);
    EXPECT_LT(loading, done);
}

TEST(BoardSimProgram, AGameWithAWaveAndItsEffectsReplaysByteForByte)
{
    TempDir dir;
    // The horizontal wave of the fixed level, then long enough for the hint.
    const std::string commands = "settle\nswap 1 5 2 5\nstep 1\ndump\nsettle\nstep 7\nswap 7 3 7 4\nsettle\ndump\n";
    const SimRun first = runBoardSim(dir, MEDIA + " level_2_lua --seed 5", commands);
    const std::string firstLog = readFile(dir.file("VQ.log"));
    const SimRun second = runBoardSim(dir, MEDIA + " level_2_lua --seed 5", commands);
    ASSERT_EQ(first.exitCode, 0);
    EXPECT_EQ(first.output, second.output);
    EXPECT_NE(first.output.find("mode onPlayerMove"), std::string::npos);
    // The effects were read from the content, with no warning on the way.
    EXPECT_NE(firstLog.find(">>> XML Cache en: fx_sprites"), std::string::npos);
    EXPECT_EQ(firstLog.find("WARNING"), std::string::npos);
}

// Whole games of every sample level, kept as the program printed them: any
// change to the board's decisions, their order or the output shows here.
// Written again, after a change that is meant to alter play, as the README
// says (board_sim MEDIA LEVEL --seed N < commands.txt > LEVEL_seedN.txt).
TEST(BoardSimProgram, TranscriptsOfWholeGamesStayByteForByte)
{
    TempDir dir;
    const std::string fixtures = std::string(LANTERRA_SOURCE_DIR) + "/tests/fixtures/board_sim/";
    const std::string commands = readFile(fixtures + "commands.txt");
    ASSERT_FALSE(commands.empty());
    const struct {
        const char* level;
        int seed;
    } games[] = {{"level_1_lua", 1}, {"level_1_lua", 7}, {"level_1_lua", 42}, {"level_2_lua", 5}, {"level_3_lua", 2}};
    for (const auto& game : games) {
        SCOPED_TRACE(testing::Message() << game.level << " seed " << game.seed);
        const SimRun run =
            runBoardSim(dir, MEDIA + " " + game.level + " --seed " + std::to_string(game.seed), commands);
        EXPECT_EQ(run.exitCode, 0);
        const std::string expected =
            readFile(fixtures + game.level + "_seed" + std::to_string(game.seed) + ".txt");
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(run.output, expected);
    }
}

// A level that is missing or whose script fails: said on the standard
// error, the commands run on a board that ignores them, and the status is 1.
TEST(BoardSimProgram, ALevelThatFailsToLoadIgnoresItsCommandsAndEndsWithOne)
{
    TempDir dir;
    namespace fs = std::filesystem;
    const fs::path source = fs::path(LANTERRA_SOURCE_DIR) / "media";
    for (const auto& entry : fs::recursive_directory_iterator(source)) {
        const fs::path target = fs::path(dir.file("media")) / fs::relative(entry.path(), source);
        if (entry.is_directory())
            fs::create_directories(target);
        else if (entry.path().filename().string().rfind("data.", 0) != 0)
            fs::copy_file(entry.path(), target);
    }
    writeFile(dir.file("media/levels/level_3.lua"), "error('broken')\n");

    const std::string commands = "click 0 1\nswap 0 1 1 1\nsettle\nquit\n";
    for (const std::string level : {"no_such_level_lua", "level_3_lua"}) {
        SCOPED_TRACE(level);
        const SimRun run = runBoardSim(dir, "media " + level, commands);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(splitLines(run.output).back(), "not settled");
        EXPECT_NE(readFile(dir.file("stderr.txt")).find("board_sim: level '" + level + "' could not be loaded"),
                  std::string::npos);
    }
}

// A program drives the board a command at a time: each reply comes out
// while the input stays open.
TEST(BoardSimProgram, EachReplyComesOutBeforeTheNextCommand)
{
    TempDir dir;
    int toSim[2], fromSim[2];
    ASSERT_EQ(pipe(toSim), 0);
    ASSERT_EQ(pipe(fromSim), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dup2(toSim[0], STDIN_FILENO);
        dup2(fromSim[1], STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDERR_FILENO);
        for (int fd : {toSim[0], toSim[1], fromSim[0], fromSim[1], null})
            close(fd);
        if (chdir(dir.path().c_str()) != 0)
            _exit(127);
        const std::string media = std::string(LANTERRA_SOURCE_DIR) + "/media";
        execl(LANTERRA_BOARD_SIM, "board_sim", media.c_str(), "level_2_lua", "--seed", "5", nullptr);
        _exit(127);
    }
    close(toSim[0]);
    close(fromSim[1]);
    // Reads until `want` lines have come, for at most 30 seconds.
    std::string received;
    auto readLines = [&](size_t want) {
        for (int waited = 0; waited < 300 && splitLines(received).size() < want; ++waited) {
            pollfd readable{fromSim[0], POLLIN, 0};
            if (poll(&readable, 1, 100) <= 0)
                continue;
            char buffer[4096];
            const ssize_t n = read(fromSim[0], buffer, sizeof(buffer));
            if (n <= 0)
                break;
            received.append(buffer, static_cast<size_t>(n));
        }
        return splitLines(received);
    };
    const std::string first = "settle\n";
    ASSERT_EQ(write(toSim[1], first.data(), first.size()), static_cast<ssize_t>(first.size()));
    std::vector<std::string> lines = readLines(3);
    ASSERT_EQ(lines.size(), 3u) << received;
    EXPECT_EQ(lines[2].rfind("settled ", 0), 0u);
    const std::string second = "dump\n";
    ASSERT_EQ(write(toSim[1], second.data(), second.size()), static_cast<ssize_t>(second.size()));
    lines = readLines(13);
    ASSERT_EQ(lines.size(), 13u) << received;
    EXPECT_EQ(lines[3], "board 9 9");
    close(toSim[1]);
    int status = 0;
    waitpid(child, &status, 0);
    close(fromSim[0]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(BoardSimProgram, BadCommandsAndArgumentsAreReported)
{
    TempDir dir;
    const SimRun run = runBoardSim(dir, MEDIA + " level_3_lua", "jump\nstep -1\nclick 1\n\nsettle\n");
    EXPECT_EQ(run.exitCode, 0);
    const std::vector<std::string> lines = splitLines(run.output);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "error: unknown or malformed command: jump"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "error: unknown or malformed command: step -1"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "error: unknown or malformed command: click 1"), 1);
    EXPECT_EQ(lines.back().rfind("settled ", 0), 0u);

    EXPECT_EQ(runBoardSim(dir, MEDIA, "").exitCode, 2);
    EXPECT_EQ(runBoardSim(dir, MEDIA + " level_1_lua --seed x", "").exitCode, 2);
    EXPECT_EQ(runBoardSim(dir, MEDIA + " level_1_lua --speed 1", "").exitCode, 2);
}

}  // namespace

// The first frame drawn is the one most likely to lose what was loaded for
// it (textures reach the device at a frame's end) and, with the distortion
// pass, the one that moves the scene into its texture half-way.
TEST(BoardSimProgram, TheFirstShotShowsTheWholeBoardWithAndWithoutDistortion)
{
    const TempDir dir;
    for (const char* distortion : {"0", "1"}) {
        SCOPED_TRACE(distortion);
        const std::string commands = std::string("settle\nswap 7 6 8 6\nstep 0.6\ndistortion ") + distortion +
                                     "\nshot first.png\nquit\n";
        const SimRun run = runBoardSim(dir, MEDIA + " level_2_lua --seed 5 --draw", commands);
        ASSERT_EQ(run.exitCode, 0);
        Picture shot;
        ASSERT_TRUE(shot.read(dir.file("first.png")));
        // The backdrop is indigo night; the board's chips are bright. The
        // middle third of the workspace is the board.
        const int bright = shot.count(shot.width / 3, shot.height / 3, 2 * shot.width / 3, 2 * shot.height / 3,
                                      [](uint8_t r, uint8_t g, uint8_t b) { return std::max({r, g, b}) > 120; });
        EXPECT_GT(bright, int(shot.width * shot.height / 9 / 10));
    }
}
