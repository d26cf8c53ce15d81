#include "mode.h"

#include "game_properties.h"
#include "platform_config.h"

void Mode::activate()
{
    GameProperties::instance()->currentMode = this;
}

void Mode::deactivate()
{
    GameProperties::instance()->currentMode = nullptr;
}

std::unique_ptr<Mode> createMode(const ModeDescriptor& descriptor)
{
    (void)descriptor;
    return nullptr;
}
