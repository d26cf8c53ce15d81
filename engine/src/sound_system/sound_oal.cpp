#include "sound_system/sound_oal.h"

#include <algorithm>
#include <mutex>

#include "sound_system/sound_device_oal.h"
#include "sound_system/sound_manager.h"
#include "sound_system/sound_resource.h"

namespace VQ {

SoundOal::SoundOal(SoundResource* soundResource) : resource(soundResource)
{
    alGenSources(1, &source);
    if (checkOpenALError("sound_oal", __LINE__))
        return;
    const ALfloat origin[3] = {0.0f, 0.0f, 0.0f};
    alSourcef(source, AL_PITCH, 1.0f);
    checkOpenALError("sound_oal", __LINE__);
    alSourcefv(source, AL_POSITION, origin);
    checkOpenALError("sound_oal", __LINE__);
    alSourcefv(source, AL_VELOCITY, origin);
    checkOpenALError("sound_oal", __LINE__);
    // Looping is done by requeueing chunks, never by the source itself.
    alSourcei(source, AL_LOOPING, AL_FALSE);
    checkOpenALError("sound_oal", __LINE__);
    created = 1;
    applyGain(1.0f);
}

SoundOal::~SoundOal() { deleteSource(); }

bool SoundOal::queueChunk(int32_t index)
{
    SoundBufferOal& chunk = resource->chunks[static_cast<size_t>(index)];
    ++chunk.refCount;
    if (!chunk.uploaded)
        chunk.upload();
    alSourceQueueBuffers(source, 1, &chunk.buffer);
    if (checkOpenALError("sound_oal", __LINE__)) {
        chunk.release();
        return false;
    }
    mQueued.push_back(index);
    return true;
}

void SoundOal::play()
{
    if (!created)
        return;
    reset();
    const int32_t count = static_cast<int32_t>(resource->chunks.size());
    if (count == 0)
        return;
    nextChunk = -1;
    for (int32_t i = 0; i < std::min(QUEUED_CHUNKS, count); ++i) {
        nextChunk = i;
        if (!queueChunk(i))
            return;
    }
    alSourcePlay(source);
    checkOpenALError("sound_oal", __LINE__);
    applyGain(volume);
}

void SoundOal::update()
{
    if (!created || stopped || resource->chunks.empty())
        return;
    ALint processed = 0;
    alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
    if (checkOpenALError("sound_oal", __LINE__))
        return;
    for (ALint i = 0; i < processed && !mQueued.empty(); ++i) {
        ALuint unqueued = 0;
        alSourceUnqueueBuffers(source, 1, &unqueued);
        if (checkOpenALError("sound_oal", __LINE__))
            return;
        const int32_t index = mQueued.front();
        mQueued.pop_front();
        resource->chunks[static_cast<size_t>(index)].release();
    }

    const int32_t count = static_cast<int32_t>(resource->chunks.size());
    while (static_cast<int>(mQueued.size()) < QUEUED_CHUNKS) {
        const int32_t next = nextChunk + 1;
        if (!resource->looped && next >= count)
            break;  // the sound runs out
        nextChunk = next % count;
        if (!queueChunk(nextChunk))
            break;
    }

    ALint state = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    checkOpenALError("sound_oal", __LINE__);
    if (state != AL_PLAYING && !mQueued.empty()) {
        // It starved between two frames: start it again.
        alSourcePlay(source);
        checkOpenALError("sound_oal", __LINE__);
    }
}

bool SoundOal::isPlaying() const
{
    if (!created || stopped)
        return false;
    if (resource->looped)
        return true;
    ALint state = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    checkOpenALError("sound_oal", __LINE__);
    return state == AL_PLAYING || !mQueued.empty();
}

void SoundOal::reset()
{
    if (!created)
        return;
    ALint state = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    checkOpenALError("sound_oal", __LINE__);
    if (state == AL_PLAYING || state == AL_PAUSED) {
        alSourceStop(source);
        checkOpenALError("sound_oal", __LINE__);
    }
    // A stopped source counts every buffer processed; detaching them all
    // empties the queue in one step.
    alSourcei(source, AL_BUFFER, 0);
    if (checkOpenALError("sound_oal", __LINE__))
        return;
    nextChunk = -1;
    for (int32_t index : mQueued)
        resource->chunks[static_cast<size_t>(index)].release();
    mQueued.clear();
}

void SoundOal::deleteSource()
{
    if (!created)
        return;
    reset();
    stopped = 1;
    alDeleteSources(1, &source);
    checkOpenALError("sound_oal", __LINE__);
    created = 0;
}

void SoundOal::applyGain(float ownVolume)
{
    if (!created)
        return;
    SoundManager* manager = SoundManager::instance();
    std::lock_guard<std::recursive_mutex> lock(manager->mutex());
    volume = ownVolume;
    const float active = applicationIsActive() ? 1.0f : 0.0f;
    float gain = active * manager->groupVolume(resource->group) * resource->volume * ownVolume;
    gain = gain > 0.0f ? std::min(gain, 1.0f) : 0.0f;
    alSourcef(source, AL_GAIN, gain);
    checkOpenALError("sound_oal", __LINE__);
}

}  // namespace VQ
