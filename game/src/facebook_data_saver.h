#pragma once
// Keeps the social layer's 16-byte records in "facebook_data.dat". Nothing
// adds records yet, so the file holds a count of 0. Written when the player
// logs out and when the game window is closed.

#include <array>
#include <cstdint>
#include <vector>

#include "singleton.h"

class FacebookDataSaver : public VQ::Singleton<FacebookDataSaver> {
public:
    using Record = std::array<uint8_t, 16>;

    FacebookDataSaver() = default;

    // The record count (uint32, little-endian) and the records, through the
    // crash-safe save file, which logs a failed write.
    void save();

    std::vector<Record> records;
};
