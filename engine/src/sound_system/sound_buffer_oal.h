#pragma once
// One chunk of a sound resource: up to 8192 sample frames, decoded and held
// in an OpenAL buffer only while at least one source has it queued, so that
// all sounds playing a resource share its chunks.

#include <AL/al.h>

#include <cstdint>

namespace VQ {

class OggSoundFile;

class SoundBufferOal {
public:
    static constexpr uint32_t CHUNK_FRAMES = 8192;
    // 8192 frames of 16-bit samples in at most two channels.
    static constexpr uint32_t CHUNK_BYTES = CHUNK_FRAMES * 2 * 2;

    SoundBufferOal(OggSoundFile* owner, uint32_t startFrame, uint32_t frameCount);
    ~SoundBufferOal();
    SoundBufferOal(SoundBufferOal&& other) noexcept;
    SoundBufferOal(const SoundBufferOal&) = delete;
    SoundBufferOal& operator=(const SoundBufferOal&) = delete;
    SoundBufferOal& operator=(SoundBufferOal&&) = delete;

    // Decodes the chunk and hands it to a new OpenAL buffer.
    void upload();
    // One source less has the chunk queued; the last one frees the buffer.
    void release();

    ALuint buffer = 0;
    OggSoundFile* owner = nullptr;
    uint8_t uploaded = 0;
    uint32_t startFrame = 0;
    uint32_t frameCount = 0;
    int32_t refCount = 0;
    uint32_t byteSize = 0;

private:
    void deleteBuffer();
};

}  // namespace VQ
