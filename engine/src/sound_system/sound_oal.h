#pragma once
// One playing sound: an OpenAL source fed with its resource's chunks, two at
// a time, and requeued from the first chunk when the resource loops.

#include <AL/al.h>

#include <cstdint>
#include <deque>

namespace VQ {

class SoundResource;

class SoundOal {
public:
    // At most this many chunks are queued on a source at once.
    static constexpr int QUEUED_CHUNKS = 2;

    explicit SoundOal(SoundResource* resource);
    ~SoundOal();
    SoundOal(const SoundOal&) = delete;
    SoundOal& operator=(const SoundOal&) = delete;

    void play();
    // The streaming service, once a frame while the sound lives.
    void update();
    bool isPlaying() const;
    // Stops the source and gives back every chunk it had queued.
    void reset();
    void deleteSource();
    // Sets the sound's own volume and the source's gain from it.
    void applyGain(float ownVolume);

    ALuint source = 0;
    SoundResource* resource = nullptr;
    int32_t nextChunk = -1;
    float volume = 1.0f;
    uint8_t stopped = 0;
    uint8_t created = 0;
    int32_t age = 0;
    // Game seconds left on the sound manager's game clock (infinite for a
    // looped sound); negative for a sound the device plays.
    float gameSecondsLeft = -1.0f;
    bool onGameClock() const { return gameSecondsLeft >= 0.0f; }

private:
    bool queueChunk(int32_t index);

    // The chunk indices in the order they sit in the source's queue.
    std::deque<int32_t> mQueued;
};

}  // namespace VQ
