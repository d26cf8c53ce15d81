// The new node kinds drawn on the OpenGL device, by their pixels: parallax
// through a camera, the loading scene at two times (text, layers shifted by
// depth, embers) and the mesh fixture's banner and water moving.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "animationeditor/mesh_scene_node.h"
#include "animationeditor/movie_camera.h"
#include "animationeditor/sprite_scene_node.h"
#include "scene_kinds_fixture.h"
#include "support/content_fixture.h"
#include "support/gl_test_context.h"

using AE::ISceneNode;

namespace {

class SceneKindsGLTest : public SceneTest::SceneKindsTest {
protected:
    void SetUp() override
    {
        SceneKindsTest::SetUp();
        mUseGL = true;
    }
    void TearDown() override
    {
        SceneKindsTest::TearDown();
        mContext.reset();
    }
    bool startGL(int width, int height)
    {
        mWidth = width;
        mHeight = height;
        mSettings.workspaceWidth = uint32_t(width);
        mSettings.workspaceHeight = uint32_t(height);
        mContext = std::make_unique<TestSupport::GLTestContext>(width, height);
        if (!mContext->ok())
            return false;
        startEngine(uint32_t(width), uint32_t(height));
        startKinds();
        return true;
    }
    // The scene drawn into a frame (twice, so that textures queued by the
    // first exist for the second); pixels 0xAARRGGBB, row 0 the top.
    std::vector<uint32_t> frame(ISceneNode* root)
    {
        std::vector<uint32_t> pixels;
        for (int pass = 0; pass < 2; ++pass) {
            createQueuedTextures();
            mRender->beginFrame();
            AE::renderScene(root);
            mRender->endFrame();
            uint32_t w = 0, h = 0;
            EXPECT_TRUE(mGfx->readPixels(pixels, w, h));
            mRender->present();
        }
        return pixels;
    }
    // Steps the scene in frames of 1/60 s up to `seconds`.
    void runTo(float seconds)
    {
        while (mTime + 1.0f / 120.0f < seconds) {
            ISceneNode::update(mScene.get(), 1.0f / 60.0f);
            mTime += 1.0f / 60.0f;
        }
    }
    uint32_t at(const std::vector<uint32_t>& p, int x, int y) const { return p[size_t(y) * size_t(mWidth) + size_t(x)]; }
    static int channelSum(uint32_t argb) { return int((argb >> 16) & 0xFF) + int((argb >> 8) & 0xFF) + int(argb & 0xFF); }
    // Pixels of the rectangle that differ between two frames by more than a
    // little.
    int changed(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int x0, int y0, int x1, int y1) const
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += std::abs(channelSum(at(a, x, y)) - channelSum(at(b, x, y))) > 24;
        return n;
    }
    // The horizontal shift s (within `range`) for which row y of `b` at x + s
    // matches row y of `a` at x best, over [x0, x1).
    int rowShift(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int y, int x0, int x1, int range) const
    {
        int best = 0;
        long bestCost = std::numeric_limits<long>::max();
        for (int s = -range; s <= range; ++s) {
            long cost = 0;
            for (int x = x0; x < x1; ++x)
                cost += std::abs(channelSum(at(a, x, y)) - channelSum(at(b, x + s, y)));
            if (cost < bestCost) {
                bestCost = cost;
                best = s;
            }
        }
        return best;
    }

    std::unique_ptr<TestSupport::GLTestContext> mContext;
    float mTime = 0.0f;
    int mWidth = 0;
    int mHeight = 0;
};

}  // namespace

TEST_F(SceneKindsGLTest, ACameraShiftsEachDepthByItsParallax)
{
    addImage("t_block_png", 8, 8, [](uint32_t, uint32_t) { return 0xFFFFFFFFu; });
    if (!startGL(256, 64))
        GTEST_SKIP() << mContext->error();
    mScene = std::make_unique<ISceneNode>();
    auto* camera = new AE::MovieCamera();
    camera->posX = 100;
    camera->parallaxCoef = 1;
    camera->parallaxEnabled = true;
    mScene->addChild(camera, true);
    struct Block {
        float z;
        float y;
        int shownX;
    };
    // Both placed at x 120: Z 0 moves by 100, Z 2 by 50.
    const Block blocks[] = {{0, 8, 20}, {2, 40, 70}};
    for (const Block& b : blocks) {
        auto* sprite = new AE::SpriteSceneNode();
        sprite->setImage("t_block_png");
        sprite->posX = 120;
        sprite->posY = b.y;
        sprite->posZ = b.z;
        mScene->addChild(sprite, true);
    }
    mScene->play(true);
    ISceneNode::update(mScene.get(), 0.0f);
    ASSERT_EQ(mScene->activeCamera, camera);
    const std::vector<uint32_t> p = frame(mScene.get());
    for (const Block& b : blocks) {
        const int y = int(b.y) + 4;
        EXPECT_GT(channelSum(at(p, b.shownX + 4, y)), 600) << b.z;
        EXPECT_LT(channelSum(at(p, b.shownX - 2, y)), 60) << b.z;
        EXPECT_LT(channelSum(at(p, b.shownX + 10, y)), 60) << b.z;
        EXPECT_LT(channelSum(at(p, 124, y)), 60) << b.z;
    }
}

TEST_F(SceneKindsGLTest, TheLoadingSceneShowsItsTextParallaxAndEmbers)
{
    if (!startGL(1726, 970))
        GTEST_SKIP() << mContext->error();
    mScene = load("loading_scene_xml");
    ASSERT_TRUE(mScene);
    mScene->play(true);
    auto* camera = dynamic_cast<AE::MovieCamera*>(mScene->findNode("camera"));
    ASSERT_NE(camera, nullptr);

    // Two times at which every gem rests (frames 1 and 81 of the 80-frame cycle).
    runTo(1.0f / 24.0f);
    const float cameraFirst = camera->posX;
    const std::vector<uint32_t> first = frame(mScene.get());
    runTo(81.0f / 24.0f);
    const float cameraSecond = camera->posX;
    const std::vector<uint32_t> second = frame(mScene.get());
    const float moved = cameraSecond - cameraFirst;
    ASSERT_GT(std::fabs(moved), 20.0f);

    // The gems stand at Z 0 and move with the camera; the hills, at Z 2,
    // half as far.
    const int gems = rowShift(second, first, 730, 560, 1040, 80);
    const int hills = rowShift(second, first, 640, 300, 1400, 80);
    EXPECT_NEAR(gems, moved, 2.0f);
    EXPECT_NEAR(hills, moved / 2.0f, 2.0f);

    // The text and the embers: each shows where the scene without it does not.
    ISceneNode* text = mScene->findNode("loading");
    ISceneNode* embers = mScene->findNode("embers");
    ASSERT_TRUE(text && embers);
    text->enabled = false;
    embers->enabled = false;
    const std::vector<uint32_t> bare = frame(mScene.get());
    const int textX = 863 - int(cameraSecond);
    EXPECT_GT(changed(second, bare, textX - 150, 800, textX + 150, 880), 300);
    EXPECT_GT(changed(second, bare, 700, 0, 1000, 140), 20);
    EXPECT_EQ(changed(second, bare, 0, 300, 1726, 780), 0);
}

TEST_F(SceneKindsGLTest, TheMeshFixturesBannerAndWaterMove)
{
    if (!startGL(1726, 970))
        GTEST_SKIP() << mContext->error();
    mScene = load(TestSupport::fixturePath("scenes/meshes.xml"));
    ASSERT_TRUE(mScene);
    AE::convertMeshNodes(mScene.get());
    auto* banner = dynamic_cast<AE::MeshSceneNode*>(mScene->findNode("#mesh:banner"));
    auto* water = dynamic_cast<AE::MeshSceneNode*>(mScene->findNode("#mesh:water"));
    ASSERT_TRUE(banner && water);
    EXPECT_EQ(banner->segmentsX, 12u);
    EXPECT_EQ(banner->segmentsY, 3u);
    ASSERT_NE(dynamic_cast<AE::WindMeshTransformer*>(banner->getTransformer()), nullptr);
    ASSERT_NE(dynamic_cast<AE::WaterMeshTransformer*>(water->getTransformer()), nullptr);

    runTo(0.5f);
    const std::vector<uint32_t> first = frame(mScene.get());
    runTo(1.0f);
    const std::vector<uint32_t> second = frame(mScene.get());
    // The banner's free edge and the water's surface are drawn elsewhere; the
    // banner's fixed right edge stays.
    EXPECT_GT(changed(first, second, 540, 100, 800, 400), 100);
    EXPECT_GT(changed(first, second, 0, 680, 1726, 730), 100);
    EXPECT_EQ(changed(first, second, 1060, 110, 1074, 130), 0);
    // Both are drawn at all: the banner's indigo cloth, the water's blue.
    const uint32_t cloth = at(second, 1000, 200);
    EXPECT_GT(cloth & 0xFF, (cloth >> 16) & 0xFF);
    const uint32_t sea = at(second, 863, 850);
    EXPECT_GT(sea & 0xFF, (sea >> 16) & 0xFF);
}
