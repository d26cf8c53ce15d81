#pragma once
// A registered sound: its Ogg Vorbis file, the chunk table its sounds stream
// from, and the playing parameters of its registration.

#include <cstdint>
#include <string>
#include <vector>

#include "sound_system/ogg_sound_file.h"
#include "sound_system/sound_buffer_oal.h"

namespace VQ {

// The registration record, mostly read from the "SoundResources" table.
struct SoundDescription {
    std::string filename;  // resource name in package "default"
    int32_t group = 0;     // 0 effects, 1 and 2 music
    float volume = 1.0f;
    int32_t looped = 0;  // non-zero: loops
    uint32_t priority = 0;
};

class SoundResource {
public:
    explicit SoundResource(const SoundDescription& description);
    SoundResource(const SoundResource&) = delete;
    SoundResource& operator=(const SoundResource&) = delete;

    // Reads the file by resource name and cuts it into chunks. A missing file
    // leaves a resource without audio.
    void load(const std::string& name);
    // The same from the bytes of a whole file.
    void loadFromMemory(std::vector<char> bytes, const std::string& name);

    OggSoundFile file;
    std::vector<SoundBufferOal> chunks;
    int32_t group;
    float volume;
    int32_t looped;
    uint32_t priority;
    int32_t refCount = 0;

private:
    void buildChunks();
};

}  // namespace VQ
