#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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
    const SimRun first = runBoardSim(dir, MEDIA + " test_random_lua --seed 42", commands);
    const SimRun second = runBoardSim(dir, MEDIA + " test_random_lua --seed 42", commands);
    ASSERT_EQ(first.exitCode, 0);
    EXPECT_EQ(first.output, second.output);
    const SimRun other = runBoardSim(dir, MEDIA + " test_random_lua --seed 43", commands);
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
    const size_t loading = log.find("Loading level 'test_random_lua'");
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
    const SimRun first = runBoardSim(dir, MEDIA + " test_specials_lua --seed 5", commands);
    const std::string firstLog = readFile(dir.file("VQ.log"));
    const SimRun second = runBoardSim(dir, MEDIA + " test_specials_lua --seed 5", commands);
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
    } games[] = {{"test_random_lua", 1}, {"test_random_lua", 7}, {"test_random_lua", 42}, {"test_specials_lua", 5}, {"test_no_moves_lua", 2}};
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
    writeFile(dir.file("media/levels/test_no_moves.lua"), "error('broken')\n");

    const std::string commands = "click 0 1\nswap 0 1 1 1\nsettle\nquit\n";
    for (const std::string level : {"no_such_level_lua", "test_no_moves_lua"}) {
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
        execl(LANTERRA_BOARD_SIM, "board_sim", media.c_str(), "test_specials_lua", "--seed", "5", nullptr);
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
    const SimRun run = runBoardSim(dir, MEDIA + " test_no_moves_lua", "jump\nstep -1\nclick 1\n\nsettle\n");
    EXPECT_EQ(run.exitCode, 0);
    const std::vector<std::string> lines = splitLines(run.output);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "error: unknown or malformed command: jump"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "error: unknown or malformed command: step -1"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "error: unknown or malformed command: click 1"), 1);
    EXPECT_EQ(lines.back().rfind("settled ", 0), 0u);

    EXPECT_EQ(runBoardSim(dir, MEDIA, "").exitCode, 2);
    EXPECT_EQ(runBoardSim(dir, MEDIA + " test_random_lua --seed x", "").exitCode, 2);
    EXPECT_EQ(runBoardSim(dir, MEDIA + " test_random_lua --speed 1", "").exitCode, 2);
}


// --- The rules run ---

const std::string RULES_FIXTURES = std::string(LANTERRA_SOURCE_DIR) + "/tests/fixtures/board_sim/rules/";

bool hasLine(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

size_t indexOf(const std::vector<std::string>& lines, const std::string& line)
{
    return static_cast<size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

// Fifteen kept swaps on the moves level: the limit is set up, flies in,
// counts each move and is reached at 0; the score follows the first swap.
// The whole run is kept as a transcript.
TEST(BoardSimRules, AMovesLevelCountsItsMovesDownToTheLimit)
{
    TempDir dir;
    const std::string commands = readFile(RULES_FIXTURES + "rules_moves_lua.txt");
    ASSERT_FALSE(commands.empty());
    const SimRun run = runBoardSim(dir, MEDIA + " rules_moves_lua --seed 3 --rules", commands);
    ASSERT_EQ(run.exitCode, 0);
    const std::vector<std::string> lines = splitLines(run.output);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "mode setupLevelRules");
    EXPECT_EQ(lines[1], "limit moves 15");
    const size_t shown = indexOf(lines, "limit shown");
    const size_t firstMove = static_cast<size_t>(
        std::find_if(lines.begin(), lines.end(),
                     [](const std::string& line) { return line.rfind("mode onPlayerMove", 0) == 0; }) -
        lines.begin());
    ASSERT_LT(shown, firstMove);
    ASSERT_LT(firstMove + 1, lines.size());
    EXPECT_EQ(lines[firstMove + 1], "limit changed 15 14");
    const auto score = std::find_if(lines.begin() + static_cast<long>(firstMove), lines.end(),
                                    [](const std::string& line) { return line.rfind("score ", 0) == 0; });
    EXPECT_NE(score, lines.end());
    EXPECT_TRUE(hasLine(lines, "limit changed 1 0"));
    EXPECT_EQ(indexOf(lines, "limit reached"), indexOf(lines, "limit changed 1 0") + 1);
    EXPECT_TRUE(hasLine(lines, "limit moves 0 pending 0 warning 1"));
    EXPECT_EQ(run.output, readFile(RULES_FIXTURES + "rules_moves_lua_seed3.txt"));
}

// The timer waits for the first move, then runs and says so once.
TEST(BoardSimRules, ATimedLevelStartsItsClockOnTheFirstMove)
{
    TempDir dir;
    const std::string commands = readFile(RULES_FIXTURES + "rules_time_lua.txt");
    ASSERT_FALSE(commands.empty());
    const SimRun run = runBoardSim(dir, MEDIA + " rules_time_lua --seed 4 --rules", commands);
    ASSERT_EQ(run.exitCode, 0);
    const std::vector<std::string> lines = splitLines(run.output);
    EXPECT_EQ(lines[1], "limit time 30");
    EXPECT_TRUE(hasLine(lines, "limit time 30.00 pending 0.00 running 0 warning 0"));
    const size_t started = indexOf(lines, "timer started");
    ASSERT_LT(started, lines.size());
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "timer started"), 1);
    EXPECT_LT(indexOf(lines, "limit time 30.00 pending 0.00 running 0 warning 0"), started);
    EXPECT_TRUE(lines[started - 1].rfind("mode onPlayerMove", 0) == 0);
    EXPECT_TRUE(hasLine(lines, "limit changed 30 29"));
}

// A scripted play of each goal level reaches its goals; the level is then
// held (busy) for the win.
TEST(BoardSimRules, ScriptedPlaysOfTheGoalLevelsMeetTheirGoals)
{
    TempDir dir;
    for (const char* level :
         {"goal_walls_lua", "goal_tiles_lua", "goal_falling_lua", "goal_strong_walls_lua", "rules_no_limit_lua"}) {
        SCOPED_TRACE(level);
        const std::string commands = readFile(RULES_FIXTURES + level + ".txt");
        ASSERT_FALSE(commands.empty());
        const SimRun run = runBoardSim(dir, MEDIA + " " + level + " --seed 1 --rules", commands);
        ASSERT_EQ(run.exitCode, 0);
        const std::vector<std::string> lines = splitLines(run.output);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), "goals complete"), 1);
        EXPECT_TRUE(hasLine(lines, "busy 1"));
    }
    const SimRun none = runBoardSim(dir, MEDIA + " rules_no_limit_lua --seed 1 --rules", "rules\nquit\n");
    EXPECT_TRUE(hasLine(splitLines(none.output), "limit none"));
}

// "layers" writes every chip as its layer types.
TEST(BoardSimRules, LayersWritesTheTypesOfEveryChip)
{
    TempDir dir;
    const SimRun run = runBoardSim(dir, MEDIA + " goal_strong_walls_lua --seed 1 --rules", "layers\nquit\n");
    const std::vector<std::string> lines = splitLines(run.output);
    const size_t board = indexOf(lines, "board 9 9");
    ASSERT_LT(board + 9, lines.size());
    EXPECT_EQ(lines[board + 9], "1 10 7 18 7 10 7 10 1");
    // Without --rules the command is unknown.
    const SimRun plain = runBoardSim(dir, MEDIA + " goal_strong_walls_lua --seed 1", "layers\nrules\n");
    EXPECT_EQ(plain.output.find("board"), std::string::npos);
}

// --- The living blockers' levels ---

// A scripted play: the replies of each "rules" and "layers" in order.
struct BlockerPlay {
    std::vector<std::string> lines;
    // Each "layers" board as rows of cells ("1", "1/2", ...), top row first.
    std::vector<std::vector<std::vector<std::string>>> boards;
    // The last "goal 0" line written before each board.
    std::vector<std::string> goalsBefore;

    // The lines that start with `prefix`, in order.
    std::vector<std::string> starting(const std::string& prefix) const
    {
        std::vector<std::string> found;
        for (const std::string& line : lines)
            if (line.rfind(prefix, 0) == 0)
                found.push_back(line);
        return found;
    }
    // Cells of board `i` that read exactly `cell`.
    int count(size_t i, const std::string& cell) const
    {
        int n = 0;
        for (const auto& row : boards.at(i))
            n += static_cast<int>(std::count(row.begin(), row.end(), cell));
        return n;
    }
    // The cell at (column, row), rows counted from 1 as the commands do.
    const std::string& at(size_t i, int column, int row) const
    {
        return boards.at(i).at(static_cast<size_t>(row - 1)).at(static_cast<size_t>(column));
    }
};

BlockerPlay playBlockerLevel(const TempDir& dir, const std::string& level, const std::string& arguments = "--seed 1")
{
    BlockerPlay play;
    const std::string commands = readFile(RULES_FIXTURES + level + ".txt");
    EXPECT_FALSE(commands.empty());
    const SimRun run = runBoardSim(dir, MEDIA + " " + level + " " + arguments + " --rules", commands);
    EXPECT_EQ(run.exitCode, 0);
    play.lines = splitLines(run.output);
    std::string goal;
    for (size_t i = 0; i < play.lines.size(); ++i) {
        const std::string& line = play.lines[i];
        if (line.rfind("goal 0 ", 0) == 0)
            goal = line;
        int width = 0, height = 0;
        if (std::sscanf(line.c_str(), "board %d %d", &width, &height) != 2 || i + size_t(height) >= play.lines.size())
            continue;
        std::vector<std::vector<std::string>> board;
        for (int row = 1; row <= height; ++row) {
            std::vector<std::string> cells;
            std::string rest = play.lines[i + size_t(row)];
            for (size_t from = 0, space = 0; from < rest.size(); from = space + 1) {
                space = rest.find(' ', from);
                if (space == std::string::npos)
                    space = rest.size();
                cells.push_back(rest.substr(from, space - from));
            }
            EXPECT_EQ(cells.size(), size_t(width)) << line;
            board.push_back(cells);
        }
        play.boards.push_back(board);
        play.goalsBefore.push_back(goal);
        i += size_t(height);
    }
    return play;
}

// Six kept moves on the chain bomb level: the counter runs 2, 1, then bursts
// and starts again; each burst, thrown once the move's chips have landed,
// chains two plain chips.
TEST(BoardSimBlockers, AChainBombCountsDownAndChainsTwoChipsEveryThirdMove)
{
    TempDir dir;
    const BlockerPlay play = playBlockerLevel(dir, "blocker_chain_bomb_lua");
    EXPECT_EQ(play.starting("chainbomb"),
              (std::vector<std::string>{"chainbomb 4,4 left 3", "chainbomb 4,4 left 2", "chainbomb 4,4 left 1",
                                        "chainbomb 4,4 left 3", "chainbomb 4,4 left 2", "chainbomb 4,4 left 1",
                                        "chainbomb 4,4 left 3"}));
    EXPECT_EQ(play.starting("limit changed").size(), 6u);
    ASSERT_EQ(play.boards.size(), 6u);
    EXPECT_EQ(play.count(0, "1/2"), 0);
    EXPECT_EQ(play.count(1, "1/2"), 0);
    EXPECT_EQ(play.count(2, "1/2"), 2);
    EXPECT_EQ(play.count(5, "1/2"), play.count(4, "1/2") + 2);
    // The bomb stays where it stands.
    for (size_t i = 0; i < play.boards.size(); ++i)
        EXPECT_EQ(play.at(i, 4, 4), "31") << i;
}

// Six kept moves on the generator level (limit 2): a move whose lines hit
// the generator or a clump of moss is not counted, and every second counted
// move turns a chip in reach into moss.
TEST(BoardSimBlockers, AGeneratorMakesMossEverySecondCountedMove)
{
    TempDir dir;
    const BlockerPlay play = playBlockerLevel(dir, "blocker_generator_lua");
    ASSERT_EQ(play.boards.size(), 6u);
    // Per move: whether its lines hit the generator or moss, and the count
    // the rules wrote after it.
    struct Move {
        bool hit = false;
        int left = 0;
    };
    std::vector<Move> moves;
    bool open = false;
    int left = 0;
    for (const std::string& line : play.lines) {
        if (line.rfind("mode onPlayerMove", 0) == 0) {
            moves.push_back({});
            open = true;
        } else if (line.rfind("generator 4,4 left ", 0) == 0) {
            left = std::atoi(line.c_str() + 19);
            if (open)
                moves.back().left = left;
            open = false;
        } else if (open && ((line.rfind("mode onNeighbourDestroyed ", 0) == 0 &&
                             line.compare(line.size() - 4, 4, " 4,4") == 0) ||
                            (line.rfind("mode onChipDestroyed ", 0) == 0 &&
                             line.compare(line.size() - 3, 3, " 33") == 0))) {
            moves.back().hit = true;
        }
    }
    ASSERT_EQ(moves.size(), 6u);
    int before = 2, counted = 0, hits = 0;
    for (size_t i = 0; i < moves.size(); ++i) {
        SCOPED_TRACE(i);
        const int moss = play.count(i, "33");
        const int mossBefore = i > 0 ? play.count(i - 1, "33") : 0;
        if (moves[i].hit) {
            ++hits;
            EXPECT_EQ(moves[i].left, before);
        } else {
            ++counted;
            EXPECT_EQ(moves[i].left, before == 1 ? 2 : before - 1);
            // Moss only when the count ran out.
            if (before == 1) {
                EXPECT_EQ(moss, mossBefore + 1);
            }
        }
        if (before != 1 || moves[i].hit) {
            EXPECT_LE(moss, mossBefore);
        }
        before = moves[i].left;
    }
    // The script both hits (the moss too) and makes moss.
    EXPECT_GE(hits, 2);
    EXPECT_GE(counted, 3);
    for (size_t i = 0; i < play.boards.size(); ++i)
        for (int row = 1; row <= 9; ++row)
            for (int column = 0; column < 9; ++column)
                if (play.at(i, column, row) == "33") {
                    EXPECT_LE(std::abs(column - 4), 2);
                    EXPECT_LE(std::abs(row - 4), 2);
                }
}

// Three kept moves on the rising level: the rising chips climb a row per
// move, the one under the wall waits while the wall stands, and the goal
// counts the rising chips destroyed on the way.
TEST(BoardSimBlockers, RisingChipsClimbARowPerMoveAndTheGoalCountsThem)
{
    TempDir dir;
    const BlockerPlay play = playBlockerLevel(dir, "blocker_rising_lua");
    ASSERT_EQ(play.boards.size(), 4u);
    for (int column : {0, 2, 4, 6, 7, 8})
        EXPECT_EQ(play.at(0, column, 9), "9") << column;
    EXPECT_EQ(play.at(0, 7, 8), "4");
    EXPECT_EQ(play.goalsBefore[0], "goal 0 6 0/6");
    // After the first move: up a row, but under the wall.
    for (int column : {0, 2, 4})
        EXPECT_EQ(play.at(1, column, 8), "9") << column;
    EXPECT_EQ(play.at(1, 7, 9), "9");
    for (size_t i = 0; i < play.boards.size(); ++i) {
        SCOPED_TRACE(i);
        int destroyed = -1;
        ASSERT_EQ(std::sscanf(play.goalsBefore[i].c_str(), "goal 0 6 %d/6", &destroyed), 1);
        EXPECT_EQ(play.count(i, "9") + destroyed, 6);
        // Never more than a row a move: no rising chip above row 9 - i.
        for (int row = 1; row < 9 - static_cast<int>(i); ++row)
            for (int column = 0; column < 9; ++column)
                EXPECT_NE(play.at(i, column, row), "9") << column << ',' << row;
    }
}

// Two kept moves on the ice level (radius 2): the cold reaches the source's
// neighbours and, through the solid block beside it, that block's
// neighbours; the block itself freezes no further.
TEST(BoardSimBlockers, IceSpreadsAfterEachMoveThroughASolidBlockWithRadiusTwo)
{
    TempDir dir;
    const BlockerPlay play = playBlockerLevel(dir, "blocker_ice_lua");
    EXPECT_EQ(play.starting("ice"), std::vector<std::string>(3, "ice radius 2 timed 0 next 0"));
    ASSERT_EQ(play.boards.size(), 3u);
    EXPECT_EQ(play.at(0, 4, 4), "27");
    EXPECT_EQ(play.at(0, 5, 4), "1/30");
    EXPECT_EQ(play.count(0, "1/28"), 0);
    const std::vector<std::pair<int, int>> reached = {{3, 4}, {4, 3}, {4, 5}, {6, 4}, {5, 3}, {5, 5}};
    for (size_t i = 1; i <= 2; ++i) {
        SCOPED_TRACE(i);
        const std::string stage = i == 1 ? "1/28" : "1/29";
        for (auto [column, row] : reached)
            EXPECT_EQ(play.at(i, column, row), stage) << column << ',' << row;
        EXPECT_EQ(play.count(i, stage), 6);
        EXPECT_EQ(play.at(i, 5, 4), "1/30");
        EXPECT_EQ(play.at(i, 4, 4), "27");
    }
}

// The timed ice level (38 s, radius 1): the clock starts on the first move
// and the ice spreads at 35 s and 32 s left, one stage each time.
TEST(BoardSimBlockers, TimedIceSpreadsEveryThreeSeconds)
{
    TempDir dir;
    const BlockerPlay play = playBlockerLevel(dir, "blocker_ice_timed_lua");
    EXPECT_EQ(play.starting("ice"),
              (std::vector<std::string>{"ice radius 1 timed 1 next 35", "ice radius 1 timed 1 next 35",
                                        "ice radius 1 timed 1 next 32", "ice radius 1 timed 1 next 29"}));
    ASSERT_EQ(play.boards.size(), 3u);
    EXPECT_EQ(play.count(0, "1/28") + play.count(0, "1/29"), 0);
    for (auto [board, stage] : {std::pair<size_t, const char*>{1, "1/28"}, {2, "1/29"}}) {
        SCOPED_TRACE(board);
        for (auto [column, row] : {std::pair{3, 4}, std::pair{5, 4}, std::pair{4, 3}, std::pair{4, 5}})
            EXPECT_EQ(play.at(board, column, row), stage) << column << ',' << row;
        EXPECT_EQ(play.count(board, stage), 4);
    }
}

// The chain bomb's counter is drawn on its plate in dark ink, and follows
// the count: the plate's pixels change when the count does.
TEST(BoardSimBlockers, TheChainBombShowsItsCountOnItsPlate)
{
    const TempDir dir;
    const std::string commands = readFile(RULES_FIXTURES + "blocker_chain_bomb_lua.txt");
    const size_t firstSwap = commands.find("swap ");
    ASSERT_NE(firstSwap, std::string::npos);
    const std::string swap = commands.substr(firstSwap, commands.find('\n', firstSwap) + 1 - firstSwap);
    const SimRun run = runBoardSim(dir, MEDIA + " blocker_chain_bomb_lua --seed 1 --rules --draw",
                                   "settle\nshot three.png\n" + swap + "settle\nshot two.png\nquit\n");
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_TRUE(hasLine(splitLines(run.output), "mode onPlayerMove 4,8 4,9"));
    Picture three, two;
    ASSERT_TRUE(three.read(dir.file("three.png")));
    ASSERT_TRUE(two.read(dir.file("two.png")));
    // The play rows are centred (cells of 80 px, the spawn row above them);
    // the plate lies in the bomb's cell (4, 4) at (21..56, 47..72).
    const uint32_t left = (three.width - 9 * 80) / 2 + 4 * 80;
    const uint32_t top = (three.height - 9 * 80) / 2 - 80 + 4 * 80;
    const uint32_t x0 = left + 28, y0 = top + 50, x1 = left + 52, y1 = top + 68;
    auto ink = [](uint8_t r, uint8_t g, uint8_t b) { return std::max({r, g, b}) < 110; };
    auto paper = [](uint8_t r, uint8_t g, uint8_t b) { return std::min({r, g, b}) > 150; };
    for (const Picture* shot : {&three, &two}) {
        EXPECT_GT(shot->count(x0, y0, x1, y1, ink), 40);
        EXPECT_GT(shot->count(x0, y0, x1, y1, paper), 40);
    }
    int differing = 0;
    for (uint32_t y = y0; y < y1; ++y)
        for (uint32_t x = x0; x < x1; ++x) {
            const size_t i = (size_t(y) * three.width + x) * 3;
            differing += std::abs(int(three.rgb[i]) - int(two.rgb[i])) > 60;
        }
    EXPECT_GT(differing, 20);
}

// The bonus rules through the program: the three boosters act on the moves
// level once the limit has landed, a bonus is fired from the panel, and the
// end-of-level run pays the moves left out and finishes.
TEST(BoardSimRules, BoostersBonusesAndTheEndRunPlayThroughTheRulesRun)
{
    TempDir dir;
    const SimRun run = runBoardSim(dir, MEDIA + " rules_moves_lua --seed 1 --rules --stock 1,0,2,0 --boosters 1,1,1",
                                   "step 20\nrules\nbonus 1\nbonus 2\nstep 3\nrules\nlevelend\nstep 60\nrules\n"
                                   "bonus 7\nquit\n");
    ASSERT_EQ(run.exitCode, 0);
    const std::vector<std::string> lines = splitLines(run.output);
    for (const char* line : {"booster 0 used 1", "booster 1 used 1", "booster 2 used 1",
                             "limit moves 20 pending 0 warning 0", "bonus 0 0 stock 1 enabled 1",
                             "bonus 1 1 stock 0 enabled 1", "bonus 2 2 stock 1 enabled 1", "bonus 1", "bonus 2",
                             "levelend 7 done 1", "limit moves 0 pending 0 warning 1", "bonus 7 none"})
        EXPECT_TRUE(hasLine(lines, line)) << line;
    // The arrows spent one; the lightning had none (the shop opened).
    EXPECT_LT(indexOf(lines, "bonus 2 2 stock 2 enabled 1"), indexOf(lines, "bonus 2 2 stock 1 enabled 1"));
    // Without the options there is nothing to show.
    const SimRun plain = runBoardSim(dir, MEDIA + " rules_moves_lua --seed 1 --rules", "rules\nquit\n");
    EXPECT_EQ(plain.output.find("bonus "), std::string::npos);
    EXPECT_EQ(plain.output.find("booster "), std::string::npos);
    const SimRun bad = runBoardSim(dir, MEDIA + " rules_moves_lua --rules --boosters 1,2,0", "quit\n");
    EXPECT_EQ(bad.exitCode, 2);
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
        const SimRun run = runBoardSim(dir, MEDIA + " test_specials_lua --seed 5 --draw", commands);
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
