#pragma once
// The movie camera: a scene node that supplies the view through which the
// nodes of its scene are drawn. A node that selects cameras makes its
// playing camera child of greatest priority the tree's active camera;
// drawable nodes apply that camera's view, with parallax by depth.

#include "animationeditor/scene_node.h"
#include "render_system.h"

namespace AE {

class MovieCamera : public ISceneNode {
public:
    MovieCamera();

    int kind() const override { return SCENE_NODE_CAMERA; }

    // Position (-posX, -posY), scale (scaleX, scaleY), angle `rotation`.
    VQ::RenderCamera getView() const;

    // Seconds; the value the per-frame camera choice compares.
    float priority = 0.0f;
    // Parallax factor applied with the node's depth.
    float parallaxCoef = 1.0f;
};

}  // namespace AE
