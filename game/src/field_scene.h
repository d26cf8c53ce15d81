#pragma once
// Scenes the board presentation plays: loaded by resource name, owned by
// the caller; null when the scene cannot be loaded.

#include <memory>
#include <string>

#include "animationeditor/scene_node.h"

std::unique_ptr<AE::ISceneNode> loadFieldScene(const std::string& name);

// The number after `prefix` in the name of the first marker of `node`
// whose name begins with it (the characters 0-9, '.' and '-' that follow);
// false when no marker has the prefix.
bool markerNumber(const AE::ISceneNode& node, const std::string& prefix, float& out);

// The characters 0-9, '.' and '-' at `cursor`, read as a decimal number;
// the cursor moves past them.
float parseFloatToken(const char*& cursor);
