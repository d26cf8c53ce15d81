// The scene tree: the per-frame pass with play ranges, the play controls,
// camera choice and parallax, drawing by depth, hit test and bounds,
// lookups by name and by path, and the live scene list with its dump.

#include <gtest/gtest.h>

#include <filesystem>

#include "animationeditor/movie_camera.h"
#include "animationeditor/scene_node.h"
#include "platform/recording_graphics_device.h"
#include "render_system.h"
#include "scene_test_nodes.h"
#include "support/test_support.h"

using AE::ISceneNode;
using AE::MovieCamera;
using SceneTest::addGroup;
using VQ::Vector2f;

namespace {

// Key frames 0 and 24 of the node's values, moving posX from 0 to 24.
void addRamp(ISceneNode& node)
{
    node.storeKeyFrame(0);
    node.storeKeyFrame(24);
    node.animation->floatKeyAt("posX", 1).value = 24.0f;
}

class EffectsLevelScope {
public:
    explicit EffectsLevelScope(int level) : mOld(AE::effectsLevel) { AE::effectsLevel = level; }
    ~EffectsLevelScope() { AE::effectsLevel = mOld; }

private:
    int mOld;
};

MovieCamera* addCamera(ISceneNode* parent, float priority, bool playing = true)
{
    auto* camera = new MovieCamera();
    camera->priority = priority;
    parent->addChild(camera, true);
    if (playing)
        camera->play(false);
    return camera;
}

// A drawable test kind: applies the camera as drawable kinds do and notes
// the view it leaves on the render system.
class CameraProbe : public ISceneNode {
public:
    void render() override
    {
        applyCamera();
        seen = VQ::RenderSystem::instance()->camera();
    }
    VQ::RenderCamera seen;
};

class StubHit : public ISceneNode {
public:
    bool hitTest(float, float, bool) override { return true; }
};

class SceneRenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto device = std::make_unique<VQ::RecordingGraphicsDevice>();
        ASSERT_EQ(device->create(800, 600, VQ::VertexProcessing::Hardware), VQ::DeviceResult::Ok);
        mDevice = device.get();
        mRender.setDevice(std::move(device));
        VQ::RenderSettings settings;
        settings.workspaceWidth = 800;
        settings.workspaceHeight = 600;
        mRender.setSettings(settings);
    }

    VQ::RecordingGraphicsDevice* mDevice = nullptr;
    VQ::RenderSystem mRender;
};

}  // namespace

TEST(SceneTree, APlayRangeStopsAtItsEndOrWrapsWhenLoopedWithEffects)
{
    struct Case {
        bool loop;
        int level;
        bool reverse;
        float time;
        bool playing;
    };
    const Case cases[] = {
        {false, 1, false, 1.0f, false},
        {true, 1, false, 0.0f, true},
        {true, 0, false, 1.0f, false},  // no effects: no wrap
        {false, 1, true, 0.0f, false},
        {true, 1, true, 1.0f, true},
    };
    for (const Case& c : cases) {
        EffectsLevelScope level(c.level);
        ISceneNode node;
        addRamp(node);
        node.loop = c.loop;
        node.playDirected(c.reverse, false);
        node.rangeTo = 24;
        node.animation->time = c.reverse ? 1.0f : 0.0f;
        for (int i = 0; i < 7; ++i)  // 0.875 s
            ISceneNode::update(&node, 0.125f);
        EXPECT_TRUE(node.playing);
        ISceneNode::update(&node, 0.125f);  // reaches the end
        EXPECT_NEAR(node.animation->time, c.time, 1e-5f) << c.loop << c.level << c.reverse;
        EXPECT_EQ(node.playing, c.playing) << c.loop << c.level << c.reverse;
        EXPECT_EQ(node.animation->playing, c.playing);
        EXPECT_NEAR(node.posX, c.time * 24.0f, 1e-3f);
    }
}

TEST(SceneTree, UpdateByZeroEvaluatesEveryTrackAndADisabledRootOnlyKeepsTime)
{
    ISceneNode root;
    ISceneNode* child = addGroup(&root, "child");
    addRamp(root);
    addRamp(*child);
    root.animation->time = 0.5f;
    child->animation->time = 0.25f;
    ISceneNode::update(&root, 0);  // nothing plays
    EXPECT_FLOAT_EQ(root.posX, 12.0f);
    EXPECT_FLOAT_EQ(child->posX, 6.0f);

    root.play(true);
    root.setEnabled(false);
    EXPECT_FALSE(child->enabled);
    ISceneNode::update(&root, 0.25f);
    EXPECT_FLOAT_EQ(root.animation->time, 0.75f);  // the clock runs ...
    EXPECT_FLOAT_EQ(root.posX, 12.0f);             // ... unseen
    EXPECT_FLOAT_EQ(child->animation->time, 0.25f);

    root.setEnabled(true);
    ISceneNode::update(&root, 0.25f);
    EXPECT_FLOAT_EQ(root.posX, 24.0f);
    EXPECT_FLOAT_EQ(child->posX, 12.0f);
    EXPECT_FLOAT_EQ(child->worldMatrix.m20, 36.0f);
}

TEST(SceneTree, PlayControls)
{
    ISceneNode root;
    ISceneNode* child = addGroup(&root, "child");
    addRamp(root);
    root.rangeTo = 5;
    root.play(true);
    EXPECT_TRUE(child->playing);
    EXPECT_EQ(root.rangeTo, 0);
    ISceneNode::update(&root, 0.5f);

    root.stopInPlace(true);  // the node keeps its time, the children rewind
    EXPECT_FALSE(root.playing);
    EXPECT_FLOAT_EQ(root.animation->time, 0.5f);
    EXPECT_FLOAT_EQ(child->animation->time, 0.0f);

    root.setPlaying(false, true);
    EXPECT_TRUE(root.animation->playing);

    root.stop(true);
    EXPECT_FLOAT_EQ(root.animation->time, 0.0f);
    EXPECT_FLOAT_EQ(root.posX, 12.0f);  // the last evaluation stays shown

    root.setTime(-3.0f, true);
    EXPECT_FLOAT_EQ(root.animation->time, 0.0f);
    root.seekFrame(6);
    EXPECT_FLOAT_EQ(root.animation->time, 0.25f);
    EXPECT_FLOAT_EQ(root.posX, 6.0f);
    EXPECT_FLOAT_EQ(root.worldMatrix.m20, 6.0f);
    EXPECT_FLOAT_EQ(child->animation->time, 0.0f);
}

TEST(SceneTree, TheGreatestPriorityAmongPlayingCamerasWinsLaterOnTies)
{
    ISceneNode root;
    MovieCamera* first = addCamera(&root, 2);
    MovieCamera* second = addCamera(&root, 2);
    addCamera(&root, 9, false);  // not playing
    ISceneNode::update(&root, 0);
    EXPECT_EQ(root.activeCamera, second);
    (void)first;

    ISceneNode lonely;
    addCamera(&lonely, -1);
    ISceneNode::update(&lonely, 0);
    EXPECT_EQ(lonely.activeCamera, nullptr);

    ISceneNode noChoice;
    noChoice.selectsCamera = false;
    addCamera(&noChoice, 1);
    ISceneNode::update(&noChoice, 0);
    EXPECT_EQ(noChoice.activeCamera, nullptr);

    // No camera qualifies: the last choice stays.
    second->stop(false);
    first->stop(false);
    ISceneNode::update(&root, 0);
    EXPECT_EQ(root.activeCamera, second);
    EXPECT_EQ(second->getActiveCamera(), second);
    EXPECT_EQ(second->kind(), AE::SCENE_NODE_CAMERA);
}

TEST_F(SceneRenderTest, ApplyCameraDividesThePositionByDepthWhereParallaxIsOn)
{
    ISceneNode root;
    MovieCamera* camera = addCamera(&root, 0);
    camera->posX = 100;
    camera->posY = 50;
    camera->scaleX = 2;
    camera->rotation = 30;
    camera->parallaxCoef = 2;
    camera->parallaxEnabled = true;
    auto* deep = new CameraProbe();
    deep->posZ = -4;
    auto* flat = new CameraProbe();
    auto* fixed = new CameraProbe();
    fixed->posZ = 4;
    fixed->parallaxEnabled = false;
    root.addChild(deep, true);
    root.addChild(flat, true);
    root.addChild(fixed, true);
    ISceneNode::update(&root, 0);

    VQ::RenderCamera before;
    before.position = Vector2f(3, 3);
    mRender.setCamera(before);
    AE::renderScene(&root);
    EXPECT_EQ(deep->seen.position, Vector2f(-12.5f, -6.25f));  // |z| 4 x 2
    EXPECT_EQ(flat->seen.position, Vector2f(-50.0f, -25.0f));  // z 0 counts as 1
    EXPECT_EQ(fixed->seen.position, Vector2f(-100.0f, -50.0f));
    EXPECT_EQ(deep->seen.scale, Vector2f(2, 1));
    EXPECT_EQ(deep->seen.angle, 30.0f);
    EXPECT_EQ(deep->activeCamera, camera);
    // The view of the render system is back as it was, transform included.
    EXPECT_EQ(mRender.camera().position, Vector2f(3, 3));
    const VQ::Matrix4 restored = mRender.transform();
    mRender.setCamera(VQ::RenderCamera());
    mRender.setCamera(before);
    EXPECT_EQ(mRender.transform(), restored);
    EXPECT_EQ(mDevice->transform(VQ::TransformKind::Projection), restored);

    // A coefficient of 0 (a scene file's default) leaves the view undivided.
    camera->parallaxCoef = 0;
    AE::renderScene(&root);
    EXPECT_EQ(deep->seen.position, Vector2f(-100.0f, -50.0f));
    EXPECT_EQ(flat->seen.position, Vector2f(-100.0f, -50.0f));

    // Without a camera the view is left alone.
    ISceneNode bare;
    auto* probe = new CameraProbe();
    bare.addChild(probe, true);
    AE::renderScene(&bare);
    EXPECT_EQ(probe->seen.position, Vector2f(3, 3));
}

TEST_F(SceneRenderTest, DrawingGoesFromTheBackByDepthThenInReversePreOrder)
{
    std::vector<std::string> journal;
    auto* root = new SceneTest::RecordingNode(journal, "root");
    auto add = [&](ISceneNode* parent, const std::string& name, float z) {
        auto* node = new SceneTest::RecordingNode(journal, name);
        node->posZ = z;
        parent->addChild(node, true);
        return node;
    };
    ISceneNode* a = add(root, "a", 0);
    add(a, "a1", 0);
    add(root, "back", 5);
    add(root, "front", -1);
    add(root, "b", 0);
    AE::renderScene(root);
    EXPECT_EQ(journal, (std::vector<std::string>{"back", "b", "a1", "a", "root", "front"}));

    // Many nodes of one depth keep the pre-order too.
    journal.clear();
    std::vector<std::string> expected;
    for (int i = 0; i < 40; ++i)
        add(root, "n" + std::to_string(i), 0);
    AE::renderScene(root);
    for (int i = 39; i >= 0; --i)
        expected.push_back("n" + std::to_string(i));
    const std::vector<std::string> rest = {"b", "a1", "a", "root", "front"};
    expected.insert(expected.end(), rest.begin(), rest.end());
    expected.insert(expected.begin(), "back");
    EXPECT_EQ(journal, expected);
    journal.clear();
    delete root;
}

TEST(SceneTree, HitTestAndBoundsOfAGroup)
{
    ISceneNode root;
    EXPECT_FALSE(root.hitTest(1, 1, false));  // no children
    root.addChild(new StubHit(), true);
    EXPECT_TRUE(root.hitTest(1, 1, true));
    root.worldColor.a = 0;
    EXPECT_FALSE(root.hitTest(1, 1, true));
    EXPECT_TRUE(root.hitTest(1, 1, false));
    root.scaleY = -1;
    EXPECT_FALSE(root.hitTest(1, 1, false));

    ISceneNode tree;
    ISceneNode* a = addGroup(&tree, "a");
    a->setPosition(-10, 20);
    a->setScaleX(0.5f);
    ISceneNode* b = addGroup(&tree, "b");
    b->setPosition(100, 5);
    tree.updateTransform();
    // The far corner grows from the running minimum: a gives (0, 0) + (32, 64)
    // and takes the minimum to (-10, 0); b gives (-10, 0) + (64, 64).
    EXPECT_EQ(tree.getBoundsSize(), Vector2f(64, 64));
    EXPECT_EQ(tree.getReferencePoint(), Vector2f(-10, 20));
}

TEST(SceneTree, FindNodeIsBreadthFirstAndPathsNameEachLevel)
{
    ISceneNode root;
    root.name = "anything";
    ISceneNode* deepFirst = addGroup(addGroup(addGroup(&root, "x"), "y"), "b");
    ISceneNode* shallow = addGroup(&root, "b");
    EXPECT_EQ(root.findNode("b"), shallow);
    EXPECT_EQ(root.findNode("anything"), &root);
    EXPECT_EQ(root.findNode("bb"), nullptr);
    EXPECT_NE(deepFirst, shallow);

    ISceneNode* panel = addGroup(&root, "panel");
    ISceneNode* btn = addGroup(panel, "btn");
    struct Case {
        const char* path;
        ISceneNode* expected;
    };
    const Case cases[] = {
        {"/panel/btn", btn},
        {"/pan/btn", btn},  // a segment may be the start of a name
        {"/panel/bt", nullptr},
        {"/panel/", panel},
        {"/", &root},
        {"anything", &root},
        {"/x/y/b", deepFirst},
        {"/panel/btn/more", nullptr},
    };
    for (const Case& c : cases)
        EXPECT_EQ(root.findByPath(c.path), c.expected) << c.path;

    EXPECT_EQ(ISceneNode::getPath(btn, &root), "/panel/btn");
    EXPECT_EQ(ISceneNode::getPath(btn, nullptr), "/panel/btn");
    EXPECT_EQ(ISceneNode::getPath(btn, panel), "/btn");
    EXPECT_EQ(ISceneNode::getPath(&root, &root), "/");
    EXPECT_EQ(ISceneNode::getPath(&root, panel), "anything");
    EXPECT_EQ(root.findByPath(ISceneNode::getPath(deepFirst, &root)), deepFirst);

    std::vector<ISceneNode*> preOrder;
    panel->collectNodes(preOrder);
    EXPECT_EQ(preOrder, (std::vector<ISceneNode*>{panel, btn}));
    const std::vector<ISceneNode*> breadth = root.collectDescendants();
    ASSERT_EQ(breadth.size(), 6u);
    EXPECT_EQ(breadth[1], shallow);
    EXPECT_EQ(breadth.back(), deepFirst);
}

TEST(SceneTree, DumpScenesAppendsOneLinePerLiveSceneToTheLogFile)
{
    TestSupport::TempDir dir;
    const std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    TestSupport::writeFile(dir.file("VQ.log"), "earlier line\n");
    {
        ISceneNode first;
        first.fileName = "menu_xml";
        ISceneNode second;
        second.fileName = "map_xml";
        AE::registerScene(&first);
        AE::registerScene(&second);
        ASSERT_EQ(AE::liveScenes().size(), 2u);
        AE::dumpScenes();
    }
    EXPECT_TRUE(AE::liveScenes().empty());
    std::filesystem::current_path(old);
    EXPECT_EQ(TestSupport::readFile(dir.file("VQ.log")),
              "earlier line\n----------------SCENES DUMP\n--SCENE menu_xml\n--SCENE map_xml\n"
              "----------------SCENES DUMP END\n");
}
