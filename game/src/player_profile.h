#pragma once
// The player's profile: progress, currencies and settings, saved in the
// profile file.

#include <cstdint>

class PlayerProfile {
public:
    PlayerProfile() = default;

    // Store the volume and apply it to its sound groups (music: groups 1 and
    // 2; sounds: group 0) while the audio device is open.
    void setMusicVolume(float volume);
    void setSoundVolume(float volume);

    uint8_t fullscreen = 1;  // the wanted window form
    uint8_t gameCursor = 1;  // the game draws its own cursor
    float musicVolume = 0.8f;
    float soundVolume = 0.8f;
};
