// Scene-node hosts: the scene follows the widget's states, place, fade and
// visibility; a borrowed node is moved by its host's offset; missing scenes
// and markers are logged.

#include <gtest/gtest.h>

#include "support/ui_scene_fixture.h"
#include "ui/ui_scene_node.h"

using namespace TestSupport;
using namespace TestSupport::SceneXml;
using namespace VQ;

namespace {

class UISceneNodeTest : public UISceneTest {
protected:
    void SetUp() override
    {
        UISceneTest::SetUp();
        // The window fades in over 10 frames on "onIdle" and out on
        // "onHide"; "inner" is keyed at x 40.
        addScene("host_window_xml",
                 group("window", 0, 0,
                       frames({{0, 0, 0, 0}, {10, 0, 0, 1}}) +
                           children(group("inner", 40, 10, frames({{0, 40, 10, 1}})) +
                                    sprite("face", "test_atlas_sprites", "Arrow", 0, 0))) +
                     markers(marker("onIdle", {{"window", 0, 10}}) + marker("onHide", {{"window", 10, 0}}) +
                             marker("custom")));
        addLua("hosts_ui", R"(
Idle = { { id = "onIdle", propertyChanges = { { target = "host", property = "transparency", duration = 0, value = 1 } } },
         { id = "onPress", propertyChanges = { { target = "host", property = "transparency", duration = 0, value = 1 } } } }
Host = { id = "host", class = "UISceneNode", scene = "host_window_xml", position = { 100, 50 }, states = Idle,
         childs = { { id = "borrowed", class = "UISceneNode", scene = "@parent/window/inner" },
                    { id = "lost", class = "UISceneNode", scene = "@parent/window/nobody" } } }
Missing = { id = "missing", class = "UISceneNode", scene = "no_such_scene_xml", scale = { 2, 2 } }
Scaled = { id = "scaled", class = "UISceneNode", scene = "host_window_xml", scale = { 2, 3 } }
)");
        startSceneUI();
    }
    UISceneNode* host(const std::string& table = "Host")
    {
        UIWidget* root = load("hosts_ui", table);
        root->show();
        return dynamic_cast<UISceneNode*>(root);
    }
};

TEST_F(UISceneNodeTest, HiddenAndShownPlayTheStatesMarkersFromTheirFirstFrames)
{
    UISceneNode* h = host();
    ASSERT_NE(h->node, nullptr);
    EXPECT_TRUE(h->ownsNode);
    AE::ISceneNode* window = h->node->findNode("window");
    AE::Marker* idle = h->node->getMarker("onIdle");
    AE::Marker* hide = h->node->getMarker("onHide");
    frame(-10, -10, false, {}, 0.1f);

    h->hide();
    EXPECT_EQ(hide->getState(), AE::Marker::PLAYING);
    EXPECT_NE(idle->getState(), AE::Marker::PLAYING);
    EXPECT_NEAR(window->animation->time, 10.0f / 24.0f, 1e-4f);  // the first frame of "onHide"
    frame(-10, -10, false, {}, 0.1f);

    h->show();
    EXPECT_EQ(idle->getState(), AE::Marker::PLAYING);
    // "onHide" had run: paused, not stopped.
    EXPECT_EQ(hide->getState(), AE::Marker::PAUSED);
    EXPECT_NEAR(window->animation->time, 0.0f, 1e-4f);

    // A state without a marker of its name is logged and changes nothing.
    const std::string missing = "ERROR: Can't find marker 'onPress' in node 'host_window_xml'";
    const int before = countLogLines(missing);
    frame(-10, -10, false, {}, 0.1f);
    h->setState("onPress");
    EXPECT_EQ(countLogLines(missing), before + 1);
    EXPECT_EQ(idle->getState(), AE::Marker::PAUSED);
}

TEST_F(UISceneNodeTest, TheSceneStandsAtTheWidgetAndFadesWithIt)
{
    UISceneNode* h = host();
    h->transparency = 0.5f;
    frame(-10, -10, false, {}, 0.0f);
    h->transparency = 0.5f;  // the "onIdle" state finished at once
    h->update(0.0f);
    EXPECT_EQ(h->node->getColor().a, 127);
    EXPECT_EQ(h->node->getWorldColor().a, 127);
    EXPECT_FLOAT_EQ(h->node->posX, 100);
    EXPECT_FLOAT_EQ(h->node->posY, 50);
    // The size is the scene's bounds.
    EXPECT_EQ(h->size, h->node->getBoundsSize());

    // Hits go to the scene's own test; clipping holds them back.
    AE::ISceneNode::update(h->node, 0.0f);
    EXPECT_TRUE(h->hitTest(Vector2f(105.7f, 55.2f)));
    EXPECT_FALSE(h->hitTest(Vector2f(95, 45)));
    h->clipEnabled = true;
    h->clipRect = Rect(0, 0, 104, 54);
    EXPECT_FALSE(h->hitTest(Vector2f(105, 55)));
    h->clipEnabled = false;

    // Hidden: the node's flag, its children disabled, and no hits.
    h->setVisible(false);
    EXPECT_FALSE(h->node->visible);
    EXPECT_FALSE(h->node->findNode("window")->enabled);
    EXPECT_FALSE(h->hitTest(Vector2f(105, 55)));
    h->setVisible(true);
    EXPECT_TRUE(h->node->findNode("window")->enabled);
}

TEST_F(UISceneNodeTest, ABorrowedNodeIsOffsetByItsHostAndKeepsItsKeyedPlace)
{
    UISceneNode* h = host();
    auto* borrowed = dynamic_cast<UISceneNode*>(h->findChild("borrowed"));
    ASSERT_NE(borrowed, nullptr);
    AE::ISceneNode* inner = h->node->findNode("inner");
    EXPECT_EQ(borrowed->node, inner);
    EXPECT_FALSE(borrowed->ownsNode);
    borrowed->offset = Vector2f(30, 5);
    // Every frame the host's scene evaluates "posX" again; the offset stays
    // in the world place and never in the key.
    for (int i = 0; i < 3; ++i) {
        frame(-10, -10, false, {}, 0.05f);
        EXPECT_FLOAT_EQ(inner->posX, 40);
        EXPECT_FLOAT_EQ(inner->worldMatrix.m20, 100 + 40 + 30);
        EXPECT_FLOAT_EQ(inner->worldMatrix.m21, 50 + 10 + 5);
    }
    // Drawn by its own scene, not by the borrowing host.
    EXPECT_EQ(countLogLines("ERROR: Can't load scene node from @parent/window/nobody!"), 1);
    EXPECT_EQ(dynamic_cast<UISceneNode*>(h->findChild("lost"))->node, nullptr);
}

TEST_F(UISceneNodeTest, AMissingSceneLeavesAHostWithoutNode)
{
    UISceneNode* h = host("Missing");
    EXPECT_EQ(h->node, nullptr);
    EXPECT_EQ(h->size, Vector2f(0, 0));
    EXPECT_EQ(countLogLines("ERROR: Can't load scene node from no_such_scene_xml!"), 1);
    EXPECT_FALSE(h->hitTest(Vector2f(0, 0)));
    h->hide();
    h->setVisible(false);
    frame(0, 0, true, {}, 0.1f);
    h->render();

    UISceneNode* scaled = host("Scaled");
    EXPECT_FLOAT_EQ(scaled->node->scaleX, 2);
    EXPECT_FLOAT_EQ(scaled->node->scaleY, 3);
}

}  // namespace
