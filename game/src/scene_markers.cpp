#include "scene_markers.h"

#include "animationeditor/marker.h"
#include "animationeditor/scene_node.h"

void startMarkerIfPresent(AE::ISceneNode* node, const std::string& name)
{
    if (node)
        if (AE::Marker* marker = node->getMarker(name))
            marker->start(true);
}

void skipMarkerToEnd(AE::ISceneNode* node, const std::string& name)
{
    if (node)
        if (AE::Marker* marker = node->getMarker(name))
            marker->skipToEnd();
}
