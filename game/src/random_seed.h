#pragma once
// Reseeding the game's random sequence from the high-resolution counter, as
// the board does before it places chips, spawns or shuffles. Tools and
// tests that replay a game replace the counter by one of their own.

#include <cstdint>

using SeedCounterSource = uint64_t (*)();

// VQ::srand with the low 32 bits of the counter.
void seedRandomFromCounter();
// Null restores the performance counter.
void setSeedCounterSource(SeedCounterSource source);
