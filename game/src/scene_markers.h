#pragma once
// Marker steps the map and the windows share; a missing node or marker is
// skipped.

#include <string>

namespace AE {
class ISceneNode;
}  // namespace AE

// The node's marker `name` from its start.
void startMarkerIfPresent(AE::ISceneNode* node, const std::string& name);
// The look the node's marker `name` leaves, at once and without the
// animation; its listeners are not told.
void skipMarkerToEnd(AE::ISceneNode* node, const std::string& name);
