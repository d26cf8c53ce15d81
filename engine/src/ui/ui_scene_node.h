#pragma once
// A widget that hosts an animation scene: the scene is placed at the
// widget, faded with its transparency and drawn with it, and the scene's
// markers follow the widget's states (a marker "onIdle" plays when the
// widget is shown, "onHide" when it is hidden, and so on). A host may
// borrow a node of an enclosing host's scene ("@parent" and a path); the
// borrowed node stays in its own scene and is drawn by it.

#include <string>

#include "ui/ui_widget.h"

namespace AE {
class ISceneNode;
}

namespace VQ {

class UISceneNode : public UIWidget {
public:
    // The host of `node` (null: none), deleted with the host when owned;
    // the node plays with its descendants.
    UISceneNode(std::string name, UIWidget* parent, AE::ISceneNode* node, bool ownsNode);
    ~UISceneNode() override;

    int32_t getType() const override { return TYPE_SCENE_NODE; }
    bool hitTest(const Vector2f& point) const override;
    void setVisible(bool on) override;
    void beginRender() override;
    void update(float dt) override;
    void onStateChanged(UIState* state) override;

    AE::ISceneNode* node = nullptr;
    bool ownsNode = false;
};

// The first node at `path` in the scenes of the scene-node hosts among
// `from` and its ancestors, nearest first; null when none has it.
AE::ISceneNode* findInEnclosingScenes(UIWidget* from, const std::string& path);

// Loads the scene named by `scene`, or finds the "@parent" path in the
// enclosing hosts' scenes starting at `parent`; `owned` tells which. Logs
// "ERROR: Can't load scene node from %s!" when neither gives a node.
AE::ISceneNode* resolveWidgetScene(UIWidget* parent, const std::string& scene, bool& owned);

// The alpha of the widget's transparency on the scene node's own colour,
// and the node's world colour from its parent's.
void tintSceneNode(AE::ISceneNode& node, float transparency);

// The host's rule for hit tests: a node that is visible and hit, inside the
// clip rectangle when clipping.
bool hitSceneNode(AE::ISceneNode* node, const UIWidget& widget, const Vector2f& point);

// The host's rule for a state change: the markers named like the widget's
// states are stopped, then the new state's marker starts from its start.
void playStateMarker(AE::ISceneNode* node, const UIWidget& widget, const UIState* state);

// The visible flag on the node, its direct children enabled with it.
void showSceneNode(AE::ISceneNode* node, bool on);

}  // namespace VQ
