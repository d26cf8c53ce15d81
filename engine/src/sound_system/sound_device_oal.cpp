#include "sound_system/sound_device_oal.h"

#include "log_system.h"
#include "sound_system/sound_manager.h"

namespace VQ {

int checkOpenALError(const char* file, int line)
{
    const ALenum error = alGetError();
    if (error == AL_NO_ERROR)
        return 0;
    const ALchar* text = alGetString(error);
    log(formatString("OpenAL Error: %i %s at %s:%i", error, text ? text : "", file, line));
    return 1;
}

SoundDeviceOal::~SoundDeviceOal() { close(); }

bool SoundDeviceOal::open()
{
    log("Creating AL Device...");
    mDevice = alcOpenDevice(nullptr);
    if (!mDevice) {
        log("ERROR: Failed to create AL Device");
        return false;
    }
    log("Creating AL Context...");
    mContext = alcCreateContext(mDevice, nullptr);
    if (!mContext) {
        log("ERROR: Failed to create AL context");
        return false;
    }
    alcMakeContextCurrent(mContext);
    const ALfloat origin[3] = {0.0f, 0.0f, 0.0f};
    const ALfloat orientation[6] = {0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f};
    alListenerf(AL_GAIN, 1.0f);
    checkOpenALError("sound_device_oal", __LINE__);
    alListenerfv(AL_POSITION, origin);
    checkOpenALError("sound_device_oal", __LINE__);
    alListenerfv(AL_VELOCITY, origin);
    checkOpenALError("sound_device_oal", __LINE__);
    alListenerfv(AL_ORIENTATION, orientation);
    checkOpenALError("sound_device_oal", __LINE__);
    if (hasApplicationActiveQuery()) {
        alListenerf(AL_GAIN, applicationIsActive() ? 1.0f : 0.0f);
        checkOpenALError("sound_device_oal", __LINE__);
    }
    return true;
}

void SoundDeviceOal::close()
{
    if (mContext || mDevice)
        alcMakeContextCurrent(nullptr);
    if (mContext) {
        alcDestroyContext(mContext);
        mContext = nullptr;
    }
    if (mDevice) {
        alcCloseDevice(mDevice);
        mDevice = nullptr;
    }
}

}  // namespace VQ
