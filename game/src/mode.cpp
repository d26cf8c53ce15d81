#include "mode.h"

#include "game_properties.h"
#include "main_mode.h"
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
    if (descriptor.className != "MainMode")
        return nullptr;
    const auto suffix = descriptor.params.find("suffix");
    return std::make_unique<MainMode>(suffix != descriptor.params.end() ? suffix->second : std::string());
}
