// Writes the project's sample clips into the folder given on the command
// line: "lantern.ogv" (the night scene with a lantern crossing it, 320 x 192
// at 25 frames a second for 3 s) with its sound track "lantern_track.ogg", and
// "bars.ogv" (the palette's colour bars, 64 x 48, 1 s). With --small the
// clips are a few frames only (the fuzz seeds). The output is the same on
// every run. No clip is kept in the repository: tests and drivers make
// theirs at run time through the same writer.
//
// Usage: video_gen [--small] FOLDER

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "video_writer.h"
#include "vorbis_writer.h"

namespace {

bool write(const std::string& path, const std::vector<uint8_t>& bytes)
{
    if (bytes.empty() || !VideoGen::writeBytes(path, bytes)) {
        fprintf(stderr, "video_gen: cannot write %s\n", path.c_str());
        return false;
    }
    printf("%s (%zu bytes)\n", path.c_str(), bytes.size());
    return true;
}

// A soft two-note hum under the lantern's walk, as long as the clip.
std::vector<float> lanternTrack(float seconds, int rate)
{
    std::vector<float> out(size_t(seconds * float(rate)));
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = float(i) / float(rate);
        const float envelope = std::min(1.0f, t * 4.0f) * std::min(1.0f, (seconds - t) * 4.0f);
        out[i] = 0.25f * envelope * (std::sin(2.0f * 3.14159265f * 220.0f * t) +
                                     0.5f * std::sin(2.0f * 3.14159265f * 330.0f * t));
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    bool small = false;
    std::string folder;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--small") == 0)
            small = true;
        else
            folder = argv[i];
    }
    if (folder.empty()) {
        fprintf(stderr, "usage: video_gen [--small] FOLDER\n");
        return 2;
    }
    std::filesystem::create_directories(folder);

    VideoGen::Clip lantern;
    lantern.width = small ? 64 : 320;
    lantern.height = small ? 48 : 192;
    lantern.frames = small ? 4 : 75;
    lantern.colorspace = 2;
    lantern.comments = {"TITLE=Lantern", "ARTIST=Lanterra"};
    const uint32_t frames = lantern.frames;
    const uint32_t w = lantern.width, h = lantern.height;
    lantern.pixel = [=](uint32_t frame, uint32_t x, uint32_t y) {
        return VideoGen::lanternScene(frame, frames, x, y, w, h);
    };
    bool ok = write(folder + "/lantern.ogv", VideoGen::encodeTheora(lantern));

    VideoGen::Clip bars;
    bars.frames = small ? 2 : 25;
    bars.quality = 63;
    bars.pixel = [](uint32_t, uint32_t x, uint32_t) { return VideoGen::colourBars(VideoGen::paletteBars(), 64, x); };
    ok = write(folder + "/bars.ogv", VideoGen::encodeTheora(bars)) && ok;

    if (small) {
        VideoGen::Clip full = bars;
        full.pixelFormat = VideoGen::PF_444;
        ok = write(folder + "/bars_444.ogv", VideoGen::encodeTheora(full)) && ok;
    } else {
        const int rate = 22050;
        ok = write(folder + "/lantern_track.ogg",
                   SoundGen::encodeOggVorbis(lanternTrack(3.0f, rate), 1, rate, 0.2f)) &&
             ok;
    }
    return ok ? 0 : 1;
}
