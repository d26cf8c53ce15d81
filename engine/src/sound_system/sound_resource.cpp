#include "sound_system/sound_resource.h"

namespace VQ {

SoundResource::SoundResource(const SoundDescription& description)
    : group(description.group),
      volume(description.volume),
      looped(description.looped),
      priority(description.priority)
{
}

void SoundResource::load(const std::string& name)
{
    file.load(name);
    buildChunks();
}

void SoundResource::loadFromMemory(std::vector<char> bytes, const std::string& name)
{
    file.open(std::move(bytes), name);
    buildChunks();
}

void SoundResource::buildChunks()
{
    chunks.clear();
    const uint32_t total = file.totalFrames();
    const uint32_t count = total / SoundBufferOal::CHUNK_FRAMES + (total % SoundBufferOal::CHUNK_FRAMES ? 1 : 0);
    chunks.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t start = i * SoundBufferOal::CHUNK_FRAMES;
        chunks.emplace_back(&file, start, std::min(SoundBufferOal::CHUNK_FRAMES, total - start));
    }
}

}  // namespace VQ
