#pragma once
// Names the game is known by on disk.

namespace GameConstants {

// The save folder below the per-user data folder.
constexpr const char* COMPANY_PATH = "Carrowmere/Lanterra";

// Names the program's single-instance lock. Fixed rather than the localised
// window title: the lock is taken before the texts are loaded, and every
// language of the game is the same program.
constexpr const char* APPLICATION_NAME = "Lanterra";

}  // namespace GameConstants
