#include "sound_system/sound_manager.h"

#include <algorithm>
#include <atomic>
#include <limits>

#include "fatal_error.h"
#include "log_system.h"
#include "lua_script_2.h"

namespace VQ {

namespace {

std::atomic<ApplicationActiveQuery> gActiveQuery{nullptr};

// Frames a new sound is kept even when it has not started yet.
constexpr int32_t YOUNG_FRAMES = 6;
constexpr int32_t MAX_AGE = 10;

}  // namespace

void setApplicationActiveQuery(ApplicationActiveQuery query) { gActiveQuery = query; }

bool hasApplicationActiveQuery() { return gActiveQuery.load() != nullptr; }

bool applicationIsActive()
{
    const ApplicationActiveQuery query = gActiveQuery.load();
    return !query || query();
}

SoundManager::SoundManager()
{
    mFreeSounds.reserve(MAX_SOUNDS);
    for (int i = MAX_SOUNDS - 1; i >= 0; --i)
        mFreeSounds.push_back(i);
    mReady = mDevice.open();
}

SoundManager::~SoundManager()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    for (int handle = 1; handle < MAX_SOUNDS; ++handle)
        if (mSounds[static_cast<size_t>(handle)])
            releaseSound(handle);
    for (auto& resource : mResources)
        resource.reset();
    mNames.clear();
    for (auto& entry : mPool)
        entry.reset();
    mDevice.close();
}

SoundResource* SoundManager::resource(int id)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    return validId(id) ? mResources[static_cast<size_t>(id)].get() : nullptr;
}

SoundOal* SoundManager::sound(int handle)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    return validHandle(handle) ? mSounds[static_cast<size_t>(handle)] : nullptr;
}

std::vector<int> SoundManager::voiceHandles()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    std::vector<int> handles;
    for (SoundOal* voice : mVoices)
        for (int handle = 1; handle < MAX_SOUNDS; ++handle)
            if (mSounds[static_cast<size_t>(handle)] == voice)
                handles.push_back(handle);
    return handles;
}

bool SoundManager::loadResources(const std::string& scriptName, const std::string& package)
{
    // No lock here: each registration releases the mutex while it reads its
    // file, which it could not do with this frame holding it as well.
    if (!mReady)
        return false;
    LuaScript2 script;
    if (!script.load(scriptName, package) || !script.openTable("SoundResources"))
        return false;
    std::vector<SoundDescription> descriptions;
    forEachTableEntry(
        script,
        [&] {
            SoundDescription description;
            int looped = 0;
            script.getString("filename", description.filename);
            script.getFloat("volume", description.volume, 1.0f);
            script.getInt("group", description.group, 0);
            script.getInt("looped", looped, 0);
            script.getUInt("priority", description.priority, 0);
            description.looped = looped != 0 ? 1 : 0;
            if (!description.filename.empty())
                descriptions.push_back(description);
        },
        [] {});
    script.closeTable();
    for (const SoundDescription& description : descriptions)
        registerResource(description);
    return true;
}

int SoundManager::registerResource(const SoundDescription& description)
{
    std::unique_lock<std::recursive_mutex> lock(mMutex);
    if (!mReady || mNames.count(description.filename))
        return 0;
    int id = 0;
    for (int step = 1; step <= MAX_RESOURCES; ++step) {
        const int candidate = (mLastResourceId + step) % MAX_RESOURCES;
        if (candidate != 0 && !mResources[static_cast<size_t>(candidate)] &&
            !mLoading[static_cast<size_t>(candidate)]) {
            id = candidate;
            break;
        }
    }
    if (id == 0)
        return 0;

    // The id and the name are taken before the file is read with the mutex
    // released, so that a registration meanwhile can take neither.
    mLoading[static_cast<size_t>(id)] = true;
    mNames[description.filename] = id;
    mLastResourceId = static_cast<uint16_t>(id);
    lock.unlock();

    auto resource = std::make_unique<SoundResource>(description);
    resource->load(description.filename);

    lock.lock();
    mLoading[static_cast<size_t>(id)] = false;
    resource->refCount = 1;
    mResources[static_cast<size_t>(id)] = std::move(resource);
    return id;
}

int SoundManager::acquireResource(const std::string& filename)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (!mReady)
        return 0;
    const auto found = mNames.find(filename);
    if (found == mNames.end())
        return 0;
    SoundResource* resource = mResources[static_cast<size_t>(found->second)].get();
    if (!resource)
        return 0;  // still being read by its registration
    ++resource->refCount;
    return found->second;
}

void SoundManager::releaseResource(int id)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    SoundResource* resource = mReady ? this->resource(id) : nullptr;
    if (!resource)
        return;
    --resource->refCount;
    if (resource->refCount <= 0)
        unloadResource(id);
}

void SoundManager::unloadResource(int id)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    SoundResource* resource = mReady ? this->resource(id) : nullptr;
    if (!resource)
        return;
    for (int handle = 1; handle < MAX_SOUNDS; ++handle) {
        SoundOal* sound = mSounds[static_cast<size_t>(handle)];
        if (sound && sound->resource == resource)
            releaseSound(handle);
    }
    for (auto it = mNames.begin(); it != mNames.end(); ++it) {
        if (it->second == id) {
            mNames.erase(it);
            break;
        }
    }
    mResources[static_cast<size_t>(id)].reset();
}

int SoundManager::playByName(const std::string& filename)
{
    std::unique_lock<std::recursive_mutex> lock(mMutex);
    if (!mReady)
        return 0;
    auto found = mNames.find(filename);
    int id = 0;
    if (found != mNames.end()) {
        id = found->second;
    } else {
        lock.unlock();
        SoundDescription description;
        description.filename = filename;
        id = registerResource(description);
        lock.lock();
        if (id == 0) {
            // Registered by someone else in the meantime.
            found = mNames.find(filename);
            id = found != mNames.end() ? found->second : 0;
        }
    }
    return createAndPlay(id);
}

int SoundManager::createAndPlay(int id)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (!mReady || !validId(id))
        return 0;
    return createSound(mResources[static_cast<size_t>(id)].get());
}

float SoundManager::score(const SoundOal* sound)
{
    return sound->volume * static_cast<float>(sound->resource->priority);
}

int SoundManager::createSound(SoundResource* resource)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (!mReady)
        return 0;
    if (!resource) {
        log("WARNING: SoundManager::createSound Bad sound resource ptr!");
        return 0;
    }
    if (resource->group == 0 && mVoices.size() >= mMaxVoices) {
        const float newScore = static_cast<float>(resource->priority) * resource->volume;
        if (newScore <= score(mVoices.back())) {
            log("ERROR: SoundManager::createSound Sound can not be queued");
            return 0;
        }
    }
    int handle = 0;
    for (int step = 1; step <= MAX_SOUNDS; ++step) {
        const int candidate = (mLastHandle + step) % MAX_SOUNDS;
        if (candidate != 0 && !mSounds[static_cast<size_t>(candidate)]) {
            handle = candidate;
            break;
        }
    }
    if (handle == 0) {
        log("ERROR: SoundManager::createSound Can't play sound");
        return 0;
    }
    SoundOal* sound = allocateSound(resource);
    mSounds[static_cast<size_t>(handle)] = sound;
    if (mGameClock) {
        const int rate = resource->file.rate();
        sound->gameSecondsLeft = resource->looped ? std::numeric_limits<float>::infinity()
                                 : rate > 0       ? static_cast<float>(resource->file.totalFrames()) / rate
                                                  : 0.0f;
    } else {
        sound->play();
    }
    mLastHandle = handle;
    if (resource->group == 0)
        assignVoice(sound);
    return handle;
}

SoundOal* SoundManager::allocateSound(SoundResource* resource)
{
    if (mFreeSounds.empty())
        assertFailed("VQ", "Failed to allocate Sound object on pool", "sound_manager", 155);
    const int index = mFreeSounds.back();
    mFreeSounds.pop_back();
    return &mPool[static_cast<size_t>(index)].emplace(resource);
}

void SoundManager::releaseSound(int handle)
{
    SoundOal* sound = mSounds[static_cast<size_t>(handle)];
    removeVoice(sound);
    sound->deleteSource();
    for (size_t i = 0; i < mPool.size(); ++i) {
        if (mPool[i] && &*mPool[i] == sound) {
            mPool[i].reset();
            mFreeSounds.push_back(static_cast<int>(i));
            break;
        }
    }
    mSounds[static_cast<size_t>(handle)] = nullptr;
}

void SoundManager::removeVoice(SoundOal* sound) { mVoices.remove(sound); }

void SoundManager::assignVoice(SoundOal* sound)
{
    removeVoice(sound);
    mVoices.push_front(sound);
    // A stable sort: a new sound comes before older ones of equal score.
    mVoices.sort([](const SoundOal* a, const SoundOal* b) { return score(a) > score(b); });
    while (mVoices.size() > mMaxVoices) {
        SoundOal* weakest = mVoices.back();
        weakest->applyGain(0.0f);
        weakest->deleteSource();
        mVoices.pop_back();
    }
    float rank = 0.0f;
    for (SoundOal* voice : mVoices) {
        voice->applyGain(1.0f - rank / static_cast<float>(mMaxVoices));
        rank += 1.0f;
    }
}

int SoundManager::withSound(int handle, const std::function<void(SoundOal&)>& action)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (!mReady)
        return 0;
    SoundOal* sound = this->sound(handle);
    if (!sound)
        return 1;
    action(*sound);
    return 0;
}

int SoundManager::stop(int handle)
{
    return withSound(handle, [](SoundOal& sound) {
        sound.reset();
        sound.stopped = 1;
    });
}

int SoundManager::setSoundVolume(int handle, float volume)
{
    return withSound(handle, [volume](SoundOal& sound) { sound.applyGain(volume); });
}

bool SoundManager::isPlaying(int handle)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    SoundOal* sound = mReady ? this->sound(handle) : nullptr;
    if (sound && sound->onGameClock())
        return !sound->stopped && sound->gameSecondsLeft > 0.0f;
    return sound && sound->isPlaying();
}

void SoundManager::setGroup0Volume(float volume) { setGroupVolume(0, volume); }
void SoundManager::setGroup1Volume(float volume) { setGroupVolume(1, volume); }
void SoundManager::setGroup2Volume(float volume) { setGroupVolume(2, volume); }

float SoundManager::groupVolume(int group)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (!mReady)
        return 0.0f;
    return group >= 0 && group < GROUP_COUNT ? mGroupVolume[static_cast<size_t>(group)] : 1.0f;
}

void SoundManager::setGroupVolume(int group, float volume)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (!mReady)
        return;
    if (group >= 0 && group < GROUP_COUNT)
        mGroupVolume[static_cast<size_t>(group)] = volume;
    refreshVolumesLocked();
}

void SoundManager::refreshVolumes()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (mReady)
        refreshVolumesLocked();
}

void SoundManager::refreshVolumesLocked()
{
    for (SoundOal* sound : mSounds)
        if (sound)
            sound->applyGain(sound->volume);
}

void SoundManager::stopAll()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    for (int handle = 1; handle < MAX_SOUNDS; ++handle)
        if (mSounds[static_cast<size_t>(handle)])
            stop(handle);
}

void SoundManager::applyListenerGain()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (!mReady)
        return;
    alListenerf(AL_GAIN, applicationIsActive() ? 1.0f : 0.0f);
    checkOpenALError("sound_manager", __LINE__);
}

void SoundManager::update()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (!mReady)
        return;
    applyListenerGain();
    for (int handle = 1; handle < MAX_SOUNDS; ++handle) {
        SoundOal* sound = mSounds[static_cast<size_t>(handle)];
        if (!sound || sound->onGameClock())
            continue;
        if (sound->age < YOUNG_FRAMES || (sound->isPlaying() && sound->created)) {
            sound->update();
            sound->age = std::min(sound->age + 1, MAX_AGE);
        } else {
            releaseSound(handle);
        }
    }
}

void SoundManager::useGameClock()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    mGameClock = true;
}

void SoundManager::advanceGameClock(float seconds)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (!mReady)
        return;
    for (int handle = 1; handle < MAX_SOUNDS; ++handle) {
        SoundOal* sound = mSounds[static_cast<size_t>(handle)];
        if (!sound || !sound->onGameClock())
            continue;
        sound->gameSecondsLeft -= seconds;
        if (sound->stopped || sound->gameSecondsLeft <= 0.0f)
            releaseSound(handle);
    }
}

}  // namespace VQ
