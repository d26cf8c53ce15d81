#include "game_time.h"

#include <ctime>

namespace {
TimeSource timeSource = nullptr;
}

int64_t currentTime()
{
    return timeSource ? timeSource() : static_cast<int64_t>(std::time(nullptr));
}

void setTimeSource(TimeSource source)
{
    timeSource = source;
}
