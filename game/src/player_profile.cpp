#include "player_profile.h"

#include <mutex>

#include "sound_system/sound_manager.h"

void PlayerProfile::setMusicVolume(float volume)
{
    musicVolume = volume;
    if (VQ::SoundManager* sound = VQ::SoundManager::instancePtr(); sound && sound->isReady()) {
        sound->setGroup1Volume(volume);
        sound->setGroup2Volume(volume);
    }
}

void PlayerProfile::setSoundVolume(float volume)
{
    soundVolume = volume;
    if (VQ::SoundManager* sound = VQ::SoundManager::instancePtr(); sound && sound->isReady())
        sound->setGroup0Volume(volume);
}
