// What the mixer really plays, through OpenAL's wave-file driver in a child
// process (the driver is chosen when OpenAL starts, once per process).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "support/sound_fixtures.h"
#include "support/test_support.h"

using namespace TestSupport;
using testing::HasSubstr;

namespace {

// The left channel of a 16-bit PCM WAV file.
std::vector<int16_t> leftChannel(const std::string& wav)
{
    std::vector<int16_t> left;
    if (wav.size() < 12 || wav.compare(0, 4, "RIFF") != 0 || wav.compare(8, 4, "WAVE") != 0)
        return left;
    int channels = 0;
    int bits = 0;
    size_t at = 12;
    while (at + 8 <= wav.size()) {
        uint32_t size = 0;
        std::memcpy(&size, wav.data() + at + 4, 4);
        const std::string id = wav.substr(at, 4);
        const size_t body = at + 8;
        if (id == "fmt ") {
            uint16_t value = 0;
            std::memcpy(&value, wav.data() + body + 2, 2);
            channels = value;
            std::memcpy(&value, wav.data() + body + 14, 2);
            bits = value;
        } else if (id == "data" && channels > 0 && bits == 16) {
            const size_t bytes = std::min<size_t>(size, wav.size() - body);
            const size_t frameBytes = static_cast<size_t>(channels) * 2;
            for (size_t frame = 0; frame + frameBytes <= bytes; frame += frameBytes) {
                int16_t sample = 0;
                std::memcpy(&sample, wav.data() + body + frame, 2);
                left.push_back(sample);
            }
            return left;
        }
        at = body + size + (size & 1);
    }
    return left;
}

struct Played {
    std::string output;
    std::vector<int16_t> left;
};

Played playThroughWaveDriver(const TempDir& dir, float groupVolume)
{
    // One second of a 440 Hz tone: six chunks at 44100 samples a second.
    writeFile(dir.file("tone.ogg"), [] {
        const std::vector<char> bytes = makeToneOgg(44100, 1, 44100, 440.0f, 0.5f);
        return std::string(bytes.begin(), bytes.end());
    }());
    writeFile(dir.file("alsoft.conf"), "[general]\ndrivers = wave\nsample-type = int16\nchannels = stereo\n"
                                       "frequency = 44100\n[wave]\nfile = " +
                                           dir.file("out.wav") + "\n");
    const ProcessResult result =
        runTestProgram("sound_output_program", {dir.file("tone.ogg"), std::to_string(groupVolume)}, dir.path(),
                       {{"ALSOFT_DRIVERS", "wave"}, {"ALSOFT_CONF", dir.file("alsoft.conf")}});
    EXPECT_TRUE(result.exited && result.exitCode == 0) << result.output;
    return Played{result.output, leftChannel(readFile(dir.file("out.wav")))};
}

}  // namespace

TEST(SoundOutput, AToneIsPlayedAtItsPitchAndItsGroupVolumeSilencesIt)
{
    TempDir dir;
    const Played played = playThroughWaveDriver(dir, 1.0f);
    EXPECT_THAT(played.output, HasSubstr("ready 1 handle 1"));
    ASSERT_GT(played.left.size(), 44100u) << "the driver wrote too little";

    // The span where the tone sounds: from its first to its last loud sample.
    size_t first = 0, last = 0;
    double energy = 0.0;
    for (size_t i = 0; i < played.left.size(); ++i) {
        if (std::abs(played.left[i]) > 1000) {
            if (first == 0)
                first = i;
            last = i;
        }
    }
    ASSERT_GT(last, first + 22050) << "less than half a second of sound";
    int crossings = 0;
    for (size_t i = first + 1; i <= last; ++i) {
        energy += static_cast<double>(played.left[i]) * played.left[i];
        if ((played.left[i - 1] < 0) != (played.left[i] < 0))
            ++crossings;
    }
    const double seconds = static_cast<double>(last - first) / 44100.0;
    const double rms = std::sqrt(energy / static_cast<double>(last - first));
    EXPECT_GT(rms, 3000.0);
    EXPECT_NEAR(crossings / 2.0 / seconds, 440.0, 440.0 * 0.02);
    EXPECT_NEAR(seconds, 1.0, 0.05) << "the whole tone, once";

    TempDir silentDir;
    const Played silent = playThroughWaveDriver(silentDir, 0.0f);
    ASSERT_GT(silent.left.size(), 44100u);
    int peak = 0;
    for (int16_t sample : silent.left)
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    EXPECT_LE(peak, 2);
}

TEST(SoundOutput, WithoutADeviceTheManagerStaysInertAndTheGameRunsSilent)
{
    TempDir dir;
    writeFile(dir.file("tone.ogg"), [] {
        const std::vector<char> bytes = makeToneOgg(4000, 1, 44100);
        return std::string(bytes.begin(), bytes.end());
    }());
    const ProcessResult result =
        runTestProgram("sound_output_program", {dir.file("tone.ogg"), "1"}, dir.path(), {{"ALSOFT_DRIVERS", "none"}});
    EXPECT_TRUE(result.exited && result.exitCode == 0) << result.output;
    EXPECT_THAT(result.output, HasSubstr("ready 0 handle 0"));
    EXPECT_THAT(readFile(dir.file("VQ.log")), HasSubstr("ERROR: Failed to create AL Device"));
}
