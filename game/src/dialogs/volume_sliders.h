#pragma once
// The music and sound sliders a menu window carries ("#musicBar" and
// "#soundBar" of its scene) and the volumes of the moment it opened, which
// its close button puts back. Moving a slider changes the volume at once.

#include <memory>

#include "dialogs/scroll_bar.h"

class DialogWindow;

class VolumeSliders {
public:
    // Both bars are required of the window's scene; `listener` is the
    // window's own slider listener.
    VolumeSliders(DialogWindow& window, ScrollBarListener* listener);
    ~VolumeSliders();

    // The profile's volumes are kept and shown.
    void takeFromProfile();
    // The kept volumes go back into the profile.
    void restore();
    // The profile takes the slider's value.
    void onScroll(ScrollBar* bar, float value);
    // Each frame: the sliders act only in the topmost window.
    void update(bool topmost);

    std::unique_ptr<ScrollBar> music;
    std::unique_ptr<ScrollBar> sound;
    float savedMusic = 0.0f;
    float savedSound = 0.0f;
};

// The profile is saved now.
void saveProfileNow();
