#pragma once
// Plays the game's sounds: resources registered once (mostly from the Lua
// table "SoundResources") are started by id, each start giving a handle to
// stop it, change its volume or ask whether it still plays. Volumes combine
// per sound, per resource and per group; effects compete for five voices by
// priority. Without an audio device every operation is inert.

#include <array>
#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "singleton.h"
#include "sound_system/sound_device_oal.h"
#include "sound_system/sound_oal.h"
#include "sound_system/sound_resource.h"

namespace VQ {

// Whether the application has the user's focus; sound is silent while it has
// not. The application installs the query once it exists; until then (and in
// tools and tests without an application) sound counts as active.
using ApplicationActiveQuery = bool (*)();
void setApplicationActiveQuery(ApplicationActiveQuery query);
bool hasApplicationActiveQuery();
bool applicationIsActive();

class SoundManager : public Singleton<SoundManager> {
public:
    static constexpr int MAX_SOUNDS = 64;       // handles 1..63
    static constexpr int MAX_RESOURCES = 1024;  // ids 1..1023
    static constexpr int GROUP_COUNT = 3;

    // Opens the audio device; when that fails the manager stays not ready.
    SoundManager();
    ~SoundManager() override;

    // Registers every entry of the table "SoundResources" of a Lua script.
    // False when the script or the table cannot be opened.
    bool loadResources(const std::string& scriptName, const std::string& package);
    // The new resource's id, or 0 when the name is registered already or
    // every id is taken.
    int registerResource(const SoundDescription& description);
    // The id of a registered name with one reference more, or 0.
    int acquireResource(const std::string& filename);
    void releaseResource(int id);
    void unloadResource(int id);

    // Plays a resource by name, registering an unknown name as a plain
    // effect first. The handle, or 0.
    int playByName(const std::string& filename);
    int createAndPlay(int id);
    int createSound(SoundResource* resource);

    // 0, or 1 when the handle holds no sound.
    int stop(int handle);
    int setSoundVolume(int handle, float volume);
    bool isPlaying(int handle);

    void setGroup0Volume(float volume);
    void setGroup1Volume(float volume);
    void setGroup2Volume(float volume);
    // 1.0 for a group other than 0, 1 and 2.
    float groupVolume(int group);
    void setGroupVolume(int group, float volume);
    void refreshVolumes();
    void stopAll();
    void applyListenerGain();
    // Once a frame: listener gain, streaming, and release of ended sounds.
    void update();

    // For headless runs whose frames stand for game time rather than wall
    // time (the board simulator, the game driver). Sounds started from then
    // on take a handle and a voice as always but are not sent to the device:
    // each plays until its length has passed in game time (a looped one
    // until it is stopped), and the run moves that clock on once a frame.
    // The silent device plays in wall time, so a run faster than that would
    // otherwise keep every sound it starts until no handle is left, and
    // decoding sounds nobody hears would cost more than the board itself.
    void useGameClock();
    // Ends and releases the sounds whose length has passed or that were
    // stopped. update leaves these sounds alone.
    void advanceGameClock(float seconds);

    bool isReady() const { return mReady; }
    // Callers may hold it around a group of changes.
    std::recursive_mutex& mutex() { return mMutex; }

    // Inspection (tests, tools): the resource of an id and the sound of a
    // handle, null when empty or out of range; the voices, strongest first.
    SoundResource* resource(int id);
    SoundOal* sound(int handle);
    std::vector<int> voiceHandles();

private:
    // Runs `action` on the sound of a handle under the mutex: 0, or 1 when
    // the handle holds no sound (0 while not ready).
    int withSound(int handle, const std::function<void(SoundOal&)>& action);
    SoundOal* allocateSound(SoundResource* resource);
    void releaseSound(int handle);
    void assignVoice(SoundOal* sound);
    void removeVoice(SoundOal* sound);
    void refreshVolumesLocked();
    static float score(const SoundOal* sound);
    static bool validHandle(int handle) { return handle > 0 && handle < MAX_SOUNDS; }
    static bool validId(int id) { return id > 0 && id < MAX_RESOURCES; }

    // The pool: every sound object the manager will ever need, so that a
    // start never allocates.
    std::array<std::optional<SoundOal>, MAX_SOUNDS> mPool;
    std::vector<int> mFreeSounds;
    SoundDeviceOal mDevice;
    std::array<SoundOal*, MAX_SOUNDS> mSounds{};
    std::array<std::unique_ptr<SoundResource>, MAX_RESOURCES> mResources;
    // Ids whose resource is being read while the mutex is released.
    std::array<bool, MAX_RESOURCES> mLoading{};
    bool mReady = false;
    std::map<std::string, int> mNames;
    int mLastHandle = 0;
    uint16_t mLastResourceId = 0;
    std::list<SoundOal*> mVoices;
    std::array<float, GROUP_COUNT> mGroupVolume{1.0f, 1.0f, 1.0f};
    std::recursive_mutex mMutex;
    size_t mMaxVoices = 5;
    bool mGameClock = false;
};

}  // namespace VQ
