#include "layer_sound.h"

uint32_t acquireLayerSound(const std::string& name)
{
    if (name.empty())
        return 0;
    return 0;
}

void playLayerSound(uint32_t id)
{
    if (id == 0)
        return;
}
