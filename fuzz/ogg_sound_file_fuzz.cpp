// Feeds arbitrary bytes to the Ogg Vorbis loading path: the memory-file
// callbacks under vorbisfile, the chunk table, and decoding of the first two
// chunks and the last one (what a sound's first frames and its end decode).
// Seeds: media/sounds/*.ogg. Give the corpus folder as an absolute path: the
// target moves into a temporary folder for its log.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "log_system.h"
#include "sound_system/sound_resource.h"

namespace {

void startLog()
{
    // Warnings go to a "VQ.log" in a folder of its own.
    char folder[] = "/tmp/ogg_sound_file_fuzz.XXXXXX";
    if (mkdtemp(folder) && chdir(folder) == 0)
        new VQ::LogSystem();
    else
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool started = (startLog(), true);
    (void)started;

    VQ::SoundResource resource(VQ::SoundDescription{"fuzz_sound", 0, 1.0f, 0, 0});
    resource.loadFromMemory(std::vector<char>(data, data + size), "fuzz_sound");
    std::vector<char> buffer(VQ::SoundBufferOal::CHUNK_BYTES);
    const size_t count = resource.chunks.size();
    std::set<size_t> wanted = {0, 1, count - 1};
    for (size_t index : wanted) {
        if (index >= count)
            continue;
        const VQ::SoundBufferOal& chunk = resource.chunks[index];
        const uint32_t bytes = resource.file.decode(chunk.startFrame, buffer.data(), chunk.frameCount);
        if (bytes > VQ::SoundBufferOal::CHUNK_BYTES)
            std::abort();
    }
    return 0;
}
