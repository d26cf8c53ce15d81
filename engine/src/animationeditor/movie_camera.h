#pragma once
// The movie camera: a scene node that supplies the view through which the
// nodes of its scene are drawn. Each camera keeps the key frames at which
// it takes over (its activation frames); as its own clock passes them its
// priority becomes the time of the latest one passed, and the node that
// selects cameras (normally the root) makes its playing camera child of
// greatest priority the tree's active camera. Drawable nodes apply that
// camera's view, with parallax by depth.

#include <cstdint>
#include <memory>
#include <vector>

#include "animationeditor/frame_data.h"
#include "animationeditor/scene_node.h"
#include "animationeditor/scene_node_data.h"
#include "render_system.h"

namespace AE {

// A camera's state in memory.
class CameraData : public ISceneNodeData {
public:
    int dataSize() const override { return 192; }

    VQ::RenderCamera view;
    float time = 0.0f;
    int32_t frameCount = 0;
    float parallaxCoef = 0.0f;
    std::vector<int32_t> activationFrames;
};

class MovieCamera : public ISceneNode {
public:
    MovieCamera();
    // A camera again, with its view, clock, activation state and list.
    MovieCamera(const MovieCamera& source, ISceneNode* parent);

    int kind() const override { return SCENE_NODE_CAMERA; }
    // The view from the node's values and, while playing under a root that
    // selects cameras, the activation clock. Neither the markers nor the
    // world colour are updated.
    void updateDerived(float dt) override;
    void setRotation(float degrees) override;
    void setScaleX(float scale) override;
    void setScaleY(float scale) override;
    void moveKeyFrame(uint32_t oldFrame, uint32_t newFrame) override;
    VQ::Vector2f getSize() const override { return VQ::Vector2f(0.5f, 0.5f); }
    void storeKeyFrame(uint32_t frame) override;
    void removeKeyFrame(uint32_t frame) override;
    // The view follows the world position last computed.
    void setPosition(const VQ::Vector2f& position) override;
    using ISceneNode::setPosition;
    void setTime(float seconds, bool recursive) override;
    ISceneNode* clone(ISceneNode* parent) const override;
    void setNodeData(const ISceneNodeData& data) override;
    std::unique_ptr<ISceneNodeData> createNodeData(bool bake) override;
    void fillNodeData(ISceneNodeData& data, bool bake) override;
    void save(DataStream& stream, bool bake) override;
    void load(DataStream& stream) override;
    // An operation of this kind kept without a use: it answers false.
    virtual bool reservedQuery(int32_t, int32_t) { return false; }

    VQ::RenderCamera getView() const { return view; }
    // Keys position, rotation, scale and the shear at `frame`; a key frame
    // written while this camera is its parent's active camera becomes an
    // activation frame.
    void writeKeyFrame(float degrees, uint32_t frame, const VQ::Vector2f& position, const VQ::Vector2f& scale);
    // Only a key frame that is not yet listed; the list stays sorted.
    void addActivationFrame(int32_t frame);
    void removeActivationFrame(int32_t frame);
    // Makes the camera child of the parent whose latest activation frame
    // lies closest before the camera's time the parent's active camera.
    void chooseCameraAt();

    VQ::RenderCamera view;
    float time = 0.0f;  // seconds
    float nextActivationTime = 0.0f;
    float activationIndex = 0.0f;  // a whole number
    // Seconds; the value the per-frame camera choice compares.
    float priority = 0.0f;
    std::vector<int32_t> activationFrames;  // ascending, no duplicates
    // Parallax factor applied with the node's depth.
    float parallaxCoef = 1.0f;

private:
    // The root's camera selection flag; a camera without a parent is its own
    // root.
    bool treeSelectsCamera() const;
    // Priority, next activation and its index for the camera's time, from
    // the list: a changed list must not leave the clock pointing at a frame
    // it no longer holds, or skip the first one.
    void seekActivation();
};

}  // namespace AE
