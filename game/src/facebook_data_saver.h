#pragma once
// Keeps the social data (friends' photos and names) in "facebook_data.dat".

#include "singleton.h"

class FacebookDataSaver : public VQ::Singleton<FacebookDataSaver> {
public:
    FacebookDataSaver() = default;

    // Writes the social data file. The offline social layer has no data
    // yet, so nothing is written.
    void save();
};
