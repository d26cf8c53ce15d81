#pragma once
// A scene node's image drawn as a grid of quads whose vertices a transformer
// moves every frame, so that cloth sways in the wind and water ripples. Game
// screens turn every node whose name begins with "#mesh:" into one; the
// replaced node's markers carry the settings in their names: "#segments:"
// (columns and rows), "#transformer:" ("Wind" or "Water") and the
// transformer's own keys. The mesh is built in world coordinates when it is
// made and then deformed in place: it does not follow later moves of its
// node.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "animationeditor/scene_node.h"

namespace VQ {
class RenderData;
class Sprite;
}  // namespace VQ

namespace AE {

class MeshSceneNode;

class MeshTransformer {
public:
    explicit MeshTransformer(MeshSceneNode* node) : node(node) {}
    virtual ~MeshTransformer() = default;
    virtual void update(float dt) = 0;
    virtual void setTime(float seconds) { time = seconds; }

    MeshSceneNode* node;  // not owned
    float time = 0.0f;
};

// Ripples: "#location:0" waves along the surface, "#location:1" lifts whole
// columns apart.
class WaterMeshTransformer : public MeshTransformer {
public:
    WaterMeshTransformer(const std::vector<std::unique_ptr<Marker>>& markers, MeshSceneNode* node);
    void update(float dt) override;

    int32_t location = 0;
};

// Cloth or plants in the wind, fixed along the right edge: "#speed:",
// "#phase:", "#stiffness:" and "#fixedTopEdge".
class WindMeshTransformer : public MeshTransformer {
public:
    WindMeshTransformer(const std::vector<std::unique_ptr<Marker>>& markers, MeshSceneNode* node);
    void update(float dt) override;

    float speed = 1.25f;
    float phase = 0.0f;
    float stiffness = 1.0f;
    bool fixedTopEdge = false;
};

// "Wind" or "Water" (exactly); null for any other name.
std::unique_ptr<MeshTransformer> createMeshTransformer(const std::string& name,
                                                       const std::vector<std::unique_ptr<Marker>>& markers,
                                                       MeshSceneNode* node);

class MeshSceneNode : public ISceneNode {
public:
    // The most columns or rows a "#segments:" marker may ask for.
    static constexpr int32_t MAX_SEGMENTS = 256;

    // Builds the mesh from `old` (normally a sprite node whose file and
    // table name a Lua sprite description). Under a parent the mesh takes
    // the old node's name and place, and the old node is deleted; a node
    // without parent is left to the caller.
    explicit MeshSceneNode(ISceneNode* old);
    ~MeshSceneNode() override;

    void updateDerived(float dt) override;
    void setTime(float seconds, bool recursive) override;
    // Drawn whether or not the node is enabled.
    void render() override;

    void parseMarkers(const std::vector<std::unique_ptr<Marker>>& oldMarkers);
    void buildGrid();

    const VQ::RenderData& getRenderData() const { return *renderData; }
    VQ::RenderData& getRenderData() { return *renderData; }
    // The position of vertex `index` (four per quad, quads row by row).
    VQ::Vector2f vertexPosition(uint32_t index) const;
    void setVertexPosition(uint32_t index, float x, float y);
    VQ::Vector2f vertexTexCoord(uint32_t index) const;
    MeshTransformer* getTransformer() const { return transformer.get(); }

    std::unique_ptr<VQ::RenderData> renderData;
    uint32_t segmentsX = 16;
    uint32_t segmentsY = 1;
    float width = 0.0f;
    float height = 0.0f;
    VQ::Sprite* sprite = nullptr;  // the sprite manager's
    std::unique_ptr<MeshTransformer> transformer;
};

// Replaces every node under `node` whose name begins with "#mesh:" by a
// mesh node, searched depth-first without descending into such a node; each
// new node is made visible, its deformation offsets are zeroed and it is
// set playing with its subtree.
void convertMeshNodes(ISceneNode* node);

}  // namespace AE
