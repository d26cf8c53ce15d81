#pragma once
// A scene node of the level map used as a push button (the episode
// signposts): regular, selected while the pointer is over it, pressed while
// the left button is held on it; a release over it is a click, told to its
// listener. Each change of state plays the node's marker "old>new" when the
// node has one.

#include "vector2.h"

namespace AE {
class ISceneNode;
class MovieCamera;
}  // namespace AE

class MapButton;

class MapButtonListener {
public:
    virtual ~MapButtonListener() = default;
    virtual void onButtonClicked(MapButton* button) = 0;
};

class MapButton {
public:
    enum State { REGULAR = 0, SELECTED = 1, PRESSED = 2 };

    MapButton(AE::ISceneNode* node, int state, MapButtonListener* listener)
        : node(node), state(state), listener(listener)
    {
    }

    // One frame of the mouse; nothing while a dialog window is active.
    void update();
    // The same with the pointer already in the button's scene units.
    void updateAt(VQ::Vector2f point, bool leftDown, bool leftReleased);
    void setState(int newState);

    AE::ISceneNode* node;  // the map scene's
    int state;
    MapButtonListener* listener;  // not owned
};

// The scene point under the workspace point `p` through `camera` (none:
// the point itself), for a scene of size `scene`.
VQ::Vector2f mapPointUnder(const AE::MovieCamera* camera, VQ::Vector2f scene, VQ::Vector2f p);
// The workspace point over which `camera` shows the scene point `m`: the
// inverse of mapPointUnder.
VQ::Vector2f workspacePointOver(const AE::MovieCamera* camera, VQ::Vector2f scene, VQ::Vector2f m);
