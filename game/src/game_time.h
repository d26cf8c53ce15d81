#pragma once
// The game's "now": whole seconds since 1970 (UTC), 64-bit, as the profile
// stamps, the store's purchases and its offers count time. Tests and tools
// that replay a game replace the source, as they do the seed counter.

#include <cstdint>

using TimeSource = int64_t (*)();

// The source's time; the system clock when no source is set.
int64_t currentTime();
// Null restores the system clock.
void setTimeSource(TimeSource source);
