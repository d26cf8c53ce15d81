// Layout by node markers: the token table, margins, the orientation's
// prefix, the first marker winning, and enabling down the tree.

#include <gtest/gtest.h>

#include <memory>

#include "../engine/animationeditor/scene_test_nodes.h"
#include "game_state_manager.h"
#include "render_system.h"
#include "scene_layout.h"
#include "ui/ui_scene_node.h"

namespace {

class SceneLayoutTest : public ::testing::Test {
protected:
    AE::ISceneNode* nodeWith(std::initializer_list<const char*> markers, float x = 300, float y = 200)
    {
        AE::ISceneNode* node = SceneTest::addGroup(&root, "node");
        node->setPosition(x, y);
        for (const char* name : markers)
            node->addMarker(std::make_unique<AE::Marker>(name));
        return node;
    }

    GameStateManager states{nullptr};
    AE::ISceneNode root;
};

TEST(SceneLayoutSpecs, TokensPlaceTheNodeInA1726By970Scene)
{
    struct Case {
        const char* placing;
        float x, y;
    };
    const VQ::Vector2f scene(1726, 970);
    const VQ::Vector2f at(300, 200);
    const Case cases[] = {
        {"r-100t-50", 1626, 50},
        {"ch-0cv-0", 863, 485},
        // 't' reads no number here: top and bottom together centre.
        {"tb-10", 300, 495},
        {"l--40", -40, 200},
        {"b!-30", 300, 940},
        {"cv--20", 300, 465},
        {"", 300, 200},
        // Lone 'c' and 's' are skipped; unknown characters too.
        {"c s x t-5", 300, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.placing);
        const VQ::Vector2f placed = placeByLayout(parseSceneLayoutSpec(c.placing), at, scene, VQ::Vector2f(0, 0));
        EXPECT_FLOAT_EQ(placed.x, c.x);
        EXPECT_FLOAT_EQ(placed.y, c.y);
    }
}

TEST(SceneLayoutSpecs, MarginsWidenTheEdgesUnlessBanged)
{
    const VQ::Vector2f scene(1726, 970);
    const VQ::Vector2f margin(120, 0);  // a viewport offset of -60 at scale 0.5
    EXPECT_FLOAT_EQ(placeByLayout(parseSceneLayoutSpec("l-10"), {0, 0}, scene, margin).x, 130);
    EXPECT_FLOAT_EQ(placeByLayout(parseSceneLayoutSpec("r-10"), {0, 0}, scene, margin).x, 1596);
    EXPECT_FLOAT_EQ(placeByLayout(parseSceneLayoutSpec("l!-10"), {0, 0}, scene, margin).x, 10);
    EXPECT_FLOAT_EQ(placeByLayout(parseSceneLayoutSpec("ch-0"), {0, 0}, scene, margin).x, 863);
}

TEST(SceneLayoutSpecs, TheMarginIsTheViewportsCutEdgeInWorkspaceUnits)
{
    VQ::RenderSystem render;
    VQ::RenderSettings settings;
    settings.workspaceWidth = 1726;
    settings.workspaceHeight = 970;
    settings.fullscreenFitType = 1;  // fills the height, cuts the sides
    settings.fullscreenMinimalAspect = 1.0f;
    render.setSettings(settings);
    // 485 high: scale 0.5, 863 wide in a 743 window, so 60 pixels cut on
    // each side, 120 workspace units.
    render.setWindowSize(743, 485);
    VQ::Vector2f margin = layoutMargins();
    EXPECT_FLOAT_EQ(margin.x, 120);
    EXPECT_FLOAT_EQ(margin.y, 0);
    // Bars at the sides cut nothing.
    render.setWindowSize(2000, 970);
    margin = layoutMargins();
    EXPECT_FLOAT_EQ(margin.x, 0);
    EXPECT_FLOAT_EQ(margin.y, 0);
}

TEST(SceneLayoutSpecs, ScaleRotationAndEnabled)
{
    const SceneLayoutSpec placing = parseSceneLayoutSpec("sh-0.5sv_2a--90e0");
    EXPECT_TRUE(placing.hasScaleX && placing.hasScaleY);
    EXPECT_FLOAT_EQ(placing.scaleX, 0.5f);
    EXPECT_FLOAT_EQ(placing.scaleY, 2.0f);
    EXPECT_TRUE(placing.hasRotation);
    EXPECT_FLOAT_EQ(placing.rotation, -90.0f);
    EXPECT_TRUE(placing.hasEnabled);
    EXPECT_FALSE(placing.enabled);
    // At the end of the placing "sh" has no separator to skip.
    const SceneLayoutSpec cut = parseSceneLayoutSpec("sh");
    EXPECT_FALSE(cut.hasScaleX);
}

TEST_F(SceneLayoutTest, TheOrientationsPrefixAndTheFirstMarkerCount)
{
    AE::ISceneNode* node = nodeWith({"#ver:t-1", "#hor:r-100t-50", "#hor:l-0"});
    applySceneNodeLayout(&root);
    EXPECT_FLOAT_EQ(node->posX, 1626);
    EXPECT_FLOAT_EQ(node->posY, 50);

    // Portrait: no "#ver:" marker keeps the node where it is.
    AE::ISceneNode* other = nodeWith({"#hor:t-7"}, 11, 12);
    states.portrait = true;
    applySceneNodeLayout(&root);
    EXPECT_FLOAT_EQ(other->posX, 11);
    EXPECT_FLOAT_EQ(other->posY, 12);
    EXPECT_FLOAT_EQ(node->posY, 1);
    applySceneNodeLayout(nullptr);
}

TEST_F(SceneLayoutTest, DisablingReachesTheDescendantsWhoseMarkersStillApply)
{
    AE::ISceneNode* node = nodeWith({"#hor:e0"});
    AE::ISceneNode* child = SceneTest::addGroup(node, "child");
    child->addMarker(std::make_unique<AE::Marker>("#hor:t!-5"));
    applySceneNodeLayout(&root);
    EXPECT_FALSE(node->enabled);
    EXPECT_FALSE(child->enabled);
    EXPECT_FLOAT_EQ(child->posY, 5);
}

TEST_F(SceneLayoutTest, WidgetTreesLayOutTheScenesOfTheirHostsInOrder)
{
    // Hosts of nodes of the test's tree, given them after their building.
    VQ::UIWidget window("window", nullptr);
    auto* first = new VQ::UISceneNode("first", &window, nullptr, false);
    window.insertChild(first, 0);
    auto* panel = new VQ::UIWidget("panel", &window);
    window.insertChild(panel, 1);
    auto* second = new VQ::UISceneNode("second", panel, nullptr, false);
    panel->insertChild(second, 0);

    AE::ISceneNode* a = nodeWith({"#hor:l-10"});
    AE::ISceneNode* b = nodeWith({"#hor:t!-20"});
    AE::ISceneNode* under = SceneTest::addGroup(b, "under");
    under->addMarker(std::make_unique<AE::Marker>("#hor:r!-6"));
    first->node = a;
    second->node = b;
    applyWidgetLayout(&window);
    EXPECT_FLOAT_EQ(a->posX, 10);
    EXPECT_FLOAT_EQ(b->posY, 20);
    EXPECT_FLOAT_EQ(under->posX, 1720);
    // A host without a node and no widget at all are passed over.
    first->node = nullptr;
    applyWidgetLayout(&window);
    applyWidgetLayout(nullptr);
}

}  // namespace
