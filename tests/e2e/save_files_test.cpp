// The game keeps the player between runs: a headless start and an orderly
// end leave the profile files in the save folder.

#include <gtest/gtest.h>

#include <signal.h>

#include "animationeditor/vector_stream.h"
#include "game_properties.h"
#include "save_fixtures_core.h"
#include "support/game_sandbox.h"

using namespace TestSupport;

namespace {

using Bytes = std::vector<uint8_t>;

std::string saveFolder(GameSandbox& sandbox)
{
    return sandbox.file("data/Carrowmere/Lanterra/");
}

Bytes bytesOf(const std::string& path)
{
    const std::string text = readFile(path);
    return Bytes(text.begin(), text.end());
}

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

// The profile a profile file holds (its container checked by hand: the
// sample content's platform code is 0).
std::unique_ptr<PlayerProfile> profileIn(const Bytes& file)
{
    auto profile = std::make_unique<PlayerProfile>();
    if (file.size() < 9 || file[4] != 0x41 || file[5] || file[6] || file[7]) {
        ADD_FAILURE() << "not a save file of platform 0";
        return profile;
    }
    uint32_t sum = 0;
    for (size_t i = 8; i < file.size(); ++i)
        sum += file[i];
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 4),
              (Bytes{uint8_t(sum), uint8_t(sum >> 8), uint8_t(sum >> 16), uint8_t(sum >> 24)}));
    Bytes payload(file.begin() + 8, file.end());
    AE::VectorStream stream(payload);
    NamedBlobs sections = GameProperties::readSections(stream, "profile_0.dat");
    EXPECT_EQ(sections.count("profile"), 1u);
    EXPECT_EQ(sections.count("tutorial"), 1u);
    AE::VectorStream section(sections["profile"]);
    profile->load(section);
    return profile;
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
    const std::string folder = saveFolder(sandbox);
    const Bytes file = SaveFixtures::profileFileOf(values).bytes();
    writeFile(folder + "profile_0.dat", std::string(file.begin(), file.end()));
    const Bytes last = SaveFixtures::saveFile([] {
                           SaveFixtures::HexText id;
                           id.u64(0, "profileId");
                           return id;
                       }())
                           .bytes();
    writeFile(folder + "last_profile.dat", std::string(last.begin(), last.end()));

    runOnce(sandbox);
    const std::unique_ptr<PlayerProfile> profile = profileIn(bytesOf(folder + "profile_0.dat"));
    EXPECT_EQ(profile->silver, 999);
    EXPECT_EQ(profile->launchCount, 5);
    EXPECT_EQ(profile->createdAt, SaveFixtures::FIXED_NOW);
}
