// Registration of sound resources through the file system, on the sample
// content of the repository and OpenAL's silent device.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <thread>

#include "sound_system/sound_manager.h"
#include "support/content_fixture.h"
#include "support/sound_fixtures.h"

using namespace TestSupport;
using testing::Contains;
using testing::Not;

namespace {

class SoundManagerTest : public ContentTest {
protected:
    void SetUp() override
    {
        ContentTest::SetUp();
        VQ::contentRoot() = std::string(LANTERRA_SOURCE_DIR) + "/media/";
        loadAll();
        useSilentAudioDevice();
        mManager = std::make_unique<VQ::SoundManager>();
        ASSERT_TRUE(mManager->isReady());
    }
    void TearDown() override
    {
        mManager.reset();
        ContentTest::TearDown();
    }

    static VQ::SoundDescription effect(const std::string& name) { return VQ::SoundDescription{name, 0, 1.0f, 0, 0}; }

    std::unique_ptr<VQ::SoundManager> mManager;
};

const char* const SAMPLE_SOUNDS[] = {"button_clicked_sound", "chip_destroy_sound", "tile_destroy_sound",
                                     "bomb_sound",           "level_win_sound",    "level_lose_sound",
                                     "game_level_ambient_sound_1_sound"};

}  // namespace

TEST_F(SoundManagerTest, TheSampleTableRegistersEverySoundOfTheGame)
{
    ASSERT_TRUE(mManager->loadResources("sound_resources_lua", "default"));
    for (const char* name : SAMPLE_SOUNDS) {
        const int id = mManager->acquireResource(name);
        ASSERT_NE(id, 0) << name;
        const VQ::SoundResource* resource = mManager->resource(id);
        EXPECT_EQ(resource->refCount, 2) << name;
        EXPECT_FALSE(resource->chunks.empty()) << name;
        EXPECT_NE(mManager->createAndPlay(id), 0) << name;
    }
    const VQ::SoundResource* music = mManager->resource(mManager->acquireResource("game_level_ambient_sound_1_sound"));
    EXPECT_EQ(music->group, 1);
    EXPECT_EQ(music->looped, 1);
    EXPECT_EQ(music->file.channels(), 2);
    const VQ::SoundResource* tile = mManager->resource(mManager->acquireResource("tile_destroy_sound"));
    EXPECT_EQ(tile->priority, 11u);
    EXPECT_FLOAT_EQ(mManager->resource(mManager->acquireResource("button_clicked_sound"))->volume, 0.8f);
    for (const std::string& line : logLines())
        EXPECT_THAT(line, Not(testing::StartsWith("WARNING"))) << line;

    // Loading again skips the names registered already.
    EXPECT_TRUE(mManager->loadResources("sound_resources_lua", "default"));
    EXPECT_EQ(mManager->registerResource(effect("bomb_sound")), 0);

    EXPECT_FALSE(mManager->loadResources("no_such_lua", "default"));
    EXPECT_FALSE(mManager->loadResources("content_info_lua", "default"));  // has no "SoundResources"
}

TEST_F(SoundManagerTest, ReferencesKeepAResourceAndTheLastReleaseUnloadsIt)
{
    const int id = mManager->registerResource(effect("bomb_sound"));
    ASSERT_NE(id, 0);
    EXPECT_EQ(mManager->registerResource(effect("bomb_sound")), 0);
    EXPECT_EQ(mManager->acquireResource("bomb_sound"), id);
    EXPECT_EQ(mManager->acquireResource("unknown_sound"), 0);
    const int handle = mManager->createAndPlay(id);
    ASSERT_NE(handle, 0);

    mManager->releaseResource(id);
    EXPECT_NE(mManager->resource(id), nullptr);
    EXPECT_TRUE(mManager->isPlaying(handle));
    mManager->releaseResource(id);
    // Its sounds went with it, and so did its name.
    EXPECT_EQ(mManager->resource(id), nullptr);
    EXPECT_EQ(mManager->sound(handle), nullptr);
    EXPECT_EQ(mManager->acquireResource("bomb_sound"), 0);
}

TEST_F(SoundManagerTest, Id1024IsNeverGivenAndAnUnloadedIdIsReused)
{
    std::vector<int> ids;
    for (int i = 1; i <= 1023; ++i)
        ids.push_back(mManager->registerResource(effect("missing_" + std::to_string(i) + "_sound")));
    for (int i = 1; i <= 1023; ++i)
        ASSERT_EQ(ids[static_cast<size_t>(i - 1)], i);
    EXPECT_EQ(mManager->registerResource(effect("one_too_many_sound")), 0);

    mManager->unloadResource(500);
    EXPECT_EQ(mManager->acquireResource("missing_500_sound"), 0);
    EXPECT_EQ(mManager->registerResource(effect("one_too_many_sound")), 500);
}

TEST_F(SoundManagerTest, AMissingFileWarnsGivesAHandleAndIsReleasedBySweep)
{
    const int handle = mManager->playByName("no_such_sound");
    ASSERT_NE(handle, 0);
    EXPECT_THAT(logLines(), Contains("WARNING. Sound not found no_such_sound"));
    EXPECT_FALSE(mManager->isPlaying(handle));
    // Kept through its first six frames, then released.
    for (int i = 0; i < 6; ++i)
        mManager->update();
    EXPECT_NE(mManager->sound(handle), nullptr);
    mManager->update();
    EXPECT_EQ(mManager->sound(handle), nullptr);

    // Registered once: a second play reuses it without a second warning.
    const int id = mManager->acquireResource("no_such_sound");
    EXPECT_NE(id, 0);
    EXPECT_NE(mManager->playByName("no_such_sound"), 0);
    EXPECT_EQ(mManager->acquireResource("no_such_sound"), id);
    EXPECT_EQ(countLogLines("WARNING. Sound not found no_such_sound"), 1);
}

TEST_F(SoundManagerTest, OverlappingRegistrationsNeverShareAnIdOrAName)
{
    // The same name from several loading threads: one registration wins.
    std::vector<int> sameName(6);
    {
        std::vector<std::thread> threads;
        for (size_t i = 0; i < sameName.size(); ++i)
            threads.emplace_back([&, i] {
                sameName[i] = mManager->registerResource(effect("game_level_ambient_sound_1_sound"));
            });
        for (std::thread& thread : threads)
            thread.join();
    }
    EXPECT_EQ(std::count_if(sameName.begin(), sameName.end(), [](int id) { return id != 0; }), 1);

    // Different names at once: every one gets an id of its own.
    std::vector<int> ids(std::size(SAMPLE_SOUNDS) - 1);
    {
        std::vector<std::thread> threads;
        for (size_t i = 0; i < ids.size(); ++i)
            threads.emplace_back([&, i] { ids[i] = mManager->registerResource(effect(SAMPLE_SOUNDS[i])); });
        for (std::thread& thread : threads)
            thread.join();
    }
    const std::set<int> distinct(ids.begin(), ids.end());
    EXPECT_EQ(distinct.size(), ids.size());
    EXPECT_EQ(distinct.count(0), 0u);
    for (size_t i = 0; i < ids.size(); ++i)
        EXPECT_EQ(mManager->acquireResource(SAMPLE_SOUNDS[i]), ids[i]);
}

TEST_F(SoundManagerTest, OnTheGameClockASoundEndsWhenItsLengthHasPassedInGameTime)
{
    ASSERT_TRUE(mManager->loadResources("sound_resources_lua", "default"));
    mManager->useGameClock();
    const int id = mManager->acquireResource("chip_destroy_sound");
    ASSERT_NE(id, 0);
    const VQ::SoundResource* resource = mManager->resource(id);
    ASSERT_GT(resource->file.rate(), 0);
    const float length = static_cast<float>(resource->file.totalFrames()) / resource->file.rate();
    ASSERT_GT(length, 0.1f);

    const int handle = mManager->createAndPlay(id);
    ASSERT_NE(handle, 0);
    mManager->advanceGameClock(length - 0.05f);
    mManager->update();  // the wall-time sweep leaves it alone
    EXPECT_TRUE(mManager->isPlaying(handle));
    mManager->advanceGameClock(0.1f);
    EXPECT_FALSE(mManager->isPlaying(handle));
    EXPECT_EQ(mManager->sound(handle), nullptr);

    // A looped sound plays until it is stopped.
    const int loopId = mManager->acquireResource("game_level_ambient_sound_1_sound");
    const int loop = mManager->createAndPlay(loopId);
    ASSERT_NE(loop, 0);
    mManager->advanceGameClock(1000.0f);
    EXPECT_TRUE(mManager->isPlaying(loop));
    mManager->stop(loop);
    mManager->advanceGameClock(1.0f / 60.0f);
    EXPECT_EQ(mManager->sound(loop), nullptr);
    mManager->releaseResource(loopId);

    // A game's worth of sounds, one every frame of 1/60 s, never runs out of
    // handles, however fast the frames come.
    for (int frame = 0; frame < 60 * 60; ++frame) {
        mManager->createAndPlay(id);
        mManager->advanceGameClock(1.0f / 60.0f);
    }
    EXPECT_EQ(countLogLines("ERROR: SoundManager::createSound Can't play sound"), 0);
    mManager->releaseResource(id);
}
