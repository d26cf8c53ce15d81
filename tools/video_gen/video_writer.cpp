#include "video_writer.h"

#include <ogg/ogg.h>
#include <theora/theoraenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace VideoGen {

namespace {

// Fixed, so that the same clip always gives the same bytes.
constexpr int SERIAL_NUMBER = 0x4C414E54;

uint8_t clampByte(float v)
{
    return uint8_t(std::clamp(std::lround(v), 0L, 255L));
}

void appendPage(const ogg_page& page, std::vector<uint8_t>& out)
{
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

float mix(float a, float b, float t)
{
    return a + (b - a) * t;
}

Rgb mixRgb(const Rgb& a, const Rgb& b, float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return {clampByte(mix(a.r, b.r, t)), clampByte(mix(a.g, b.g, t)), clampByte(mix(a.b, b.b, t))};
}

// The encoder's planes for one frame, chroma averaged over each block.
struct Planes {
    uint32_t chromaWidth = 0, chromaHeight = 0;
    std::vector<uint8_t> y, u, v;
};

void drawFrame(const Clip& clip, uint32_t frame, Planes& planes)
{
    const uint32_t sx = clip.width / planes.chromaWidth;
    const uint32_t sy = clip.height / planes.chromaHeight;
    std::vector<uint32_t> uSum(planes.u.size(), 0), vSum(planes.v.size(), 0);
    for (uint32_t y = 0; y < clip.height; ++y)
        for (uint32_t x = 0; x < clip.width; ++x) {
            uint8_t ly, cu, cv;
            rgbToYuv(clip.pixel(frame, x, y), ly, cu, cv);
            planes.y[size_t(y) * clip.width + x] = ly;
            const size_t c = size_t(y / sy) * planes.chromaWidth + x / sx;
            uSum[c] += cu;
            vSum[c] += cv;
        }
    const uint32_t count = sx * sy;
    for (size_t i = 0; i < planes.u.size(); ++i) {
        planes.u[i] = uint8_t((uSum[i] + count / 2) / count);
        planes.v[i] = uint8_t((vSum[i] + count / 2) / count);
    }
}

}  // namespace

void rgbToYuv(const Rgb& c, uint8_t& y, uint8_t& u, uint8_t& v)
{
    const float luma = 0.299f * c.r + 0.587f * c.g + 0.114f * c.b;
    y = clampByte(luma);
    u = clampByte((c.b - luma) * 128.0f / 226.0f + 128.0f);
    v = clampByte((c.r - luma) * 128.0f / 175.0f + 128.0f);
}

std::vector<uint8_t> encodeTheora(const Clip& clip)
{
    std::vector<uint8_t> out;
    if (!clip.pixel || clip.width == 0 || clip.height == 0 || clip.width % 16 || clip.height % 16)
        return out;
    th_info info;
    th_info_init(&info);
    info.frame_width = clip.width;
    info.frame_height = clip.height;
    info.pic_width = clip.width;
    info.pic_height = clip.height;
    info.pic_x = 0;
    info.pic_y = 0;
    info.colorspace = th_colorspace(clip.colorspace);
    info.pixel_fmt = th_pixel_fmt(clip.pixelFormat);
    info.target_bitrate = 0;
    info.quality = clip.quality;
    info.fps_numerator = clip.fpsNumerator;
    info.fps_denominator = clip.fpsDenominator;
    info.aspect_numerator = 1;
    info.aspect_denominator = 1;
    info.keyframe_granule_shift = 6;
    th_enc_ctx* encoder = th_encode_alloc(&info);
    th_info_clear(&info);
    if (!encoder)
        return out;

    th_comment comments;
    th_comment_init(&comments);
    for (const std::string& text : clip.comments)
        th_comment_add(&comments, const_cast<char*>(text.c_str()));
    ogg_stream_state stream;
    ogg_stream_init(&stream, SERIAL_NUMBER);
    ogg_packet packet;
    ogg_page page;
    bool ok = true;
    // The identification header alone on the first page, as a decoder
    // looking for the stream's start expects.
    if (th_encode_flushheader(encoder, &comments, &packet) <= 0)
        ok = false;
    if (ok) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_flush(&stream, &page) > 0)
            appendPage(page, out);
        int result;
        while ((result = th_encode_flushheader(encoder, &comments, &packet)) > 0)
            ogg_stream_packetin(&stream, &packet);
        ok = result == 0;
        while (ogg_stream_flush(&stream, &page) > 0)
            appendPage(page, out);
    }

    Planes planes;
    planes.chromaWidth = clip.pixelFormat == PF_444 ? clip.width : clip.width / 2;
    planes.chromaHeight = clip.pixelFormat == PF_420 ? clip.height / 2 : clip.height;
    planes.y.resize(size_t(clip.width) * clip.height);
    planes.u.resize(size_t(planes.chromaWidth) * planes.chromaHeight);
    planes.v.resize(planes.u.size());
    std::vector<unsigned char> damaged;
    for (uint32_t frame = 0; ok && frame < clip.frames; ++frame) {
        drawFrame(clip, frame, planes);
        th_ycbcr_buffer buffer;
        buffer[0] = {int(clip.width), int(clip.height), int(clip.width), planes.y.data()};
        buffer[1] = {int(planes.chromaWidth), int(planes.chromaHeight), int(planes.chromaWidth), planes.u.data()};
        buffer[2] = {int(planes.chromaWidth), int(planes.chromaHeight), int(planes.chromaWidth), planes.v.data()};
        if (th_encode_ycbcr_in(encoder, buffer) != 0) {
            ok = false;
            break;
        }
        while (th_encode_packetout(encoder, frame + 1 == clip.frames, &packet) > 0) {
            if (int(frame) == clip.damagedFrame && packet.bytes > 0) {
                damaged.assign(packet.packet, packet.packet + packet.bytes);
                damaged[0] |= 0x80;
                packet.packet = damaged.data();
            }
            ogg_stream_packetin(&stream, &packet);
            while (ogg_stream_pageout(&stream, &page) > 0)
                appendPage(page, out);
        }
    }
    while (ok && ogg_stream_flush(&stream, &page) > 0)
        appendPage(page, out);

    ogg_stream_clear(&stream);
    th_comment_clear(&comments);
    th_encode_free(encoder);
    if (!ok)
        out.clear();
    return out;
}

Rgb colourBars(const std::vector<Rgb>& colours, uint32_t width, uint32_t x)
{
    if (colours.empty() || width == 0)
        return {};
    return colours[std::min<size_t>(size_t(x) * colours.size() / width, colours.size() - 1)];
}

const std::vector<Rgb>& paletteBars()
{
    static const std::vector<Rgb> bars = {
        {232, 150, 44},   // lantern amber
        {214, 180, 74},   // gold
        {226, 208, 168},  // parchment
        {52, 44, 120},    // indigo
        {92, 58, 36},     // dark wood
        {176, 140, 70},   // brass
    };
    return bars;
}

Rgb lanternScene(uint32_t frame, uint32_t frames, uint32_t x, uint32_t y, uint32_t width, uint32_t height)
{
    const float fx = float(x) / float(width);
    const float fy = float(y) / float(height);
    const float horizon = 0.72f;
    Rgb colour;
    if (fy < horizon) {
        // The night sky, deeper towards the top, with a few fixed stars.
        colour = mixRgb({18, 16, 52}, {58, 50, 118}, fy / horizon);
        const uint32_t hash = (x * 73856093u) ^ (y * 19349663u);
        if (hash % 997 == 0)
            colour = {220, 214, 190};
    } else {
        // Dark wooden ground with a brass rim along its top edge and grain.
        const float depth = (fy - horizon) / (1.0f - horizon);
        colour = mixRgb({96, 62, 38}, {54, 34, 22}, depth);
        if (depth < 0.06f)
            colour = mixRgb({196, 160, 84}, {140, 108, 52}, depth / 0.06f);
        else if (int(fx * 40.0f + std::sin(fy * 30.0f) * 2.0f) % 7 == 0)
            colour = mixRgb(colour, {40, 24, 14}, 0.5f);
    }
    // The lantern swings across on a low arc over the clip.
    const float t = frames > 1 ? float(frame) / float(frames - 1) : 0.0f;
    const float cx = 0.12f + 0.76f * t;
    const float cy = 0.38f + 0.12f * std::sin(t * 3.14159265f * 2.0f);
    const float aspect = float(width) / float(height);
    const float dx = (fx - cx) * aspect;
    const float dy = fy - cy;
    const float d = std::sqrt(dx * dx + dy * dy);
    const float glow = std::exp(-d * d / 0.012f);
    colour = mixRgb(colour, {236, 150, 40}, glow * 0.85f);
    if (d < 0.045f)
        colour = mixRgb({255, 236, 160}, {240, 196, 80}, d / 0.045f);
    // The lantern's frame: a dark ring outlining the glass.
    if (d >= 0.045f && d < 0.055f)
        colour = {60, 40, 24};
    return colour;
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

}  // namespace VideoGen
