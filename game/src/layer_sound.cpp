#include "layer_sound.h"

#include "sound_system/sound_manager.h"

uint32_t acquireLayerSound(const std::string& name)
{
    if (name.empty())
        return 0;
    const int id = VQ::SoundManager::instance()->acquireResource(name);
    return id > 0 ? static_cast<uint32_t>(id) : 0;
}

void playLayerSound(uint32_t id)
{
    if (id == 0)
        return;
    VQ::SoundManager::instance()->createAndPlay(static_cast<int>(id));
}
