#pragma once
// A snapshot of a node's values, filled by fillNodeData and applied by
// setNodeData. The kinds derive larger records from it.

#include <memory>

#include "color.h"
#include "matrix3.h"
#include "vector2.h"

namespace AE {

class ISceneNodeData {
public:
    virtual ~ISceneNodeData() = default;
    // Bytes of the record's values.
    virtual int dataSize() const { return 115; }

    VQ::Vector2f position;
    float rotation = 0.0f;  // degrees
    VQ::Vector2f pivotPoint;
    float scaleX = 0.0f;
    float scaleY = 0.0f;
    float posZ = 0.0f;
    VQ::Color color;
    VQ::Color worldColor;
    VQ::Matrix3 worldMatrix;
    VQ::Matrix3 shear;
    bool parallaxEnabled = false;
    bool enabled = false;
    bool loop = false;
};

// A new record of the kind `Data` filled from the node: what each kind's
// createNodeData returns.
template <typename Data, typename Node>
std::unique_ptr<ISceneNodeData> makeNodeData(Node& node, bool bake)
{
    auto data = std::make_unique<Data>();
    node.fillNodeData(*data, bake);
    return data;
}

}  // namespace AE
