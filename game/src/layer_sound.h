#pragma once
// The destroy sounds of behaviour layers, by sound manager resource id.

#include <cstdint>
#include <string>

// The id of a registered sound (taking a reference); 0 for an empty or
// unknown name.
uint32_t acquireLayerSound(const std::string& name);
// Id 0 is "no sound": nothing is played and nothing is reported.
void playLayerSound(uint32_t id);
