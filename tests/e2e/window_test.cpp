// The game's window on a real X server (Xvfb): its title and class.

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "support/game_sandbox.h"

using namespace TestSupport;

namespace {

constexpr const char* XVFB = "/usr/bin/Xvfb";
constexpr const char* XWININFO = "/usr/bin/xwininfo";

// Starts Xvfb and gives its display (":N"), or "" when it cannot run.
std::string startXServer(ChildProcess& server, const std::string& outputFile)
{
    const std::string script = std::string("exec ") + XVFB +
                               " -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>" + outputFile;
    if (!server.start("/bin/sh", {"-c", script}, "", {}))
        return "";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline && server.running()) {
        const std::string number = readFile(outputFile);
        if (!number.empty() && number.back() == '\n')
            return ":" + number.substr(0, number.size() - 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return "";
}

// The xwininfo line of the top-level window named `title`, waiting for it
// to appear.
std::string findWindow(const std::string& display, const std::string& title, ChildProcess& game)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline && game.running()) {
        const ProcessResult tree = runProcess(XWININFO, {"-root", "-tree", "-display", display}, "", {}, 10);
        for (const std::string& line : splitLines(tree.output)) {
            if (line.find("\"" + title + "\": (") != std::string::npos)
                return line;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return "";
}

}  // namespace

TEST(GameWindow, TitleComesFromTheTextsAndClassIsFixed)
{
    if (access(XVFB, X_OK) != 0 || access(XWININFO, X_OK) != 0)
        GTEST_SKIP() << "Xvfb or xwininfo is not installed";

    struct Case {
        const char* name;
        std::map<std::string, std::string> replaced;
        const char* title;
    };
    const Case cases[] = {
        {"sample texts", {}, "Lanterra"},
        {"title key missing",
         {{"en/strings.xml", "<?xml version=\"1.0\"?><root><s><text>OTHER</text><translate>x</translate></s></root>"}},
         "!ERROR!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GameSandbox sandbox(c.replaced);
        ChildProcess server;
        const std::string display = startXServer(server, sandbox.file("display.txt"));
        ASSERT_FALSE(display.empty()) << server.wait(1).output;

        sandbox.env()["SDL_VIDEODRIVER"] = "x11";
        sandbox.env()["DISPLAY"] = display;
        ChildProcess game;
        ASSERT_TRUE(sandbox.start(game, gamePath()));
        const std::string window = findWindow(display, c.title, game);
        EXPECT_NE(window.find("(\"Brightvale\" \"Brightvale\")"), std::string::npos) << window;

        game.sendSignal(SIGTERM);
        const ProcessResult result = game.wait();
        EXPECT_TRUE(result.exited) << result.output;
        EXPECT_EQ(result.exitCode, 0) << result.output;
        server.sendSignal(SIGTERM);
        server.wait(10);
    }
}
