#pragma once
// Names the game is known by on disk.

namespace GameConstants {

// The save folder below the per-user data folder.
constexpr const char* COMPANY_PATH = "Carrowmere/Lanterra";

}  // namespace GameConstants
