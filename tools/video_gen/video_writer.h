#pragma once
// Ogg Theora encoding of frames drawn by our own code, for the video
// generator and for clips made at run time by tests, the capture driver, the
// fuzz seeds and the benchmark.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace VideoGen {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};

// Pixel formats as the stream's header numbers them.
enum PixelFormat : int { PF_420 = 0, PF_422 = 2, PF_444 = 3 };

struct Clip {
    // The encoded frame; Theora wants multiples of 16. The picture is the
    // whole frame.
    uint32_t width = 64;
    uint32_t height = 48;
    uint32_t fpsNumerator = 25;
    uint32_t fpsDenominator = 1;
    uint32_t frames = 50;
    int pixelFormat = PF_420;
    int colorspace = 0;  // 0 unspecified, 1 Rec 470M, 2 Rec 470BG
    int quality = 48;    // 0 .. 63
    std::vector<std::string> comments;
    // The packet of this frame gets its first bit set, which marks a header
    // packet where frame data is due: a decoder refuses it as a bad packet.
    // The page around it stays valid. -1 for none.
    int damagedFrame = -1;
    // The colour of pixel (x, y) of frame `frame`.
    std::function<Rgb(uint32_t frame, uint32_t x, uint32_t y)> pixel;
};

// The clip as one Ogg Theora stream (fixed serial number: the same clip
// always gives the same bytes); empty when the encoder refuses the settings.
std::vector<uint8_t> encodeTheora(const Clip& clip);

// The YCbCr the encoder is given for a colour: the inverse of the engine's
// conversion (Y as it is, Cb and Cr centred on 128 with the factors 226/128
// and 175/128), so a decoded clip shows the colours it was drawn with.
void rgbToYuv(const Rgb& c, uint8_t& y, uint8_t& u, uint8_t& v);

// Drawn pictures.
// Vertical bars of equal width in the given colours.
Rgb colourBars(const std::vector<Rgb>& colours, uint32_t width, uint32_t x);
// The night scene of the sample clips: an indigo sky darkening upwards, a
// dark wooden ground with a brass rim, and a lantern that crosses the
// picture over the clip, its amber glow fading out from a gold core.
Rgb lanternScene(uint32_t frame, uint32_t frames, uint32_t x, uint32_t y, uint32_t width, uint32_t height);

// The bar colours of the colour test clip: the palette's lantern amber,
// gold, parchment, indigo, dark wood and brass.
const std::vector<Rgb>& paletteBars();

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace VideoGen
