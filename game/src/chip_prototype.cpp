#include "chip_prototype.h"

const char* const CHIP_COLOUR_SUFFIXES[6] = {"_R", "_G", "_B", "_M", "_Y", "_O"};

int colourIndexOfSuffix(const std::string& suffix)
{
    for (int i = 0; i < 6; ++i)
        if (suffix == CHIP_COLOUR_SUFFIXES[i])
            return i;
    return -1;
}
