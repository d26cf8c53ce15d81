// Scene files into trees: the document rules, markers and play lists,
// attribute conversions, the group and sprite readers, and the bounds a
// crafted file meets.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "animationeditor/scene_file_loader.h"
#include "animationeditor/scene_file_reader.h"
#include "animationeditor/sprite_scene_node.h"
#include "scene_file_fixture.h"

namespace {

using SceneTest::SceneFileTest;

class SceneLoaderTest : public SceneFileTest {
protected:
    void SetUp() override
    {
        SceneFileTest::SetUp();
        addImage("t_img_png", 20, 10, [](uint32_t, uint32_t) { return 0xFFFFFFFFu; });
    }
};

std::vector<std::string> childNames(const AE::ISceneNode& node)
{
    std::vector<std::string> names;
    for (const AE::ISceneNode* child : node.children)
        names.push_back(child->name);
    return names;
}

bool isLive(const AE::ISceneNode* root)
{
    const std::vector<AE::ISceneNode*> live = AE::liveScenes();
    return std::find(live.begin(), live.end(), root) != live.end();
}

TEST_F(SceneLoaderTest, DocumentStructure)
{
    addScene("t_empty_xml", "");
    addSceneFixture("t_tree_xml", "structure.xml");
    start();

    // An empty scene still joins the live scenes, named after its resource.
    auto empty = load("t_empty_xml");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->children.empty());
    EXPECT_EQ(empty->name, "t_empty_xml");
    EXPECT_EQ(empty->fileName, "t_empty_xml");
    EXPECT_TRUE(isLive(empty.get()));

    // Only "Object" under "Scene"; under "Childs" every element after the
    // first "Object", whatever its name, and no text.
    auto tree = load("t_tree_xml");
    ASSERT_TRUE(tree);
    EXPECT_EQ(childNames(*tree), (std::vector<std::string>{"a", "f"}));
    EXPECT_EQ(childNames(*tree->children[0]), (std::vector<std::string>{"b", "c", "d"}));
    EXPECT_EQ(childNames(*tree->children[0]->children[2]), (std::vector<std::string>{"e"}));
    EXPECT_EQ(tree->children[1]->kind(), AE::SCENE_NODE_GROUP);

    // Deleting a root takes it off the list.
    AE::ISceneNode* raw = tree.get();
    tree.reset();
    EXPECT_FALSE(isLive(raw));
}

TEST_F(SceneLoaderTest, MissingOrBrokenFiles)
{
    addXml("t_broken_xml", "<Scene><Object name='a'></Scene>");
    start();
    const size_t logged = logLines().size();
    EXPECT_EQ(AE::loadScene("t_nowhere_xml"), nullptr);
    EXPECT_EQ(AE::loadScene("t_broken_xml"), nullptr);
    EXPECT_EQ(logLines().size(), logged);

    // A file of that path in the working folder loads when no package has it.
    {
        std::ofstream out("loose_scene.xml");
        out << "<Scene><Object name='loose'/></Scene>";
    }
    auto loose = load("loose_scene.xml");
    ASSERT_TRUE(loose);
    EXPECT_EQ(childNames(*loose), (std::vector<std::string>{"loose"}));
}

TEST_F(SceneLoaderTest, MarkersAndPlayLists)
{
    addSceneFixture("t_markers_xml", "markers.xml");
    start();
    auto root = load("t_markers_xml");
    ASSERT_TRUE(root);
    ASSERT_EQ(root->markers.size(), 3u);
    const AE::Marker& show = *root->markers[0];
    EXPECT_EQ(show.name, "show");
    EXPECT_EQ(root->markers[1]->name, "");
    // getMarker finds the first of two of one name.
    EXPECT_EQ(root->getMarker("show"), root->markers[0].get());

    AE::ISceneNode* panel = root->children[0];
    ASSERT_EQ(show.entries.size(), 2u);
    // Breadth-first: the top-level "btn", not the panel's; the second entry
    // for it is dropped; the path beats the name; absent nodes are dropped.
    EXPECT_EQ(show.entries[0].node, root->children[1]);
    EXPECT_EQ(show.entries[0].from, 0);
    EXPECT_EQ(show.entries[0].to, 8);
    EXPECT_TRUE(show.entries[0].looped);
    EXPECT_TRUE(show.entries[0].recursive);
    EXPECT_EQ(show.entries[1].node, panel->children[0]);
    EXPECT_EQ(show.entries[1].to, -1);

    ASSERT_EQ(panel->markers.size(), 1u);
    EXPECT_EQ(panel->markers[0]->entries.at(0).node, panel->children[0]);
}

TEST_F(SceneLoaderTest, AttributeConversions)
{
    pugi::xml_document doc;
    doc.load_string("<p f=' 2.5xyz' n='abc' i='  -0x1F' d='012' u='-1' big='99999999999' b1='yes' b2='True' "
                    "b3='0' b4='no' R='2' G='-1' B='nan' A='0.5'/>");
    const pugi::xml_node p = doc.child("p");
    EXPECT_FLOAT_EQ(AE::attributeFloat(p, "f"), 2.5f);
    EXPECT_FLOAT_EQ(AE::attributeFloat(p, "n"), 0.0f);
    EXPECT_FLOAT_EQ(AE::attributeFloat(p, "absent", 7.0f), 7.0f);
    EXPECT_EQ(AE::attributeInt(p, "i"), -31);
    EXPECT_EQ(AE::attributeInt(p, "d"), 12);
    EXPECT_EQ(AE::attributeInt(p, "big"), 2147483647);
    EXPECT_EQ(AE::attributeUInt(p, "u"), 0xFFFFFFFFu);
    EXPECT_TRUE(AE::attributeBool(p, "b1"));
    EXPECT_TRUE(AE::attributeBool(p, "b2"));
    EXPECT_FALSE(AE::attributeBool(p, "b3"));
    EXPECT_FALSE(AE::attributeBool(p, "b4"));
    EXPECT_TRUE(AE::attributeBool(p, "absent", true));
    // Out-of-range and NaN channels are clamped, not wrapped.
    const VQ::Color c = AE::attributeColor(p);
    EXPECT_EQ(c.r, 255);
    EXPECT_EQ(c.g, 0);
    EXPECT_EQ(c.b, 0);
    EXPECT_EQ(c.a, 127);
}

TEST_F(SceneLoaderTest, GroupReaderParametersAndFrames)
{
    addSceneFixture("t_group_xml", "group_frames.xml");
    start();
    auto root = load("t_group_xml");
    ASSERT_TRUE(root);
    // No "Parameters": disabled, scale 0, transparent, parallax on.
    const AE::ISceneNode& bare = *root->children[0];
    EXPECT_FALSE(bare.enabled);
    EXPECT_EQ(bare.scaleX, 0.0f);
    EXPECT_EQ(bare.color.argb(), 0u);
    EXPECT_TRUE(bare.parallaxEnabled);

    AE::ISceneNode& g = *root->children[1];
    EXPECT_TRUE(g.enabled);
    EXPECT_FALSE(g.parallaxEnabled);
    EXPECT_TRUE(g.loop);
    EXPECT_TRUE(g.animation->looped);
    EXPECT_EQ(g.animation->keyFrames, (std::vector<uint32_t>{0, 24}));
    // The loader's update at time 0 shows frame 0's keys.
    EXPECT_FLOAT_EQ(g.posX, 10.0f);
    EXPECT_FLOAT_EQ(g.scaleX, 1.0f);
    // The record keeps the Bezier values; a frame without "shear00" keys the
    // identity, one with it zeroes the absent entries.
    EXPECT_TRUE(g.animation->keyAt<float>("posY", 0).smooth);
    EXPECT_FLOAT_EQ(g.animation->keyAt<float>("posX", 0).tangent, 3.0f);
    EXPECT_FLOAT_EQ(g.animation->keyAt<float>("shear11", 0).value, 1.0f);
    EXPECT_FLOAT_EQ(g.animation->keyAt<float>("shear00", 1).value, 0.5f);
    EXPECT_FLOAT_EQ(g.animation->keyAt<float>("shear11", 1).value, 0.0f);

    g.play(false);
    AE::ISceneNode::update(root.get(), 0.5f);
    EXPECT_NEAR(g.posX, 60.0f, 2.0f);  // half-way, on a smooth curve
}

TEST_F(SceneLoaderTest, SpriteReader)
{
    addSceneFixture("t_sprites_xml", "sprite_objects.xml");
    start();
    auto root = load("t_sprites_xml");
    ASSERT_TRUE(root);
    EXPECT_EQ(countLogLines("Failed to create sprite from t_missing_png"), 1);
    EXPECT_EQ(countLogLines("Failed to create sprite from t_missing_sprites T"), 1);
    // The missing pictures, their children and the entries that named them
    // are left out.
    ASSERT_EQ(childNames(*root), (std::vector<std::string>{"pic"}));
    EXPECT_TRUE(root->markers.at(0)->entries.empty());

    auto& pic = static_cast<AE::SpriteSceneNode&>(*root->children[0]);
    ASSERT_EQ(pic.kind(), AE::SCENE_NODE_SPRITE);
    EXPECT_EQ(pic.fileName, "t_img_png");
    EXPECT_EQ(pic.getSize(), VQ::Vector2f(20.0f, 10.0f));
    EXPECT_EQ(pic.srcRect, VQ::Rect(0, 0, 20, 10));
    EXPECT_EQ(pic.maskMode, 1);
    EXPECT_TRUE(pic.distortion);
    EXPECT_FLOAT_EQ(pic.posX, 0.0f);  // frame 0 keys it
    AE::SceneNodeAnimation& a = *pic.animation;
    // A frame index past the (empty) sheet is 0; a negative one stays.
    EXPECT_EQ(a.keyAt<int>("frameIndex", 0).value, 0);
    EXPECT_EQ(a.keyAt<int>("frameIndex", 2).value, -1);
    EXPECT_EQ(a.keyAt<int>("blendMode", 0).value, 0);
    EXPECT_FLOAT_EQ(a.keyAt<VQ::Vector2f>("texPos", 0).value.x, 2.0f);
    // Without "clipEnabled" a frame keeps the clip of the frame before (the
    // first: that of "Parameters").
    EXPECT_TRUE(a.keyAt<bool>("clipEnabled", 0).value);
    EXPECT_FLOAT_EQ(a.keyAt<float>("clipRectR", 0).value, 8.0f);
    EXPECT_FALSE(a.keyAt<bool>("clipEnabled", 1).value);
    EXPECT_FALSE(a.keyAt<bool>("clipEnabled", 2).value);
    EXPECT_FLOAT_EQ(a.keyAt<float>("clipRectR", 2).value, 0.0f);
}

TEST_F(SceneLoaderTest, DeepNestingIsCut)
{
    std::string body;
    for (int i = 0; i < 300; ++i)
        body += "<Object name='n" + std::to_string(i) + "'><Childs>";
    for (int i = 0; i < 300; ++i)
        body += "</Childs></Object>";
    addScene("t_deep_xml", body);
    start();
    auto root = load("t_deep_xml");
    ASSERT_TRUE(root);
    int depth = 0;
    for (AE::ISceneNode* n = root.get(); !n->children.empty(); n = n->children[0])
        ++depth;
    EXPECT_EQ(depth, AE::MAX_SCENE_DEPTH);
    int warnings = 0;
    for (const std::string& line : logLines())
        if (line.rfind("WARNING: ", 0) == 0 && line.find("t_deep_xml") != std::string::npos)
            ++warnings;
    EXPECT_EQ(warnings, 1);
}

}  // namespace
