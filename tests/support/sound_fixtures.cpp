#include "support/sound_fixtures.h"

#include <cmath>
#include <cstdlib>

#include "vorbis_writer.h"

namespace TestSupport {

std::vector<char> makeToneOgg(int frames, int channels, int rate, float frequency, float amplitude)
{
    std::vector<float> samples(static_cast<size_t>(frames) * static_cast<size_t>(channels));
    for (int i = 0; i < frames; ++i) {
        const float value =
            amplitude * std::sin(2.0f * 3.14159265f * frequency * static_cast<float>(i) / static_cast<float>(rate));
        for (int c = 0; c < channels; ++c)
            samples[static_cast<size_t>(i) * static_cast<size_t>(channels) + static_cast<size_t>(c)] = value;
    }
    const std::vector<uint8_t> bytes = SoundGen::encodeOggVorbis(samples, channels, rate, 0.4f);
    return std::vector<char>(bytes.begin(), bytes.end());
}

void useSilentAudioDevice() { setenv("ALSOFT_DRIVERS", "null", 0); }

}  // namespace TestSupport
