// The mesh scene node: the grid a node's markers ask for, the place it takes
// in the tree, its texture coordinates, and the water and wind transformers.

#include <gtest/gtest.h>

#include <cmath>

#include "animationeditor/mesh_scene_node.h"
#include "render_data.h"
#include "support/sprite_fixture.h"

using AE::ISceneNode;
using AE::MeshSceneNode;
using VQ::Vector2f;

namespace {

class MeshSceneNodeTest : public TestSupport::SpriteTest {
protected:
    void SetUp() override
    {
        SpriteTest::SetUp();
        addImage("mesh_image", 128, 64, [](uint32_t, uint32_t) { return 0xFF808080u; });
        addLua("mesh_sprites", R"(
Cloth = { Image0 = "mesh_image", Package0 = "default", SrcRect0 = { 64, 0, 128, 32 } }
)");
        startEngine();
    }
    void TearDown() override
    {
        mRoot.reset();
        SpriteTest::TearDown();
    }
    // A "#mesh:" node at (100, 50) under the root with markers of these
    // names, made into a mesh.
    MeshSceneNode* makeMesh(std::initializer_list<const char*> markerNames, float scale = 1.0f)
    {
        auto* old = new ISceneNode();
        old->name = "#mesh:cloth";
        old->fileName = "mesh_sprites";
        old->tableName = "Cloth";
        old->posX = 100;
        old->posY = 50;
        old->scaleX = scale;
        old->scaleY = scale;
        for (const char* name : markerNames)
            old->addMarker(std::make_unique<AE::Marker>(name));
        mRoot->addChild(old, true);
        ISceneNode::update(mRoot.get(), 0);
        auto* mesh = new MeshSceneNode(old);
        ISceneNode::update(mRoot.get(), 0);
        return mesh;
    }

    std::unique_ptr<ISceneNode> mRoot = std::make_unique<ISceneNode>();
};

}  // namespace

TEST_F(MeshSceneNodeTest, SegmentMarkersCutTheGrid)
{
    struct Case {
        const char* marker;
        uint32_t columns, rows;
    };
    const Case cases[] = {{"#segments:8x4", 8, 4},   {"#segments:8,4", 8, 4},  {"#segments:8", 8, 1},
                          {"#segments:8x", 8, 1},    {"#segments:-3x2", 16, 1}, {"#segments:300x1", 16, 1},
                          {"#segments:2x257", 16, 1}, {"other", 16, 1},
                          {"#segments:123456789012345678901234567890123456789x2", 16, 1}};
    for (const Case& c : cases) {
        MeshSceneNode* mesh = makeMesh({c.marker});
        EXPECT_EQ(mesh->segmentsX, c.columns) << c.marker;
        EXPECT_EQ(mesh->segmentsY, c.rows) << c.marker;
        EXPECT_EQ(mesh->getRenderData().vertexCount(), c.columns * c.rows * 4) << c.marker;
        delete mesh;
    }
}

TEST_F(MeshSceneNodeTest, TheMeshTakesTheOldNodesPlaceAndIsBuiltInWorldSpace)
{
    auto* sibling = new ISceneNode();
    mRoot->addChild(sibling, true);
    MeshSceneNode* mesh = makeMesh({"#segments:2x1"}, 2.0f);
    ASSERT_EQ(mRoot->children.size(), 2u);
    EXPECT_EQ(mRoot->children[1], mesh);
    EXPECT_EQ(mesh->name, "#mesh:cloth");
    EXPECT_EQ(mesh->width, 128.0f);
    EXPECT_EQ(mesh->height, 64.0f);
    EXPECT_EQ(mesh->kind(), AE::SCENE_NODE_GROUP);

    // Quad 1's corners: top-left, top-right, bottom-right, bottom-left, with
    // the texture's right half in texture units.
    const Vector2f corners[] = {{164, 50}, {228, 50}, {228, 114}, {164, 114}};
    const Vector2f uvs[] = {{0.75f, 0}, {1, 0}, {1, 0.5f}, {0.75f, 0.5f}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(mesh->vertexPosition(4 + k), corners[k]) << k;
        EXPECT_EQ(mesh->vertexTexCoord(4 + k), uvs[k]) << k;
    }
    // Drawn flat: two quads, whether or not the node is enabled.
    mesh->setEnabled(false);
    createQueuedTextures();
    const std::vector<TestSupport::DrawnVertex> vertices = drawn([&] { AE::renderScene(mRoot.get()); });
    ASSERT_EQ(vertices.size(), 8u);
    EXPECT_EQ(vertices[4].x, 164.0f);

    // A mesh of no extent has texture coordinates at the region's corner.
    MeshSceneNode* flat = makeMesh({}, 0.0f);
    EXPECT_EQ(flat->vertexTexCoord(2), Vector2f(0.5f, 0));
}

TEST_F(MeshSceneNodeTest, WaterWavesAlongTheSurfaceOrLiftsColumns)
{
    // 16 columns 4 units wide: quad 1 begins at W.x + 4.
    MeshSceneNode* surface = makeMesh({"#transformer:Water"});
    ASSERT_NE(surface->getTransformer(), nullptr);
    surface->play(true);
    surface->getTransformer()->update(0.0f);
    EXPECT_NEAR(surface->vertexPosition(4).y, 50.0f + 4.0f, 1e-4f);
    EXPECT_NEAR(surface->vertexPosition(0).y, 50.0f, 1e-4f);
    EXPECT_EQ(surface->vertexPosition(4).x, 104.0f);

    MeshSceneNode* columns = makeMesh({"#transformer:Water", "#location:1"});
    auto* water = dynamic_cast<AE::WaterMeshTransformer*>(columns->getTransformer());
    ASSERT_NE(water, nullptr);
    EXPECT_EQ(water->location, 1);
    for (float dt : {0.0f, 0.3f, 1.7f}) {
        water->update(dt);
        for (uint32_t k = 0; k < 4; ++k)
            EXPECT_NEAR(columns->vertexPosition(k).y, (k < 2 ? 50.0f : 82.0f) + 4.0f, 1e-4f) << dt;
    }
    // The seek restarts the clock.
    columns->setTime(2.0f, false);
    EXPECT_EQ(water->time, 2.0f);
}

TEST_F(MeshSceneNodeTest, WindWithAFixedTopEdgeKeepsTheTopRow)
{
    MeshSceneNode* mesh = makeMesh({"#segments:4x3", "#transformer:Wind", "#fixedTopEdge", "#speed:2.5",
                                    "#phase:-0.5", "#stiffness:0.5"});
    auto* wind = dynamic_cast<AE::WindMeshTransformer*>(mesh->getTransformer());
    ASSERT_NE(wind, nullptr);
    EXPECT_TRUE(wind->fixedTopEdge);
    EXPECT_EQ(wind->speed, 2.5f);
    EXPECT_EQ(wind->phase, -0.5f);
    EXPECT_EQ(wind->stiffness, 0.5f);

    mesh->play(true);
    float moved = 0.0f;
    for (int i = 0; i < 30; ++i) {
        ISceneNode::update(mRoot.get(), 1.0f / 30.0f);
        for (uint32_t q = 0; q < 4; ++q) {
            // The top corners of the top row's quads.
            EXPECT_NEAR(mesh->vertexPosition(4 * q).y, 50.0f, 1e-3f);
            EXPECT_NEAR(mesh->vertexPosition(4 * q + 1).y, 50.0f, 1e-3f);
        }
        // The bottom-left corner of the bottom row's first quad.
        moved = std::max(moved, std::fabs(mesh->vertexPosition(4 * 8 + 3).y - 82.0f));
    }
    EXPECT_GT(moved, 0.5f);
}

TEST_F(MeshSceneNodeTest, WindBendsAKnownVertexByItsFormula)
{
    // 64 x 32 at (100, 50), unrotated; speed 1 and phase 0, so that after
    // 0.5 s the wind's angle a is 0.5.
    MeshSceneNode* mesh = makeMesh({"#segments:4x3", "#transformer:Wind", "#speed:1", "#phase:0"});
    auto* wind = dynamic_cast<AE::WindMeshTransformer*>(mesh->getTransformer());
    ASSERT_NE(wind, nullptr);
    wind->update(0.5f);
    // The left corners (u = 0, so s = 1), x0 = 100, h = 32:
    // q = sin(2a - x0/h) * (sin(a - x0/h) + sin(2(a - x0/h))) / 2 = -0.155189.
    // Top (v = 0): only the sway, y = 50 + (1.25 - 1) * h/2 * q.
    EXPECT_NEAR(mesh->vertexPosition(0).x, 100.0f, 1e-3f);
    EXPECT_NEAR(mesh->vertexPosition(0).y, 49.37924f, 1e-3f);
    // Bottom (v = 1): also pushed along the corner's direction from the
    // anchor by k2 = 0.05 h sin(x/(0.4 h) - 5a) = -1.320437.
    EXPECT_NEAR(mesh->vertexPosition(4 * 8 + 3).x, 100.0f, 1e-3f);
    EXPECT_NEAR(mesh->vertexPosition(4 * 8 + 3).y, 82.69968f, 1e-3f);
}

TEST_F(MeshSceneNodeTest, AnUnknownTransformerIsLoggedAndTheMeshStaysFlat)
{
    MeshSceneNode* mesh = makeMesh({"#transformer:Foo"});
    EXPECT_EQ(mesh->getTransformer(), nullptr);
    EXPECT_EQ(countLogLines("ERROR: Not found mesh transformer by \"Foo\" name!"), 1);
    mesh->play(true);
    ISceneNode::update(mRoot.get(), 0.5f);
    EXPECT_EQ(mesh->vertexPosition(4), Vector2f(104, 50));
}

TEST_F(MeshSceneNodeTest, ConvertingReplacesEveryMeshNodeAndPlaysIt)
{
    auto* group = new ISceneNode();
    group->name = "group";
    mRoot->addChild(group, true);
    auto* old = new ISceneNode();
    old->name = "#mesh:water";
    old->fileName = "mesh_sprites";
    old->tableName = "Cloth";
    old->visible = false;
    old->reservedVector = Vector2f(3, 4);
    group->addChild(old, true);
    // Not searched into: its child stays a child of the new mesh.
    auto* inner = new ISceneNode();
    inner->name = "#mesh:inner";
    old->addChild(inner, true);
    ISceneNode::update(mRoot.get(), 0);

    AE::convertMeshNodes(mRoot.get());
    auto* mesh = dynamic_cast<MeshSceneNode*>(group->children.at(0));
    ASSERT_NE(mesh, nullptr);
    EXPECT_TRUE(mesh->visible);
    EXPECT_EQ(mesh->reservedVector, Vector2f(0, 0));
    EXPECT_TRUE(mesh->playing);
    ASSERT_EQ(mesh->children.size(), 1u);
    EXPECT_EQ(dynamic_cast<MeshSceneNode*>(mesh->children[0]), nullptr);
    EXPECT_TRUE(mesh->children[0]->playing);
}
