// Sprites: loading from Lua and from the XML twin, defaults, meshes, copies,
// placement, clipping, mirroring, grids and animation binding.

#include <gtest/gtest.h>

#include <cmath>

#include "animation.h"
#include "file_system.h"
#include "lua_script_2.h"
#include "support/sprite_fixture.h"
#include "xml_data_reader.h"

using namespace TestSupport;
using VQ::Color;
using VQ::Rect;
using VQ::Sprite;
using VQ::Vector2f;

namespace {

void expectSameSprite(const Sprite& a, const Sprite& b, const std::string& what)
{
    SCOPED_TRACE(what);
    EXPECT_EQ(a.position(), b.position());
    EXPECT_EQ(a.angle(), b.angle());
    EXPECT_EQ(a.scale(), b.scale());
    EXPECT_EQ(a.size(), b.size());
    EXPECT_EQ(a.rotationCenter(), b.rotationCenter());
    EXPECT_EQ(a.clipRect(), b.clipRect());
    EXPECT_EQ(a.mirrorH(), b.mirrorH());
    EXPECT_EQ(a.mirrorV(), b.mirrorV());
    EXPECT_EQ(a.hasMesh(), b.hasMesh());
    EXPECT_EQ(a.sourceRects(), b.sourceRects());
    EXPECT_EQ(a.texelScale(), b.texelScale());
    ASSERT_EQ(a.cols(), b.cols());
    ASSERT_EQ(a.rows(), b.rows());
    for (uint32_t i = 0; i < a.vertexCount(); ++i) {
        EXPECT_EQ(a.baseVertex(i), b.baseVertex(i)) << i;
        EXPECT_EQ(a.texCoord(i), b.texCoord(i)) << i;
        EXPECT_EQ(a.vertexColor(i), b.vertexColor(i)) << i;
    }
    using Pair = std::pair<const VQ::RenderData*, const VQ::RenderData*>;
    for (const Pair& pair : {Pair(a.quadRenderData(), b.quadRenderData()),
                             Pair(a.meshRenderData(), b.meshRenderData())}) {
        EXPECT_EQ(pair.first->textures, pair.second->textures);
        EXPECT_EQ(pair.first->blendMode, pair.second->blendMode);
        EXPECT_EQ(pair.first->vertexCount(), pair.second->vertexCount());
    }
}

class SpriteLoadTest : public SpriteTest {
protected:
    Sprite* fromLua(const std::string& script, const std::string& table)
    {
        return mSprites->createSpriteFromScript(script, table, "default");
    }
    Sprite* fromXml(const std::string& resource, const std::string& table)
    {
        VQ::XmlDataReader reader;
        EXPECT_TRUE(reader.load("default", resource));
        EXPECT_TRUE(reader.enterNode(table)) << table;
        return mSprites->createSpriteFromXml(reader);
    }
};

}  // namespace

TEST_F(SpriteLoadTest, EverySampleSpriteLoadsTheSameFromLuaAndFromItsXmlTwin)
{
    startEngine();
    const std::pair<const char*, std::vector<const char*>> tables[] = {
        {"other", {"s_cursor"}},
        {"screen_borders", {"screen_leftborder", "screen_topborder"}},
        {"logo", {"Studio", "Title"}},
        {"menu", {"Sky", "Hills", "Lantern"}},
        {"test_atlas", {"Arrow", "ArrowMirrored", "EllTurned", "CheckerClipped", "RingTwoTextures", "WaveMesh"}},
    };
    for (const auto& [table, names] : tables)
        for (const char* name : names)
            expectSameSprite(*fromLua(std::string(table) + "_sprites", name),
                             *fromXml(std::string(table) + "_sxml", name), name);

    // The atlas shows each key as written.
    Sprite* turned = fromLua("test_atlas_sprites", "EllTurned");
    EXPECT_EQ(turned->angle(), 30.0f);
    EXPECT_EQ(turned->size(), Vector2f(96, 96));
    EXPECT_EQ(turned->rotationCenter(), Vector2f(16, 80));
    EXPECT_EQ(turned->quadRenderData()->blendMode, VQ::BLEND_ADD);
    EXPECT_EQ(turned->meshRenderData()->blendMode, VQ::BLEND_ADD);
    EXPECT_EQ(turned->vertexColor(0), Color::fromBytes(255, 200, 160, 220));
    EXPECT_EQ(turned->sourceRects()[0], Rect(64, 0, 128, 64));
    EXPECT_EQ(turned->texelScale(), Vector2f(1.0f / 128, 1.0f / 128));
    Sprite* clipped = fromLua("test_atlas_sprites", "CheckerClipped");
    EXPECT_EQ(clipped->clipRect(), Rect(8, 8, 40, 56));
    EXPECT_FALSE(clipped->clipEnabled());
    EXPECT_TRUE(clipped->mirrorV());
    Sprite* ring = fromLua("test_atlas_sprites", "RingTwoTextures");
    ASSERT_EQ(ring->sourceRects().size(), 2u);
    EXPECT_EQ(ring->sourceRects()[1], Rect());
    EXPECT_EQ(ring->quadRenderData()->textures.size(), 2u);
    EXPECT_EQ(ring->meshRenderData()->blendMode, VQ::BLEND_COLOR);
}

TEST_F(SpriteLoadTest, DescriptionDefaultsAndTheLuaNumberRuleForMirroring)
{
    addLua("defaults_sprites", R"(
        Bare = { }
        Sized = { Size = { 40, 20 } }
        BoolMirror = { Image0 = "test_atlas_png", MirrorH = true }
        NumberMirror = { Image0 = "test_atlas_png", MirrorH = 1, MirrorV = 0.5 }
        TwoImages = { Image0 = "test_atlas_png", Image1 = "cursor_png", BlendMode = "multiply" }
    )");
    startEngine();
    Sprite* bare = fromLua("defaults_sprites", "Bare");
    EXPECT_EQ(bare->texture(), nullptr);
    EXPECT_TRUE(bare->sourceRects().empty());
    EXPECT_EQ(bare->size(), Vector2f(0, 0));
    EXPECT_EQ(bare->texelScale(), Vector2f(0, 0));
    EXPECT_EQ(bare->clipRect(), Rect(0, 0, 1024, 768));
    EXPECT_EQ(bare->vertexCount(), 4u);
    EXPECT_EQ(bare->vertexColor(3), Color(0xFFFFFFFFu));

    Sprite* sized = fromLua("defaults_sprites", "Sized");
    EXPECT_EQ(sized->size(), Vector2f(40, 20));
    EXPECT_EQ(sized->rotationCenter(), Vector2f(20, 10));
    EXPECT_EQ(sized->baseVertex(3), Vector2f(40, 20));

    EXPECT_FALSE(fromLua("defaults_sprites", "BoolMirror")->mirrorH());
    Sprite* numberMirror = fromLua("defaults_sprites", "NumberMirror");
    EXPECT_TRUE(numberMirror->mirrorH());
    EXPECT_FALSE(numberMirror->mirrorV());

    Sprite* two = fromLua("defaults_sprites", "TwoImages");
    ASSERT_EQ(two->sourceRects().size(), 2u);
    EXPECT_EQ(two->sourceRects()[0], Rect(0, 0, 128, 128));
    EXPECT_EQ(two->sourceRects()[1], Rect(0, 0, 0, 0));
    EXPECT_EQ(two->size(), Vector2f(128, 128));
    EXPECT_EQ(two->quadRenderData()->blendMode, VQ::BLEND_ALPHA);
    // Two references per texture: the quad's and the mesh's.
    EXPECT_EQ(texture("cursor_png")->mRefCount, 2);
}

TEST_F(SpriteLoadTest, MeshVerticesWithoutColourAreTransparentInLuaAndWhiteInXml)
{
    addLua("mesh_sprites", R"(
        Mesh1 = { Image0 = "test_atlas_png", SrcRect0 = { 0, 0, 64, 32 }, Color = { 10, 20, 30, 40 },
            Mesh = { sizeX = 2, sizeY = 1, Vertecies = {
                { x = 1, y = 0, uv = { 99, 99 }, Pos = { 5, 6 } },
                { x = 2, y = 1, Color = { 1, 2, 3, 4 } },
            } } }
    )");
    addXml("mesh_sxml", R"(<root><Mesh1>
        <Image0 v="test_atlas_png"/><SrcRect0 v0="0" v1="0" v2="32" v3="64"/><Color r="10" g="20" b="30" a="40"/>
        <Mesh><sizeX v="0x2"/><sizeY v="1"/><Vertecies>
          <v0><x v="1"/><y v="0"/><uv v0="99" v1="99"/><Pos v0="5" v1="6"/></v0>
          <v1><x v="2"/><y v="1"/><Color r="1" g="2" b="3" a="4"/></v1>
        </Vertecies></Mesh>
        <After v="1"/></Mesh1></root>)");
    startEngine();
    Sprite* lua = fromLua("mesh_sprites", "Mesh1");
    VQ::XmlDataReader reader;
    ASSERT_TRUE(reader.load("default", "mesh_sxml"));
    ASSERT_TRUE(reader.enterNode("Mesh1"));
    Sprite* xml = mSprites->createSpriteFromXml(reader);
    // The reader is back on the sprite's element.
    bool after = false;
    EXPECT_TRUE(reader.readBool("After", after));

    for (Sprite* s : {lua, xml}) {
        EXPECT_TRUE(s->hasMesh());
        ASSERT_EQ(s->cols(), 2u);
        ASSERT_EQ(s->rows(), 1u);
        ASSERT_EQ(s->vertexCount(), 6u);
        EXPECT_EQ(s->baseVertex(1), Vector2f(5, 6));
        EXPECT_EQ(s->baseVertex(2), Vector2f(64, 0));  // laid out over the size
        EXPECT_EQ(s->vertexColor(0), Color::fromBytes(10, 20, 30, 40));
        EXPECT_EQ(s->vertexColor(5), Color::fromBytes(1, 2, 3, 4));
        // The spread of source rect 0 replaces the entries' uv.
        EXPECT_EQ(s->texCoord(1), Vector2f(32, 0));
        EXPECT_EQ(s->texCoord(5), Vector2f(64, 32));
    }
    EXPECT_EQ(lua->vertexColor(1), Color(0u));
    EXPECT_EQ(xml->vertexColor(1), Color(0xFFFFFFFFu));
}

TEST_F(SpriteLoadTest, BrokenDescriptionsStopWithTheirReports)
{
    addLua("broken_sprites", R"(
        ZeroSize = { Mesh = { sizeX = 0, sizeY = 3 } }
        HugeSize = { Mesh = { sizeX = 4294967295, sizeY = 4294967295 } }
        LargeSize = { Mesh = { sizeX = 100000, sizeY = 100000 } }
        BadIndex = { Mesh = { sizeX = 1, sizeY = 1, Vertecies = { { x = 2, y = 1 } } } }
        NegativeIndex = { Mesh = { sizeX = 1, sizeY = 1, Vertecies = { { x = -1, y = 0 } } } }
        NoTexture = { Image0 = "no_such_png" }
    )");
    startEngine();
    const size_t listed = mSprites->spriteCount();  // the render system's own
    const std::pair<const char*, std::pair<const char*, int>> cases[] = {
        {"ZeroSize", {"Bad mesh size specified", 817}},   {"HugeSize", {"Bad mesh size specified", 817}},
        {"LargeSize", {"Bad mesh size specified", 817}},  {"BadIndex", {"Bad index specified", 846}},
        {"NegativeIndex", {"Bad index specified", 846}},
    };
    for (const auto& [table, expected] : cases) {
        const VQ::FatalReport report = catchFatal([&] { fromLua("broken_sprites", table); });
        EXPECT_EQ(report.description, expected.first) << table;
        EXPECT_EQ(report.file, "sprite") << table;
        EXPECT_EQ(report.line, expected.second) << table;
    }
    EXPECT_EQ(mSprites->spriteCount(), listed);

    VQ::FatalReport report = catchFatal([&] { fromLua("no_such_sprites", "X"); });
    EXPECT_EQ(report.description, "Failed to load script 'no_such_sprites' from package 'default' ");
    EXPECT_EQ(report.line, 68);
    report = catchFatal([&] { fromLua("broken_sprites", "Missing"); });
    EXPECT_EQ(report.description,
              "Failed to open table 'Missing' in script 'broken_sprites' from package 'default' ");
    EXPECT_EQ(report.line, 73);
    // A missing image stops in the texture loading already.
    report = catchFatal([&] { mSprites->createSpriteFromImage("no_such_png", "default"); });
    EXPECT_NE(report.line, -1);
    EXPECT_EQ(mSprites->spriteCount(), listed);

    Sprite probe;
    EXPECT_EQ(probe.tryLoadFromScript("broken_sprites", "default", "Missing"), 1);
    EXPECT_EQ(countLogLines("ERROR: Failed to load sprite broken_sprites Missing"), 1);
}

TEST_F(SpriteLoadTest, ASpriteScriptRunsOnceUntilTheContentChanges)
{
    addLua("once_sprites", "A = { Size = { 10, 20 } } B = { Size = { 30, 40 } }");
    startEngine();
    EXPECT_EQ(fromLua("once_sprites", "A")->size(), Vector2f(10, 20));
    // A second run of the script would see these sizes.
    writeContent("test/once_sprites.lua", "A = { Size = { 1, 2 } } B = { Size = { 3, 4 } }");
    EXPECT_EQ(fromLua("once_sprites", "B")->size(), Vector2f(30, 40));
    EXPECT_EQ(fromLua("once_sprites", "A")->size(), Vector2f(10, 20));
    VQ::FastSprite* fast = mFastSprites->createSprite("once_sprites", "B", "default");
    EXPECT_EQ(fast->size, Vector2f(30, 40));

    VQ::FileSystem::instance()->loadFilesLocationInfo();
    EXPECT_EQ(fromLua("once_sprites", "B")->size(), Vector2f(3, 4));
}

TEST_F(SpriteLoadTest, UntexturedSpriteCopiesAndReferences)
{
    startEngine();
    Sprite* blank = mSprites->createSpriteFromTexture(nullptr);
    EXPECT_EQ(blank->size(), Vector2f(32, 32));
    EXPECT_EQ(blank->sourceRects()[0], Rect(0, 0, 32, 32));
    EXPECT_EQ(blank->texelScale(), Vector2f(0, 0));
    EXPECT_EQ(blank->rotationCenter(), Vector2f(16, 16));

    VQ::Texture* atlas = texture("test_atlas_png");
    Sprite* original = mSprites->createSpriteFromTexture(atlas);
    EXPECT_EQ(atlas->mRefCount, 2);
    original->setPositionXY(5, 6);
    Sprite* copy = mSprites->cloneSprite(original);
    EXPECT_EQ(atlas->mRefCount, 4);
    expectSameSprite(*original, *copy, "copy");
    copy->setColor(Color(0xFF00FF00u));
    copy->setPositionXY(50, 60);
    copy->updateVertices();
    original->updateVertices();
    EXPECT_EQ(original->vertexColor(0), Color(0xFFFFFFFFu));
    EXPECT_EQ(original->drawnPosition(0), Vector2f(5, 6));
    mSprites->releaseSprite(original);
    EXPECT_EQ(atlas->mRefCount, 2);
    EXPECT_EQ(copy->drawnPosition(0), Vector2f(50, 60));
    mSprites->releaseSprite(copy);
}

// --- Geometry and drawing ---

namespace {

class SpriteDrawTest : public SpriteTest {
protected:
    void SetUp() override
    {
        SpriteTest::SetUp();
        // 256 x 128, red in the left half and blue in the right.
        addImage("halves_png", 256, 128, [](uint32_t x, uint32_t) { return x < 128 ? 0xFFFF0000u : 0xFF0000FFu; });
        startEngine();
        mSprite = mSprites->createSpriteFromTexture(texture("halves_png"));
        createQueuedTextures();
    }
    std::vector<DrawnVertex> draw()
    {
        mSprite->updateVertices();
        return drawn([&] { mSprite->draw(); });
    }
    Sprite* mSprite = nullptr;
};

}  // namespace

TEST_F(SpriteDrawTest, SmallMovesAreStoredButDoNotMoveTheDrawnSprite)
{
    mSprite->setPositionXY(10, 10);
    mSprite->updateVertices();
    mSprite->setPositionXY(10.0005f, 10);
    EXPECT_FALSE(mSprite->dirty());
    mSprite->updateVertices();
    EXPECT_EQ(mSprite->drawnPosition(0), Vector2f(10, 10));
    mSprite->setPositionXY(10.0015f, 10);
    mSprite->updateVertices();
    EXPECT_FLOAT_EQ(mSprite->drawnPosition(0).x, 10.0015f);
    mSprite->setAngle(0.0005f);
    EXPECT_FALSE(mSprite->dirty());
    mSprite->setScaleXY(1.001f, 1.0f);
    EXPECT_TRUE(mSprite->dirty());
}

TEST_F(SpriteDrawTest, RotationTurnsAboutTheCentreAndScaleLeavesTheCentreUnscaled)
{
    mSprite->setRotationCenter(Vector2f(0, 0));
    mSprite->setPositionXY(100, 100);
    mSprite->setAngle(90);
    std::vector<DrawnVertex> v = draw();
    ASSERT_EQ(v.size(), 4u);
    // (256, 0) from the pivot becomes (0, 256): clockwise with y down.
    EXPECT_NEAR(v[1].x, 100.0f, 1e-3f);
    EXPECT_NEAR(v[1].y, 356.0f, 1e-3f);

    mSprite->setAngle(0);
    mSprite->setScaleXY(2, 0.5f);
    v = draw();
    EXPECT_FLOAT_EQ(v[2].x, 100.0f + 512.0f);
    EXPECT_FLOAT_EQ(v[2].y, 100.0f + 64.0f);
}

TEST_F(SpriteDrawTest, ClippingShiftsTheTextureByTheClippedDistanceOnce)
{
    mSprite->setClipEnabled(true);
    struct Case {
        float scale;
        Rect clip;
        float expectedLeftU;  // in texture pixels
    } cases[] = {
        {1.0f, Rect(16, -100, 1000, 1000), 16.0f},
        {1.0f, Rect(1000, 1000, 16, -100), 16.0f},  // reversed: the same clip
        {2.0f, Rect(16, -100, 2000, 1000), 8.0f},   // 16 units of a sprite twice as large
        {0.0f, Rect(16, -100, 1000, 1000), 0.0f},   // no shift on a collapsed axis
    };
    for (const Case& c : cases) {
        mSprite->setScaleXY(c.scale, 1.0f);
        mSprite->setClipRect(c.clip);
        const std::vector<DrawnVertex> v = draw();
        SCOPED_TRACE(c.scale);
        if (c.scale == 0.0f) {
            // Every corner clamps to x = 16 and nothing is drawn from the
            // texture's side.
            ASSERT_EQ(v.size(), 4u);
            EXPECT_EQ(v[0].u, 0.0f);
            continue;
        }
        ASSERT_EQ(v.size(), 4u);
        EXPECT_EQ(v[0].x, 16.0f);
        EXPECT_FLOAT_EQ(v[0].u * 256.0f, c.expectedLeftU);
        EXPECT_FLOAT_EQ(v[3].u * 256.0f, c.expectedLeftU);
        EXPECT_FLOAT_EQ(v[1].u, 1.0f);
    }
}

TEST_F(SpriteDrawTest, MirroringFlipsWithinTheWholeTexture)
{
    mSprite->setSourceRect(0, Rect(0, 0, 128, 128), true);
    mSprite->setMirrorH(true);
    std::vector<DrawnVertex> v = draw();
    ASSERT_EQ(v.size(), 4u);
    // The left half shown mirrored reads the right half, flipped.
    EXPECT_FLOAT_EQ(v[0].u, 1.0f);
    EXPECT_FLOAT_EQ(v[1].u, 0.5f);
    EXPECT_FLOAT_EQ(v[0].v, 0.0f);

    mSprite->setSourceRect(5, Rect(1, 2, 3, 4), false);
    ASSERT_EQ(mSprite->sourceRects().size(), 2u);
    EXPECT_EQ(mSprite->sourceRects()[1], Rect(1, 2, 3, 4));
}

TEST_F(SpriteLoadTest, GridCellsDrawOneQuadEachWithTheirCornerColours)
{
    addLua("grid_sprites", R"(
        Grid = { Image0 = "test_atlas_png", Size = { 30, 20 },
            Mesh = { sizeX = 3, sizeY = 2, Vertecies = { { x = 3, y = 1, Color = { 255, 0, 0, 255 } } } } }
    )");
    startEngine();
    Sprite* grid = fromLua("grid_sprites", "Grid");
    createQueuedTextures();
    ASSERT_EQ(grid->vertexCount(), 12u);
    // Vertex 7 is the last of the middle row.
    EXPECT_EQ(grid->vertexColor(7), Color(0xFFFF0000u));
    grid->updateVertices();
    const std::vector<DrawnVertex> v = drawn([&] { grid->draw(); });
    ASSERT_EQ(mDevice->draws().size(), 1u);
    ASSERT_EQ(v.size(), 24u);
    // Third cell (column 2, row 0): corners 2, 3, 7, 6.
    EXPECT_EQ(v[8].x, 20.0f);
    EXPECT_EQ(v[9].x, 30.0f);
    // The listed vertex took its "Pos", (0, 0) when missing.
    EXPECT_EQ(v[10].x, 0.0f);
    EXPECT_EQ(v[10].y, 0.0f);
    EXPECT_EQ(v[6].y, 10.0f);
    EXPECT_EQ(v[10].color, Color(0xFFFF0000u));
    EXPECT_EQ(v[11].color, Color(0xFFFFFFFFu));

    grid->setGridVertex(Vector2f(99, 98), 3, 1);
    EXPECT_EQ(grid->baseVertex(7), Vector2f(99, 98));
    EXPECT_TRUE(grid->dirty());
    const VQ::FatalReport report = catchFatal([&] { grid->setGridVertex(Vector2f(), 0, 3); });
    EXPECT_EQ(report.description, "Bad coordinates specified");
    EXPECT_EQ(report.line, 252);
    EXPECT_EQ(catchFatal([&] { grid->gridTexCoord(4, 2); }).line, 280);

    // An outside matrix places the base vertices; the own placement is
    // rebuilt afterwards.
    const float doubleAndMove[9] = {2, 0, 0, 0, 2, 0, 100, 50, 1};
    grid->transformVertices(doubleAndMove);
    EXPECT_EQ(grid->drawnPosition(7), Vector2f(298, 246));
    EXPECT_TRUE(grid->dirty());
    grid->updateVertices();
    EXPECT_EQ(grid->drawnPosition(7), Vector2f(99, 98));
}

TEST_F(SpriteLoadTest, AnAnimationBoundToASpriteMovesAndTintsIt)
{
    startEngine();
    Sprite* sprite = mSprites->createSpriteFromTexture(texture("test_atlas_png"));
    VQ::Animation animation;
    sprite->bindAnimation(animation);
    animation.addFrame(1.0f);
    animation.addFrame(1.0f);
    *animation.vector2KeyAt("pos", 1) = Vector2f(100, 40);
    *animation.colorKeyAt("color", 0) = Color(0xFFFFFFFFu);
    *animation.colorKeyAt("color", 1) = Color(0x00FFFFFFu);
    *animation.rectKeyAt("SrcRect0", 1) = Rect(0, 0, 64, 64);
    sprite->updateVertices();
    animation.update(0.5f);
    EXPECT_TRUE(sprite->dirty());
    sprite->updateVertices();
    EXPECT_NEAR(sprite->drawnPosition(0).x, 50.0f, 1e-3f);
    EXPECT_NEAR(sprite->drawnPosition(0).y, 20.0f, 1e-3f);
    EXPECT_NEAR(sprite->vertexColor(3).a, 127, 1);
    animation.update(0.6f);
    // A rectangle parameter shows the current key without blending.
    EXPECT_EQ(sprite->sourceRects()[0], Rect(0, 0, 64, 64));
    EXPECT_EQ(sprite->texCoord(3), Vector2f(64, 64));
}
