#pragma once
// The level map's interface: the UI script "map_interface_ui" (table
// "MapInterface") and its scene.

#include <string>

namespace MapInterface {

std::string script();
std::string scene();

}  // namespace MapInterface
