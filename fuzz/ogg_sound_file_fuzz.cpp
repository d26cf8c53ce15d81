// Feeds arbitrary bytes to the Ogg Vorbis loading path: the memory-file
// callbacks under vorbisfile, the chunk table, and decoding of the first two
// chunks and the last one (what a sound's first frames and its end decode).
// Page checksums are repaired first, so mutations reach the decoder.
// Seeds: the shipped sounds, media/sounds/*.ogg (fuzz/run.sh). Give the
// corpus folder as an absolute path: the target works in a scratch folder.

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "sound_system/sound_resource.h"

// libvorbisfile 1.3.7 loses a few bytes on an error path of
// ov_open_callbacks (a damaged file it refuses with OV_EREAD): the system
// library's leak, which our code cannot free. The price: a leak whose stack
// passes through vorbisfile is not reported here (a stream we fail to close,
// for one).
extern "C" const char* __lsan_default_suppressions() { return "leak:libvorbisfile.so\n"; }

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::enterScratchFolder("ogg_sound_file_fuzz");
    FuzzSupport::startSilentLog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> input(data, data + size);
    FuzzSupport::repairOggPages(input);
    VQ::SoundResource resource(VQ::SoundDescription{"fuzz_sound", 0, 1.0f, 0, 0});
    resource.loadFromMemory(std::vector<char>(input.begin(), input.end()), "fuzz_sound");
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
