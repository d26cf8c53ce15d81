// Key-frame editing of a node, key-frame records and node data.

#include <gtest/gtest.h>

#include "animationeditor/frame_data.h"
#include "animationeditor/scene_node.h"
#include "animationeditor/scene_node_data.h"
#include "scene_test_nodes.h"

using AE::IFrameData;
using AE::ISceneNode;
using VQ::Matrix3;
using VQ::Vector2f;

namespace {

float keyOf(ISceneNode& node, const char* track, uint32_t frame)
{
    return node.animation->floatKeyAt(track, node.animation->keyFrameIndex(frame)).value;
}

const char* const kBaseFloatTracks[] = {"posX",    "posY",    "rotation", "scaleX", "scaleY",
                                        "posZ",    "shear00", "shear01",  "shear10", "shear11"};

}  // namespace

TEST(SceneNodeKeys, StoringAKeyFrameWritesValuesAndKeepsTheBezierParameters)
{
    ISceneNode node;
    node.posX = 5;
    node.storeKeyFrame(12);
    EXPECT_TRUE(node.hasKeyFrame(12));
    EXPECT_FLOAT_EQ(keyOf(node, "posX", 12), 5.0f);
    node.animation->tangentAt("posX", 0) = 2.0f;
    node.animation->weightAt("posX", 0) = 0.1f;

    node.posX = 9;
    node.shear.m01 = 0.5f;
    node.color = VQ::Color(0xFF102030u);
    node.storeKeyFrame(12);
    EXPECT_EQ(node.keyFrameNumbers(), (std::vector<uint32_t>{12}));
    EXPECT_FLOAT_EQ(keyOf(node, "posX", 12), 9.0f);
    EXPECT_FLOAT_EQ(node.animation->tangentAt("posX", 0), 2.0f);
    EXPECT_FLOAT_EQ(node.animation->weightAt("posX", 0), 0.1f);
    EXPECT_FLOAT_EQ(keyOf(node, "shear01", 12), 0.5f);
    EXPECT_EQ(node.animation->keyAt<VQ::Color>("color", 0).value.argb(), 0xFF102030u);
}

TEST(SceneNodeKeys, InsertCopyRemoveAndMove)
{
    ISceneNode node;
    node.posX = 1;
    node.insertKeyFrame(0);  // no key frame yet: the node's own values
    EXPECT_FLOAT_EQ(keyOf(node, "posX", 0), 1.0f);
    node.posX = 2;
    node.shear.m10 = 0.3f;
    node.pivotPoint = Vector2f(4, 4);
    node.storeKeyFrame(24);
    node.insertKeyFrame(24);  // exists: nothing
    EXPECT_FLOAT_EQ(keyOf(node, "posX", 24), 2.0f);

    // The key at or before the current time, not the interpolated value.
    node.animation->time = 0.9f;
    node.insertKeyFrame(30);
    EXPECT_FLOAT_EQ(keyOf(node, "posX", 30), 1.0f);
    node.animation->time = 1.1f;
    node.insertKeyFrame(28);
    EXPECT_FLOAT_EQ(keyOf(node, "posX", 28), 2.0f);

    node.copyKeyFrame(24, 10);
    for (const char* track : kBaseFloatTracks)
        EXPECT_EQ(keyOf(node, track, 10), keyOf(node, track, 24)) << track;
    EXPECT_EQ(node.animation->vector2KeyAt("pivotPoint", node.animation->keyFrameIndex(10)).value, Vector2f(4, 4));
    node.copyKeyFrame(3, 11);   // no key frame 3
    node.copyKeyFrame(0, 10);   // 10 exists
    EXPECT_FALSE(node.hasKeyFrame(11));
    EXPECT_FLOAT_EQ(keyOf(node, "shear10", 10), 0.3f);

    node.removeKeyFrame(28);
    node.removeKeyFrame(99);
    node.moveKeyFrame(30, 10);  // taken: the next free frame
    EXPECT_EQ(node.keyFrameNumbers(), (std::vector<uint32_t>{0, 10, 11, 24}));
    EXPECT_FLOAT_EQ(keyOf(node, "posX", 11), 1.0f);
}

TEST(SceneNodeKeys, WorldMatrixAtAFrameUsesTheKeyAtOrBeforeIt)
{
    ISceneNode parent;
    parent.storeKeyFrame(0);
    parent.posX = 100;
    parent.storeKeyFrame(24);
    auto* child = new ISceneNode();
    parent.addChild(child, true);
    child->posY = 1;
    child->scaleX = 3;
    child->storeKeyFrame(0);
    child->posY = 2;
    child->storeKeyFrame(24);

    struct Case {
        uint32_t frame;
        float x, y;
    };
    for (const Case& c : {Case{12, 0, 1}, Case{30, 100, 2}, Case{0, 0, 1}}) {
        const Matrix3 m = child->worldMatrixAtFrame(c.frame);
        EXPECT_FLOAT_EQ(m.m20, c.x) << c.frame;
        EXPECT_FLOAT_EQ(m.m21, c.y) << c.frame;
        EXPECT_FLOAT_EQ(m.m00, 3.0f);
    }
    // Without key frames: the node's current values, pivot and shear included.
    ISceneNode plain;
    plain.posX = 7;
    plain.pivotPoint = Vector2f(1, 0);
    plain.rotation = 90;
    const Matrix3 m = plain.worldMatrixAtFrame(5);
    EXPECT_NEAR(m.m20, 8.0f, 1e-5f);
    EXPECT_NEAR(m.m21, -1.0f, 1e-5f);
}

TEST(SceneNodeKeys, AFrameRecordAppliedAndCapturedCarriesEveryKeyPart)
{
    IFrameData record;
    EXPECT_EQ(record.dataSize(), 124);
    EXPECT_EQ(record.color.argb(), 0u);
    record.x = 1;
    record.y = 2;
    record.bezierX = 3;
    record.bezierY = 4;
    record.bezierCoeffX = 0.1f;
    record.bezierCoeffY = 0.2f;
    record.bezierPosEnabled = true;
    record.pivotX = 5;
    record.pivotY = 6;
    record.angle = 30;
    record.bezierAngle = 7;
    record.bezierCoeffAngle = 0.3f;
    record.bezierAngleEnabled = true;
    record.scaleX = 2;
    record.scaleY = 0.5f;
    record.bezierScaleX = 8;
    record.bezierScaleY = 9;
    record.bezierCoeffScaleX = 0.4f;
    record.bezierCoeffScaleY = 0.6f;
    record.bezierScaleEnabled = true;
    record.z = -3;
    record.color = VQ::Color(0x80FF0000u);
    record.shear.m01 = 0.25f;

    ISceneNode node;
    node.storeKeyFrame(0);
    node.applyFrameData(12, record);  // a new key frame, every track keyed
    EXPECT_EQ(node.keyFrameNumbers(), (std::vector<uint32_t>{0, 12}));
    for (const auto& track : node.animation->tracks)
        EXPECT_EQ(track->keyCount(), 2u) << track->name;
    EXPECT_TRUE(node.animation->smoothAt("posY", 1));
    EXPECT_FLOAT_EQ(node.animation->weightAt("scaleY", 1), 0.6f);

    const std::unique_ptr<IFrameData> captured = node.createFrameData(12, false);
    ISceneNode other;
    other.applyFrameData(12, *captured);
    for (const char* track : kBaseFloatTracks) {
        const auto& a = node.animation->floatKeyAt(track, 1);
        const auto& b = other.animation->floatKeyAt(track, 0);
        EXPECT_EQ(a.value, b.value) << track;
        EXPECT_EQ(a.tangent, b.tangent) << track;
        EXPECT_EQ(a.weight, b.weight) << track;
        EXPECT_EQ(a.smooth, b.smooth) << track;
    }
    EXPECT_EQ(other.animation->vector2KeyAt("pivotPoint", 0).value, Vector2f(5, 6));
    EXPECT_EQ(other.animation->keyAt<VQ::Color>("color", 0).value.argb(), 0x80FF0000u);

    // A frame that is not a key frame leaves the record as it was made.
    const std::unique_ptr<IFrameData> none = node.createFrameData(5, true);
    EXPECT_EQ(none->x, 0.0f);
    EXPECT_EQ(none->shear.m00, 1.0f);
}

TEST(SceneNodeKeys, AWorldCaptureComposesWithTheParentAtThatFrame)
{
    ISceneNode parent;
    parent.posX = 50;
    parent.rotation = 30;
    parent.storeKeyFrame(6);
    auto* child = new ISceneNode();
    parent.addChild(child, true);
    child->posX = 10;
    child->rotation = 20;
    child->scaleY = 2;
    child->storeKeyFrame(6);

    const std::unique_ptr<IFrameData> local = child->createFrameData(6, false);
    const std::unique_ptr<IFrameData> world = child->createFrameData(6, true);
    EXPECT_FLOAT_EQ(local->x, 10.0f);
    EXPECT_NEAR(world->x, 58.660254f, 1e-4f);  // (10, 0) turned by 30 degrees, moved by 50
    EXPECT_NEAR(world->y, 5.0f, 1e-4f);
    EXPECT_NEAR(world->angle, 50.0f, 1e-3f);
    EXPECT_NEAR(world->scaleX, 1.0f, 1e-5f);
    EXPECT_NEAR(world->scaleY, 2.0f, 1e-5f);
    EXPECT_EQ(world->bezierCoeffX, local->bezierCoeffX);
}

TEST(SceneNodeKeys, NodeDataCopiesValuesAndBakesThemUnderAParent)
{
    ISceneNode parent;
    auto* node = new ISceneNode();
    parent.addChild(node, true);
    node->setPosition(3, 4);
    node->rotation = 200;
    node->scaleX = 2;
    node->scaleY = 0.5f;
    node->posZ = 6;
    node->loop = true;
    node->updateTransform();

    const std::unique_ptr<AE::ISceneNodeData> data = node->createNodeData(false);
    EXPECT_EQ(data->dataSize(), 115);
    EXPECT_EQ(data->rotation, 200.0f);
    EXPECT_EQ(data->position, Vector2f(3, 4));
    EXPECT_TRUE(data->loop);
    EXPECT_TRUE(data->enabled);
    EXPECT_EQ(data->worldColor.argb(), 0xFFFFFFFFu);

    const std::unique_ptr<AE::ISceneNodeData> baked = node->createNodeData(true);
    EXPECT_NEAR(baked->rotation, 200.0f, 1e-3f);
    EXPECT_NEAR(baked->position.x, 3.0f, 1e-4f);
    EXPECT_NEAR(baked->position.y, 4.0f, 1e-4f);
    EXPECT_NEAR(baked->scaleX, 2.0f, 1e-5f);
    EXPECT_NEAR(baked->scaleY, 0.5f, 1e-5f);

    ISceneNode target;
    data->posZ = 9;
    data->enabled = false;
    target.setNodeData(*data);
    EXPECT_EQ(target.posX, 3.0f);
    EXPECT_EQ(target.posZ, 9.0f);
    EXPECT_FALSE(target.enabled);
    EXPECT_EQ(target.worldMatrix.m20, node->worldMatrix.m20);
    EXPECT_EQ(target.localMatrix.m20, 0.0f);  // rebuilt by the next update only
}
