// Synthesises the game's sounds (tones, noise bursts and a short music loop)
// and writes them as Ogg Vorbis files into the folder given on the command
// line (the repository's media/sounds). The output is reproducible: the noise
// comes from a fixed-seed generator and the encoder's serial number is fixed.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "vorbis_writer.h"

namespace {

constexpr float PI = 3.14159265358979f;

// A small deterministic noise source, so that every run writes the same files.
class Noise {
public:
    float next()
    {
        mState = mState * 1664525u + 1013904223u;
        return static_cast<float>(mState >> 8) / static_cast<float>(1u << 23) - 1.0f;
    }

private:
    uint32_t mState = 12345u;
};

float noteFrequency(int semitonesFromA4) { return 440.0f * std::pow(2.0f, static_cast<float>(semitonesFromA4) / 12.0f); }

// A bell-like tone: a few decaying partials with a short attack.
float bell(float t, float freq, float decay)
{
    if (t < 0.0f)
        return 0.0f;
    const float attack = std::min(1.0f, t / 0.004f);
    const float env = attack * std::exp(-t * decay);
    return env * (0.6f * std::sin(2 * PI * freq * t) + 0.25f * std::sin(2 * PI * freq * 2.0f * t) +
                  0.1f * std::sin(2 * PI * freq * 3.01f * t));
}

// Keeps the peak at `peak` so that every sound sits at a similar level.
void normalise(std::vector<float>& samples, float peak)
{
    float max = 0.0f;
    for (float s : samples)
        max = std::max(max, std::fabs(s));
    if (max <= 0.0f)
        return;
    for (float& s : samples)
        s *= peak / max;
}

std::vector<float> click(int rate)
{
    std::vector<float> out(static_cast<size_t>(rate * 0.045f));
    Noise noise;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(rate);
        out[i] = std::exp(-t * 160.0f) * (std::sin(2 * PI * 1800.0f * t) + 0.3f * noise.next());
    }
    normalise(out, 0.7f);
    return out;
}

std::vector<float> chipDestroy(int rate)
{
    std::vector<float> out(static_cast<size_t>(rate * 0.35f));
    float phase = 0.0f;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(rate);
        // A pop that falls in pitch, with a bright sparkle on top.
        const float freq = 1300.0f * std::exp(-t * 5.0f) + 400.0f;
        phase += 2 * PI * freq / static_cast<float>(rate);
        out[i] = std::exp(-t * 11.0f) * std::sin(phase) + 0.4f * bell(t - 0.03f, 2637.0f, 18.0f);
    }
    normalise(out, 0.6f);
    return out;
}

std::vector<float> tileDestroy(int rate)
{
    std::vector<float> out(static_cast<size_t>(rate * 0.4f));
    Noise noise;
    float low = 0.0f;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(rate);
        // Crunching stone: low-passed noise with a grainy tremolo and a thud.
        low += 0.25f * (noise.next() - low);
        const float grain = 0.6f + 0.4f * std::sin(2 * PI * 37.0f * t);
        out[i] = std::exp(-t * 9.0f) * low * grain + std::exp(-t * 20.0f) * 0.5f * std::sin(2 * PI * 140.0f * t);
    }
    normalise(out, 0.6f);
    return out;
}

std::vector<float> bomb(int rate)
{
    std::vector<float> out(static_cast<size_t>(rate * 1.1f));
    Noise noise;
    float low = 0.0f;
    float phase = 0.0f;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(rate);
        const float cutoff = 0.03f + 0.3f * std::exp(-t * 6.0f);
        low += cutoff * (noise.next() - low);
        const float freq = 90.0f * std::exp(-t * 2.5f) + 35.0f;
        phase += 2 * PI * freq / static_cast<float>(rate);
        const float attack = std::min(1.0f, t / 0.003f);
        out[i] = attack * (std::exp(-t * 3.5f) * low * 2.5f + std::exp(-t * 5.0f) * std::sin(phase));
    }
    normalise(out, 0.8f);
    return out;
}

// Notes as semitones from A4 with their start times.
struct Note {
    float start;
    int semitone;
};

std::vector<float> melody(int rate, float length, const std::vector<Note>& notes, float decay)
{
    std::vector<float> out(static_cast<size_t>(rate * length));
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(rate);
        for (const Note& n : notes)
            out[i] += bell(t - n.start, noteFrequency(n.semitone), decay);
    }
    normalise(out, 0.6f);
    return out;
}

std::vector<float> levelWin(int rate)
{
    // A rising major arpeggio ending on a held chord.
    return melody(rate, 1.8f,
                  {{0.0f, 3}, {0.12f, 7}, {0.24f, 10}, {0.36f, 15}, {0.6f, 3}, {0.6f, 7}, {0.6f, 10}, {0.6f, 15}},
                  3.0f);
}

std::vector<float> levelLose(int rate)
{
    // A slow falling minor line.
    return melody(rate, 1.8f, {{0.0f, 3}, {0.3f, -2}, {0.6f, -6}, {0.9f, -9}, {0.9f, -21}}, 2.2f);
}

std::vector<float> dialogShow(int rate)
{
    // A short, soft two-note chime as a window opens, over before the window
    // has finished opening (a third of a second).
    return melody(rate, 0.3f, {{0.0f, 12}, {0.06f, 19}}, 14.0f);
}

// A rising shimmer as a "+N" flies to its panel (0.4 s): bell notes climbing
// a pentatonic run over a soft noise sparkle that swells and fades.
std::vector<float> flightShimmer(int rate)
{
    std::vector<float> out = melody(rate, 0.45f, {{0.0f, 7}, {0.05f, 9}, {0.1f, 12}, {0.15f, 14}, {0.2f, 16},
                                                  {0.25f, 19}, {0.3f, 21}}, 18.0f);
    Noise noise;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(rate);
        const float swell = std::sin(PI * std::min(t / 0.45f, 1.0f));
        out[i] += 0.08f * swell * noise.next() * std::sin(2 * PI * 3520.0f * t);
    }
    normalise(out, 0.8f);
    return out;
}

// Chips sliding together into a bonus chip (0.3 s): a rising filtered
// swoosh that lands on a bright two-note chime.
std::vector<float> fusionChip(int rate)
{
    std::vector<float> out(static_cast<size_t>(rate * 0.6f));
    Noise noise;
    float band = 0.0f;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(rate);
        const float rise = std::min(t / 0.28f, 1.0f);
        band += (0.05f + 0.3f * rise) * (noise.next() - band);
        const float swoosh = t < 0.3f ? std::sin(PI * rise) * band * 0.8f : 0.0f;
        out[i] = swoosh + bell(t - 0.27f, noteFrequency(15), 9.0f) + 0.7f * bell(t - 0.3f, noteFrequency(22), 9.0f);
    }
    normalise(out, 0.7f);
    return out;
}

// A comet falling down a column (1 s): a whistle that drops in pitch over
// rushing noise, ending in a low rumble.
std::vector<float> cometBonus(int rate)
{
    std::vector<float> out(static_cast<size_t>(rate * 1.2f));
    Noise noise;
    float low = 0.0f;
    float phase = 0.0f;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(rate);
        low += 0.12f * (noise.next() - low);
        const float freq = 2200.0f * std::exp(-t * 2.2f) + 180.0f;
        phase += 2 * PI * freq / static_cast<float>(rate);
        const float whistle = std::min(1.0f, t / 0.05f) * std::exp(-t * 1.5f) * 0.35f * std::sin(phase);
        const float rush = std::sin(PI * std::min(t / 0.8f, 1.0f)) * low;
        const float rumble = t > 0.7f ? std::exp(-(t - 0.7f) * 6.0f) * std::sin(2 * PI * 60.0f * t) : 0.0f;
        out[i] = whistle + rush + 0.6f * rumble;
    }
    normalise(out, 0.7f);
    return out;
}

// A lightning stroke (0.6 s): a sharp crackle of clipped noise bursts and
// a falling buzz under it.
std::vector<float> lightBonus(int rate)
{
    std::vector<float> out(static_cast<size_t>(rate * 0.6f));
    Noise noise;
    float phase = 0.0f;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(rate);
        const float n = noise.next();
        const float crackle = std::fabs(n) > 0.85f ? n : 0.15f * n;
        const float freq = 320.0f * std::exp(-t * 3.0f) + 70.0f;
        phase += 2 * PI * freq / static_cast<float>(rate);
        const float buzz = std::sin(phase) > 0.0f ? 0.3f : -0.3f;
        out[i] = std::min(1.0f, t / 0.002f) * std::exp(-t * 7.0f) * (crackle + buzz);
    }
    normalise(out, 0.7f);
    return out;
}

// What a music loop is made of: tempo, two-bar chords (roots in semitones
// from A4 and their triads) and the tune's scale steps, one a beat.
struct LoopScore {
    float beatsPerMinute;
    int roots[4];
    int triads[4][3];
    int scale[7];
    int pattern[32];
};

// An 8-bar loop: a soft pad, a bass and a tune. Everything is written modulo
// the loop length, so the tails of the last notes ring on into its start and
// the loop is seamless.
std::vector<float> musicLoop(int rate, const LoopScore& score)
{
    const float beat = 60.0f / score.beatsPerMinute;
    const int bars = 8;
    const size_t frames = static_cast<size_t>(static_cast<float>(rate) * beat * 4.0f * bars);
    std::vector<float> left(frames), right(frames);

    auto addTone = [&](float start, float duration, float freq, float gain, float pan, int kind) {
        const size_t first = static_cast<size_t>(start * static_cast<float>(rate));
        const size_t count = static_cast<size_t>((duration + 0.6f) * static_cast<float>(rate));
        for (size_t i = 0; i < count; ++i) {
            const float t = static_cast<float>(i) / static_cast<float>(rate);
            float env;
            if (kind == 0)  // pad: slow swell and release
                env = std::min(1.0f, t / 0.3f) * (t < duration ? 1.0f : std::exp(-(t - duration) * 8.0f));
            else  // plucked
                env = std::min(1.0f, t / 0.005f) * std::exp(-t * (kind == 1 ? 4.0f : 3.0f));
            float wave = std::sin(2 * PI * freq * t);
            if (kind == 0)
                wave = 0.7f * wave + 0.3f * std::sin(2 * PI * freq * 2.003f * t);
            else if (kind == 2)
                wave = 0.8f * wave + 0.2f * std::sin(2 * PI * freq * 3.0f * t);
            const float v = gain * env * wave;
            const size_t at = (first + i) % frames;
            left[at] += v * (1.0f - pan);
            right[at] += v * (1.0f + pan);
        }
    };

    const auto& roots = score.roots;
    const auto& triads = score.triads;
    for (int bar = 0; bar < bars; ++bar) {
        const int chord = (bar / 2) % 4;
        const float barStart = static_cast<float>(bar) * 4.0f * beat;
        if (bar % 2 == 0)
            for (int k = 0; k < 3; ++k)
                addTone(barStart, 8.0f * beat - 0.3f, noteFrequency(roots[chord] + triads[chord][k]), 0.10f,
                        (static_cast<float>(k) - 1.0f) * 0.4f, 0);
        for (int b = 0; b < 4; ++b)
            addTone(barStart + static_cast<float>(b) * beat, beat, noteFrequency(roots[chord] - 12), 0.22f, 0.0f, 1);
    }

    const auto& scale = score.scale;
    const auto& pattern = score.pattern;
    for (int i = 0; i < 32; ++i) {
        if (i % 8 == 7)
            continue;  // a breath at the end of each phrase
        const float start = static_cast<float>(i) * beat;
        addTone(start, beat, noteFrequency(scale[pattern[i]]), 0.16f, 0.3f, 2);
    }

    std::vector<float> out(frames * 2);
    float max = 0.0f;
    for (size_t i = 0; i < frames; ++i) {
        out[2 * i] = left[i];
        out[2 * i + 1] = right[i];
        max = std::max({max, std::fabs(left[i]), std::fabs(right[i])});
    }
    for (float& s : out)
        s *= 0.5f / max;
    return out;
}

// The meadow at dusk: 96 beats a minute, Am - F - C - G, A minor pentatonic.
const LoopScore DUSK_LOOP = {96.0f,
                             {-12, -16, -21, -14},
                             {{0, 3, 7}, {0, 4, 7}, {0, 4, 7}, {0, 4, 7}},
                             {0, 3, 5, 7, 10, 12, 15},
                             {4, 3, 2, 3, 4, 5, 4, 2, 1, 2, 3, 2, 1, 0, 1, 2,
                              4, 5, 6, 5, 4, 3, 2, 1, 2, 3, 4, 3, 2, 1, 0, 0}};

// The harbour at night: slower, Dm - Bb - F - C, a D minor pentatonic tune
// that rocks like the moored boats.
const LoopScore HARBOUR_LOOP = {84.0f,
                                {-19, -23, -16, -21},
                                {{0, 3, 7}, {0, 4, 7}, {0, 4, 7}, {0, 4, 7}},
                                {-7, -4, -2, 0, 3, 5, 8},
                                {2, 3, 4, 3, 2, 1, 2, 0, 1, 2, 3, 5, 4, 3, 2, 2,
                                 3, 4, 6, 5, 4, 3, 4, 1, 2, 1, 0, 1, 2, 1, 0, 0}};

// A silver coin dropped on the pile (0.22 s): two bright, slightly
// inharmonic strikes a few milliseconds apart, the second higher, over a
// tick of noise, so that a run of them rings like counted coins.
std::vector<float> coinClink(int rate)
{
    std::vector<float> out(static_cast<size_t>(rate * 0.22f));
    Noise noise;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(rate);
        const auto strike = [](float s, float f) {
            if (s < 0.0f)
                return 0.0f;
            const float env = std::min(1.0f, s / 0.002f) * std::exp(-s * 28.0f);
            return env * (0.55f * std::sin(2 * PI * f * s) + 0.3f * std::sin(2 * PI * f * 2.76f * s) +
                          0.15f * std::sin(2 * PI * f * 5.4f * s));
        };
        const float tick = t < 0.006f ? noise.next() * (1.0f - t / 0.006f) * 0.4f : 0.0f;
        out[i] = strike(t, 2093.0f) + 0.8f * strike(t - 0.035f, 2637.0f) + tick;
    }
    normalise(out, 0.6f);
    return out;
}

bool write(const std::string& folder, const char* name, const std::vector<float>& samples, int channels, int rate,
           float quality)
{
    const std::string path = folder + "/" + name;
    const std::vector<uint8_t> bytes = SoundGen::encodeOggVorbis(samples, channels, rate, quality);
    if (bytes.empty() || !SoundGen::writeBytes(path, bytes)) {
        std::fprintf(stderr, "sound_gen: cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s: %zu bytes\n", path.c_str(), bytes.size());
    return true;
}


// A soft chime as an award lands on its counter (under 0.4 s, so that the
// next star's chime never cuts a ringing one): two high bell notes a fifth
// apart, the second just after the first.
std::vector<float> awardChime(int rate)
{
    std::vector<float> out = melody(rate, 0.38f, {{0.0f, 19}, {0.04f, 26}}, 11.0f);
    normalise(out, 0.45f);
    return out;
}

// A wooden gate swinging open (0.9 s): a low, rough groan whose pitch
// wanders up and down, rubbed in short stick-slip pulses, over a dull thud
// as the gate comes to rest.
std::vector<float> gateCreak(int rate)
{
    const float length = 0.9f;
    std::vector<float> out(static_cast<size_t>(rate * length));
    Noise noise;
    float phase = 0.0f;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(rate);
        const float pitch = 95.0f + 35.0f * std::sin(2 * PI * 1.3f * t) + 20.0f * std::sin(2 * PI * 3.7f * t);
        phase += pitch / static_cast<float>(rate);
        // A sawtooth rubbed in stick-slip pulses.
        const float saw = 2.0f * (phase - std::floor(phase)) - 1.0f;
        const float pulse = 0.55f + 0.45f * std::sin(2 * PI * 17.0f * t);
        const float env = std::min(1.0f, t / 0.05f) * std::exp(-std::max(0.0f, t - 0.55f) * 9.0f);
        float v = env * pulse * (0.7f * saw + 0.3f * noise.next());
        // The thud: a low decaying tone at rest.
        if (t > 0.7f)
            v += 0.8f * std::exp(-(t - 0.7f) * 25.0f) * std::sin(2 * PI * 55.0f * (t - 0.7f));
        out[i] = v;
    }
    // Wood, not metal: a gentle low-pass.
    float low = 0.0f;
    for (float& v : out) {
        low += 0.25f * (v - low);
        v = low;
    }
    normalise(out, 0.55f);
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: sound_gen <output folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const int rate = 44100;
    bool ok = true;
    ok &= write(folder, "button_clicked.ogg", click(rate), 1, rate, 0.3f);
    ok &= write(folder, "chip_destroy.ogg", chipDestroy(rate), 1, rate, 0.2f);
    ok &= write(folder, "tile_destroy.ogg", tileDestroy(rate), 1, rate, 0.2f);
    ok &= write(folder, "bomb.ogg", bomb(rate), 1, rate, 0.2f);
    ok &= write(folder, "level_win.ogg", levelWin(rate), 1, rate, 0.2f);
    ok &= write(folder, "level_lose.ogg", levelLose(rate), 1, rate, 0.2f);
    ok &= write(folder, "dialog_show.ogg", dialogShow(rate), 1, rate, 0.2f);
    ok &= write(folder, "flight_shimmer.ogg", flightShimmer(rate), 1, rate, 0.2f);
    ok &= write(folder, "fusion_chip.ogg", fusionChip(rate), 1, rate, 0.2f);
    ok &= write(folder, "comet_bonus.ogg", cometBonus(rate), 1, rate, 0.2f);
    ok &= write(folder, "light_bonus.ogg", lightBonus(rate), 1, rate, 0.2f);
    ok &= write(folder, "game_level_ambient_1.ogg", musicLoop(22050, DUSK_LOOP), 2, 22050, 0.0f);
    ok &= write(folder, "game_level_ambient_2.ogg", musicLoop(22050, HARBOUR_LOOP), 2, 22050, 0.0f);
    ok &= write(folder, "award_chime.ogg", awardChime(rate), 1, rate, 0.2f);
    ok &= write(folder, "gate_creak.ogg", gateCreak(rate), 1, rate, 0.2f);
    ok &= write(folder, "coin_clink.ogg", coinClink(rate), 1, rate, 0.2f);
    return ok ? 0 : 1;
}
