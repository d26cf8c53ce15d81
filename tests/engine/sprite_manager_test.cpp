// The sprite managers: what they list, release and free, from several
// threads at once.

#include <gtest/gtest.h>

#include <thread>

#include "support/sprite_fixture.h"

using namespace TestSupport;

namespace {
class SpriteManagerTest : public SpriteTest {};
}  // namespace

TEST_F(SpriteManagerTest, FailedCreationsAndForeignPointersLeaveTheListAlone)
{
    startEngine();
    const size_t listed = mSprites->spriteCount();
    EXPECT_EQ(mSprites->tryCreateSpriteFromScript("test_atlas_sprites", "Missing", "default"), nullptr);
    EXPECT_EQ(countLogLines("ERROR: Failed to load sprite test_atlas_sprites Missing"), 1);
    EXPECT_EQ(mSprites->spriteCount(), listed);
    ASSERT_NE(mSprites->tryCreateSpriteFromScript("test_atlas_sprites", "Arrow", "default"), nullptr);

    VQ::Sprite foreign;
    mSprites->releaseSprite(&foreign);
    mSprites->releaseSprite(nullptr);
    VQ::FastSprite foreignFast;
    mFastSprites->releaseSprite(&foreignFast);
    EXPECT_EQ(mSprites->spriteCount(), listed + 1);
}

TEST_F(SpriteManagerTest, DestroyingAManagerFreesItsSpritesAndTheirTextureReferences)
{
    startEngine();
    VQ::Texture* atlas = texture("test_atlas_png");
    mSprites->createSpriteFromScript("test_atlas_sprites", "Arrow", "default");
    mSprites->cloneSprite(mSprites->createSpriteFromImage("test_atlas_png", "default"));
    mFastSprites->createSprite("test_atlas_sprites", "Arrow", "default");
    atlas->addReference();  // the test's own
    EXPECT_EQ(atlas->mRefCount, 8);
    mFastSprites.reset();
    EXPECT_EQ(atlas->mRefCount, 7);
    mRender->releaseBatches();
    mSprites.reset();
    EXPECT_EQ(atlas->mRefCount, 1);
    mTextures->releaseTexture(atlas);

    const VQ::FatalReport report = catchFatal([] { VQ::SpriteManager<VQ::Sprite>::instance(); });
    EXPECT_EQ(report.description.rfind("Singleton not initialized: ", 0), 0u) << report.description;
}

TEST_F(SpriteManagerTest, SpritesAreCreatedAndReleasedFromSeveralThreadsAtOnce)
{
    startEngine();
    const size_t listed = mSprites->spriteCount();
    constexpr int THREADS = 4;
    constexpr int ROUNDS = 50;
    std::vector<std::vector<VQ::Sprite*>> kept(THREADS);
    std::vector<std::thread> threads;
    for (int t = 0; t < THREADS; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < ROUNDS; ++i) {
                VQ::Sprite* sprite = t % 2 ? mSprites->createSpriteFromScript("test_atlas_sprites", "WaveMesh", "default")
                                           : mSprites->createSpriteFromImage("cursor_png", "default");
                VQ::FastSprite* fast = mFastSprites->createSpriteFromImage("test_atlas_png", "default");
                if (i % 2)
                    mSprites->releaseSprite(sprite);
                else
                    kept[t].push_back(sprite);
                mFastSprites->releaseSprite(fast);
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(mSprites->spriteCount(), listed + THREADS * ROUNDS / 2);
    EXPECT_EQ(mFastSprites->spriteCount(), 0u);
    for (const auto& list : kept)
        for (VQ::Sprite* sprite : list)
            mSprites->releaseSprite(sprite);
    EXPECT_EQ(mSprites->spriteCount(), listed);
}
