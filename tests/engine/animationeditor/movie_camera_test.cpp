// The movie camera: activation frames and priority over its own clock, the
// choice of a camera at a time, key frames that become activation frames,
// parallax, copies and the saved form.

#include <gtest/gtest.h>

#include <memory>

#include "animationeditor/movie_camera.h"
#include "animationeditor/vector_stream.h"
#include "scene_test_nodes.h"

using AE::ISceneNode;
using AE::MovieCamera;
using VQ::Vector2f;

namespace {

constexpr float kFps = 24.0f;

// A camera under `parent` with key frames and activation frames at `frames`.
MovieCamera* addCamera(ISceneNode* parent, std::initializer_list<int> frames, bool playing = true)
{
    auto* camera = new MovieCamera();
    parent->addChild(camera, true);
    for (int frame : frames) {
        camera->storeKeyFrame(uint32_t(frame));
        camera->addActivationFrame(frame);
    }
    if (playing)
        camera->play(false);
    return camera;
}

}  // namespace

TEST(MovieCamera, PriorityFollowsTheLatestActivationFramePassed)
{
    ISceneNode root;
    MovieCamera* camera = addCamera(&root, {10, 50});
    ASSERT_EQ(camera->activationFrames, (std::vector<int32_t>{10, 50}));
    // Adding the frames points the clock at the first.
    ASSERT_EQ(camera->nextActivationTime, 10 / kFps);

    struct Step {
        float time;
        float priority;
    };
    // One update passes at most one frame, and only once the clock is past it.
    const Step steps[] = {{10 / kFps, 0.0f}, {0.5f, 10 / kFps}, {50 / kFps, 10 / kFps},
                          {2.5f, 50 / kFps}, {4.0f, 50 / kFps}};
    for (const Step& step : steps) {
        ISceneNode::update(&root, step.time - camera->time);
        EXPECT_FLOAT_EQ(camera->time, step.time);
        EXPECT_FLOAT_EQ(camera->priority, step.priority) << "at " << step.time;
    }
    EXPECT_EQ(camera->activationIndex, 2.0f);

    // A camera that does not play keeps its clock and is not chosen.
    auto* idle = addCamera(&root, {0}, false);
    idle->priority = 99.0f;
    ISceneNode::update(&root, 1.0f);
    EXPECT_EQ(idle->time, 0.0f);
    EXPECT_EQ(root.activeCamera, camera);
}

TEST(MovieCamera, SetTimeRecomputesPriorityAndTheNextActivation)
{
    ISceneNode root;
    MovieCamera* camera = addCamera(&root, {10, 50});
    camera->setTime(3.0f, false);
    EXPECT_FLOAT_EQ(camera->priority, 50 / kFps);
    EXPECT_EQ(camera->activationIndex, 2.0f);

    camera->setTime(1.0f, false);
    EXPECT_FLOAT_EQ(camera->priority, 10 / kFps);
    EXPECT_FLOAT_EQ(camera->nextActivationTime, 50 / kFps);
    EXPECT_EQ(camera->activationIndex, 1.0f);

    // A frame at exactly the time is not yet passed.
    camera->setTime(10 / kFps, false);
    EXPECT_EQ(camera->priority, 0.0f);
    EXPECT_FLOAT_EQ(camera->nextActivationTime, 10 / kFps);
}

TEST(MovieCamera, ChooseCameraAtPicksTheLatestActivationBeforeTheTime)
{
    ISceneNode root;
    MovieCamera* a = addCamera(&root, {10});
    MovieCamera* b = addCamera(&root, {20});

    a->time = 30 / kFps;
    a->chooseCameraAt();
    EXPECT_EQ(root.activeCamera, b);

    // Equal distances: the later child wins.
    a->removeKeyFrame(10);
    a->storeKeyFrame(20);
    a->addActivationFrame(20);
    a->chooseCameraAt();
    EXPECT_EQ(root.activeCamera, b);

    // At frame 40 with only A at 50, no camera qualifies.
    ISceneNode other;
    MovieCamera* late = addCamera(&other, {50});
    other.activeCamera = late;
    late->time = 40 / kFps;
    late->chooseCameraAt();
    EXPECT_EQ(other.activeCamera, nullptr);

    // setTime chooses for the parent as well.
    a->setTime(1.0f, false);
    EXPECT_EQ(root.activeCamera, b);

    // Nothing is chosen under a root that does not select cameras.
    root.selectsCamera = false;
    root.activeCamera = nullptr;
    a->chooseCameraAt();
    EXPECT_EQ(root.activeCamera, nullptr);
}

TEST(MovieCamera, KeyFramesOfTheActiveCameraBecomeActivationFrames)
{
    ISceneNode root;
    auto* camera = new MovieCamera();
    root.addChild(camera, true);
    auto* other = new MovieCamera();
    root.addChild(other, true);

    // Only key frames can be activation frames.
    camera->addActivationFrame(7);
    EXPECT_TRUE(camera->activationFrames.empty());

    root.activeCamera = camera;
    camera->posX = 12;
    camera->storeKeyFrame(30);
    camera->storeKeyFrame(5);
    other->storeKeyFrame(8);
    EXPECT_EQ(camera->activationFrames, (std::vector<int32_t>{5, 30}));
    EXPECT_TRUE(other->activationFrames.empty());
    EXPECT_EQ(camera->animation->floatKeyAt("posX", 1).value, 12.0f);

    // Moving keeps the list sorted; removing takes the frame out.
    camera->moveKeyFrame(30, 2);
    EXPECT_EQ(camera->activationFrames, (std::vector<int32_t>{2, 5}));
    camera->removeKeyFrame(5);
    EXPECT_EQ(camera->activationFrames, (std::vector<int32_t>{2}));
    EXPECT_FALSE(camera->hasKeyFrame(5));
    camera->removeActivationFrame(99);
    EXPECT_EQ(camera->activationFrames.size(), 1u);
}

TEST(MovieCamera, TheViewFollowsTheNodeAndItsSetters)
{
    ISceneNode root;
    auto* camera = new MovieCamera();
    root.addChild(camera, true);
    EXPECT_FALSE(camera->parallaxEnabled);
    EXPECT_EQ(camera->getSize(), Vector2f(0.5f, 0.5f));
    camera->setRotation(15);
    camera->setScaleX(2);
    camera->setScaleY(3);
    EXPECT_EQ(camera->getView().angle, 15.0f);
    EXPECT_EQ(camera->getView().scale, Vector2f(2, 3));

    camera->posX = 40;
    camera->posY = -8;
    ISceneNode::update(&root, 0);
    EXPECT_EQ(camera->getView().position, Vector2f(-40, 8));
    // setPosition takes the world position as last computed.
    camera->setPosition(Vector2f(1, 1));
    EXPECT_EQ(camera->getView().position, Vector2f(-40, 8));
}

TEST(MovieCamera, ACopyIsACameraWithItsViewClockAndActivationFrames)
{
    auto* source = new ISceneNode();
    MovieCamera* camera = addCamera(source, {0, 12});
    camera->name = "cam";
    camera->parallaxCoef = 3;
    camera->setTime(1.0f, false);
    ISceneNode::update(source, 0);
    ASSERT_EQ(source->activeCamera, camera);

    std::unique_ptr<ISceneNode> copy(source->clone(nullptr));
    delete source;
    auto* copied = dynamic_cast<MovieCamera*>(copy->children.at(0));
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copy->activeCamera, copied);
    EXPECT_EQ(copied->activationFrames, (std::vector<int32_t>{0, 12}));
    EXPECT_EQ(copied->parallaxCoef, 3.0f);
    EXPECT_EQ(copied->time, 1.0f);
    EXPECT_FLOAT_EQ(copied->priority, 12 / kFps);
}

TEST(MovieCamera, TheSavedTailRoundTrips)
{
    MovieCamera camera;
    camera.storeKeyFrame(4);
    camera.storeKeyFrame(9);
    camera.addActivationFrame(4);
    camera.addActivationFrame(9);
    camera.parallaxCoef = 0.5f;
    camera.view.hasMatrix = true;
    camera.view.matrix[2][0] = 7;
    camera.view.position = Vector2f(-3, 4);
    camera.time = 0.3f;
    camera.priority = 0.25f;

    SceneTest::SavedNode saved = SceneTest::saveNode(camera);
    std::vector<uint8_t>& bytes = saved.bytes;
    // View 60, clock and activation state 16, count and frames 4 + 8, coefficient 4.
    EXPECT_EQ(saved.kindBytes, 60u + 16 + 12 + 4);

    MovieCamera loaded;
    AE::VectorStream in(bytes);
    loaded.load(in);
    EXPECT_EQ(in.bytesLeft(), 0);
    EXPECT_EQ(loaded.activationFrames, camera.activationFrames);
    EXPECT_EQ(loaded.parallaxCoef, 0.5f);
    EXPECT_TRUE(loaded.view.hasMatrix);
    EXPECT_EQ(loaded.view.matrix[2][0], 7.0f);
    EXPECT_EQ(loaded.view.position, Vector2f(-3, 4));
    EXPECT_EQ(loaded.time, 0.3f);
    EXPECT_EQ(loaded.priority, 0.25f);

    // Node data carries the view, clock, coefficient and list.
    std::unique_ptr<AE::ISceneNodeData> data = camera.createNodeData(false);
    EXPECT_EQ(data->dataSize(), 192);
    MovieCamera fromData;
    fromData.setNodeData(*data);
    EXPECT_EQ(fromData.activationFrames, camera.activationFrames);
    EXPECT_EQ(fromData.view.matrix[2][0], 7.0f);
}
