#include "game_helpers/helper_sound.h"

#include "sound_system/sound_manager.h"

int acquireHelperSound(const char* name)
{
    VQ::SoundManager* sounds = VQ::SoundManager::instancePtr();
    if (!sounds)
        return 0;
    int id = sounds->acquireResource(name);
    if (id == 0) {
        VQ::SoundDescription description;
        description.filename = name;
        description.volume = 1.0f;
        id = sounds->registerResource(description);
    }
    return id;
}

void releaseHelperSound(int id)
{
    if (id)
        if (VQ::SoundManager* sounds = VQ::SoundManager::instancePtr())
            sounds->releaseResource(id);
}

void playHelperSound(int id)
{
    if (id)
        if (VQ::SoundManager* sounds = VQ::SoundManager::instancePtr())
            sounds->createAndPlay(id);
}
