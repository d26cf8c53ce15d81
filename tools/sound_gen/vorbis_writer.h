#pragma once
// Ogg Vorbis encoding of synthesised sample data, for the sound generator and
// for test fixtures made at run time.

#include <cstdint>
#include <string>
#include <vector>

namespace SoundGen {

// Encodes interleaved samples in -1..1 (frames x channels values) as one
// Ogg Vorbis stream in variable bit rate at `quality` (-0.1 .. 1.0). The
// stream's length is exactly the number of frames given. The serial number is
// fixed so that the same input always gives the same bytes. Returns an empty
// vector when the encoder refuses the settings.
std::vector<uint8_t> encodeOggVorbis(const std::vector<float>& interleaved, int channels, int rate,
                                     float quality);

// Writes the bytes to a file; false when it cannot be written whole.
bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace SoundGen
