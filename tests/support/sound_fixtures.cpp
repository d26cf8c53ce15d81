#include "support/sound_fixtures.h"

#include <cmath>
#include <cstdlib>

#include "log_system.h"
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

ScopedLogFolder::ScopedLogFolder() : mOldCwd(std::filesystem::current_path())
{
    std::filesystem::current_path(mDir.path());
    mLog = new VQ::LogSystem();
}

ScopedLogFolder::~ScopedLogFolder()
{
    delete mLog;
    std::filesystem::current_path(mOldCwd);
}

std::vector<std::string> ScopedLogFolder::lines() const
{
    std::vector<std::string> out;
    for (const std::string& line : splitLines(readFile(mDir.file("VQ.log"))))
        out.push_back(stripLogPrefix(line));
    return out;
}

}  // namespace TestSupport
