// The game keeps the player between runs: a headless start and an orderly
// end leave the profile files in the save folder.

#include <gtest/gtest.h>

#include <signal.h>

#include "player_profile.h"
#include "save_fixtures_core.h"
#include "support/game_sandbox.h"

using namespace TestSupport;

namespace {

using Bytes = std::vector<uint8_t>;

// Starts the game, waits until it runs, ends it with SIGTERM.
void runOnce(GameSandbox& sandbox)
{
    ChildProcess game;
    ASSERT_TRUE(sandbox.start(game, gamePath()));
    ASSERT_TRUE(sandbox.waitForLog("void GameApplication::create()", game)) << game.wait(1).output;
    game.sendSignal(SIGTERM);
    const ProcessResult result = game.wait();
    ASSERT_TRUE(result.exited) << result.output;
    ASSERT_EQ(result.exitCode, 0) << result.output;
}

}  // namespace

TEST(GameSaves, FirstRunLeavesBothProfileFiles)
{
    GameSandbox sandbox;
    runOnce(sandbox);
    const std::string folder = saveFolder(sandbox);
    EXPECT_EQ(bytesOf(folder + "last_profile.dat"), (Bytes{0, 0, 0, 0, 0x41, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    const std::unique_ptr<PlayerProfile> profile = profileIn(bytesOf(folder + "profile_0.dat"));
    EXPECT_EQ(profile->silver, 350);
    EXPECT_EQ(profile->gold, 20);
    EXPECT_EQ(profile->launchCount, 1);
}

TEST(GameSaves, TheProfileIsLoadedAndSavedBack)
{
    GameSandbox sandbox;
    SaveFixtures::ProfileValues values = SaveFixtures::freshProfile();
    values.silver = 999;
    values.launchCount = 4;
    writeProfile(sandbox, values);
    const std::string folder = saveFolder(sandbox);

    runOnce(sandbox);
    const std::unique_ptr<PlayerProfile> profile = profileIn(bytesOf(folder + "profile_0.dat"));
    EXPECT_EQ(profile->silver, 999);
    EXPECT_EQ(profile->launchCount, 5);
    EXPECT_EQ(profile->createdAt, SaveFixtures::FIXED_NOW);
}
