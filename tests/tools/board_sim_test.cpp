#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

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
