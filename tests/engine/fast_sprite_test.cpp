// Fast sprites: loading, the one-degree rotation rule, clipping, mirroring
// and drawing through an outside matrix.

#include <gtest/gtest.h>

#include "support/sprite_fixture.h"

using namespace TestSupport;
using VQ::FastSprite;
using VQ::Rect;
using VQ::Vector2f;

namespace {

class FastSpriteTest : public SpriteTest {
protected:
    void SetUp() override
    {
        SpriteTest::SetUp();
        addImage("wide_png", 256, 64, [](uint32_t, uint32_t) { return 0xFFFFFFFFu; });
        startEngine();
        mSprite = mFastSprites->createSpriteFromImage("wide_png", "default");
        createQueuedTextures();
    }
    std::vector<DrawnVertex> draw()
    {
        return drawn([&] { mSprite->draw(); });
    }
    FastSprite* mSprite = nullptr;
};

}  // namespace

TEST_F(FastSpriteTest, LoadsFromTheSampleAtlasAndDefaultsWithoutTexture)
{
    FastSprite* arrow = mFastSprites->createSprite("test_atlas_sprites", "ArrowMirrored", "default");
    EXPECT_EQ(arrow->getSourceRect(), Rect(0, 0, 64, 64));
    EXPECT_EQ(arrow->position, Vector2f(100, 20));
    EXPECT_TRUE(arrow->mirrorH);
    EXPECT_EQ(arrow->size, Vector2f(64, 64));
    EXPECT_EQ(arrow->clipRect, Rect(0, 0, 1024, 768));
    FastSprite* tinted = mFastSprites->createSprite("test_atlas_sprites", "EllTurned", "default");
    EXPECT_EQ(tinted->renderData()->blendMode, VQ::BLEND_ADD);

    const VQ::FatalReport report =
        catchFatal([&] { mFastSprites->createSprite("test_atlas_sprites", "Missing", "default"); });
    EXPECT_EQ(report.file, "fast_sprite");
    EXPECT_EQ(report.line, 99);

    FastSprite blank;
    EXPECT_EQ(blank.getSourceRect(), Rect());
    blank.setTexture(nullptr);
    EXPECT_EQ(blank.getSourceRect(), Rect(0, 0, 32, 32));
    EXPECT_EQ(blank.texelScale(), Vector2f(0, 0));
    const std::vector<DrawnVertex> v = drawn([&] { blank.draw(); });
    ASSERT_EQ(v.size(), 4u);
    for (const DrawnVertex& corner : v)
        EXPECT_EQ(corner.u + corner.v, 0.0f);
    EXPECT_EQ(v[2].x, 32.0f);
}

TEST_F(FastSpriteTest, AnglesWithinOneDegreeDrawUnrotated)
{
    mSprite->angle = 0.9f;
    std::vector<DrawnVertex> v = draw();
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(v[1].y, 0.0f);
    EXPECT_EQ(v[1].x, 256.0f);
    mSprite->angle = 1.1f;
    v = draw();
    EXPECT_NE(v[1].y, 0.0f);
}

TEST_F(FastSpriteTest, ClippingShiftsTextureCoordinatesAndTurningItOffRestoresThem)
{
    mSprite->setSourceRect(0, Rect(0, 0, 64, 64));
    mSprite->size = Vector2f(64, 64);
    mSprite->position = Vector2f(-16, 0);
    mSprite->setClipEnabled(true);
    std::vector<DrawnVertex> v = draw();
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(v[0].x, 0.0f);
    EXPECT_FLOAT_EQ(v[0].u, 16.0f / 256.0f);
    EXPECT_FLOAT_EQ(v[3].u, 16.0f / 256.0f);
    EXPECT_FLOAT_EQ(v[1].u, 64.0f / 256.0f);

    mSprite->setClipEnabled(false);
    EXPECT_EQ(mSprite->renderData()->vertices->bytes[16 + 0], 0);  // u of vertex 0 back to 0
    v = draw();
    EXPECT_EQ(v[0].u, 0.0f);
    EXPECT_EQ(v[0].x, -16.0f);
}

TEST_F(FastSpriteTest, MirroringActsWithAndWithoutClipping)
{
    mSprite->setSourceRect(0, Rect(0, 0, 128, 64));
    mSprite->mirrorH = true;
    std::vector<DrawnVertex> v = draw();
    EXPECT_FLOAT_EQ(v[0].u, 1.0f);
    EXPECT_FLOAT_EQ(v[1].u, 0.5f);
    mSprite->mirrorH = false;
    v = draw();
    EXPECT_FLOAT_EQ(v[0].u, 0.0f);
    EXPECT_FLOAT_EQ(v[1].u, 0.5f);
}

TEST_F(FastSpriteTest, DrawTransformedMapsTheCornersThroughTheMatrix)
{
    mSprite->angle = 45.0f;  // not used by a transformed draw
    mSprite->scale = Vector2f(0.5f, 1.0f);
    const float m[9] = {0, 1, 0, -1, 0, 0, 300, 10, 1};  // a quarter turn, then a move
    const std::vector<DrawnVertex> v = drawn([&] { mSprite->drawTransformed(m); });
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(v[0].x, 300.0f);
    EXPECT_EQ(v[1].x, 300.0f);
    EXPECT_EQ(v[1].y, 138.0f);
    EXPECT_EQ(v[2].x, 236.0f);
}
