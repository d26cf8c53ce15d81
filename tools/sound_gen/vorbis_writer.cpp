#include "vorbis_writer.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstdio>

namespace SoundGen {

namespace {

void appendPage(std::vector<uint8_t>& out, const ogg_page& page)
{
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

// Moves every finished block through the encoder into pages.
void drainEncoder(vorbis_dsp_state& dsp, vorbis_block& block, ogg_stream_state& stream, std::vector<uint8_t>& out)
{
    ogg_packet packet;
    ogg_page page;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
            ogg_stream_packetin(&stream, &packet);
            while (ogg_stream_pageout(&stream, &page))
                appendPage(out, page);
        }
    }
}

}  // namespace

std::vector<uint8_t> encodeOggVorbis(const std::vector<float>& interleaved, int channels, int rate, float quality)
{
    std::vector<uint8_t> out;
    if (channels < 1 || rate < 1)
        return out;

    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) {
        vorbis_info_clear(&info);
        return out;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "ENCODER", "lanterra sound_gen");

    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);

    ogg_stream_state stream;
    ogg_stream_init(&stream, 0x4c414e54);

    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    // The audio must start on a fresh page.
    while (ogg_stream_flush(&stream, &page))
        appendPage(out, page);

    const size_t frames = interleaved.size() / static_cast<size_t>(channels);
    const size_t step = 4096;
    for (size_t first = 0; first < frames; first += step) {
        const size_t count = std::min(step, frames - first);
        float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
        for (size_t i = 0; i < count; ++i)
            for (int c = 0; c < channels; ++c)
                buffer[c][i] = interleaved[(first + i) * static_cast<size_t>(channels) + static_cast<size_t>(c)];
        vorbis_analysis_wrote(&dsp, static_cast<int>(count));
        drainEncoder(dsp, block, stream, out);
    }
    vorbis_analysis_wrote(&dsp, 0);
    drainEncoder(dsp, block, stream, out);
    while (ogg_stream_flush(&stream, &page))
        appendPage(out, page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool whole = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && whole;
}

}  // namespace SoundGen
