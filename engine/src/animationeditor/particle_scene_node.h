#pragma once
// The scene node that hosts a particle effect. It owns one effect instance
// of the particle system, moves it to the node's world position, advances
// it with the scene and draws it in depth order with the other nodes. Its
// "emitCoef" track scales every emitter's emission rate and its "play"
// track runs (non-zero) or freezes (zero) the effect. Creating one switches
// the particle system's own advancing of live effects off: from then on
// every effect owned by a node is advanced by its node.

#include <cstdint>
#include <memory>
#include <string>

#include "animationeditor/frame_data.h"
#include "animationeditor/scene_node.h"
#include "animationeditor/scene_node_data.h"

namespace VQ {
class ParticleFX;
}

namespace AE {

// A particle node's state in memory.
class ParticleSceneNodeData : public ISceneNodeData {
public:
    int dataSize() const override { return 126; }

    float emitCoef = 0.0f;
    int32_t play = 0;
    bool stencil = false;
    bool distortion = false;
};

class ParticleSceneNode : public ISceneNode {
public:
    ParticleSceneNode();
    // The copy runs an instance of its own, started at its world position.
    ParticleSceneNode(const ParticleSceneNode& source, ISceneNode* parent);
    ~ParticleSceneNode() override;

    int kind() const override { return SCENE_NODE_PARTICLE; }
    void updateDerived(float dt) override;
    // Store the value only: the transform follows at the tree's next update.
    void setRotation(float degrees) override { rotation = degrees; }
    void setScaleX(float scale) override { scaleX = scale; }
    void setScaleY(float scale) override { scaleY = scale; }
    VQ::Vector2f getSize() const override { return VQ::Vector2f(64.0f, 64.0f); }
    void storeKeyFrame(uint32_t frame) override;
    void applyFrameData(uint32_t frame, const IFrameData& data) override;
    // The effect is simulated from its start for the whole time in one step.
    void setTime(float seconds, bool recursive) override;
    ISceneNode* clone(ISceneNode* parent) const override;
    void copyKeyFrame(uint32_t fromFrame, uint32_t toFrame) override;
    void insertKeyFrame(uint32_t frame) override;
    std::unique_ptr<IFrameData> createFrameData(uint32_t frame, bool world) override;
    void setNodeData(const ISceneNodeData& data) override;
    std::unique_ptr<ISceneNodeData> createNodeData(bool bake) override;
    void fillNodeData(ISceneNodeData& data, bool bake) override;
    void save(DataStream& stream, bool bake) override;
    void load(DataStream& stream) override;
    void render() override;

    // Keys position, depth, emission factor, pivot and play at `frame`,
    // with scale 1 and the node's shear.
    virtual void writeKeyFrame(float x, float y, float z, float emitFactor, float pivotX, float pivotY,
                               int32_t playValue, uint32_t frame);
    virtual void storeKeyFrameAt(float frame);
    // An operation of this kind kept without a use: it answers false.
    virtual bool reservedQuery(int32_t, int32_t) { return false; }

    // Replaces the effect by a new one of that name; false (and no effect)
    // when there is no such effect or the particle system cannot load it.
    bool setEffect(const std::string& name);
    VQ::ParticleFX* getEffect() const { return effect; }

    float emitCoef = 1.0f;
    int32_t play = 1;
    bool stencil = false;
    bool distortion = false;

private:
    void bindParticleTracks();
    void releaseEffect();
    // Null when package "default" does not hold the effect.
    static VQ::ParticleFX* createEffect(const std::string& name);

    VQ::ParticleFX* effect = nullptr;  // the particle system's, handed back on release
};

}  // namespace AE
