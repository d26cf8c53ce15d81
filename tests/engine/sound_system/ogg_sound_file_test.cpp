#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "sound_system/ogg_sound_file.h"
#include "sound_system/sound_resource.h"
#include "support/content_fixture.h"
#include "support/sound_fixtures.h"
#include "vorbis_writer.h"

using namespace TestSupport;
using testing::Contains;
using testing::HasSubstr;

namespace {

VQ::SoundDescription effect() { return VQ::SoundDescription{"fixture_sound", 0, 1.0f, 0, 0}; }

// Warnings need the log; nothing here reads through the file system.
class OggSoundFileTest : public ContentTest {};

}  // namespace

TEST_F(OggSoundFileTest, ReadSeekAndTellFollowStdioOverTheBlock)
{
    VQ::OggSoundFile file;
    std::vector<char> bytes(10);
    for (int i = 0; i < 10; ++i)
        bytes[static_cast<size_t>(i)] = static_cast<char>(i);
    file.open(bytes, "ten_bytes");  // not Ogg: the block stays for the callbacks
    ASSERT_EQ(VQ::OggSoundFile::seekCallback(&file, 0, SEEK_SET), 0);

    char out[16] = {};
    // Whole items only: 3 items of 4 bytes with 10 bytes left gives 2.
    EXPECT_EQ(VQ::OggSoundFile::readCallback(out, 4, 3, &file), 2u);
    EXPECT_EQ(VQ::OggSoundFile::tellCallback(&file), 8);
    EXPECT_EQ(out[7], 7);
    EXPECT_EQ(VQ::OggSoundFile::readCallback(out, 0, 3, &file), 0u);
    EXPECT_EQ(VQ::OggSoundFile::readCallback(out, 1, 0, &file), 0u);
    EXPECT_EQ(VQ::OggSoundFile::readCallback(out, 1, 1, nullptr), 0u);

    struct SeekCase {
        long offset;
        int origin;
        int result;
        long position;
    };
    const SeekCase cases[] = {
        {0, SEEK_END, 0, 10},   // the end itself, as stdio allows
        {-1, SEEK_END, 0, 9},   // the last byte
        {1, SEEK_END, -1, 9},   // past the end: refused, position kept
        {-10, SEEK_END, 0, 0},  // the start counted from the end
        {-11, SEEK_END, -1, 0},
        {4, SEEK_CUR, 0, 4},
        {-5, SEEK_CUR, -1, 4},
        {10, SEEK_SET, 0, 10},
        {11, SEEK_SET, -1, 10},
        {-1, SEEK_SET, -1, 10},
        {0, 99, -1, 10},
    };
    for (const SeekCase& c : cases) {
        EXPECT_EQ(VQ::OggSoundFile::seekCallback(&file, c.offset, c.origin), c.result) << c.offset << " " << c.origin;
        EXPECT_EQ(VQ::OggSoundFile::tellCallback(&file), c.position) << c.offset << " " << c.origin;
    }
    EXPECT_EQ(VQ::OggSoundFile::readCallback(out, 1, 1, &file), 0u);  // at the end
    EXPECT_EQ(VQ::OggSoundFile::seekCallback(nullptr, 0, SEEK_SET), -1);
    EXPECT_EQ(VQ::OggSoundFile::tellCallback(nullptr), -1);
    EXPECT_EQ(VQ::OggSoundFile::closeCallback(&file), 0);
    EXPECT_EQ(VQ::OggSoundFile::closeCallback(nullptr), -1);
}

TEST_F(OggSoundFileTest, ChunksCoverTheFileWithoutGapOrOverlap)
{
    struct Case {
        int frames;
        int channels;
        std::vector<uint32_t> chunkFrames;
    };
    const Case cases[] = {
        {3000, 1, {3000}},                       // shorter than one chunk
        {8192, 1, {8192}},                       // exactly one chunk
        {8193, 1, {8192, 1}},                    // one frame more: a second chunk of one frame
        {3 * 8192 + 100, 2, {8192, 8192, 8192, 100}},  // stereo, more than three chunks
    };
    for (const Case& c : cases) {
        VQ::SoundResource resource(effect());
        resource.loadFromMemory(makeToneOgg(c.frames, c.channels, 44100), "fixture");
        EXPECT_EQ(resource.file.totalFrames(), static_cast<uint32_t>(c.frames));
        EXPECT_EQ(resource.file.channels(), c.channels);
        EXPECT_EQ(resource.file.rate(), 44100);
        ASSERT_EQ(resource.chunks.size(), c.chunkFrames.size()) << c.frames;
        uint32_t start = 0;
        for (size_t i = 0; i < c.chunkFrames.size(); ++i) {
            EXPECT_EQ(resource.chunks[i].startFrame, start);
            EXPECT_EQ(resource.chunks[i].frameCount, c.chunkFrames[i]);
            EXPECT_FALSE(resource.chunks[i].uploaded);
            start += c.chunkFrames[i];
        }
    }
}

TEST_F(OggSoundFileTest, EveryChunkDecodesWholeIncludingTheLastPage)
{
    struct Case {
        int frames;
        int channels;
    };
    for (const Case c : {Case{3000, 1}, Case{8193, 1}, Case{3 * 8192 + 100, 2}}) {
        VQ::SoundResource resource(effect());
        resource.loadFromMemory(makeToneOgg(c.frames, c.channels, 44100), "fixture");
        std::vector<char> buffer(VQ::SoundBufferOal::CHUNK_BYTES);
        for (const VQ::SoundBufferOal& chunk : resource.chunks) {
            const uint32_t bytes = resource.file.decode(chunk.startFrame, buffer.data(), chunk.frameCount);
            EXPECT_EQ(bytes, chunk.frameCount * static_cast<uint32_t>(c.channels) * 2u)
                << c.frames << " frames, chunk at " << chunk.startFrame;
        }
    }

    // A short sound is heard: its samples are not silence.
    VQ::SoundResource shortSound(effect());
    shortSound.loadFromMemory(makeToneOgg(3000, 1, 44100), "fixture");
    std::vector<int16_t> samples(3000);
    ASSERT_EQ(shortSound.file.decode(0, reinterpret_cast<char*>(samples.data()), 3000), 6000u);
    int peak = 0;
    for (int16_t s : samples)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_GT(peak, 8000);
}

TEST_F(OggSoundFileTest, FilesThatCannotBePlayedAreSilentWithAWarning)
{
    VQ::SoundResource garbage(effect());
    garbage.loadFromMemory(std::vector<char>(5000, 'x'), "garbage_sound");
    EXPECT_TRUE(garbage.file.opened());
    EXPECT_EQ(garbage.file.totalFrames(), 0u);
    EXPECT_TRUE(garbage.chunks.empty());

    VQ::SoundResource empty(effect());
    empty.loadFromMemory({}, "empty_sound");
    EXPECT_TRUE(empty.chunks.empty());

    // Three channels would overflow the chunk buffer.
    const std::vector<uint8_t> surround =
        SoundGen::encodeOggVorbis(std::vector<float>(3 * 4000, 0.1f), 3, 44100, 0.4f);
    ASSERT_FALSE(surround.empty());
    VQ::SoundResource wide(effect());
    wide.loadFromMemory(std::vector<char>(surround.begin(), surround.end()), "surround_sound");
    EXPECT_EQ(wide.file.totalFrames(), 0u);
    EXPECT_TRUE(wide.chunks.empty());
    char buffer[64];
    EXPECT_EQ(wide.file.decode(0, buffer, 8), 0u);

    const auto lines = logLines();
    EXPECT_THAT(lines, Contains("WARNING: Sound garbage_sound is not an Ogg Vorbis file; it plays as silence"));
    EXPECT_THAT(lines, Contains("WARNING: Sound surround_sound has 3 channels; only mono and stereo sounds are played"));
}

TEST_F(OggSoundFileTest, AStreamWhoseDecoderCannotBeSetUpIsClosedAfterTheFirstFailure)
{
    // A damaged sound: vorbisfile opens it, but one codebook's code lengths
    // make no valid code, so the decoder set-up fails; a second attempt used
    // to divide by zero inside libvorbis (SIGFPE).
    std::ifstream in(fixturePath("sounds/codebook_bad_code_lengths.ogg"), std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(bytes.empty());
    VQ::SoundResource damaged(effect());
    damaged.loadFromMemory(bytes, "damaged_sound");
    ASSERT_FALSE(damaged.chunks.empty());
    std::vector<char> buffer(VQ::SoundBufferOal::CHUNK_BYTES);
    for (const VQ::SoundBufferOal& chunk : damaged.chunks)
        EXPECT_EQ(damaged.file.decode(chunk.startFrame, buffer.data(), chunk.frameCount), 0u);
    EXPECT_THAT(logLines(), Contains(HasSubstr("WARNING: Sound damaged_sound cannot be decoded (vorbisfile error")));
}
