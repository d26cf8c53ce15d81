#pragma once
// Places scene nodes for the current orientation by the layout markers
// their scene files carry: a marker named "#hor:" (landscape) or "#ver:"
// (portrait) followed by tokens that anchor the node to an edge or the
// centre of the scene, scale, turn, enable or disable it.

#include <string>

#include "vector2.h"

namespace AE {
class ISceneNode;
}
namespace VQ {
class UIWidget;
}

// One layout placing, read.
struct SceneLayoutSpec {
    enum Anchor { NONE = 0, FIRST = 1, SECOND = 2, CENTRE = 3 };
    int vertical = NONE;    // FIRST top, SECOND bottom
    int horizontal = NONE;  // FIRST left, SECOND right
    bool verticalNoMargin = false;
    bool horizontalNoMargin = false;
    float v = 0.0f;
    float h = 0.0f;
    bool hasRotation = false;
    float rotation = 0.0f;
    bool hasScaleX = false;
    bool hasScaleY = false;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    bool hasEnabled = false;
    bool enabled = true;
};

// Reads the tokens of a placing (the marker name after its prefix).
SceneLayoutSpec parseSceneLayoutSpec(const std::string& text);

// Where the placing puts a node now at `position`, in a scene of `sceneSize`
// with `margin` (scene units outside the window on each axis).
VQ::Vector2f placeByLayout(const SceneLayoutSpec& placing, const VQ::Vector2f& position, const VQ::Vector2f& sceneSize,
                           const VQ::Vector2f& margin);

// The scene units of each axis that lie outside the window.
VQ::Vector2f layoutMargins();

// Applies the node's first layout marker of the current orientation, then
// lays out its children; nothing for null.
void applySceneNodeLayout(AE::ISceneNode* node);

// Lays out the scene of every scene-node host in the widget's tree, the
// widget first, then its children in order; nothing for null.
void applyWidgetLayout(VQ::UIWidget* widget);
