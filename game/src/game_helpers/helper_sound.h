#pragma once
// The rule components' own sounds: registered at volume 1 by the first
// component that finds one missing, shared by reference after that.

// The sound's resource id; 0 without a sound manager.
int acquireHelperSound(const char* name);
void releaseHelperSound(int id);
void playHelperSound(int id);
