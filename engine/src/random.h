#pragma once
// The game's one random sequence: results 0 to 32767 on every machine, so a
// seed replays the same game (callers compute rand() / 32767 and
// n * rand() / 32767).

#include <cstdint>

namespace VQ {

constexpr int RAND_MAX_VALUE = 32767;

int rand();
void srand(uint32_t seed);

}  // namespace VQ
