// The whole game driven headless by the game driver: start-up to the main
// menu and an orderly end, the logo cards, the game's cursor, the command
// contract and byte-for-byte replays.

#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <cmath>
#include <array>
#include <filesystem>
#include <iterator>
#include <regex>
#include <sstream>
#include <thread>

#include "player_profile.h"
#include "save_fixtures_core.h"
#include "support/game_sandbox.h"
#include "support/picture.h"

using namespace TestSupport;

namespace {

struct DriverRun {
    bool exited = false;
    int exitCode = -1;
    std::string out;
    std::string log;  // the console log and anything else on standard error
};

// One driver run in the sandbox's folder, the script on its standard input.
DriverRun drive(GameSandbox& sandbox, const std::string& script, const std::string& args = "--seed 1")
{
    writeFile(sandbox.file("commands.txt"), script);
    ChildProcess shell;
    const std::string command = "exec '" + testProgramPath("game_driver") + "' " + args +
                                " < commands.txt > out.txt 2> err.txt";
    DriverRun run;
    if (!shell.start("/bin/sh", {"-c", command}, sandbox.path(), sandbox.env())) {
        ADD_FAILURE() << "the driver did not start";
        return run;
    }
    const ProcessResult result = shell.wait(LANTERRA_CHILD_WAIT_SECONDS);
    run.exited = result.exited;
    run.exitCode = result.exitCode;
    run.out = readFile(sandbox.file("out.txt"));
    run.log = readFile(sandbox.file("err.txt"));
    return run;
}

// Each line appears, in this order (others may stand between).
void expectInOrder(const std::vector<std::string>& lines, const std::vector<std::string>& wanted)
{
    auto at = lines.begin();
    for (const std::string& line : wanted) {
        at = std::find(at, lines.end(), line);
        ASSERT_NE(at, lines.end()) << "missing, or out of order: " << line;
    }
}

// The share of the workspace rectangle [x0, x1) x [y0, y1) whose pixels pass
// `test`, the workspace fitted into the frame as the game fits it (the full
// height, the sides cut or barred alike).
template <typename Test>
float share(const Picture& frame, float x0, float y0, float x1, float y1, Test test)
{
    const float width = float(frame.width);
    const float height = float(frame.height);
    const float scale = width / height < 1726.0f / 970.0f ? height / 970.0f : width / 1726.0f;
    const float offsetX = (width - 1726.0f * scale) / 2.0f;
    const float offsetY = (height - 970.0f * scale) / 2.0f;
    const auto px = [&](float x) { return uint32_t(std::max(0.0f, offsetX + x * scale)); };
    const auto py = [&](float y) { return uint32_t(std::max(0.0f, offsetY + y * scale)); };
    const float area = float((px(x1) - px(x0)) * (py(y1) - py(y0)));
    return area > 0.0f ? float(frame.count(px(x0), py(y0), px(x1), py(y1), test)) / area : 0.0f;
}

bool amber(uint8_t r, uint8_t g, uint8_t b)
{
    return r > 180 && g > 90 && g < 230 && b < 120;
}

}  // namespace

TEST(GameDriver, TheMenuFollowsTheLogoAndTheGameEndsInOrder)
{
    GameSandbox sandbox;
    const DriverRun run = drive(sandbox, "until MainMenu\nshot menu.png\nquit\n");
    ASSERT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.exitCode, 0) << run.log;
    EXPECT_TRUE(std::regex_match(run.out, std::regex("state MainMenu [0-9]+\\.[0-9][0-9]\n"))) << run.out;
    expectInOrder(sandbox.logLines(),
                  {"Application started", "void GameApplication::create()", "void LogoGameState::onDeactivate()",
                   "void LogoGameState::unload()", "MainMenu::load", "void MainMenu::initializeAsync() -begin",
                   "void GameApplication::destroy()", "GameStateManager::~GameStateManager()",
                   "MemoryManager: Memory Leaks not found"});

    // The menu: the parchment panel behind its buttons, over the dusk.
    Picture menu;
    ASSERT_TRUE(menu.read(sandbox.file("menu.png")));
    const auto parchment = [](uint8_t r, uint8_t g, uint8_t b) { return r > 180 && g > 160 && b > 110; };
    EXPECT_GT(share(menu, 690, 560, 760, 600, parchment), 0.6f);
    EXPECT_GT(share(menu, 800, 410, 920, 440, amber), 0.6f);
    EXPECT_LT(share(menu, 100, 100, 300, 200, parchment), 0.01f);

    EXPECT_EQ(profileIn(bytesOf(saveFolder(sandbox) + "profile_0.dat"))->launchCount, 1);
    ASSERT_EQ(drive(sandbox, "quit\n").exitCode, 0);
    EXPECT_EQ(profileIn(bytesOf(saveFolder(sandbox) + "profile_0.dat"))->launchCount, 2);
}

TEST(GameDriver, TheFirstLogoIsFullyLitAfterASecondAndAClickMovesOn)
{
    GameSandbox sandbox;
    const DriverRun run = drive(sandbox, "wait 0.25\nshot early.png\nwait 1.25\nshot logo.png\n"
                                         "click 100 100\nwait 1.2\nshot title.png\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.log;
    Picture early, logo, title;
    ASSERT_TRUE(early.read(sandbox.file("early.png")));
    ASSERT_TRUE(logo.read(sandbox.file("logo.png")));
    ASSERT_TRUE(title.read(sandbox.file("title.png")));
    // The studio card's lantern glass, dim while fading in, then bright.
    const auto glass = [](uint8_t r, uint8_t g, uint8_t) { return r > 230 && g > 170; };
    EXPECT_GT(share(logo, 840, 360, 890, 420, glass), 0.6f);
    EXPECT_EQ(share(early, 840, 360, 890, 420, glass), 0.0f);
    // The title card's red gem, where the studio card has the night.
    const auto red = [](uint8_t r, uint8_t g, uint8_t b) { return r > g + 60 && r > b + 60; };
    EXPECT_GT(share(title, 525, 625, 565, 665, red), 0.3f);
    EXPECT_EQ(share(logo, 525, 625, 565, 665, red), 0.0f);
}

TEST(GameDriver, WithoutTheLogoFileTheMenuComesAtOnceAndCommandsAnswerAsDocumented)
{
    GameSandbox sandbox(std::map<std::string, std::string>{{"scenes/logo.xml", ""}});
    std::filesystem::remove(sandbox.file("media/scenes/logo.xml"));
    const DriverRun run = drive(sandbox,
                                "state\n# a comment\n\nbogus 1\nwait soon\nnode nothing\ntap nothing\n"
                                "swap 1 1 2 2\nboard\nuntil MainMenu 2\nstate\nuntil GameLevel 0.5\n"
                                "node btnStart\n");
    ASSERT_EQ(run.exitCode, 0) << run.log;
    EXPECT_EQ(run.out, "state LogoGameState\n"
                       "error bogus 1\n"
                       "error wait soon\n"
                       "node nothing none\n"
                       "tap nothing none\n"
                       "swap none\n"
                       "board none\n"
                       "state MainMenu 0.03\n"
                       "state MainMenu\n"
                       "timeout GameLevel\n"
                       "node btnStart 783 399 160 48\n");
    EXPECT_TRUE(sandbox.logContains("Failed to load logo.xml"));
}

// Only what a player can press now answers: the menu's buttons go while the
// options window is over them, and the window's close button goes with it.
TEST(GameDriver, NodeAndTapAnswerOnlyForWhatCanBePressedNow)
{
    GameSandbox sandbox;
    const DriverRun run = drive(sandbox, "until MainMenu\nnode btnStart\ntap btnOptions\nwait 1\nnode btnStart\n"
                                         "node btnClose\ntap btnClose\nwait 1\nnode btnClose\ntap btnClose\n"
                                         "node btnStart\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.log;
    expectInOrder(splitLines(run.out), {"node btnStart 783 399 160 48", "tap btnOptions 863 491", "node btnStart none",
                                        "node btnClose 1111 287 40 40", "tap btnClose 1131 307", "node btnClose none",
                                        "tap btnClose none", "node btnStart 783 399 160 48"});
}

TEST(GameDriver, TheGamesCursorIsDrawnWhereThePointerIsUnlessTheProfileTurnsItOff)
{
    for (const uint8_t gameCursor : {1, 0}) {
        GameSandbox sandbox;
        if (gameCursor == 0) {
            SaveFixtures::ProfileValues values = SaveFixtures::freshProfile();
            values.gameCursor = 0;
            writeProfile(sandbox, values);
        }
        const DriverRun run = drive(sandbox, "until MainMenu\nmove 300 400\nshot cursor.png\nquit\n");
        ASSERT_EQ(run.exitCode, 0) << run.log;
        Picture shot;
        ASSERT_TRUE(shot.read(sandbox.file("cursor.png")));
        // The arrow hangs down and right from its tip, warm over the cool
        // sky (below the menu's banner).
        const float drawn = share(shot, 300, 400, 340, 450, [](uint8_t r, uint8_t, uint8_t b) { return r > b + 60; });
        if (gameCursor)
            EXPECT_GT(drawn, 0.03f);
        else
            EXPECT_EQ(drawn, 0.0f);
    }
}

TEST(GameDriver, TheSameScriptSeedAndClockReplayByteForByte)
{
    const std::string script = "until MainMenu\nnode btnOptions\ntap btnStart\nwait 0.5\nstate\nquit\n";
    std::string outputs[2];
    std::vector<uint8_t> profiles[2];
    for (int i = 0; i < 2; ++i) {
        GameSandbox sandbox;
        const DriverRun run = drive(sandbox, script, "--seed 7 --now 1700000000");
        ASSERT_EQ(run.exitCode, 0) << run.log;
        outputs[i] = run.out;
        profiles[i] = bytesOf(saveFolder(sandbox) + "profile_0.dat");
    }
    EXPECT_EQ(outputs[0], outputs[1]);
    EXPECT_FALSE(profiles[0].empty());
    EXPECT_EQ(profiles[0], profiles[1]);
}

// The campaign: its section in the profile file after a start and an end,
// and any level reached by its indices without the map.
TEST(GameDriver, TheCampaignIsSavedAndItsLevelsAreReachedByIndex)
{
    GameSandbox sandbox;
    {
        const DriverRun run = drive(sandbox, "quit\n");
        ASSERT_EQ(run.exitCode, 0) << run.log;
        const std::vector<uint8_t> file = bytesOf(saveFolder(sandbox) + "profile_0.dat");
        ASSERT_GT(file.size(), 12u);
        // The sections in file order, with their lengths.
        std::vector<std::pair<std::string, uint32_t>> sections;
        for (size_t at = 12; at < file.size();) {
            const std::string name(reinterpret_cast<const char*>(&file[at]));
            at += name.size() + 1;
            const uint32_t length = file[at] | file[at + 1] << 8 | file[at + 2] << 16 | uint32_t(file[at + 3]) << 24;
            at += 4 + length;
            sections.push_back({name, length});
        }
        ASSERT_EQ(sections.size(), 3u);
        EXPECT_EQ(sections[0].first, "MainMode");
        EXPECT_EQ(sections[1].first, "profile");
        EXPECT_EQ(sections[2].first, "tutorial");
        // 37 + the first episode's 4 + the fifteen-level part (1 + 5 x 15) +
        // the rule levels' part (1 + 5 x 7) + the living blockers' part
        // (1 + 5 x 5) + the bonus chips' part (1 + 5 x 2) + the second
        // episode's 4 + its snowy part (1 + 5 x 5).
        EXPECT_EQ(sections[0].second, 37u + 4u + (1u + 5u * 15u) + (1u + 5u * 7u) + (1u + 5u * 5u) +
                                          (1u + 5u * 2u) + 4u + (1u + 5u * 5u));
    }
    const DriverRun run = drive(sandbox, "until MainMenu\nlevel 9 9 9\nlevel 0 0 0\nwait 0.1\nstate\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.log;
    expectInOrder(splitLines(run.out), {"level none", "level 0 0 0", "state GameLevel"});
}

// --- The level map ---

namespace {

// The value after `prefix` on the first output line that starts with it.
std::vector<float> numbersAfter(const std::string& out, const std::string& prefix)
{
    for (const std::string& line : splitLines(out)) {
        if (line.rfind(prefix, 0) != 0)
            continue;
        std::vector<float> numbers;
        std::istringstream rest(line.substr(prefix.size()));
        float value = 0.0f;
        while (rest >> value)
            numbers.push_back(value);
        return numbers;
    }
    return {};
}

// Every line that starts with `prefix`, in order.
std::vector<std::string> linesStarting(const std::string& out, const std::string& prefix)
{
    std::vector<std::string> found;
    for (const std::string& line : splitLines(out))
        if (line.rfind(prefix, 0) == 0)
            found.push_back(line);
    return found;
}

// The sample campaign as saved with the first `won` levels of the first
// part completed with `score`, the player on the next; every later part
// locked.
SaveFixtures::MainModeValues firstPartWon(int won, int32_t score)
{
    SaveFixtures::MainModeValues campaign;
    campaign.hasProgress = 1;
    campaign.levelIndex = won;
    std::vector<SaveFixtures::PartValues> first;
    for (int levels : {15, 7, 5, 2})
        first.push_back({1, std::vector<SaveFixtures::LevelValues>(size_t(levels))});
    first[0].locked = 0;
    for (int i = 0; i < won; ++i)
        first[0].levels[size_t(i)] = {1, score};
    campaign.episodes = {first, {{1, std::vector<SaveFixtures::LevelValues>(5)}}};
    return campaign;
}

// A player with progress: the first four levels won (the last without a
// star), standing on the fifth; six stars and 777 silver.
void writeMapProgress(GameSandbox& sandbox)
{
    SaveFixtures::ProfileValues values = SaveFixtures::freshProfile();
    values.silver = 777;
    values.levelStars = 6;
    SaveFixtures::MainModeValues campaign = firstPartWon(4, 1000000);
    campaign.episodes[0][0].levels[3] = {1, 0};
    writeProfile(sandbox, values, campaign);
}

const std::string TO_MAP = "until MainMenu\ntap btnStart\nuntil MainModeMap\nwait 0.5\n";
// Turns of the wheel away from the player, each gliding the view up by a
// few hundred units, past the top of any map.
const std::string TO_TOP = "wheel 1\nwait 1\nwheel 1\nwait 1\nwheel 1\nwait 1\nwheel 1\nwait 1\nwheel 1\nwait 1\nwheel 1\n"
                           "wait 1\nwheel 1\nwait 2\n";
const std::string TO_BOTTOM = "wheel -1\nwait 1\nwheel -1\nwait 1\nwheel -1\nwait 1\nwheel -1\nwait 1\nwheel -1\nwait 1\n"
                              "wheel -1\nwait 1\nwheel -1\nwait 2\n";

}  // namespace

TEST(GameDriver, TheMapIsBuiltWithTheProgressAndItsCountersShowTheProfile)
{
    GameSandbox sandbox;
    writeMapProgress(sandbox);
    const DriverRun run = drive(sandbox, TO_MAP + "text #silver\ntext #stars\ntext #nothing\nnode #level_1\n"
                                                  "node #level_5\nshot map.png\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.log;
    expectInOrder(splitLines(run.out), {"text #silver 777", "text #stars 6", "text #nothing none"});
    EXPECT_TRUE(sandbox.logContains("void MainModeMapState::initializeAsync() -begin"));
    EXPECT_TRUE(sandbox.logContains("void MainModeMapState::initializeAsync() -end"));
    EXPECT_TRUE(sandbox.logContains("SCENES DUMP")) << "the list of loaded scenes";
    EXPECT_FALSE(sandbox.logContains("ERROR: Can't find marker"));
    EXPECT_FALSE(sandbox.logContains("ERROR: MainModeMapState"));
    // The camera opens on the player's level, which is on screen.
    const std::vector<float> level = numbersAfter(run.out, "node #level_5 ");
    ASSERT_EQ(level.size(), 4u) << run.out;
    EXPECT_GT(level[0], 0.0f);
    EXPECT_LT(level[0], 1726.0f);
    EXPECT_GT(level[1], 100.0f);
    EXPECT_LT(level[1], 970.0f);
    // The current level glows with a lantern's amber.
    Picture shot;
    ASSERT_TRUE(shot.read(sandbox.file("map.png")));
    EXPECT_GT(share(shot, level[0] - 30, level[1] - 30, level[0] + 30, level[1] + 30, amber), 0.2f);
}

TEST(GameDriver, TheMapIsDraggedFlungWheeledAndSpringsBackIntoItsLimits)
{
    GameSandbox sandbox;
    writeMapProgress(sandbox);
    const std::string script =
        TO_MAP +
        // A slow drag moves the map under the pointer and stops with it.
        "node #level_5\npress 700 520\nmove 700 560\nmove 700 600\nnode #level_5\nrelease 700 600\nwait 1\n"
        "node #level_5\n"
        // A fast one glides on after the release.
        "press 700 300\nmove 700 400\nrelease 700 500\nnode #level_5\nwait 2\nnode #level_5\n"
        // A press on the top panel drags nothing.
        "press 700 40\nmove 700 300\nrelease 700 300\nnode #level_5\n"
        // A turn of the wheel towards the player moves the view down.
        "wheel -1\nwait 1.5\nnode #level_5\n"
        // Pulled far past the top, the map stops at the overscroll and
        // springs back exactly onto its limit.
        + TO_TOP + "node #level_5\npress 700 300\nmove 700 800\nmove 700 950\nnode #level_5\n"
        "release 700 950\nwait 2\nnode #level_5\nquit\n";
    const DriverRun run = drive(sandbox, script);
    ASSERT_EQ(run.exitCode, 0) << run.log;
    std::vector<float> y;
    for (const std::string& line : linesStarting(run.out, "node #level_5 "))
        y.push_back(numbersAfter(line, "node #level_5 ")[1]);
    ASSERT_EQ(y.size(), 10u) << run.out;
    // The pointer reaches the window in whole pixels: within a unit.
    EXPECT_NEAR(y[1], y[0] + 80.0f, 1.5f) << "moved with the pointer";
    EXPECT_FLOAT_EQ(y[2], y[1]) << "no glide after a slow release";
    EXPECT_GT(y[4], y[3] + 100.0f) << "a fast release glides on";
    EXPECT_FLOAT_EQ(y[5], y[4]) << "the top panel is no handle";
    EXPECT_LT(y[6], y[5] - 100.0f) << "the view went down the map";
    // At the top limit; pulled 650 further it gives only the overscroll of
    // 80 and then returns exactly to the limit.
    EXPECT_FLOAT_EQ(y[8], y[7] + 80.0f);
    EXPECT_FLOAT_EQ(y[9], y[7]);
}

// The driver's screen is the offscreen desktop, 4:3: the game is fitted
// with its sides cut, and the map dragged to its right end still ends on
// the map, with no black beyond it.
TEST(GameDriver, OnACutScreenTheMapsRightEndShowsNoBlackBeyondIt)
{
    GameSandbox sandbox;
    writeMapProgress(sandbox);
    const DriverRun run = drive(sandbox, TO_MAP + "press 1400 500\nmove 1000 500\nmove 600 500\nmove 300 500\n"
                                                  "release 300 500\nwait 4\nshot right.png\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.log;
    Picture shot;
    ASSERT_TRUE(shot.read(sandbox.file("right.png")));
    ASSERT_LT(float(shot.width) / float(shot.height), 1.5f) << "a cut screen";
    const auto black = [](uint8_t r, uint8_t g, uint8_t b) { return r < 8 && g < 8 && b < 8; };
    // The last visible strip of the workspace (its sides are cut by 216).
    EXPECT_LT(share(shot, 1460, 150, 1505, 900, black), 0.05f);
}

TEST(GameDriver, TheMapStepsBetweenEpisodesAndItsMenuLeadsToTheMainMenu)
{
    GameSandbox sandbox;
    writeMapProgress(sandbox);
    const std::string script =
        TO_MAP + TO_TOP + "tap @nextEpisode\nuntil MainModeMap\nwait 1\nnode #snow_1\nnode #level_1\n" + TO_TOP +
        // The last episode's signpost leads nowhere yet.
        "tap @nextEpisode\nwait 1\nnode #snow_1\n" + TO_BOTTOM +
        "tap @prevEpisode\nuntil MainModeMap\nwait 1\nnode #level_1\nnode #snow_1\n"
        "key Escape\nwait 1\ntap btnMainMenu\nuntil MainMenu\nquit\n";
    const DriverRun run = drive(sandbox, script);
    ASSERT_EQ(run.exitCode, 0) << run.log;
    // Episode 2 opens at its bottom: its first level low on the screen.
    const std::vector<std::string> snow = linesStarting(run.out, "node #snow_1 ");
    ASSERT_EQ(snow.size(), 3u) << run.out;
    EXPECT_GT(numbersAfter(snow[0], "node #snow_1 ")[1], 485.0f) << run.out;
    EXPECT_NE(snow[1], "node #snow_1 none") << "still on the last episode";
    EXPECT_EQ(snow[2], "node #snow_1 none");
    // Back on episode 1 at its top: the first level far below the screen.
    const std::vector<std::string> first = linesStarting(run.out, "node #level_1 ");
    ASSERT_EQ(first.size(), 2u) << run.out;
    EXPECT_EQ(first[0], "node #level_1 none");
    EXPECT_GT(numbersAfter(first[1], "node #level_1 ")[1], 2000.0f);
    // Three builds: the first, the step there and the step back.
    size_t builds = 0;
    for (const std::string& line : sandbox.logLines())
        builds += line == "void MainModeMapState::initializeAsync() -begin";
    EXPECT_EQ(builds, 3u);
    EXPECT_EQ(linesStarting(run.out, "state MainMenu").size(), 2u) << run.out;
}

TEST(GameDriver, RoundTripsBetweenTheMapAndTheMainMenuLeaveNothingBehind)
{
    GameSandbox sandbox;
    writeMapProgress(sandbox);
    std::string script = "until MainMenu\n";
    for (int i = 0; i < 20; ++i)
        script += "tap btnStart\nuntil MainModeMap\nwait 0.3\ncount\nkey Escape\nwait 0.6\ntap btnMainMenu\n"
                  "until MainMenu\nwait 0.3\n";
    const DriverRun run = drive(sandbox, script + "quit\n");
    ASSERT_EQ(run.exitCode, 0) << run.log;
    const std::vector<std::string> counts = linesStarting(run.out, "count ");
    ASSERT_EQ(counts.size(), 20u) << run.out;
    EXPECT_EQ(counts.front(), counts.back());
}

// --- The main menu's windows ---

namespace {

// The payload of the profile file's section `name`; empty when absent.
std::vector<uint8_t> savedSection(const GameSandbox& sandbox, const std::string& name)
{
    const std::vector<uint8_t> file = bytesOf(saveFolder(sandbox) + "profile_0.dat");
    for (size_t at = 12; at < file.size();) {
        const std::string section(reinterpret_cast<const char*>(&file[at]));
        at += section.size() + 1;
        if (at + 4 > file.size())
            break;
        const uint32_t length = file[at] | file[at + 1] << 8 | file[at + 2] << 16 | uint32_t(file[at + 3]) << 24;
        at += 4;
        if (section == name && at + length <= file.size())
            return std::vector<uint8_t>(file.begin() + long(at), file.begin() + long(at + length));
        at += length;
    }
    return {};
}

// "node NAME X Y W H" of a run's output.
std::array<float, 4> nodeRect(const std::string& out, const std::string& name)
{
    std::array<float, 4> rect{};
    std::smatch match;
    const std::regex line("node " + name + " ([-0-9.]+) ([-0-9.]+) ([-0-9.]+) ([-0-9.]+)");
    if (std::regex_search(out, match, line)) {
        for (int i = 0; i < 4; ++i)
            rect[size_t(i)] = std::stof(match[i + 1].str());
    }
    return rect;
}

bool parchmentColour(uint8_t r, uint8_t g, uint8_t b)
{
    return r > 180 && g > 160 && b > 110;
}

}  // namespace

TEST(GameDriver, EscapeInTheMainMenuAsksBeforeTheGameEnds)
{
    GameSandbox sandbox;
    {
        const DriverRun run = drive(sandbox, "until MainMenu\nshot menu.png\nkey Escape\nwait 1\nshot question.png\n"
                                             "tap btnReject\nwait 1\nstate\nquit\n");
        ASSERT_EQ(run.exitCode, 0) << run.log;
        expectInOrder(splitLines(run.out), {"state MainMenu"});
        EXPECT_TRUE(run.out.find("tap btnReject none") == std::string::npos) << run.out;
        EXPECT_TRUE(run.out.ends_with("state MainMenu\n")) << run.out;
        // The question's parchment reaches left of the menu's panel.
        Picture menu, question;
        ASSERT_TRUE(menu.read(sandbox.file("menu.png")));
        ASSERT_TRUE(question.read(sandbox.file("question.png")));
        EXPECT_LT(share(menu, 632, 420, 650, 560, parchmentColour), 0.05f);
        EXPECT_GT(share(question, 632, 420, 650, 560, parchmentColour), 0.6f);
    }
    const DriverRun run = drive(sandbox, "until MainMenu\nkey Escape\nwait 1\ntap btnAccept\nwait 2\nstate\n");
    ASSERT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.exitCode, 0) << run.log;
    // The game ended inside the frame: the driver never printed the state.
    EXPECT_TRUE(run.out.find("state MainMenu\n", run.out.find("tap btnAccept")) == std::string::npos) << run.out;
    expectInOrder(sandbox.logLines(), {"void GameApplication::destroy()"});
}

TEST(GameDriver, TheOptionsSliderAndCursorBoxReachTheSavedProfile)
{
    GameSandbox sandbox;
    const DriverRun where = drive(sandbox, "until MainMenu\ntap btnOptions\nwait 1\nnode musicBarTrack\nquit\n");
    ASSERT_EQ(where.exitCode, 0) << where.log;
    const std::array<float, 4> track = nodeRect(where.out, "musicBarTrack");
    ASSERT_GT(track[2], 100.0f) << where.out;
    const int y = int(track[1] + track[3] / 2);
    const int start = int(track[0]);
    const int middle = int(track[0] + track[2] / 2);
    const DriverRun run = drive(sandbox, "until MainMenu\ntap btnOptions\nwait 1\npress " + std::to_string(start) + " " +
                                             std::to_string(y) + "\nmove " + std::to_string(middle) + " " +
                                             std::to_string(y) + "\nrelease " + std::to_string(middle) + " " +
                                             std::to_string(y) + "\ntap checkGameCursor\nshot nocursor.png\n"
                                             "tap btnAccept\nwait 1\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.log;
    const std::unique_ptr<PlayerProfile> profile = profileIn(bytesOf(saveFolder(sandbox) + "profile_0.dat"));
    ASSERT_TRUE(profile);
    EXPECT_NEAR(profile->musicVolume, 0.5f, 0.03f);
    EXPECT_EQ(profile->gameCursor, 0);
    // No arrow where the pointer rests over the box.
    Picture shot;
    ASSERT_TRUE(shot.read(sandbox.file("nocursor.png")));
    std::smatch tap;
    ASSERT_TRUE(std::regex_search(run.out, tap, std::regex("tap checkGameCursor ([0-9]+) ([0-9]+)"))) << run.out;
    const float x = std::stof(tap[1].str());
    const float ty = std::stof(tap[2].str());
    EXPECT_EQ(share(shot, x + 2, ty + 2, x + 30, ty + 40,
                    [](uint8_t r, uint8_t g, uint8_t b) { return r > 200 && g > 120 && g < 190 && b < 80; }),
              0.0f);
}

TEST(GameDriver, TheResetQuestionResetsOnlyAfterThreeSecondsHeld)
{
    for (const auto& [held, silver] : {std::pair{2.0, 999}, std::pair{3.2, 350}}) {
        GameSandbox sandbox;
        SaveFixtures::ProfileValues values = SaveFixtures::freshProfile();
        values.silver = 999;
        writeProfile(sandbox, values);
        const DriverRun where = drive(sandbox, "until MainMenu\ntap btnOptions\nwait 1\ntap btnReset\nwait 1\n"
                                               "node btnAccept\nquit\n");
        const std::array<float, 4> hold = nodeRect(where.out, "btnAccept");
        ASSERT_GT(hold[2], 0.0f) << where.out;
        const std::string at = std::to_string(int(hold[0] + hold[2] / 2)) + " " + std::to_string(int(hold[1] + hold[3] / 2));
        const DriverRun run = drive(sandbox, "until MainMenu\ntap btnOptions\nwait 1\ntap btnReset\nwait 1\npress " + at +
                                                 "\nwait " + std::to_string(held) + "\nrelease " + at +
                                                 "\nwait 1\nnode #timer\nquit\n");
        ASSERT_EQ(run.exitCode, 0) << run.log;
        const std::unique_ptr<PlayerProfile> profile = profileIn(bytesOf(saveFolder(sandbox) + "profile_0.dat"));
        ASSERT_TRUE(profile);
        EXPECT_EQ(profile->silver, silver) << "held " << held;
    }
}

TEST(GameDriver, PlayLeadsThroughTheIntroToTheMapOnceThenStraightThere)
{
    GameSandbox sandbox;
    {
        const DriverRun run = drive(sandbox, "until MainMenu\ntap btnStart\nuntil MovieState\nclick 500 400\nwait 1\n"
                                             "click 500 400\nwait 1\nclick 500 400\nwait 1\nclick 500 400\nwait 1\n"
                                             "click 500 400\nuntil MainModeMap 20\nquit\n");
        ASSERT_EQ(run.exitCode, 0) << run.log;
        EXPECT_TRUE(std::regex_search(run.out, std::regex("state MovieState [0-9.]+\n(.*\n)*state MainModeMap")))
            << run.out;
        const std::vector<uint8_t> section = savedSection(sandbox, "MainMode");
        // version, lives, lastLifeChange, then hasProgress.
        ASSERT_GT(section.size(), 16u);
        EXPECT_EQ(section[16], 1);
    }
    const DriverRun run = drive(sandbox, "until MainMenu\ntap btnStart\nuntil MainModeMap 5\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.log;
    EXPECT_TRUE(std::regex_search(run.out, std::regex("state MainModeMap"))) << run.out;
    const std::vector<std::string> log = sandbox.logLines();
    EXPECT_EQ(std::find(log.begin(), log.end(), "void MovieState::initializeAsync() -begin"), log.end());
}

// --- A level played ---

namespace {

// The rows printed after the n-th "board" line (its header excluded).
std::vector<std::string> boardRows(const std::vector<std::string>& lines, int n)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind("board ", 0) != 0 || n-- > 0)
            continue;
        std::istringstream header(lines[i].substr(6));
        int width = 0, height = 0;
        header >> width >> height;
        return std::vector<std::string>(lines.begin() + long(i) + 1, lines.begin() + long(i) + 1 + height);
    }
    return {};
}

// Some swap of two neighbours lines three up.
bool hasMove(const std::vector<std::string>& rows)
{
    std::vector<std::vector<std::string>> grid;
    for (const std::string& row : rows) {
        std::istringstream in(row);
        grid.emplace_back(std::istream_iterator<std::string>(in), std::istream_iterator<std::string>());
    }
    const auto chip = [&](int c, int r) -> std::string {
        if (r < 0 || r >= int(grid.size()) || c < 0 || c >= int(grid[r].size()))
            return "";
        const std::string& token = grid[r][c];
        return token == "#" || token == "." ? "" : token.substr(0, token.find('+'));
    };
    const auto lineAt = [&](int c, int r) {
        const std::string self = chip(c, r);
        if (self.empty())
            return false;
        for (const auto& [dc, dr] : {std::pair{1, 0}, {0, 1}}) {
            int run = 1;
            for (int k = 1; chip(c + dc * k, r + dr * k) == self; ++k)
                ++run;
            for (int k = 1; chip(c - dc * k, r - dr * k) == self; ++k)
                ++run;
            if (run >= 3)
                return true;
        }
        return false;
    };
    for (int r = 0; r < int(grid.size()); ++r)
        for (int c = 0; c < int(grid[r].size()); ++c)
            for (const auto& [dc, dr] : {std::pair{1, 0}, {0, 1}}) {
                if (chip(c, r).empty() || chip(c + dc, r + dr).empty())
                    continue;
                std::swap(grid[r][c], grid[r + dr][c + dc]);
                const bool line = lineAt(c, r) || lineAt(c + dc, r + dr);
                std::swap(grid[r][c], grid[r + dr][c + dc]);
                if (line)
                    return true;
            }
    return false;
}

// Workspace point of a board cell's middle on the shipped frame (the first
// play row's corner at 733, 125; 80-unit cells; row 0 above the board).
std::string cellPoint(int column, int row)
{
    return std::to_string(733 + column * 80 + 40) + " " + std::to_string(125 + (row - 1) * 80 + 40);
}

}  // namespace

// The first level is built behind the loading scene and played: clicks in
// the board's 2-second entry do nothing, two clicks or a held drag swap.
TEST(GameDriver, TheFirstLevelLoadsInTheBackgroundAndIsPlayedByClicksAndDrags)
{
    GameSandbox sandbox;
    // The second swap is the first lesson's, made once it shows; its moves
    // hint is closed before the drag.
    const DriverRun run = drive(sandbox, "until MainMenu\nlevel 0 0 0\nuntil GameLevel\nboard\n"
                                         "wait 1\nswap 2 2 3 2\nwait 1\nboard\n"
                                         "wait 5\nswap 2 2 3 2\nwait 2\nboard\ntap btnClose\nwait 1\nshot level.png\n"
                                         "press " + cellPoint(6, 3) + "\nmove " + cellPoint(7, 3) + "\nrelease " +
                                             cellPoint(7, 3) + "\nwait 2\nboard\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.log;
    expectInOrder(sandbox.logLines(), {"void GameLevel::initializeAsync() -begin",
                                       "void GameLevel::initializeAsync() -end", "Loading gamefield...",
                                       "Loading gui..."});
    const std::vector<std::string> lines = splitLines(run.out);
    const std::vector<std::string> loaded = boardRows(lines, 0);
    ASSERT_EQ(loaded.size(), 9u);
    // Level 1's fixed layout.
    EXPECT_EQ(loaded[0], "Simple_B Simple_R Simple_G Simple_B Simple_G Simple_G Simple_R Simple_M Simple_R");
    EXPECT_EQ(boardRows(lines, 1), loaded);
    const std::vector<std::string> swapped = boardRows(lines, 2);
    EXPECT_NE(swapped, loaded);
    EXPECT_NE(boardRows(lines, 3), swapped);

    Picture frame;
    ASSERT_TRUE(frame.read(sandbox.file("level.png")));
    // The carved frame's wood left of the board, and the lit board inside.
    const auto wood = [](uint8_t r, uint8_t g, uint8_t b) { return r > g && g > b && r > 50 && r < 230; };
    EXPECT_GT(share(frame, 705, 300, 725, 700, wood), 0.6f);
    EXPECT_LT(share(frame, 900, 300, 1200, 600, wood), 0.3f);
}

// Escape opens the in-level menu over the level; closing it plays on; the
// way to the map leaves the level with its music and everything it built.
TEST(GameDriver, TheInLevelMenuAndLeavingTheLevelLeaveNothingBehind)
{
    GameSandbox sandbox;
    // The first lesson followed, the level is played as any other.
    std::string script = "until MainMenu\nlevel 0 0 0\nuntil GameLevel\nwait 6\nswap 2 2 3 2\nwait 1.5\n"
                         "tap btnClose\nwait 1\ncensus\n"
                         "key Escape\nwait 1\nshot menu.png\nboard\nswap 2 2 3 2\nwait 1.5\nboard\n"
                         "tap btnClose\nwait 1\nshot closed.png\n";
    // In and out, three times (twenty by hand: the same counts).
    for (int i = 0; i < 3; ++i)
        script += "key Escape\nwait 1\ntap btnMap\nwait 1\ntap btnAccept\nuntil MainModeMap\nwait 0.5\ncensus\n"
                  "level 0 0 0\nuntil GameLevel\nwait 4\ncensus\n";
    script += "level 0 0 0\nwait 1\ncensus\nquit\n";
    const DriverRun run = drive(sandbox, script);
    ASSERT_EQ(run.exitCode, 0) << run.log;
    // While the menu is open no click reaches the board.
    const std::vector<std::string> lines = splitLines(run.out);
    ASSERT_EQ(boardRows(lines, 0).size(), 9u);
    EXPECT_EQ(boardRows(lines, 1), boardRows(lines, 0));
    std::vector<std::string> censuses;
    for (const std::string& line : lines)
        if (line.rfind("census ", 0) == 0)
            censuses.push_back(line);
    ASSERT_EQ(censuses.size(), 8u);
    // The first level plays the second loop, the next the first, and so on.
    EXPECT_NE(censuses[0].find("loops 1 ambient game_level_ambient_sound_2_sound"), std::string::npos);
    EXPECT_NE(censuses[2].find("loops 1 ambient game_level_ambient_sound_1_sound"), std::string::npos);
    // On the map no music of the level plays; every entry counts the same.
    const std::string inLevel = censuses[2].substr(0, censuses[2].find(" loops"));
    for (size_t i = 1; i + 1 < censuses.size(); i += 2) {
        EXPECT_NE(censuses[i].find("helpers 0 loops 0 ambient none"), std::string::npos) << censuses[i];
        EXPECT_EQ(censuses[i], censuses[1]);
        EXPECT_EQ(censuses[i + 1].substr(0, censuses[i + 1].find(" loops")), inLevel);
    }
    // The level entered again from inside itself keeps one loop.
    EXPECT_NE(censuses.back().find("loops 1 "), std::string::npos);

    Picture menu, closed;
    ASSERT_TRUE(menu.read(sandbox.file("menu.png")));
    ASSERT_TRUE(closed.read(sandbox.file("closed.png")));
    // The menu's parchment over the middle of the board, gone once closed.
    const auto parchment = [](uint8_t r, uint8_t g, uint8_t b) { return r > 200 && g > 180 && b > 130 && b < 220; };
    EXPECT_GT(share(menu, 780, 420, 940, 500, parchment), 0.5f);
    EXPECT_LT(share(closed, 780, 420, 940, 500, parchment), 0.1f);
}

// A board without a move plays the "no moves" banner, is shuffled and the
// level goes on with a move to make.
TEST(GameDriver, ABoardWithoutMovesIsShuffledAndPlayGoesOn)
{
    GameSandbox sandbox(std::map<std::string, std::string>{{"scripts/main_mode.lua",
                          "episodes = { { mapScene = 'map_ep1_xml', parts = { { levels = { { file = 'test_no_moves', "
                          "title = '1', back1 = 'level_back_2_xml', back2 = 'level_field_xml' } } } } } }\n"}});
    const DriverRun run = drive(sandbox, "until MainMenu\nlevel 0 0 0\nuntil GameLevel\nwait 0.5\nboard\n"
                                         "wait 12\nboard\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.log;
    const std::vector<std::string> lines = splitLines(run.out);
    const std::vector<std::string> before = boardRows(lines, 0);
    const std::vector<std::string> after = boardRows(lines, 1);
    ASSERT_EQ(before.size(), 9u);
    EXPECT_FALSE(hasMove(before));
    EXPECT_NE(after, before);
    EXPECT_TRUE(hasMove(after));
}

// The player's road from the map into a level: the open medallion's start
// window and its "play"; a locked medallion and a press taken off the open
// one open nothing.
TEST(GameDriver, AClickOnAnOpenLevelOpensItsStartWindowAndPlayEntersTheLevel)
{
    GameSandbox sandbox;
    writeMapProgress(sandbox);
    const DriverRun where = drive(sandbox, TO_MAP + "node #level_5\nquit\n");
    ASSERT_EQ(where.exitCode, 0) << where.log;
    const std::vector<float> box = numbersAfter(where.out, "node #level_5 ");
    ASSERT_EQ(box.size(), 4u) << where.out;
    const std::string x = std::to_string(std::lround(box[0] + box[2] / 2));
    const std::string y = std::to_string(std::lround(box[1] + box[3] / 2));

    const DriverRun run = drive(sandbox, TO_MAP + "tap #level_6\nwait 1\ntext #levelNum\n"
                                                  "press " + x + " " + y + "\nmove " + x + " " + y +
                                                  "\nmove 200 300\nrelease 200 300\nwait 1\ntext #levelNum\n"
                                                  "tap #level_5\nwait 1.5\ntext #levelNum\nshot start.png\n"
                                                  "tap btnPlay\nuntil GameLevel\nstate\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.log;
    // The window's level number is filled only when it opens.
    const std::vector<std::string> shown = linesStarting(run.out, "text #levelNum");
    ASSERT_EQ(shown.size(), 3u) << run.out;
    EXPECT_EQ(shown[0], "text #levelNum none") << "a locked level opens nothing";
    EXPECT_EQ(shown[1], "text #levelNum none") << "a press released outside opens nothing";
    EXPECT_EQ(shown[2], "text #levelNum Level 5") << "the open level's start window";
    EXPECT_NE(run.out.find("state GameLevel"), std::string::npos) << run.out;
    EXPECT_TRUE(sandbox.logContains("void GameLevel::initializeAsync() -begin"));
}

// --- A level's outcome ---

namespace {

// The ready swaps of the first level, each given time to settle.
const std::string LEVEL_1_SWAPS = "swap 2 2 3 2\nwait 1.5\nswap 6 3 7 3\nwait 1.5\nswap 3 5 4 5\nwait 1.5\n"
                                  "swap 7 7 8 7\nwait 1.5\nswap 2 8 3 8\nwait 1.5\nswap 5 9 6 9\nwait 1.5\n";

int32_t int32At(const std::vector<uint8_t>& bytes, size_t at)
{
    return int32_t(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t(bytes[at + 3]) << 24);
}

// The text a "text" command printed for `name`.
std::string printedText(const std::string& out, const std::string& name)
{
    const std::vector<std::string> lines = linesStarting(out, "text " + name + " ");
    return lines.empty() ? std::string() : lines.back().substr(6 + name.size());
}

}  // namespace

namespace {

// A fresh profile whose basics stand at `basics` (the tutorial's runs below).
void writeProfileAtLesson(const GameSandbox& sandbox, int32_t basics);

}  // namespace

// The first level played to a win: the end-of-level run, the win window
// counting the score up, the way back to the map, and the saved records.
TEST(GameDriver, TheFirstLevelIsWonAndItsRecordsAndRewardsAreSaved)
{
    GameSandbox sandbox;
    // A fresh profile past the first level's lessons.
    writeProfileAtLesson(sandbox, 2);
    const DriverRun run = drive(sandbox, "until MainMenu\nlevel 0 0 0\nuntil GameLevel\nwait 4.5\n" + LEVEL_1_SWAPS +
                                             "wait 35\ntext #money\ntext #levelNum\n"
                                             "tap btnNext\nuntil MainModeMap\nwait 0.5\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.log;
    EXPECT_TRUE(std::regex_search(run.out, std::regex("state MainModeMap"))) << run.out;

    const std::vector<uint8_t> section = savedSection(sandbox, "MainMode");
    // The position (from byte 21), then the first part's first level (its
    // completed byte at 42, its best score after it).
    ASSERT_GT(section.size(), 47u);
    EXPECT_EQ(int32At(section, 29), 1);
    EXPECT_EQ(section[42], 1);
    const int best = int32At(section, 43);
    EXPECT_GE(best, 240);
    EXPECT_EQ(printedText(run.out, "#money"), std::to_string(best / 1000));
    EXPECT_EQ(printedText(run.out, "#levelNum"), "Level 1");

    const std::unique_ptr<PlayerProfile> profile = profileIn(bytesOf(saveFolder(sandbox) + "profile_0.dat"));
    ASSERT_TRUE(profile);
    EXPECT_EQ(profile->silver, 350 + best / 1000);
    EXPECT_EQ(profile->levelWon, 1);
    EXPECT_EQ(profile->levelStars, best >= 1600 ? 3 : best >= 1350 ? 2 : 1);
}

// --- The level start window and the map's progress ---

namespace {

// The sample campaign with the first `won` levels of the first part won
// with three stars, the player on part `partIndex`, level `levelIndex`;
// the parts from `partIndex` on locked unless `open`.
SaveFixtures::MainModeValues campaignWith(int won, int partIndex, int levelIndex, bool open)
{
    SaveFixtures::MainModeValues campaign = firstPartWon(won, 1000000);
    campaign.partIndex = partIndex;
    campaign.levelIndex = levelIndex;
    for (int p = 0; p < partIndex + (open ? 1 : 0); ++p)
        campaign.episodes[0][size_t(p)].locked = 0;
    return campaign;
}

std::array<float, 2> centreOf(const std::string& out, const std::string& name)
{
    const std::array<float, 4> box = nodeRect(out, name);
    return {box[0] + box[2] / 2.0f, box[1] + box[3] / 2.0f};
}

std::string at(const std::array<float, 2>& point)
{
    return std::to_string(int(point[0])) + " " + std::to_string(int(point[1]));
}

}  // namespace

// --- The first game's road ---

namespace {

// A player's first game from an empty data folder: the intro, the map, the
// first level's start window, the level played with its listed swaps and
// won, the win window closed with `button`, and the map's frames after the win sampled
// every 0.05 s: the flying award, the stars and silver counters, the figure
// and the next level's start window, which is then closed.
std::string firstRoad(const std::string& button)
{
    std::string script = "until MainMenu\ntap btnStart\nuntil MovieState\n";
    for (int i = 0; i < 5; ++i)
        script += "click 500 400\nwait 1\n";
    // The board takes swaps once the limit panel has landed.
    script += "until MainModeMap 20\nwait 1\ntap #level_1\nwait 1.5\nshot start.png\ntap btnPlay\nuntil GameLevel\n"
              "wait 4.5\n" +
              // The first swap is the first lesson's; its moves hint is closed.
              // Fewer of the later swaps land after the lesson, which leaves
              // the end-of-level run more moves to pay out.
              LEVEL_1_SWAPS.substr(0, 22) + "tap btnClose\nwait 0.5\n" + LEVEL_1_SWAPS.substr(22) +
              "wait 30\nshot win.png\ntext #score\ntext #money\n"
              "tap " + button + "\nuntil MainModeMap\nnode #starIcon\nnode #level_1\nnode #level_2\n";
    for (int i = 0; i < 100; ++i)
        script += "wait 0.05\ntext #stars\ntext #silver\nnode award\nnode figure\n";
    // The map's medallions answer once the next start window (if any) is
    // closed: under a window nothing of the map can be pressed.
    return script + "shot map.png\ntext #levelNum\ntap btnClose\nwait 1\nnode #level_1\nnode #level_2\nquit\n";
}

// Lines starting with each of `wanted`, in this order (others may stand
// between).
void expectStartsInOrder(const std::vector<std::string>& lines, const std::vector<std::string>& wanted)
{
    auto at = lines.begin();
    for (const std::string& start : wanted) {
        at = std::find_if(at, lines.end(), [&](const std::string& line) { return line.rfind(start, 0) == 0; });
        ASSERT_NE(at, lines.end()) << "missing, or out of order: " << start;
        ++at;
    }
}

// The (x, y) centre of each "node NAME X Y W H" line.
std::vector<std::array<float, 2>> centres(const std::string& out, const std::string& name)
{
    std::vector<std::array<float, 2>> found;
    for (const std::string& line : linesStarting(out, "node " + name + " ")) {
        const std::vector<float> box = numbersAfter(line, "node " + name + " ");
        if (box.size() == 4)
            found.push_back({box[0] + box[2] / 2, box[1] + box[3] / 2});
    }
    return found;
}

std::vector<int> printedNumbers(const std::string& out, const std::string& name)
{
    std::vector<int> found;
    for (const std::string& line : linesStarting(out, "text " + name + " "))
        found.push_back(std::atoi(line.substr(6 + name.size()).c_str()));
    return found;
}

int starsOfFirstLevel(int score)
{
    return score >= 1600 ? 3 : score >= 1350 ? 2 : score >= 240 ? 1 : 0;
}

}  // namespace

TEST(GameDriver, AnOpenLevelOpensItsStartWindowAndPlayStartsItALockedOneOrAMissedPressNothing)
{
    GameSandbox sandbox;
    writeMapProgress(sandbox);
    const DriverRun where = drive(sandbox, TO_MAP + "node #level_5\nquit\n");
    const std::string level5 = at(centreOf(where.out, "#level_5"));
    // The window's level number stays empty until a window is filled.
    const DriverRun run = drive(sandbox, TO_MAP + "tap #level_6\nwait 1\ntext #levelNum\npress " + level5 +
                                             "\nwait 0.2\nrelease 230 45\nwait 1\ntext #levelNum\n"
                                             "tap #level_5\nwait 1.5\ntext #levelNum\nshot start.png\ntap btnPlay\n"
                                             "until GameLevel 20\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.log;
    const std::vector<std::string> texts = linesStarting(run.out, "text #levelNum");
    ASSERT_EQ(texts.size(), 3u) << run.out;
    EXPECT_EQ(texts[0], "text #levelNum none") << "a locked level opens nothing";
    EXPECT_EQ(texts[1], "text #levelNum none") << "a press released outside opens nothing";
    EXPECT_EQ(texts[2], "text #levelNum Level 5");
    EXPECT_NE(run.out.find("state GameLevel"), std::string::npos) << run.out;
    EXPECT_TRUE(sandbox.logContains("void GameLevel::initializeAsync() -begin"));
}

TEST(GameDriver, AnUnlockedBoosterIsArmedForItsSilverRefundedOnAClickAndNotArmedWithoutTheSilver)
{
    for (const int silver : {60, 49}) {
        GameSandbox sandbox;
        SaveFixtures::ProfileValues values = SaveFixtures::freshProfile();
        values.silver = silver;
        values.levelStars = 12;
        values.unlockedPassiveBonuses = {1};
        writeProfile(sandbox, values, campaignWith(4, 0, 4, true));
        const std::string open = TO_MAP + "tap #level_5\nwait 1.5\ntap btnBonusBuy1\nwait 1\n";
        const DriverRun buy = drive(sandbox, open + "shot bubble.png\ntap btnBuy\nwait 1\nquit\n");
        ASSERT_EQ(buy.exitCode, 0) << buy.log;
        std::unique_ptr<PlayerProfile> profile = profileIn(bytesOf(saveFolder(sandbox) + "profile_0.dat"));
        ASSERT_TRUE(profile);
        if (silver < 50) {
            EXPECT_EQ(profile->silver, silver) << "nothing is spent";
            EXPECT_EQ(profile->passiveBonusArmed[1], 0);
            continue;
        }
        EXPECT_EQ(profile->silver, 10);
        EXPECT_EQ(profile->passiveBonusArmed[1], 1);
        EXPECT_EQ(profile->passiveBonusPurchases[1].count, 2);
        const DriverRun refund = drive(sandbox, open + "quit\n");
        ASSERT_EQ(refund.exitCode, 0) << refund.log;
        profile = profileIn(bytesOf(saveFolder(sandbox) + "profile_0.dat"));
        ASSERT_TRUE(profile);
        EXPECT_EQ(profile->silver, 60) << "50 back";
        EXPECT_EQ(profile->passiveBonusArmed[1], 0);
    }
}

TEST(GameDriver, AGateOpensOnceItsStarsAreOwnedAndTheFigureWalksBehindItFewerStarsGiveItsMessage)
{
    for (const int stars : {45, 30}) {
        GameSandbox sandbox;
        SaveFixtures::ProfileValues values = SaveFixtures::freshProfile();
        values.levelStars = stars;
        writeProfile(sandbox, values, campaignWith(15, 1, 0, false));
        if (stars >= 40) {
            const DriverRun run =
                drive(sandbox, TO_MAP + "wait 5\nnode figure\nnode #rules_moves\nnode #level_15\nshot gate.png\nquit\n");
            ASSERT_EQ(run.exitCode, 0) << run.log;
            const std::array<float, 2> figure = centreOf(run.out, "figure");
            const std::array<float, 2> next = centreOf(run.out, "#rules_moves");
            const std::array<float, 2> last = centreOf(run.out, "#level_15");
            auto distance = [](std::array<float, 2> a, std::array<float, 2> b) {
                return std::hypot(a[0] - b[0], a[1] - b[1]);
            };
            EXPECT_LT(distance(figure, next), distance(figure, last)) << run.out;
            continue;
        }
        const DriverRun run = drive(sandbox, TO_MAP + "wait 2\ntap #blocker:1\nwait 1\ntext #message\nquit\n");
        ASSERT_EQ(run.exitCode, 0) << run.log;
        const std::vector<std::string> message = linesStarting(run.out, "text #message ");
        ASSERT_EQ(message.size(), 1u) << run.out;
        EXPECT_NE(message[0], "text #message none") << "the blocker message is shown";
    }
}

TEST(GameDriver, TheFirstGamesRoadLeadsThroughAWonLevelBackToTheMapAndOnToTheNext)
{
    GameSandbox sandbox;
    const DriverRun run = drive(sandbox, firstRoad("btnNext"), "--seed 1 --now 1700000000");
    ASSERT_TRUE(run.exited) << run.log;
    ASSERT_EQ(run.exitCode, 0) << run.log;
    expectStartsInOrder(splitLines(run.out), {"state MovieState", "state MainModeMap", "state GameLevel", "tap btnNext",
                                        "state MainModeMap"});
    // The states in the order they came.
    expectStartsInOrder(sandbox.logLines(),
                  {"MainMenu::load", "void MovieState::initializeAsync() -begin",
                   "void MainModeMapState::initializeAsync() -begin", "void GameLevel::initializeAsync() -begin",
                   "void MainModeMapState::initializeAsync() -begin", "void GameApplication::destroy()"});

    // The records and rewards of the win.
    const std::vector<uint8_t> section = savedSection(sandbox, "MainMode");
    ASSERT_GT(section.size(), 47u);
    EXPECT_EQ(int32At(section, 29), 1) << "the position at level 2";
    EXPECT_EQ(section[42], 1) << "level 1 completed";
    const int best = int32At(section, 43);
    EXPECT_GE(best, 240);
    const std::unique_ptr<PlayerProfile> profile = profileIn(bytesOf(saveFolder(sandbox) + "profile_0.dat"));
    ASSERT_TRUE(profile);
    EXPECT_EQ(profile->silver, 350 + best / 1000);
    EXPECT_EQ(profile->levelStars, starsOfFirstLevel(best));
    EXPECT_EQ(profile->levelWon, 1);
    EXPECT_EQ(profile->launchCount, 1);

    // The win window counted the score and the silver up to the end.
    EXPECT_EQ(printedText(run.out, "#score"), std::to_string(best));
    EXPECT_EQ(printedText(run.out, "#money"), std::to_string(best / 1000));

    // Back on the map the counters start short of the win and count up to
    // it: the stars first, one flight each, then the silver.
    const int stars = starsOfFirstLevel(best);
    const std::vector<int> starCounts = printedNumbers(run.out, "#stars");
    const std::vector<int> silverCounts = printedNumbers(run.out, "#silver");
    ASSERT_EQ(starCounts.size(), 100u) << run.out;
    ASSERT_EQ(silverCounts.size(), 100u);
    EXPECT_EQ(starCounts.front(), 0);
    EXPECT_EQ(starCounts.back(), stars);
    EXPECT_TRUE(std::is_sorted(starCounts.begin(), starCounts.end()));
    EXPECT_EQ(silverCounts.front(), 350);
    // The map's counter reaches the win's silver; the next start window,
    // opening by itself at the end, then shows a silver text of its own.
    EXPECT_NE(std::find(silverCounts.begin(), silverCounts.end(), 350 + best / 1000), silverCounts.end());
    // The silver waits 0.9 s after the last star has landed.
    const auto lastStar = std::find(starCounts.begin(), starCounts.end(), stars) - starCounts.begin();
    const auto silverLanded =
        std::find(silverCounts.begin(), silverCounts.end(), 350 + best / 1000) - silverCounts.begin();
    if (best >= 1000) {
        EXPECT_GE((silverLanded - lastStar) * 0.05f, 0.9f);
    }

    // A star flew between the level's medallion and the stars counter.
    const std::vector<std::array<float, 2>> level1 = centres(run.out, "#level_1");
    const std::vector<std::array<float, 2>> level2 = centres(run.out, "#level_2");
    const std::vector<std::array<float, 2>> icon = centres(run.out, "#starIcon");
    ASSERT_EQ(level1.size(), 2u) << run.out;
    ASSERT_EQ(icon.size(), 1u) << run.out;
    bool between = false;
    for (const auto& at : centres(run.out, "award")) {
        const float t = (at[1] - level1[0][1]) / (icon[0][1] - level1[0][1]);
        between |= t > 0.1f && t < 0.9f;
    }
    EXPECT_TRUE(between) << run.out;

    // The figure walked from level 1 to level 2, whose start window opened
    // by itself.
    const std::vector<std::array<float, 2>> figure = centres(run.out, "figure");
    ASSERT_GE(figure.size(), 2u) << run.out;
    ASSERT_EQ(level2.size(), 2u);
    const auto distance = [](std::array<float, 2> a, std::array<float, 2> b) {
        return std::hypot(a[0] - b[0], a[1] - b[1]);
    };
    // The camera follows the walk: each end is measured in its own view.
    EXPECT_LT(distance(figure.front(), level1[0]), distance(figure.front(), level2[0]));
    EXPECT_LT(distance(figure.back(), level2[1]), distance(figure.back(), level1[1]));
    EXPECT_EQ(printedText(run.out, "#levelNum"), "Level 2");
}

// The game started again after the first game's road (its saved progress
// as the road leaves it): straight to the map, level 1 shown won with its
// stars, and the progress kept.
TEST(GameDriver, TheSecondStartGoesStraightToTheMapWithTheFirstLevelWon)
{
    GameSandbox sandbox;
    SaveFixtures::ProfileValues values = SaveFixtures::freshProfile();
    values.silver = 354;
    values.levelStars = 3;
    values.levelWon = 1;
    values.launchCount = 1;
    const SaveFixtures::MainModeValues campaign = firstPartWon(1, 4220);
    writeProfile(sandbox, values, campaign);
    const std::vector<uint8_t> section = savedSection(sandbox, "MainMode");

    const DriverRun run = drive(sandbox,
                                "until MainMenu\ntap btnStart\nuntil MainModeMap 5\nwait 1\nshot second.png\n"
                                "node #level_1\nnode #level_3\nquit\n",
                                "--seed 1 --now 1700003600");
    ASSERT_EQ(run.exitCode, 0) << run.log;
    EXPECT_EQ(run.out.find("MovieState"), std::string::npos) << run.out;
    // The won medallion is gold, a locked one is not.
    Picture frame;
    ASSERT_TRUE(frame.read(sandbox.file("second.png")));
    const auto gold = [](uint8_t r, uint8_t g, uint8_t b) { return r > 150 && g > 120 && b < 130 && r > b + 60; };
    const std::vector<float> won = numbersAfter(run.out, "node #level_1 ");
    const std::vector<float> locked = numbersAfter(run.out, "node #level_3 ");
    ASSERT_EQ(won.size(), 4u) << run.out;
    ASSERT_EQ(locked.size(), 4u) << run.out;
    EXPECT_GT(share(frame, won[0], won[1], won[0] + won[2], won[1] + won[3], gold), 0.12f);
    EXPECT_LT(share(frame, locked[0], locked[1], locked[0] + locked[2], locked[1] + locked[3], gold), 0.05f);
    EXPECT_TRUE(sandbox.logContains("void MainModeMapState::initializeAsync() -begin"));
    const std::vector<uint8_t> after = savedSection(sandbox, "MainMode");
    ASSERT_EQ(after.size(), section.size());
    ASSERT_GT(section.size(), 47u);
    EXPECT_TRUE(std::equal(section.begin() + 21, section.end(), after.begin() + 21)) << "the progress unchanged";
    const std::unique_ptr<PlayerProfile> again = profileIn(bytesOf(saveFolder(sandbox) + "profile_0.dat"));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->launchCount, 2);
    EXPECT_EQ(again->silver, 354);
    EXPECT_EQ(again->levelStars, 3);
}

TEST(GameDriver, ClosingTheFirstWinWindowReturnsToTheMapWithoutTheNextStartWindow)
{
    GameSandbox sandbox;
    const DriverRun run = drive(sandbox, firstRoad("btnClose"), "--seed 1 --now 1700000000");
    ASSERT_EQ(run.exitCode, 0) << run.log;
    expectStartsInOrder(splitLines(run.out), {"state GameLevel", "tap btnClose", "state MainModeMap"});
    EXPECT_NE(printedText(run.out, "#levelNum"), "Level 2");
    const std::vector<uint8_t> section = savedSection(sandbox, "MainMode");
    ASSERT_GT(section.size(), 47u);
    EXPECT_EQ(int32At(section, 29), 1);
    EXPECT_EQ(section[42], 1);
}

// --- A level's loss, a catalogue's end, a level without a limit ---

namespace {

// The first level's script with `from` replaced by `to` (each must be there).
std::string firstLevelWith(const std::vector<std::pair<std::string, std::string>>& changes)
{
    std::string text = readFile(std::string(LANTERRA_SOURCE_DIR) + "/media/levels/level_1.lua");
    for (const auto& [from, to] : changes) {
        const size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos)
            text.replace(at, from.size(), to);
    }
    return text;
}

const std::string ONE_LEVEL_CATALOGUE =
    "episodes = { { mapScene = 'map_ep1_xml', parts = { { levels = { { file = 'level_1', title = '1', "
    "back1 = 'level_back_1_xml', back2 = 'level_field_xml' } } } } } }\n";

}  // namespace

// One move and a first star out of reach: the swap uses the limit up, the
// fail effect plays and the fail window opens; "try again" reopens the start
// window and plays the level anew, "close" leads to the map.
TEST(GameDriver, ALostLevelShowsTheFailEffectAndWindowWhichReplaysOrLeadsToTheMap)
{
    GameSandbox sandbox(std::map<std::string, std::string>{
        {"levels/level_1.lua",
         firstLevelWith({{"LevelLimit = 4", "LevelLimit = 1"}, {"{ 240, 1350, 1600 }", "{ 100000, 200000, 300000 }"}})}});
    writeProfileAtLesson(sandbox, 2);
    // The last move's warning holds the board a few seconds at the start.
    std::string script = "until MainMenu\nlevel 0 0 0\nuntil GameLevel\nwait 8\nswap 2 2 3 2\n";
    for (int i = 0; i < 40; ++i)
        script += "wait 0.1\nnode banner\n";
    script += "wait 3\nshot fail.png\ntext #score\ntap btnReplay\nwait 1.5\ntext #levelNum\ntap btnPlay\n"
              "until GameLevel\nwait 8\nswap 2 2 3 2\nwait 8\ntap btnClose\nuntil MainModeMap\nquit\n";
    const DriverRun run = drive(sandbox, script);
    ASSERT_EQ(run.exitCode, 0) << run.log;
    EXPECT_FALSE(centres(run.out, "banner").empty()) << "the fail effect's banner\n" << run.out;
    EXPECT_TRUE(std::regex_search(printedText(run.out, "#score"), std::regex("^Score: [0-9]+$")))
        << printedText(run.out, "#score");
    EXPECT_EQ(printedText(run.out, "#levelNum"), "Level 1");
    expectStartsInOrder(splitLines(run.out), {"state GameLevel", "tap btnReplay", "tap btnPlay", "state GameLevel",
                                        "tap btnClose", "state MainModeMap"});
    const std::vector<uint8_t> section = savedSection(sandbox, "MainMode");
    ASSERT_GT(section.size(), 47u);
    EXPECT_EQ(section[42], 0) << "a lost level is not completed";
    EXPECT_EQ(int32At(section, 43), 0);
}

// Levels whose script is missing, empty, broken, failing or without a grid:
// each is logged as broken and the game goes back to the map, with nothing
// drawn or walked on the board that never was.
TEST(GameDriver, ALevelThatCannotLoadIsLoggedAndLeadsBackToTheMap)
{
    std::string catalogue = "episodes = { { mapScene = 'map_ep1_xml', parts = { { levels = {\n";
    for (const char* file : {"level_1", "level_2", "level_3", "level_4", "level_5", "absent_level"})
        catalogue += std::string("{ file = '") + file +
                     "', title = '1', back1 = 'level_back_1_xml', back2 = 'level_field_xml' },\n";
    catalogue += "} } } } }\n";
    GameSandbox sandbox(std::map<std::string, std::string>{{"scripts/main_mode.lua", catalogue},
                                                           {"levels/level_1.lua", ""},
                                                           {"levels/level_2.lua", "GameField = {"},
                                                           {"levels/level_3.lua", "error('broken on purpose')"},
                                                           {"levels/level_4.lua", "GameField = { Chips = {} }"},
                                                           {"levels/level_5.lua", "GameField = 7"}});
    writeProfileAtLesson(sandbox, 2);
    std::string script = "until MainMenu\n";
    for (int level = 0; level < 6; ++level)
        script += "level 0 0 " + std::to_string(level) + "\nwait 0.5\nboard\nuntil MainModeMap\n";
    const DriverRun run = drive(sandbox, script + "quit\n");
    ASSERT_TRUE(run.exited);
    ASSERT_EQ(run.exitCode, 0) << run.log;
    const std::vector<std::string> lines = splitLines(run.out);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "state MainModeMap") +
                  std::count_if(lines.begin(), lines.end(),
                                [](const std::string& line) { return line.rfind("state MainModeMap ", 0) == 0; }),
              6)
        << run.out;
    for (const char* name : {"level_1_lua", "level_2_lua", "level_3_lua", "level_4_lua", "level_5_lua",
                             "absent_level_lua"})
        EXPECT_TRUE(sandbox.logContains(std::string("ERROR: Level '") + name + "' is broken; back to the map"))
            << name;
    EXPECT_TRUE(sandbox.logContains("broken on purpose")) << "Lua's own error text";
}

// The catalogue's only level won: the win window closes onto the main menu.
// Escape during the end-of-level run opens no in-level menu (its close
// button would take the tap, and the win window would wait behind it).
TEST(GameDriver, WinningTheCataloguesLastLevelLeadsToTheMainMenu)
{
    GameSandbox sandbox(std::map<std::string, std::string>{{"scripts/main_mode.lua", ONE_LEVEL_CATALOGUE}});
    // The board takes swaps once the limit panel has landed.
    writeProfileAtLesson(sandbox, 2);
    const DriverRun run = drive(sandbox, "until MainMenu\nlevel 0 0 0\nuntil GameLevel\nwait 4.5\n" + LEVEL_1_SWAPS +
                                             "wait 3\nkey Escape\nwait 32\ntap btnClose\nuntil MainMenu\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.log;
    expectStartsInOrder(splitLines(run.out), {"tap btnClose", "state MainMenu"});
    expectStartsInOrder(sandbox.logLines(), {"MainMenu::load", "void GameLevel::initializeAsync() -begin", "MainMenu::load"});
}

// A level whose only goal is one tile, with no limit: the line over the tile
// wins it, the end-of-level run has no limit to pay out, and the win window
// follows.
TEST(GameDriver, AGoalsOnlyLevelWithoutALimitIsWon)
{
    GameSandbox sandbox(std::map<std::string, std::string>{
        {"scripts/main_mode.lua", ONE_LEVEL_CATALOGUE},
        {"levels/level_1.lua",
         firstLevelWith({{"    LevelLimit = 4,\n    LevelLimitType = 0,\n", "    LevelGoals = { 2, 0 },\n"},
                         {"Grid = { Cells = {} }", "Grid = { Cells = { { PosX = 0, PosY = 2, Solidity = 2 } } }"}})}});
    writeProfileAtLesson(sandbox, 2);
    const DriverRun run = drive(sandbox, "until MainMenu\nlevel 0 0 0\nuntil GameLevel\nwait 3\nswap 2 2 3 2\n"
                                         "wait 20\ntext #levelNum\ntap btnNext\nuntil MainMenu\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.log;
    EXPECT_EQ(printedText(run.out, "#levelNum"), "Level 1");
    expectStartsInOrder(splitLines(run.out), {"tap btnNext", "state MainMenu"});
}

// --- The shops ---

namespace {

// A player standing on the fifth level of the first part, with `silver`
// silver, six stars and, when `firstPartDone`, the whole first part won (the
// way on closed by a blocker the stars do not open).
void writeShopProgress(GameSandbox& sandbox, int silver, bool firstPartDone = false,
                       std::vector<int32_t> unlockedBonuses = {})
{
    SaveFixtures::ProfileValues values = SaveFixtures::freshProfile();
    values.silver = silver;
    values.levelStars = 6;
    values.unlockedBonuses = std::move(unlockedBonuses);
    SaveFixtures::MainModeValues campaign = firstPartWon(firstPartDone ? 15 : 4, 1000);
    campaign.levelIndex = firstPartDone ? 14 : 4;
    writeProfile(sandbox, values, campaign);
}

// The centre of the `row`-th star row, from the box of the button the
// driver finds first (the last row's: later rows are drawn over earlier
// ones); rows are 96 units and a gap of 10 apart.
std::string starRowButton(const std::string& out, int row)
{
    const std::vector<float> last = numbersAfter(out, "node #btn:purchaseItem ");
    if (last.size() != 4)
        return "0 0";
    const float x = last[0] + last[2] / 2;
    const float y = last[1] + last[3] / 2 - float(3 - row) * 106.0f;
    return std::to_string(std::lround(x)) + " " + std::to_string(std::lround(y));
}

}  // namespace

// The top panel's star button: four packs; five stars bought with 350
// silver close the shop and are saved; the twenty with what is left keep it
// open and change nothing; the silver and gold buttons open nothing.
TEST(GameDriver, TheStarShopSellsStarPacksForSilverFromTheMap)
{
    GameSandbox sandbox;
    writeShopProgress(sandbox, 350);
    const DriverRun where = drive(sandbox, TO_MAP + "tap btnBuyStars\nwait 1\nnode #btn:purchaseItem\nquit\n");
    ASSERT_EQ(where.exitCode, 0) << where.log;
    const DriverRun run =
        drive(sandbox, TO_MAP + "tap btnBuyStars\nwait 1\nshot stars.png\nclick " + starRowButton(where.out, 1) +
                           "\nwait 1\ndialog\ntext #silver\ntext #stars\n"
                           "tap btnBuyStars\nwait 1\nclick " + starRowButton(where.out, 3) +
                           "\nwait 1\ndialog\ntext #silver\ntext #stars\ntap btnClose\nwait 1\n"
                           "tap btnBuySilver\nwait 1\ndialog\ntap btnBuyGold\nwait 1\ndialog\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.log;
    const std::vector<std::string> dialogs = linesStarting(run.out, "dialog");
    ASSERT_EQ(dialogs.size(), 4u) << run.out;
    EXPECT_EQ(dialogs[0], "dialog none") << "the purchase closed the shop";
    EXPECT_EQ(dialogs[1], "dialog buy_valuta_window_ui") << "too little silver keeps it open";
    EXPECT_EQ(dialogs[2], "dialog none") << "the silver page has nothing";
    EXPECT_EQ(dialogs[3], "dialog none") << "the gold page has nothing";
    // Nor does the top panel offer those pages: no "+" that opens nothing.
    EXPECT_NE(run.out.find("tap btnBuySilver none\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("tap btnBuyGold none\n"), std::string::npos) << run.out;
    expectInOrder(splitLines(run.out), {"text #silver 200", "text #stars 11", "text #silver 200", "text #stars 11"});
    EXPECT_FALSE(sandbox.logContains("ERROR: Can't find marker"));

    const std::unique_ptr<PlayerProfile> profile = profileIn(bytesOf(saveFolder(sandbox) + "profile_0.dat"));
    ASSERT_TRUE(profile);
    EXPECT_EQ(profile->silver, 200);
    ASSERT_EQ(profile->starPurchases.size(), 1u);
    EXPECT_EQ(profile->starPurchases[0].count, 5);
    EXPECT_GT(profile->starPurchases[0].time, 0);

    // Four parchment rows in the shop's well.
    Picture shot;
    ASSERT_TRUE(shot.read(sandbox.file("stars.png")));
    const std::vector<float> last = numbersAfter(where.out, "node #btn:purchaseItem ");
    ASSERT_EQ(last.size(), 4u);
    for (int row = 0; row < 4; ++row) {
        const float y = last[1] + last[3] / 2 - float(3 - row) * 106.0f;
        EXPECT_GT(share(shot, last[0] - 200, y - 30, last[0] - 120, y + 30, parchmentColour), 0.3f) << row;
    }
}

// The arrows' panel button without stock opens the bonus offer beside it;
// 60 silver buy one, 40 are short and keep the offer. Leaving the level and
// using the star shop afterwards touches nothing the level took away.
TEST(GameDriver, TheBonusOfferSellsABonusBesideItsPanelButton)
{
    // The first panel button in landscape, once the limit has landed, in a
    // level without a lesson.
    const std::string toOffer = "until MainMenu\nlevel 0 0 3\nuntil GameLevel\nwait 5\nclick 412 591\nwait 1\n";
    struct Case {
        int silver;
        int left;
        int stock;
    };
    for (const Case c : {Case{60, 10, 1}, Case{40, 40, 0}}) {
        GameSandbox sandbox;
        writeShopProgress(sandbox, c.silver, false, {2});
        const DriverRun run =
            drive(sandbox, toOffer + "dialog\nshot offer.png\nnode bubble\ntap btnBuy\nwait 1\ndialog\ntext #silver\n"
                                     "tap btnClose\nwait 1\nkey Escape\nwait 1\ntap btnMap\nwait 1\ntap btnAccept\n"
                                     "until MainModeMap\nwait 0.5\ntap btnBuyStars\nwait 1\ndialog\ntap btnClose\n"
                                     "wait 1\ndialog\nquit\n");
        ASSERT_EQ(run.exitCode, 0) << run.log;
        const std::vector<std::string> dialogs = linesStarting(run.out, "dialog");
        ASSERT_EQ(dialogs.size(), 4u) << run.out;
        EXPECT_EQ(dialogs[0], "dialog buy_bonus_window_ui") << c.silver;
        EXPECT_EQ(dialogs[1], c.stock ? "dialog none" : "dialog buy_bonus_window_ui") << c.silver;
        EXPECT_EQ(dialogs[2], "dialog buy_valuta_window_ui") << c.silver;
        EXPECT_EQ(dialogs[3], "dialog none") << c.silver;
        // A bought bonus closes the offer, whose silver is then seen no more
        // (the saved profile below holds what is left); a kept offer shows it.
        EXPECT_EQ(printedText(run.out, "#silver"), c.stock ? std::string("none") : std::to_string(c.left));
        // The bubble stands right of the button.
        const std::vector<float> bubble = numbersAfter(run.out, "node bubble ");
        ASSERT_EQ(bubble.size(), 4u) << run.out;
        EXPECT_GT(bubble[0], 412.0f);

        const std::unique_ptr<PlayerProfile> profile = profileIn(bytesOf(saveFolder(sandbox) + "profile_0.dat"));
        ASSERT_TRUE(profile);
        EXPECT_EQ(profile->silver, c.left);
        EXPECT_EQ(profile->bonusCounts[2], c.stock);
    }
}

// A blocker the stars do not open: its message's "btnBuyStars" opens the
// star page over it.
TEST(GameDriver, TheBlockerMessageOpensTheStarPageAboveItself)
{
    GameSandbox sandbox;
    writeShopProgress(sandbox, 100, true);
    const DriverRun run = drive(sandbox, TO_MAP + "tap #blocker:1\nwait 1\ndialog\ntap btnBuyStars\nwait 1\ndialog\n"
                                                  "tap btnClose\nwait 1\ndialog\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.log;
    // The shop closes back onto the message it opened over.
    EXPECT_EQ(linesStarting(run.out, "dialog"),
              (std::vector<std::string>{"dialog blocker_message_window_ui", "dialog buy_valuta_window_ui",
                                        "dialog blocker_message_window_ui"}));
}

// --- The tutorial ---

namespace {

// The mean brightness (r + g + b) of a workspace rectangle of a shot.
float brightness(const Picture& frame, float x0, float y0, float x1, float y1)
{
    float total = 0.0f;
    for (int level = 0; level < 8; ++level) {
        const int low = level * 96;
        total += share(frame, x0, y0, x1, y1, [low](uint8_t r, uint8_t g, uint8_t b) {
                     return int(r) + int(g) + int(b) >= low;
                 });
    }
    return total;
}

bool parchment(uint8_t r, uint8_t g, uint8_t b)
{
    return r > 200 && g > 180 && b > 130 && b < 225;
}

// A campaign whose first part's first `won` levels are won, standing on the
// next one.
SaveFixtures::MainModeValues campaignWon(int won)
{
    return firstPartWon(won, 1000);
}

std::vector<uint8_t> tutorialEntry(const std::string& name, int32_t index)
{
    std::vector<uint8_t> out(name.begin(), name.end());
    out.insert(out.end(), {0, 4, 0, 0, 0});
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(uint32_t(index) >> (8 * i)));
    return out;
}

// The tutorial section of the shipped sequences at the given places.
std::vector<uint8_t> tutorialSection(int32_t basics, int32_t bonus, int32_t booster)
{
    std::vector<uint8_t> out = {3, 0, 0, 0};
    for (const auto& [name, index] : {std::pair{"tutorial_basics_lua", basics}, {"tutorial_bonus_lua", bonus},
                                      {"tutorial_booster_lua", booster}}) {
        const std::vector<uint8_t> entry = tutorialEntry(name, index);
        out.insert(out.end(), entry.begin(), entry.end());
    }
    return out;
}

// A fresh profile whose basics stand at `basics`, as the game saves it.
void writeProfileAtLesson(const GameSandbox& sandbox, int32_t basics)
{
    SaveFixtures::HexText sections;
    const SaveFixtures::HexText profile = SaveFixtures::profileSection(10, SaveFixtures::freshProfile());
    const std::vector<uint8_t> tutorial = tutorialSection(basics, 0, 0);
    sections.u32(2, "section count");
    sections.cString("profile", "section name");
    sections.u32(static_cast<uint32_t>(profile.bytes().size()), "section length");
    sections.append(profile);
    sections.cString("tutorial", "section name");
    sections.u32(static_cast<uint32_t>(tutorial.size()), "section length");
    sections.field(tutorial, "positions");
    const std::vector<uint8_t> file = SaveFixtures::saveFile(sections).bytes();
    writeFile(saveFolder(sandbox) + "profile_0.dat", std::string(file.begin(), file.end()));
    SaveFixtures::HexText id;
    id.u64(0, "profileId");
    const std::vector<uint8_t> last = SaveFixtures::saveFile(id).bytes();
    writeFile(saveFolder(sandbox) + "last_profile.dat", std::string(last.begin(), last.end()));
}

}  // namespace

// A fresh profile's first level: the hint points at the taught pair over a
// darkened screen, other swaps are refused, the taught one leads to the
// moves hint, and the place reached is saved.
TEST(GameDriver, TheFirstLevelTeachesTheSwapAndTheMoves)
{
    GameSandbox sandbox;
    const DriverRun first = drive(sandbox, "until MainMenu\nlevel 0 0 0\nuntil GameLevel\nwait 4.5\nshot swap.png\n"
                                           "board\nswap 6 3 7 3\nwait 1.5\nboard\nswap 2 2 3 2\nwait 2\n"
                                           "shot moves.png\nboard\nswap 6 3 7 3\nwait 1.5\nboard\ntap btnClose\n"
                                           "wait 1\nswap 6 3 7 3\nwait 2\nboard\nshot played.png\nquit\n");
    ASSERT_EQ(first.exitCode, 0) << first.log;
    const std::vector<std::string> lines = splitLines(first.out);
    ASSERT_EQ(boardRows(lines, 0).size(), 9u);
    EXPECT_EQ(boardRows(lines, 1), boardRows(lines, 0)) << "another ready swap is refused";
    EXPECT_NE(boardRows(lines, 2), boardRows(lines, 1)) << "the taught swap is made";
    EXPECT_EQ(boardRows(lines, 3), boardRows(lines, 2)) << "no swap while the moves hint is up";
    EXPECT_NE(boardRows(lines, 4), boardRows(lines, 3)) << "play goes on";

    Picture swap, moves, played;
    ASSERT_TRUE(swap.read(sandbox.file("swap.png")));
    ASSERT_TRUE(moves.read(sandbox.file("moves.png")));
    ASSERT_TRUE(played.read(sandbox.file("played.png")));
    // The pair (2, 2) and (3, 2) stays lit, the rest of the board is dark;
    // the lantern-gold arrow stands beside the pair, at its right.
    EXPECT_GT(brightness(swap, 893, 205, 1053, 285), 0.8f * brightness(played, 893, 205, 1053, 285));
    EXPECT_LT(brightness(swap, 1213, 525, 1293, 765), 0.7f * brightness(played, 1213, 525, 1293, 765));
    EXPECT_GT(share(swap, 1075, 236, 1120, 256, amber), 0.3f);
    // The moves hint's bubble beside the counter.
    EXPECT_GT(share(moves, 620, 245, 720, 275, parchment), 0.6f);
    EXPECT_LT(share(played, 620, 245, 720, 275, parchment), 0.2f);

    // The basics at their third lesson, the other sequences at their first.
    EXPECT_EQ(savedSection(sandbox, "tutorial"), tutorialSection(2, 0, 0));
}

// A save past the first level's lessons: that level teaches nothing; on the
// second only the bomb's pair moves and the blast is shown; the third
// darkens the screen evenly under a centred hint.
TEST(GameDriver, LaterLevelsTeachTheBombAndTheStars)
{
    GameSandbox sandbox;
    writeProfileAtLesson(sandbox, 2);
    const DriverRun second = drive(sandbox, "until MainMenu\nlevel 0 0 0\nuntil GameLevel\nwait 4.5\nboard\n"
                                            "swap 6 3 7 3\nwait 2\nboard\nshot played.png\nlevel 0 0 1\n"
                                            "until GameLevel\nwait 4.5\nshot bomb.png\nboard\nswap 4 5 4 4\n"
                                            "wait 1.5\nboard\nswap 4 5 5 5\nwait 3\nshot blast.png\n"
                                            "tap btnClose\nwait 1\nlevel 0 0 2\nuntil GameLevel\nwait 4.5\n"
                                            "shot stars.png\nquit\n");
    ASSERT_EQ(second.exitCode, 0) << second.log;
    const std::vector<std::string> again = splitLines(second.out);
    EXPECT_NE(boardRows(again, 1), boardRows(again, 0)) << "no lesson on the first level";
    ASSERT_EQ(boardRows(again, 2).size(), 9u);
    EXPECT_NE(boardRows(again, 2)[4].find("Bomb_R"), std::string::npos) << boardRows(again, 2)[4];
    EXPECT_EQ(boardRows(again, 3), boardRows(again, 2)) << "only the bomb's pair may move";

    Picture played, bomb, blast, stars;
    ASSERT_TRUE(played.read(sandbox.file("played.png")));
    ASSERT_TRUE(bomb.read(sandbox.file("bomb.png")));
    ASSERT_TRUE(blast.read(sandbox.file("blast.png")));
    ASSERT_TRUE(stars.read(sandbox.file("stars.png")));
    EXPECT_GT(share(bomb, 1085, 370, 1101, 420, amber), 0.5f) << "the arrow below the bomb's pair";
    // The blast hint's bubble above the blast point (5, 5).
    EXPECT_GT(share(blast, 1040, 230, 1140, 260, parchment), 0.6f);
    // A centred bubble; the board darkened alike at its two ends.
    EXPECT_GT(share(stars, 660, 500, 740, 560, parchment), 0.6f);
    const float left = brightness(stars, 760, 100, 840, 180), right = brightness(stars, 1400, 700, 1480, 780);
    EXPECT_LT(brightness(stars, 1213, 525, 1293, 605), 0.7f * brightness(played, 1213, 525, 1293, 605));
    EXPECT_GT(left, 0.0f);
    EXPECT_GT(right, 0.0f);
}

// A save that won the sixth level: on the seventh the hint points at the
// arrows button; its press hands out the coins once and opens the free
// offer, whose purchase brings the second hint; the next press fires the
// arrows and ends the lesson.
TEST(GameDriver, TheArrowsBonusIsTaughtWithCoinsOnceAFreePurchaseAndItsFirstUse)
{
    GameSandbox sandbox;
    SaveFixtures::ProfileValues values = SaveFixtures::freshProfile();
    values.unlockedBonuses = {2};
    writeProfile(sandbox, values, campaignWon(6));
    // The arrows button's centre, where the hint points.
    const DriverRun run = drive(sandbox, "until MainMenu\nlevel 0 0 6\nuntil GameLevel\nwait 4.5\nshot first.png\n"
                                         "node TutorialWindow\nclick 412 592\nwait 2\ntap btnBuy\nwait 2\n"
                                         "shot second.png\nclick 412 592\nwait 3\nshot fired.png\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.log;
    EXPECT_NE(run.out.find("node TutorialWindow 412 592 "), std::string::npos) << run.out;
    EXPECT_EQ(linesStarting(run.out, "tap btnBuy none").size(), 0u) << "the free offer opened";

    Picture first, second, fired;
    ASSERT_TRUE(first.read(sandbox.file("first.png")));
    ASSERT_TRUE(second.read(sandbox.file("second.png")));
    ASSERT_TRUE(fired.read(sandbox.file("fired.png")));
    EXPECT_GT(share(first, 404, 630, 420, 690, amber), 0.5f) << "the arrow below the button";
    EXPECT_GT(share(second, 220, 850, 300, 880, parchment), 0.6f) << "the second hint's bubble";
    EXPECT_LT(share(fired, 220, 850, 300, 880, parchment), 0.2f);

    const std::unique_ptr<PlayerProfile> profile = profileIn(bytesOf(saveFolder(sandbox) + "profile_0.dat"));
    EXPECT_EQ(profile->silver, values.silver + 50);
    EXPECT_TRUE(profile->hasFlag("MoneyHasBeenIssued:artemoda"));
    EXPECT_EQ(profile->bonusPurchases[2].count, 1);
    const std::vector<uint8_t> tutorial = savedSection(sandbox, "tutorial");
    const std::vector<uint8_t> bonusEntry = tutorialEntry("tutorial_bonus_lua", 1);
    EXPECT_NE(std::search(tutorial.begin(), tutorial.end(), bonusEntry.begin(), bonusEntry.end()), tutorial.end());

    // The seventh level again: no coins.
    const DriverRun again = drive(sandbox, "until MainMenu\nlevel 0 0 6\nuntil GameLevel\nwait 4.5\nquit\n");
    ASSERT_EQ(again.exitCode, 0) << again.log;
    EXPECT_EQ(profileIn(bytesOf(saveFolder(sandbox) + "profile_0.dat"))->silver, values.silver + 50);
}

// A save that won the twelfth level with a new booster: the next start
// window points at its slot; once closed the booster is no longer new.
TEST(GameDriver, ANewBoosterIsShownInTheNextStartWindowOnce)
{
    GameSandbox sandbox;
    SaveFixtures::ProfileValues values = SaveFixtures::freshProfile();
    values.unlockedPassiveBonuses = {1};
    values.newPassiveBonus = 1;
    values.levelStars = 36;
    writeProfile(sandbox, values, campaignWon(12));
    const std::string open = TO_MAP + "tap #level_13\nwait 2.5\n";
    const DriverRun run = drive(sandbox, open + "node TutorialWindow\ntap btnClose\nwait 1\nquit\n");
    ASSERT_EQ(run.exitCode, 0) << run.log;
    EXPECT_NE(run.out.find("node TutorialWindow 858 593 "), std::string::npos) << run.out;
    EXPECT_EQ(profileIn(bytesOf(saveFolder(sandbox) + "profile_0.dat"))->newPassiveBonus, 0);
    const DriverRun again = drive(sandbox, open + "node TutorialWindow\nquit\n");
    ASSERT_EQ(again.exitCode, 0) << again.log;
    EXPECT_NE(again.out.find("node TutorialWindow none"), std::string::npos) << again.out;
}

// --- Friends ---

namespace {

// From the main menu, logged in by the menu's own command, to the map on a
// new player's road (the intro clicked through).
const std::string LOGIN = "until MainMenu\ncall connectFacebook\nwait 1\n";
const std::string INTRO_TO_MAP = "tap btnStart\nuntil MovieState\nclick 500 400\nwait 1\nclick 500 400\nwait 1\n"
                                 "click 500 400\nwait 1\nclick 500 400\nwait 1\nclick 500 400\nuntil MainModeMap 20\n"
                                 "wait 2\n";
const std::string NO_RECORDS = std::string("\0\0\0\0\x41\0\0\0\0\0\0\0", 12);

std::string socialData(const GameSandbox& sandbox)
{
    return readFile(saveFolder(sandbox) + "facebook_data.dat");
}

}  // namespace

// The login from the menu, the mail of the three friends on the map, and
// the extra moves it gives the next level; the worker ends with the game.
TEST(GameDriver, TheMenusLoginBringsTheFriendsMailWhoseGiftsReachTheNextLevel)
{
    GameSandbox sandbox;
    const DriverRun run =
        drive(sandbox, LOGIN + "node success_mode\nnode wait_mode\nshot message.png\ntap btnClose\nwait 1\n" +
                           INTRO_TO_MAP + "node mail\ntap btnMail\nwait 1\ntext #text:title\nshot mail.png\n"
                                          "tap btnSelectAll\nwait 0.5\ntap btnOk\nwait 1.5\nnode mail\n"
                                          "level 0 0 0\nuntil GameLevel\n"
                                          "wait 8\ntext #textNode\nquit\n");
    ASSERT_TRUE(run.exited);
    ASSERT_EQ(run.exitCode, 0) << run.log;
    expectInOrder(sandbox.logLines(), {"FACEBOOK session opened", "FACEBOOK: Get facebook user data",
                                       "FACEBOOK: Get facebook user's friends data"});
    EXPECT_NE(run.out.find("call connectFacebook\n"), std::string::npos) << run.out;
    EXPECT_TRUE(std::regex_search(run.out, std::regex("node success_mode [0-9]+ [0-9]+ [0-9]+ [0-9]+\n")))
        << run.out;
    EXPECT_NE(run.out.find("node wait_mode none"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("state MainModeMap"), std::string::npos) << "the message window let go: " << run.out;

    const std::vector<std::string> mail = linesStarting(run.out, "node mail ");
    ASSERT_EQ(mail.size(), 2u) << run.out;
    EXPECT_NE(mail[0], mail[1]) << "the mail slides in with requests and out without";
    EXPECT_EQ(printedText(run.out, "#text:title"), "A gift for you!") << "the rows of the mail";
    EXPECT_EQ(printedText(run.out, "#textNode"), "7") << "the first level's 4 moves and the 3 accepted";
    EXPECT_EQ(socialData(sandbox), NO_RECORDS);
}

// A player of two days is offered, once logged in, to help the one askable
// friend.
TEST(GameDriver, APlayerOfTwoDaysIsOfferedToHelpTheOneAskableFriend)
{
    GameSandbox sandbox;
    const long long now = 1700000000;
    const DriverRun first =
        drive(sandbox, "until MainMenu\n" + INTRO_TO_MAP + "quit\n", "--seed 1 --now " + std::to_string(now - 2 * 86400));
    ASSERT_EQ(first.exitCode, 0) << first.log;
    const DriverRun run = drive(sandbox, LOGIN + "tap btnClose\nwait 1\ntap btnStart\nuntil MainModeMap\nwait 2\n"
                                                 "text #text:title\nshot help.png\nquit\n",
                                "--seed 1 --now " + std::to_string(now));
    ASSERT_EQ(run.exitCode, 0) << run.log;
    EXPECT_EQ(printedText(run.out, "#text:title"), "Help Friend1");
}

// A game ended by the system while logged in: the worker is joined, the
// program ends well and the data file is written.
TEST(GameDriver, AGameEndedByTheSystemWhileLoggedInStillEndsCleanly)
{
    GameSandbox sandbox;
    writeFile(sandbox.file("commands.txt"), LOGIN + "wait 60\nquit\n");
    ChildProcess shell;
    ASSERT_TRUE(shell.start("/bin/sh", {"-c", "exec '" + testProgramPath("game_driver") +
                                                  "' --seed 1 < commands.txt > out.txt 2> err.txt"},
                            sandbox.path(), sandbox.env()));
    ASSERT_TRUE(sandbox.waitForLog("FACEBOOK: Get facebook user's friends data", shell, 60));
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    shell.sendSignal(SIGTERM);
    const ProcessResult result = shell.wait(60);
    ASSERT_TRUE(result.exited);
    EXPECT_EQ(result.exitCode, 0) << readFile(sandbox.file("err.txt"));
    EXPECT_EQ(socialData(sandbox), NO_RECORDS);
    EXPECT_TRUE(sandbox.logContains("MemoryManager: Memory Leaks not found"));
}
