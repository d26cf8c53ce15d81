#pragma once
// The settings that differ between builds of the game for different
// platforms, read once from "platform_config_lua": the platform code the
// save files carry, and the game modes with their parameters.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "singleton.h"

struct ModeDescriptor {
    std::string className;
    std::map<std::string, std::string> params;
};

class PlatformConfig : public VQ::Singleton<PlatformConfig> {
public:
    // Reads the script; a script that cannot be loaded is fatal, since the
    // game has no mode to run without it.
    PlatformConfig();

    int32_t platformCode = 0;
    std::vector<ModeDescriptor> modes;
};
