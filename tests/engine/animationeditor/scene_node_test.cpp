// The scene node: its record, transforms and their change detection, the
// decomposition of a matrix into node values, re-parenting, world colour,
// copying and destruction.

#include <gtest/gtest.h>

#include <cmath>

#include "animationeditor/movie_camera.h"
#include "animationeditor/scene_node.h"
#include "scene_test_nodes.h"

using AE::ISceneNode;
using VQ::Matrix3;
using VQ::Vector2f;

namespace {

void expectMatrixNear(const Matrix3& a, const Matrix3& b, float tolerance)
{
    const float ea[9] = {a.m00, a.m01, a.m02, a.m10, a.m11, a.m12, a.m20, a.m21, a.m22};
    const float eb[9] = {b.m00, b.m01, b.m02, b.m10, b.m11, b.m12, b.m20, b.m21, b.m22};
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(ea[i], eb[i], tolerance) << "entry " << i / 3 << i % 3;
}

}  // namespace

TEST(SceneNode, ADefaultNodeIsAnIdentityGroupWithItsTwelveTracks)
{
    ISceneNode node;
    expectMatrixNear(node.worldMatrix, Matrix3(), 0.0f);
    EXPECT_EQ(node.worldColor.argb(), 0xFFFFFFFFu);
    EXPECT_TRUE(node.enabled);
    EXPECT_FALSE(node.playing);
    EXPECT_TRUE(node.visible);
    EXPECT_EQ(node.kind(), AE::SCENE_NODE_GROUP);
    EXPECT_EQ(node.name, "default");
    std::vector<std::string> names;
    for (const auto& track : node.animation->tracks)
        names.push_back(track->name);
    EXPECT_EQ(names, (std::vector<std::string>{"posX", "posY", "rotation", "scaleX", "scaleY", "pivotPoint", "posZ",
                                               "color", "shear00", "shear01", "shear10", "shear11"}));
    ASSERT_NE(node.animation->easing, nullptr);
    EXPECT_EQ(node.getSize(), Vector2f(0, 0));
}

TEST(SceneNode, ChangesOfAThousandthOrLessWaitForALargerOne)
{
    ISceneNode root;
    ISceneNode* child = SceneTest::addGroup(&root, "child");
    child->posX = 3;
    root.updateTransform();
    ASSERT_FLOAT_EQ(child->worldMatrix.m20, 3.0f);

    root.posX += 0.0005f;
    child->shear.m10 += 0.001f;  // not strictly greater
    root.updateTransform();
    EXPECT_FLOAT_EQ(root.worldMatrix.m20, 0.0f);
    EXPECT_FALSE(root.worldChanged);
    EXPECT_FLOAT_EQ(child->worldMatrix.m10, 0.0f);

    root.posX = 0.002f;
    root.updateTransform();
    EXPECT_FLOAT_EQ(root.worldMatrix.m20, 0.002f);
    // The child's own values did not move; its parent's did.
    EXPECT_TRUE(child->worldChanged);
    EXPECT_FLOAT_EQ(child->worldMatrix.m20, 3.002f);
    EXPECT_FLOAT_EQ(child->worldPosition.x, 3.002f);
}

TEST(SceneNode, LocalMatrixScalesShearsAndRotatesAboutThePivot)
{
    ISceneNode node;
    node.posX = 10;
    node.posY = 20;
    node.pivotPoint = Vector2f(4, 0);
    node.setRotation(90);
    // The pivot stays where it is; a point right of it turns downwards.
    float x = 0, y = 0;
    node.worldMatrix.transformPoint(4, 0, x, y);
    EXPECT_NEAR(x, 14, 1e-4f);
    EXPECT_NEAR(y, 20, 1e-4f);
    node.worldMatrix.transformPoint(5, 0, x, y);
    EXPECT_NEAR(x, 14, 1e-4f);
    EXPECT_NEAR(y, 21, 1e-4f);
}

TEST(SceneNode, ReparentingWithoutKeepLocalKeepsThePlaceOnScreen)
{
    ISceneNode root;
    ISceneNode* oldParent = SceneTest::addGroup(&root, "old");
    oldParent->setPosition(5, -3);
    oldParent->setScaleX(1.25f);
    ISceneNode* newParent = SceneTest::addGroup(&root, "new");
    newParent->setPosition(12, 7);
    newParent->setScaleY(0.75f);  // non-uniform under a turn: the node needs a shear
    newParent->setRotation(90);
    ISceneNode* node = SceneTest::addGroup(oldParent, "node");
    node->setPosition(6, 4);
    node->pivotPoint = Vector2f(2, 1);
    node->setScaleX(2);
    node->setScaleY(0.5f);
    node->setRotation(25);
    root.updateTransform();
    const Matrix3 before = node->worldMatrix;

    newParent->addChild(node, false);
    root.updateTransform();
    EXPECT_EQ(node->parent, newParent);
    EXPECT_TRUE(oldParent->children.empty());
    expectMatrixNear(node->worldMatrix, before, 1e-4f);

    // keepLocal: the values stay and the placement follows the parent.
    const float x = node->posX;
    const float degrees = node->rotation;
    node->setParent(oldParent, true);
    root.updateTransform();
    EXPECT_EQ(node->posX, x);
    EXPECT_EQ(node->rotation, degrees);
    EXPECT_GT(std::fabs(node->worldMatrix.m20 - before.m20), 1.0f);

    // Adding an existing child changes nothing.
    oldParent->addChild(node, false);
    EXPECT_EQ(oldParent->children.size(), 1u);
    EXPECT_EQ(node->posX, x);
}

TEST(SceneNode, DecompositionReproducesTheMatrixNearTheCurrentRotation)
{
    // Scales (-1, -1) at 170 degrees equal scales (1, 1) at 350: the
    // representation next to the current rotation wins.
    const Matrix3 m = ISceneNode::composeLocalMatrix(Vector2f(0, 0), 170, Vector2f(0, 0), -1, -1, Matrix3());
    float rotation = 170;
    Vector2f scale, position;
    Matrix3 shear;
    ISceneNode::decomposeTransform(m, Vector2f(0, 0), rotation, scale, position, shear);
    EXPECT_NEAR(rotation * 57.2958f, 170.0f, 1e-3f);
    EXPECT_NEAR(scale.x, -1.0f, 1e-5f);
    EXPECT_NEAR(scale.y, -1.0f, 1e-5f);

    struct Case {
        Vector2f position, pivot;
        float degrees, sx, sy, current;
    };
    const Case cases[] = {
        {{3, -4}, {1, 2}, 30, 2, 0.5f, 30},
        {{0, 0}, {0, 0}, 200, 1, -1, 200},   // mirrored
        {{7, 1}, {0, 0}, -45, -2, 3, -45},   // mirrored, negative angle
        {{0, 0}, {5, 5}, 10, 1, 1, 370},     // a whole turn away
    };
    for (const Case& c : cases) {
        Matrix3 sheared;
        sheared.m10 = 0.3f;
        const Matrix3 target = ISceneNode::composeLocalMatrix(c.position, c.degrees, c.pivot, c.sx, c.sy, sheared);
        float theta = c.current;
        ISceneNode::decomposeTransform(target, c.pivot, theta, scale, position, shear);
        const Matrix3 again =
            ISceneNode::composeLocalMatrix(position, theta * 57.2958f, c.pivot, scale.x, scale.y, shear);
        expectMatrixNear(again, target, 1e-4f);
        EXPECT_LT(std::fabs(theta * 57.2958f - c.current), 180.0f) << c.degrees;
    }
}

TEST(SceneNode, BasisCoefficientsSolveAndGuardTheirDenominators)
{
    const Vector2f ab = ISceneNode::basisCoefficients(Vector2f(1, 0), Vector2f(0, 2), Vector2f(3, 4));
    EXPECT_FLOAT_EQ(ab.x, 2.0f);
    EXPECT_FLOAT_EQ(ab.y, 3.0f);
    const Vector2f flat = ISceneNode::basisCoefficients(Vector2f(1, 0), Vector2f(2, 0), Vector2f(0, 1));
    EXPECT_FLOAT_EQ(flat.x, 1.0f / 0.00001f);
    EXPECT_FLOAT_EQ(flat.y, 2.0f / 0.00001f);
}

TEST(SceneNode, WorldPositionAndRotationGoThroughTheParent)
{
    ISceneNode root;
    root.setPosition(100, 50);
    root.setScaleX(2);
    root.setRotation(30);
    ISceneNode* child = SceneTest::addGroup(&root, "child");
    child->rotation = 15;
    child->setWorldPosition(Vector2f(120, 70));
    EXPECT_NEAR(child->worldMatrix.m20, 120, 1e-3f);
    EXPECT_NEAR(child->worldMatrix.m21, 70, 1e-3f);
    child->setWorldX(90);
    EXPECT_NEAR(child->worldMatrix.m20, 90, 1e-3f);
    EXPECT_NEAR(child->worldMatrix.m21, 70, 1e-3f);
    EXPECT_FLOAT_EQ(child->getWorldRotation(), 45.0f);
    EXPECT_EQ(child->getSize(), Vector2f(64, 64));
}

TEST(SceneNode, ChildrenModulateTheirColourWithTheParents)
{
    ISceneNode root;
    root.color = VQ::Color::fromBytes(127, 255, 255, 255);
    ISceneNode* child = SceneTest::addGroup(&root, "child");
    child->color = VQ::Color::fromBytes(200, 200, 200, 200);
    ISceneNode::update(&root, 0);
    EXPECT_EQ(child->getWorldColor(), VQ::Color::fromBytes(100, 200, 200, 200));
    EXPECT_EQ(child->getColor(), VQ::Color::fromBytes(200, 200, 200, 200));
}

TEST(SceneNode, DeletingARootDeletesItsSubtreeLastChildFirstAndLeavesTheLiveScenes)
{
    std::vector<std::string> journal;
    auto* root = new SceneTest::RecordingNode(journal, "root");
    auto* a = new SceneTest::RecordingNode(journal, "a");
    root->addChild(a, true);
    a->addChild(new SceneTest::RecordingNode(journal, "a1"), true);
    a->addChild(new SceneTest::RecordingNode(journal, "a2"), true);
    root->addChild(new SceneTest::RecordingNode(journal, "b"), true);
    AE::registerScene(root);
    AE::registerScene(root);  // twice: no entry may outlive it
    delete root;
    // Each node notes its destruction as it begins.
    EXPECT_EQ(journal, (std::vector<std::string>{"~root", "~b", "~a", "~a2", "~a1"}));
    for (ISceneNode* live : AE::liveScenes())
        EXPECT_NE(live, root);
}

TEST(SceneNode, ACopyIsDeepAndDoesNotPlay)
{
    std::vector<std::string> journal;
    ISceneNode parentOfCopy;
    ISceneNode source;
    source.name = "source";
    source.posX = 7;
    source.rotation = 33;
    source.playing = true;
    source.visible = false;
    source.reservedVector = Vector2f(1, 1);
    source.rangeTo = 12;
    source.animation->addKeyframe(0);
    source.animation->floatKeyAt("posX", 0).value = 42;
    ISceneNode* child = SceneTest::addGroup(&source, "child");
    child->addChild(new SceneTest::RecordingNode(journal, "leaf"), true);

    ISceneNode* copy = source.clone(&parentOfCopy);
    EXPECT_EQ(copy->parent, &parentOfCopy);
    EXPECT_EQ(copy->name, "source");
    EXPECT_EQ(copy->posX, 7);
    EXPECT_EQ(copy->rotation, 33);
    EXPECT_FALSE(copy->playing);
    EXPECT_FALSE(copy->visible);
    EXPECT_EQ(copy->reservedVector, Vector2f(0, 0));
    EXPECT_EQ(copy->rangeTo, 12);
    ASSERT_EQ(copy->children.size(), 1u);
    ASSERT_EQ(copy->children[0]->children.size(), 1u);
    EXPECT_NE(dynamic_cast<SceneTest::RecordingNode*>(copy->children[0]->children[0]), nullptr);

    // The copy's tracks write the copy's fields.
    ISceneNode::update(copy, 0);
    EXPECT_EQ(copy->posX, 42);
    EXPECT_EQ(source.posX, 7);
}

TEST(SceneNode, ACopyNeverPointsAtTheSourcesCamera)
{
    auto* source = new ISceneNode();
    auto* camera = new AE::MovieCamera();
    camera->name = "cam";
    source->addChild(camera, true);
    camera->play(false);
    ISceneNode::update(source, 0);
    ASSERT_EQ(source->activeCamera, camera);

    std::unique_ptr<ISceneNode> copy(source->clone(nullptr));
    delete source;
    // The copy's camera is the camera at the same place in the copy.
    ASSERT_EQ(copy->children.size(), 1u);
    EXPECT_EQ(copy->activeCamera, copy->children[0]);
    EXPECT_EQ(copy->getActiveCamera(), copy->children[0]);
    EXPECT_EQ(copy->children[0]->kind(), AE::SCENE_NODE_CAMERA);
}

TEST(SceneNode, ACameraLeavingTheTreeStopsBeingItsActiveCamera)
{
    ISceneNode root;
    auto* camera = new AE::MovieCamera();
    root.addChild(camera, true);
    camera->play(false);
    ISceneNode::update(&root, 0);
    ASSERT_EQ(root.activeCamera, camera);
    delete camera;
    EXPECT_EQ(root.activeCamera, nullptr);
}
