// The game program as a player starts it: headless on the sample content.

#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "support/game_sandbox.h"

using namespace TestSupport;

namespace {

const std::vector<std::string> INIT_LINES = {
    "Init EngineAllocators ...", "Init LexBindedFunctionManager...", "Init JobManager...",
    "Init TimerManager...",      "Init FileSystem...",               "Init TextManager...",
    "Init ConfigManager...",     "Init RenderSystem...",             "Init SoundManager...",
    "Init ParticleSystem...",    "Init InputManager...",             "Init SpriteManager...",
    "Init TextureManager...",    "Init UIManager...",                "Init UIFontManager...",
    "Init VideoSurfaceStreame...", "Init VideoPlayer...",
};

// The line the game logs once its own start-up is done and the loop runs.
constexpr const char* RUNNING_LINE = "void GameApplication::create()";

size_t indexOf(const std::vector<std::string>& lines, const std::string& line)
{
    return static_cast<size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

}  // namespace

TEST(GameProgram, StartsAndEndsInOrderOnTermInterruptAndHangup)
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        GameSandbox sandbox;
        ChildProcess game;
        ASSERT_TRUE(sandbox.start(game, gamePath()));
        ASSERT_TRUE(sandbox.waitForLog(RUNNING_LINE, game)) << game.wait(1).output;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        game.sendSignal(signal);
        const ProcessResult result = game.wait();
        ASSERT_TRUE(result.exited) << result.output;
        EXPECT_EQ(result.exitCode, 0) << result.output;

        const std::vector<std::string> lines = sandbox.logLines();
        std::vector<std::string> initLines;
        for (const std::string& line : lines) {
            if (line.rfind("Init ", 0) == 0)
                initLines.push_back(line);
        }
        EXPECT_EQ(initLines, INIT_LINES);

        const size_t started = indexOf(lines, "Application started");
        const size_t created = indexOf(lines, RUNNING_LINE);
        const size_t destroyed = indexOf(lines, "void GameApplication::destroy()");
        ASSERT_LT(destroyed, lines.size());
        EXPECT_GT(started, indexOf(lines, INIT_LINES.back()));
        EXPECT_LT(started, created);
        EXPECT_LT(created, destroyed);
        // The closed window wrote the friends' data: no records.
        EXPECT_EQ(readFile(saveFolder(sandbox) + "facebook_data.dat"),
                  std::string("\0\0\0\0\x41\0\0\0\0\0\0\0", 12));
        // The memory manager's report closes the log.
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[lines.size() - 3], "MemoryManager: Memory Leaks not found");
        EXPECT_EQ(lines.back(), "*******************************");
    }
}

TEST(GameProgram, SecondStartRaisesTheFirstAndLeavesItsLogAlone)
{
    GameSandbox sandbox;
    ChildProcess first;
    ASSERT_TRUE(sandbox.start(first, gamePath()));
    ASSERT_TRUE(sandbox.waitForLog(RUNNING_LINE, first)) << first.wait(1).output;
    const std::string logBefore = readFile(sandbox.logPath());

    const auto begin = std::chrono::steady_clock::now();
    const ProcessResult second = runProcess(gamePath(), {}, sandbox.path(), sandbox.env(), 10);
    const auto took = std::chrono::steady_clock::now() - begin;
    EXPECT_TRUE(second.exited);
    EXPECT_EQ(second.exitCode, 0);
    // About a tenth of a second on an idle machine; the bound only catches
    // a second start that waits for the first one to end.
    EXPECT_LT(took, std::chrono::seconds(8));

    EXPECT_TRUE(first.running());
    EXPECT_EQ(readFile(sandbox.logPath()).rfind(logBefore, 0), 0u) << "the running game's log was rewritten";

    first.sendSignal(SIGTERM);
    const ProcessResult result = first.wait();
    EXPECT_TRUE(result.exited);
    EXPECT_EQ(result.exitCode, 0);
}

TEST(GameProgram, CrashLeavesReportAndDump)
{
    GameSandbox sandbox;
    ChildProcess game;
    ASSERT_TRUE(sandbox.start(game, gamePath()));
    ASSERT_TRUE(sandbox.waitForLog(RUNNING_LINE, game)) << game.wait(1).output;
    game.sendSignal(SIGSEGV);
    const ProcessResult result = game.wait();
    EXPECT_EQ(result.signal, SIGSEGV) << result.output;
    EXPECT_TRUE(sandbox.logContains("* ERROR: Unhandled exception occured! *")) << readFile(sandbox.logPath());
    EXPECT_TRUE(std::filesystem::exists(sandbox.file("VQ.dmp")));
    EXPECT_GT(std::filesystem::file_size(sandbox.file("VQ.dmp")), 0u);
}

namespace {

// The shipped package list without the lines naming `resource`.
std::string listWithout(const std::string& resource)
{
    std::string kept;
    for (const std::string& line : splitLines(readFile(std::string(LANTERRA_SOURCE_DIR) + "/media/lists/default.lua"))) {
        if (line.find("\"" + resource + "\"") == std::string::npos)
            kept += line + "\n";
    }
    return kept;
}

}  // namespace

TEST(GameProgram, FailedStartEndsInTheFatalReport)
{
    struct Case {
        const char* name;
        std::map<std::string, std::string> replaced;
        const char* videoDriver;
        const char* report;  // description, file and line as the log shows them
        bool startedGame;
    };
    const Case cases[] = {
        {"broken configuration", {{"config.lua", "config = { platforms = {\n"}}, "offscreen",
         "Description:\n  Failed to load config file\n\nFile:\n  config_manager\n\nLine:\n  45", false},
        {"no window can be made", {}, "no_such_driver",
         "Description:\n  Unable to start the video system: ", true},
        {"a tutorial script without its table", {{"scripts/tutorial.lua", "-- no table\n"}}, "offscreen",
         "Description:\n  tutorial_lua has no table load\n\nFile:\n  game_application", true},
        {"no small font", {{"lists/default.lua", listWithout("small_font_fnt")}}, "offscreen",
         "Description:\n  Missing resource: small_font_fnt\n\nFile:\n  game_application", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GameSandbox sandbox(c.replaced);
        sandbox.env()["SDL_VIDEODRIVER"] = c.videoDriver;
        const ProcessResult result = runProcess(gamePath(), {}, sandbox.path(), sandbox.env(), 30);
        ASSERT_TRUE(result.exited) << result.output;
        EXPECT_EQ(result.exitCode, 255);
        const std::string log = readFile(sandbox.logPath());
        EXPECT_NE(log.find("ERROR: Assert occured"), std::string::npos) << log;
        EXPECT_NE(log.find(c.report), std::string::npos) << log;
        EXPECT_EQ(log.find("Application started") != std::string::npos, c.startedGame);
    }
}

TEST(GameProgram, FramesArePacedTo16Milliseconds)
{
    GameSandbox sandbox;
    const ProcessResult result = runProcess(testProgramPath("frame_rate_program"), {}, sandbox.path(),
                                            sandbox.env(), 60);
    ASSERT_TRUE(result.exited) << result.output;
    EXPECT_EQ(result.exitCode, 0) << result.output;
    const size_t at = result.output.find("frames per second: ");
    ASSERT_NE(at, std::string::npos) << result.output;
    const double fps = std::stod(result.output.substr(at + 19));
    // The pacing is a ceiling: a loaded machine (or a sanitizer build on a
    // software renderer) may run slower, never faster.
    EXPECT_LE(fps, 63.5);
    EXPECT_GT(fps, 0.0);
}
