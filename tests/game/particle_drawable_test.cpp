#include <gtest/gtest.h>

#include <memory>

#include "drawable.h"
#include "engine/particle_fixture.h"

using namespace ParticleFixture;
using TestSupport::catchFatal;

namespace {

constexpr float FRAME = 1.0f / 60.0f;

class ParticleDrawableTest : public ParticleContentTest {
protected:
    void SetUp() override
    {
        ParticleContentTest::SetUp();
        addEffect("odd_fx", "<root><ParticleFX class_name=\"ParticleRotateAffector\"/></root>");
        start();
    }
    // Frames as the board runs its effect list: shown, then advanced.
    static void frames(Drawable& drawable, int count)
    {
        for (int i = 0; i < count; ++i) {
            drawable.wasVisible = drawable.visible;
            drawable.visible = true;
            drawable.update(FRAME);
        }
    }
};

TEST_F(ParticleDrawableTest, APlayedOutEffectIsNoLongerWanted)
{
    std::unique_ptr<Drawable> wave(createDrawable("ParticleFX", "wave_hor_fx", "ignored", 20, "_R"));
    auto* particles = dynamic_cast<ParticleFXDrawable*>(wave.get());
    ASSERT_NE(particles, nullptr);
    ASSERT_NE(particles->effect, nullptr);
    EXPECT_EQ(particles->effect->name, "wave_hor_fx");
    EXPECT_EQ(wave->layer, 20);

    // A copy makes its effect when first asked.
    std::unique_ptr<Drawable> copy(wave->clone());
    auto* copied = static_cast<ParticleFXDrawable*>(copy.get());
    EXPECT_EQ(copied->effect, nullptr);
    EXPECT_EQ(copy->layer, 20);
    EXPECT_TRUE(copy->isAlive());
    ASSERT_NE(copied->effect, nullptr);
    EXPECT_NE(copied->effect, particles->effect);

    // Hidden, it does not advance; shown, it plays out within half a second.
    copy->update(1.0f);
    EXPECT_EQ(copied->effect->mParticleEmitters[0]->elapsed, 0.0f);
    int played = 0;
    while (copy->isAlive() && played < 120) {
        frames(*copy, 1);
        ++played;
    }
    EXPECT_LE(played, 36);
    EXPECT_GT(played, 10);

    // Drawn again after being hidden and shown, it starts over.
    ASSERT_GT(copied->effect->mParticleEmitters[0]->elapsed, 0.0f);
    copy->setVisible(false);
    copy->setVisible(true);
    copy->draw(40, 40);
    EXPECT_EQ(copied->effect->mParticleEmitters[0]->elapsed, 0.0f);
    EXPECT_TRUE(copy->isAlive());
    // Drawn again while it stays shown, it runs on.
    frames(*copy, 2);
    const float running = copied->effect->mParticleEmitters[0]->elapsed;
    EXPECT_GT(running, 0.0f);
    copy->draw(40, 40);
    EXPECT_EQ(copied->effect->mParticleEmitters[0]->elapsed, running);
    EXPECT_EQ(copied->effect->mPosition, VQ::Vector2f(40, 40));

    // Both hand their effects back.
    VQ::ParticleFX* effect = copied->effect;
    copy.reset();
    wave.reset();
    EXPECT_EQ(mParticles->pooledCount("wave_hor_fx"), 2u);
    EXPECT_EQ(mParticles->create("wave_hor_fx"), effect);
}

TEST_F(ParticleDrawableTest, AnEffectThatCannotBeMade)
{
    const VQ::FatalReport report = catchFatal([] { ParticleFXDrawable drawable("odd_fx", 0); });
    EXPECT_EQ(report.description, "Fail to load particle from odd_fx");
    EXPECT_EQ(report.file, "Drawable");
    EXPECT_EQ(report.line, 210);

    // A copy whose effect cannot be made is over and draws nothing.
    ParticleFXDrawable good("hint_fx", 0);
    std::unique_ptr<Drawable> copy(good.clone());
    static_cast<ParticleFXDrawable*>(copy.get())->name = "odd_fx";
    EXPECT_FALSE(copy->isAlive());
    createQueuedTextures();
    EXPECT_TRUE(drawn([&] { copy->draw(0, 0); }).empty());
}

}  // namespace
