#include "sound_system/ogg_sound_file.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

#include "file_system.h"
#include "log_system.h"

namespace VQ {

OggSoundFile::OggSoundFile() = default;

OggSoundFile::~OggSoundFile() { clear(); }

void OggSoundFile::clear()
{
    if (mStreamOpen)
        ov_clear(&mStream);
    mStreamOpen = false;
    mOpened = false;
    mData.clear();
    mName.clear();
    mPosition = 0;
    mChannels = 0;
    mRate = 0;
    mTotalFrames = 0;
}

bool OggSoundFile::load(const std::string& name)
{
    clear();
    std::vector<char> bytes;
    if (!loadWholeResource("default", name, bytes)) {
        log(formatString("WARNING. Sound not found %s", name.c_str()));
        return false;
    }
    open(std::move(bytes), name);
    return true;
}

void OggSoundFile::open(std::vector<char> bytes, const std::string& name)
{
    clear();
    mData = std::move(bytes);
    mName = name;
    mPosition = 0;
    mOpened = true;

    const ov_callbacks callbacks = {readCallback, seekCallback, closeCallback, tellCallback};
    if (ov_open_callbacks(this, &mStream, nullptr, 0, callbacks) != 0) {
        std::memset(&mStream, 0, sizeof(mStream));
        log(formatString("WARNING: Sound %s is not an Ogg Vorbis file; it plays as silence", name.c_str()));
        return;
    }
    mStreamOpen = true;

    const vorbis_info* info = ov_info(&mStream, -1);
    if (!info)
        return;
    mChannels = info->channels;
    mRate = static_cast<int>(info->rate);
    // Every logical stream must fit the chunk buffer, not only the first.
    int widest = mChannels;
    for (long link = 0; link < ov_streams(&mStream); ++link)
        if (const vorbis_info* linkInfo = ov_info(&mStream, static_cast<int>(link)))
            widest = std::max(widest, linkInfo->channels);
    if (widest > MAX_CHANNELS || mChannels < 1) {
        log(formatString("WARNING: Sound %s has %i channels; only mono and stereo sounds are played", name.c_str(),
                         widest));
        return;
    }
    if (ov_seekable(&mStream)) {
        const ogg_int64_t total = ov_pcm_total(&mStream, -1);
        if (total > 0)
            mTotalFrames = static_cast<uint32_t>(
                std::min<ogg_int64_t>(total, std::numeric_limits<uint32_t>::max()));
    }
}

uint32_t OggSoundFile::decode(uint32_t startFrame, char* destination, uint32_t frameCount)
{
    if (!mStreamOpen || mChannels < 1 || mChannels > MAX_CHANNELS)
        return 0;
    const int seek = ov_pcm_seek(&mStream, static_cast<ogg_int64_t>(startFrame));
    if (seek != 0) {
        refuseDamagedStream(seek);
        return 0;
    }
    const uint32_t wanted = frameCount * static_cast<uint32_t>(mChannels) * 2u;
    uint32_t done = 0;
    int bitstream = 0;
    while (done < wanted) {
        const int room = static_cast<int>(std::min<uint32_t>(wanted - done, 1u << 20));
        const long got = ov_read(&mStream, destination + done, room, 0, 2, 1, &bitstream);
        if (got < 0 && got != OV_HOLE)
            refuseDamagedStream(static_cast<int>(got));
        if (got <= 0)
            break;
        done += static_cast<uint32_t>(got);
    }
    return done;
}

void OggSoundFile::refuseDamagedStream(int error)
{
    // A failed decoder set-up (a damaged codebook, say) must not be retried:
    // libvorbis keeps the half-built codebooks, and the next attempt divides
    // by a dimension of zero.
    log(formatString("WARNING: Sound %s cannot be decoded (vorbisfile error %i); it plays as silence", mName.c_str(),
                     error));
    ov_clear(&mStream);
    std::memset(&mStream, 0, sizeof(mStream));
    mStreamOpen = false;
}

size_t OggSoundFile::readCallback(void* destination, size_t size, size_t count, void* source)
{
    auto* file = static_cast<OggSoundFile*>(source);
    if (!file || !destination || file->mData.empty() || size == 0 || count == 0)
        return 0;
    const size_t left = file->mData.size() - file->mPosition;
    const size_t items = std::min(count, left / size);
    std::memcpy(destination, file->mData.data() + file->mPosition, items * size);
    file->mPosition += items * size;
    return items;
}

int OggSoundFile::seekCallback(void* source, ogg_int64_t offset, int origin)
{
    auto* file = static_cast<OggSoundFile*>(source);
    if (!file)
        return -1;
    const ogg_int64_t size = static_cast<ogg_int64_t>(file->mData.size());
    ogg_int64_t base;
    switch (origin) {
    case SEEK_SET:
        base = 0;
        break;
    case SEEK_CUR:
        base = static_cast<ogg_int64_t>(file->mPosition);
        break;
    case SEEK_END:
        base = size;
        break;
    default:
        return -1;
    }
    // Offsets come from the decoder reading untrusted data: keep the sum from
    // overflowing before the range check.
    if ((offset > 0 && base > std::numeric_limits<ogg_int64_t>::max() - offset) ||
        (offset < 0 && base < std::numeric_limits<ogg_int64_t>::min() - offset))
        return -1;
    const ogg_int64_t target = base + offset;
    if (target < 0 || target > size)
        return -1;
    file->mPosition = static_cast<size_t>(target);
    return 0;
}

int OggSoundFile::closeCallback(void* source) { return source ? 0 : -1; }

long OggSoundFile::tellCallback(void* source)
{
    auto* file = static_cast<OggSoundFile*>(source);
    return file ? static_cast<long>(file->mPosition) : -1;
}

}  // namespace VQ
