#pragma once
// Ogg Vorbis fixtures made at test time, and the OpenAL set-up unit tests
// share.

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace VQ {
class LogSystem;
}

namespace TestSupport {

// A sine tone of exactly `frames` sample frames, encoded as Ogg Vorbis.
std::vector<char> makeToneOgg(int frames, int channels, int rate, float frequency = 440.0f,
                              float amplitude = 0.5f);

// Unit tests run on OpenAL's silent device unless told otherwise.
void useSilentAudioDevice();

// A log system writing "VQ.log" in a fresh working folder, for its lifetime.
class ScopedLogFolder {
public:
    ScopedLogFolder();
    ~ScopedLogFolder();
    const TempDir& dir() const { return mDir; }
    // The log's lines without their time prefix.
    std::vector<std::string> lines() const;

private:
    TempDir mDir;
    std::filesystem::path mOldCwd;
    VQ::LogSystem* mLog = nullptr;
};

}  // namespace TestSupport
