#pragma once
// Ogg Vorbis fixtures made at test time, and the OpenAL set-up unit tests
// share.

#include <string>
#include <vector>

namespace TestSupport {

// A sine tone of exactly `frames` sample frames, encoded as Ogg Vorbis.
std::vector<char> makeToneOgg(int frames, int channels, int rate, float frequency = 440.0f,
                              float amplitude = 0.5f);

// Unit tests run on OpenAL's silent device unless told otherwise.
void useSilentAudioDevice();

}  // namespace TestSupport
