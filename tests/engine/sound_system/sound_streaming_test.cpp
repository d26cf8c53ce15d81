// Sounds playing on OpenAL's silent device: chunk streaming, voices, handles
// and gains. The device mixes in real time, so streaming tests run the frame
// update until the sound has moved on.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "sound_system/sound_manager.h"
#include "support/content_fixture.h"
#include "support/sound_fixtures.h"

using namespace TestSupport;
using testing::Contains;
using testing::ElementsAre;
using testing::FloatEq;

namespace {

constexpr int RATE = 48000;
constexpr int THREE_CHUNKS = 3 * 8192 - 500;

class SoundStreamingTest : public ContentTest {
protected:
    void SetUp() override
    {
        ContentTest::SetUp();
        useSilentAudioDevice();
        mManager = new VQ::SoundManager();
        ASSERT_TRUE(mManager->isReady());
    }
    void TearDown() override
    {
        // Sounds go before the resources they play, and the resources'
        // buffers before the device.
        mManager->stopAll();
        for (int i = 0; i < 8; ++i)
            mManager->update();
        mResources.clear();
        delete mManager;
        VQ::setApplicationActiveQuery(nullptr);
        ContentTest::TearDown();
    }

    VQ::SoundResource* makeResource(int frames, int group, int looped, uint32_t priority, float volume = 1.0f,
                                    int channels = 1)
    {
        mResources.push_back(std::make_unique<VQ::SoundResource>(
            VQ::SoundDescription{"fixture_sound", group, volume, looped, priority}));
        mResources.back()->loadFromMemory(makeToneOgg(frames, channels, RATE), "fixture_sound");
        return mResources.back().get();
    }

    // Runs frames (about 2 ms apart) until `done` holds; false on timeout.
    bool runFramesUntil(const std::function<bool()>& done, double seconds = 5.0)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            mManager->update();
        }
        return true;
    }

    float sourceGain(int handle)
    {
        ALfloat gain = -1.0f;
        alGetSourcef(mManager->sound(handle)->source, AL_GAIN, &gain);
        return gain;
    }

    VQ::SoundManager* mManager = nullptr;
    std::vector<std::unique_ptr<VQ::SoundResource>> mResources;
};

// The chunk indices a sound queues, in order, while `done` does not hold.
std::vector<int32_t> recordChunks(VQ::SoundOal* sound, const std::function<bool(const std::vector<int32_t>&)>& done,
                                  const std::function<bool(const std::function<bool()>&)>& run)
{
    std::vector<int32_t> queued{0, sound->nextChunk};
    run([&] {
        if (sound->nextChunk != queued.back())
            queued.push_back(sound->nextChunk);
        return done(queued);
    });
    return queued;
}

}  // namespace

TEST_F(SoundStreamingTest, ALoopingSoundQueuesItsFirstChunkAgainAfterTheLast)
{
    VQ::SoundResource* resource = makeResource(THREE_CHUNKS, 0, 1, 0);
    ASSERT_EQ(resource->chunks.size(), 3u);
    const int handle = mManager->createSound(resource);
    ASSERT_NE(handle, 0);
    VQ::SoundOal* sound = mManager->sound(handle);
    EXPECT_EQ(resource->chunks[0].refCount, 1);
    EXPECT_EQ(resource->chunks[1].refCount, 1);
    EXPECT_FALSE(resource->chunks[2].uploaded);

    const auto queued = recordChunks(
        sound, [](const std::vector<int32_t>& q) { return q.size() >= 4; },
        [&](const std::function<bool()>& done) { return runFramesUntil(done); });
    EXPECT_THAT(queued, ElementsAre(0, 1, 2, 0));
    EXPECT_TRUE(mManager->isPlaying(handle));
    // Chunk 1 has been played out and given back; 2 and 0 are queued.
    EXPECT_FALSE(resource->chunks[1].uploaded);
    EXPECT_EQ(resource->chunks[1].refCount, 0);
    EXPECT_TRUE(resource->chunks[0].uploaded);
    EXPECT_TRUE(resource->chunks[2].uploaded);
}

TEST_F(SoundStreamingTest, ANonLoopingSoundPlaysItsChunksInOrderStopsAndIsReleased)
{
    VQ::SoundResource* resource = makeResource(THREE_CHUNKS, 0, 0, 0);
    const int handle = mManager->createSound(resource);
    ASSERT_NE(handle, 0);
    VQ::SoundOal* sound = mManager->sound(handle);

    std::vector<int32_t> queued{0, sound->nextChunk};
    ASSERT_TRUE(runFramesUntil([&] {
        if (sound->nextChunk != queued.back())
            queued.push_back(sound->nextChunk);
        return !mManager->isPlaying(handle);
    }));
    EXPECT_THAT(queued, ElementsAre(0, 1, 2));
    for (const VQ::SoundBufferOal& chunk : resource->chunks) {
        EXPECT_EQ(chunk.refCount, 0);
        EXPECT_FALSE(chunk.uploaded);
    }
    // The next sweep releases it and its handle is free again.
    mManager->update();
    EXPECT_EQ(mManager->sound(handle), nullptr);
}

TEST_F(SoundStreamingTest, SoundsOfOneResourceShareItsChunkBuffers)
{
    VQ::SoundResource* resource = makeResource(2 * 8192, 1, 1, 0);
    const int first = mManager->createSound(resource);
    const int second = mManager->createSound(resource);
    ASSERT_NE(first, 0);
    ASSERT_NE(second, 0);
    EXPECT_EQ(resource->chunks[0].refCount, 2);
    EXPECT_EQ(resource->chunks[1].refCount, 2);
    const ALuint buffer = resource->chunks[0].buffer;

    EXPECT_EQ(mManager->stop(first), 0);
    EXPECT_FALSE(mManager->isPlaying(first));
    EXPECT_TRUE(mManager->isPlaying(second));
    EXPECT_EQ(resource->chunks[0].refCount, 1);
    EXPECT_TRUE(resource->chunks[0].uploaded);
    EXPECT_EQ(resource->chunks[0].buffer, buffer);
}

TEST_F(SoundStreamingTest, EffectsCompeteForFiveVoicesByScore)
{
    VQ::SoundResource* common = makeResource(8192, 0, 1, 10);
    VQ::SoundResource* minor = makeResource(8192, 0, 1, 1);
    VQ::SoundResource* major = makeResource(8192, 0, 1, 100);
    VQ::SoundResource* music = makeResource(8192, 1, 1, 0);

    const int musicHandle = mManager->createSound(music);
    std::vector<int> handles;
    for (int i = 0; i < 5; ++i) {
        handles.push_back(mManager->createSound(common));
        ASSERT_NE(handles.back(), 0);
        // Equal scores put the newest first; a raised own volume (the oldest
        // ranks 0.6 after three starts) lifts a sound above the one before.
        if (i == 2)
            mManager->setSoundVolume(handles[0], 0.9f);
    }
    const std::vector<int> order = {handles[4], handles[3], handles[2], handles[0], handles[1]};
    EXPECT_EQ(mManager->voiceHandles(), order);
    // Own volumes by rank, whatever they were before.
    const float expected[5] = {1.0f, 0.8f, 0.6f, 0.4f, 0.2f};
    for (int rank = 0; rank < 5; ++rank)
        EXPECT_THAT(mManager->sound(order[static_cast<size_t>(rank)])->volume, FloatEq(expected[rank])) << rank;

    // 1 x 1.0 is not above the weakest voice's 0.2 x 10.
    EXPECT_EQ(mManager->createSound(minor), 0);
    EXPECT_THAT(logLines(), Contains("ERROR: SoundManager::createSound Sound can not be queued"));

    // A stronger one evicts the weakest, which stops at once.
    const int strong = mManager->createSound(major);
    ASSERT_NE(strong, 0);
    EXPECT_FALSE(mManager->isPlaying(handles[1]));
    EXPECT_FALSE(mManager->sound(handles[1])->created);
    EXPECT_THAT(mManager->voiceHandles(), ElementsAre(strong, handles[4], handles[3], handles[2], handles[0]));

    // Music holds no voice and is never evicted.
    EXPECT_THAT(mManager->voiceHandles(), testing::Not(Contains(musicHandle)));
    EXPECT_TRUE(mManager->isPlaying(musicHandle));
}

TEST_F(SoundStreamingTest, HandlesRunFrom1To63AndWrapToTheFirstFreeOne)
{
    VQ::SoundResource* music = makeResource(4000, 1, 1, 0);
    for (int expected = 1; expected <= 63; ++expected)
        ASSERT_EQ(mManager->createSound(music), expected);
    EXPECT_EQ(mManager->createSound(music), 0);
    EXPECT_THAT(logLines(), Contains("ERROR: SoundManager::createSound Can't play sound"));

    mManager->stop(5);
    mManager->stop(1);
    // A stopped sound is kept until it is six frames old.
    for (int i = 0; i < 6; ++i)
        mManager->update();
    EXPECT_NE(mManager->sound(1), nullptr);
    mManager->update();
    EXPECT_EQ(mManager->sound(1), nullptr);
    EXPECT_EQ(mManager->createSound(music), 1);
    EXPECT_EQ(mManager->createSound(music), 5);
}

TEST_F(SoundStreamingTest, GainCombinesGroupResourceAndOwnVolumeClampedToOne)
{
    VQ::SoundResource* music = makeResource(8192, 1, 1, 0, 0.8f);
    const int handle = mManager->createSound(music);
    ASSERT_NE(handle, 0);
    EXPECT_THAT(sourceGain(handle), FloatEq(0.8f));

    mManager->setGroup1Volume(0.5f);
    mManager->setSoundVolume(handle, 0.5f);
    EXPECT_THAT(sourceGain(handle), FloatEq(0.2f));
    mManager->setGroupVolume(1, 5.0f);
    EXPECT_THAT(sourceGain(handle), FloatEq(1.0f));
    mManager->setSoundVolume(handle, -1.0f);
    EXPECT_THAT(sourceGain(handle), FloatEq(0.0f));
    mManager->setSoundVolume(handle, 1.0f);

    // Group 1 at 0 silences the music at once without stopping it.
    mManager->setGroup1Volume(0.0f);
    EXPECT_THAT(sourceGain(handle), FloatEq(0.0f));
    EXPECT_TRUE(mManager->isPlaying(handle));
    EXPECT_THAT(mManager->groupVolume(1), FloatEq(0.0f));
    EXPECT_THAT(mManager->groupVolume(0), FloatEq(1.0f));
    EXPECT_THAT(mManager->groupVolume(7), FloatEq(1.0f));
}

namespace {
bool gActive = true;
bool testActive() { return gActive; }
}  // namespace

TEST_F(SoundStreamingTest, AnInactiveApplicationIsSilentButKeepsPlaying)
{
    VQ::SoundResource* music = makeResource(8192, 1, 1, 0);
    const int handle = mManager->createSound(music);
    gActive = false;
    VQ::setApplicationActiveQuery(testActive);
    mManager->update();
    mManager->refreshVolumes();
    ALfloat listener = -1.0f;
    alGetListenerf(AL_GAIN, &listener);
    EXPECT_THAT(listener, FloatEq(0.0f));
    EXPECT_THAT(sourceGain(handle), FloatEq(0.0f));
    EXPECT_TRUE(mManager->isPlaying(handle));

    gActive = true;
    mManager->applyListenerGain();
    mManager->refreshVolumes();
    alGetListenerf(AL_GAIN, &listener);
    EXPECT_THAT(listener, FloatEq(1.0f));
    EXPECT_THAT(sourceGain(handle), FloatEq(1.0f));
}

TEST_F(SoundStreamingTest, InvalidHandlesAndIdsAreIgnored)
{
    for (int handle : {-1, 0, 64, 1000}) {
        EXPECT_EQ(mManager->stop(handle), 1) << handle;
        EXPECT_EQ(mManager->setSoundVolume(handle, 0.5f), 1) << handle;
        EXPECT_FALSE(mManager->isPlaying(handle)) << handle;
        EXPECT_EQ(mManager->sound(handle), nullptr) << handle;
    }
    EXPECT_EQ(mManager->stop(3), 1);  // valid but empty
    for (int id : {-1, 0, 1024, 5000}) {
        EXPECT_EQ(mManager->createAndPlay(id), 0) << id;
        mManager->releaseResource(id);
        mManager->unloadResource(id);
        EXPECT_EQ(mManager->resource(id), nullptr) << id;
    }
    EXPECT_EQ(mManager->createSound(nullptr), 0);
    EXPECT_THAT(logLines(), Contains("WARNING: SoundManager::createSound Bad sound resource ptr!"));
}
