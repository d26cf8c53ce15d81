#include "random_seed.h"

#include "platform/performance_counter.h"
#include "random.h"

namespace {
SeedCounterSource counterSource = nullptr;
}

void seedRandomFromCounter()
{
    const uint64_t counter = counterSource ? counterSource() : VQ::performanceCounter();
    VQ::srand(static_cast<uint32_t>(counter & 0xFFFFFFFFu));
}

void setSeedCounterSource(SeedCounterSource source)
{
    counterSource = source;
}
