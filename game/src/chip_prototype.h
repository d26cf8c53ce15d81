#pragma once
// A named stack of behaviour layers with a colour, a drop rate, a line
// selector and a point value, read from the chip prototype script. Chips
// are made from prototypes by copying their layers.

#include <cstdint>
#include <string>

#include "behavior.h"

class ChipSelector;

// Colour suffixes of the prototype names, by colour index 0..5.
extern const char* const CHIP_COLOUR_SUFFIXES[6];
// 0..5 for "_R", "_G", "_B", "_M", "_Y", "_O"; -1 for anything else.
int colourIndexOfSuffix(const std::string& suffix);

class ChipPrototype {
public:
    virtual ~ChipPrototype() = default;

    std::string name;
    int32_t colour = -1;
    BehaviorsGroup layers;
    float dropRate = 0.0f;
    // The rate the level's drop table uses.
    float dropRateInUse = 0.0f;
    ChipSelector* selector = nullptr;  // from the selector cache
    uint32_t gamePoints = 0;
};
