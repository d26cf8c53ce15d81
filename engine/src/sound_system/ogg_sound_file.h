#pragma once
// One sound resource's Ogg Vorbis file: read whole into memory and decoded
// from there with vorbisfile, a range of sample frames at a time.

#include <vorbis/vorbisfile.h>

#include <cstdint>
#include <string>
#include <vector>

namespace VQ {

class OggSoundFile {
public:
    // Mono and stereo only: a chunk of 8192 frames must fit 32768 bytes.
    static constexpr int MAX_CHANNELS = 2;

    OggSoundFile();
    ~OggSoundFile();
    // The decoder keeps a pointer to this object as its data source.
    OggSoundFile(const OggSoundFile&) = delete;
    OggSoundFile& operator=(const OggSoundFile&) = delete;

    // Reads the resource (package "default") whole and opens it. False, with
    // a warning, when the file is missing. A file that is not Ogg Vorbis (or
    // has more than two channels) opens as a file without audio.
    bool load(const std::string& name);

    // Takes the bytes of a whole file and opens the stream on them; `name`
    // only names the file in warnings.
    void open(std::vector<char> bytes, const std::string& name);

    // Decodes 16-bit signed little-endian samples of `frameCount` frames from
    // `startFrame` into `destination` (room for frameCount x channels x 2
    // bytes). Returns the bytes decoded. A stream that fails to seek or
    // decode (other than a hole in the data) is closed with a warning: from
    // then on the file is silent.
    uint32_t decode(uint32_t startFrame, char* destination, uint32_t frameCount);

    bool opened() const { return mOpened; }
    int channels() const { return mChannels; }
    int rate() const { return mRate; }
    uint32_t totalFrames() const { return mTotalFrames; }

    // The vorbisfile callbacks over the memory block, stdio-style: a seek may
    // target 0..size inclusive, and an offset from the end counts from size.
    static size_t readCallback(void* destination, size_t size, size_t count, void* source);
    static int seekCallback(void* source, ogg_int64_t offset, int origin);
    static int closeCallback(void* source);
    static long tellCallback(void* source);

private:
    void clear();
    void refuseDamagedStream(int error);

    OggVorbis_File mStream{};
    bool mStreamOpen = false;
    bool mOpened = false;
    std::vector<char> mData;
    std::string mName;
    size_t mPosition = 0;
    int mChannels = 0;
    int mRate = 0;
    uint32_t mTotalFrames = 0;
};

}  // namespace VQ
