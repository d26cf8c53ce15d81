#include "sound_system/sound_buffer_oal.h"

#include <vector>

#include "sound_system/ogg_sound_file.h"
#include "sound_system/sound_device_oal.h"

namespace VQ {

SoundBufferOal::SoundBufferOal(OggSoundFile* ownerFile, uint32_t start, uint32_t count)
    : owner(ownerFile), startFrame(start), frameCount(count)
{
}

SoundBufferOal::SoundBufferOal(SoundBufferOal&& other) noexcept
    : buffer(other.buffer),
      owner(other.owner),
      uploaded(other.uploaded),
      startFrame(other.startFrame),
      frameCount(other.frameCount),
      refCount(other.refCount),
      byteSize(other.byteSize)
{
    other.buffer = 0;
    other.uploaded = 0;
    other.byteSize = 0;
}

SoundBufferOal::~SoundBufferOal()
{
    if (uploaded)
        deleteBuffer();
}

void SoundBufferOal::upload()
{
    std::vector<char> work(CHUNK_BYTES);
    const uint32_t frames = std::min(frameCount, CHUNK_FRAMES);
    const uint32_t bytes = owner->decode(startFrame, work.data(), frames);
    alGenBuffers(1, &buffer);
    checkOpenALError("sound_buffer_oal", __LINE__);
    alBufferData(buffer, owner->channels() == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16, work.data(),
                 static_cast<ALsizei>(bytes), owner->rate());
    checkOpenALError("sound_buffer_oal", __LINE__);
    byteSize = bytes;
    uploaded = 1;
}

void SoundBufferOal::release()
{
    --refCount;
    if (refCount == 0 && uploaded)
        deleteBuffer();
}

void SoundBufferOal::deleteBuffer()
{
    alDeleteBuffers(1, &buffer);
    checkOpenALError("sound_buffer_oal", __LINE__);
    buffer = 0;
    byteSize = 0;
    uploaded = 0;
}

}  // namespace VQ
