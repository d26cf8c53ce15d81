#pragma once
// Node kinds and builders the scene tests share.

#include <memory>
#include <string>
#include <vector>

#include "animationeditor/scene_node.h"
#include "animationeditor/vector_stream.h"

namespace SceneTest {

// A node kind that records what happens to it in a shared journal: its
// drawing (after applying the camera, as drawable kinds do) and its
// destruction.
class RecordingNode : public AE::ISceneNode {
public:
    explicit RecordingNode(std::vector<std::string>& journal, const std::string& nodeName = "default")
        : mJournal(journal)
    {
        name = nodeName;
    }
    RecordingNode(const RecordingNode& source, AE::ISceneNode* newParent)
        : AE::ISceneNode(source, newParent), mJournal(source.mJournal)
    {
    }
    ~RecordingNode() override { mJournal.push_back("~" + name); }

    AE::ISceneNode* clone(AE::ISceneNode* newParent) const override { return new RecordingNode(*this, newParent); }
    void render() override
    {
        applyCamera();
        mJournal.push_back(name);
    }

private:
    std::vector<std::string>& mJournal;
};

// A group node named `name` under `parent` (owned by the parent).
inline AE::ISceneNode* addGroup(AE::ISceneNode* parent, const std::string& name)
{
    auto* node = new AE::ISceneNode();
    node->name = name;
    parent->addChild(node, true);
    return node;
}

// A node's saved form and the number of its bytes beyond the base node's
// own part: what the kind adds.
struct SavedNode {
    std::vector<uint8_t> bytes;
    size_t kindBytes = 0;
};

inline SavedNode saveNode(AE::ISceneNode& node)
{
    SavedNode saved;
    AE::VectorStream out(saved.bytes);
    node.save(out, false);
    std::vector<uint8_t> base;
    AE::VectorStream baseOut(base);
    node.ISceneNode::save(baseOut, false);
    saved.kindBytes = saved.bytes.size() - base.size();
    return saved;
}

}  // namespace SceneTest
