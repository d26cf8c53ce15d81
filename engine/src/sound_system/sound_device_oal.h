#pragma once
// The OpenAL device and its context: opened once by the sound manager; when
// either cannot be created the game runs silent.

#include <AL/al.h>
#include <AL/alc.h>

namespace VQ {

// Logs "OpenAL Error: <code> <text> at <file>:<line>" and returns 1 when
// OpenAL has an error pending, else 0. Every OpenAL call is followed by it.
int checkOpenALError(const char* file, int line);

class SoundDeviceOal {
public:
    SoundDeviceOal() = default;
    ~SoundDeviceOal();
    SoundDeviceOal(const SoundDeviceOal&) = delete;
    SoundDeviceOal& operator=(const SoundDeviceOal&) = delete;

    // Opens the default device, makes a context current and sets up the
    // listener. True when both device and context are ready.
    bool open();
    void close();

private:
    ALCdevice* mDevice = nullptr;
    ALCcontext* mContext = nullptr;
};

}  // namespace VQ
