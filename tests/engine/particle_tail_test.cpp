#include <gtest/gtest.h>

#include "particle_emitter.h"
#include "particle_tail.h"

using VQ::Vector2f;

namespace {

constexpr float FRAME = 1.0f / 60.0f;

// The emitter only as the holder of the trail settings.
struct Trail {
    Trail(int maxSegments, int headSize, float minDistance, float fadeSpeed)
    {
        settings.mMaxSegments = maxSegments;
        settings.ringSize = maxSegments + 7;
        settings.mHeadSize = headSize;
        settings.mHeadSizeTex = 16;
        settings.mMinDistSegments = minDistance;
        settings.mFadeSpeed = fadeSpeed;
        settings.trailRectWidth = 128;
        settings.trailRectHeight = 16;
        tail.width = 8.0f;
    }
    // One frame with the particle at `point`.
    void at(Vector2f point, float dt = FRAME) { tail.update(dt, point); }

    VQ::ParticlePointEmitter settings;
    VQ::ParticleTail tail{&settings};
};

TEST(ParticleTail, StartsOnceTheParticleMovesAndGrowsBySegmentDistance)
{
    Trail trail(17, 20, 10.0f, 0.0f);
    trail.at(Vector2f(0, 0));
    EXPECT_EQ(trail.tail.count, 0);  // not moved yet (the last point starts at the origin)
    trail.at(Vector2f(1, 0));
    EXPECT_EQ(trail.tail.count, 3);  // three zero-length segments at the point
    EXPECT_EQ(trail.tail.anchor, Vector2f(1, 0));
    // A new segment is due past 20 x 0.5 + 10 + 1 = 21 pixels from the anchor.
    trail.at(Vector2f(22, 0));
    EXPECT_EQ(trail.tail.count, 3);
    trail.at(Vector2f(22.5f, 0));
    EXPECT_EQ(trail.tail.count, 4);
    EXPECT_EQ(trail.tail.anchor, Vector2f(12.5f, 0));
}

TEST(ParticleTail, AFastParticleFillsAtMostTheRing)
{
    Trail trail(17, 20, 10.0f, 0.0f);
    int most = 0;
    for (int i = 0; i < 200; ++i) {
        trail.at(Vector2f(float(i) * 40.0f, float(i % 3) * 5.0f));
        most = std::max(most, trail.tail.count);
        ASSERT_GE(trail.tail.oldest(), 0);
        ASSERT_LT(trail.tail.oldest(), 24);
        ASSERT_GE(trail.tail.head, 0);
        ASSERT_LT(trail.tail.head, 24);
    }
    EXPECT_EQ(trail.tail.segments.size(), 24u);
    EXPECT_LE(most, 24);
    EXPECT_GT(most, 17);
}

TEST(ParticleTail, AStillParticleShrinksAtTheFadeSpeed)
{
    for (float fade : {0.0f, 30.0f}) {
        Trail trail(17, 20, 10.0f, fade);
        for (int i = 0; i <= 12; ++i)
            trail.at(Vector2f(float(i) * 8.0f, 0));
        trail.at(Vector2f(96, 0));  // stops: the head takes its last shape
        EXPECT_FALSE(trail.tail.moving);
        const int grown = trail.tail.count;
        const float length = trail.tail.tailLength;
        ASSERT_GT(length, 30.0f);
        trail.at(Vector2f(96, 0), 0.5f);  // standing still for half a second
        EXPECT_LE(trail.tail.count, grown);
        EXPECT_NEAR(trail.tail.tailLength, length - 0.5f * fade, 1e-3f) << fade;
    }
}

TEST(ParticleTail, AnOverLongTailShrinksAtNineTenthsOfTheParticlesSpeed)
{
    // No fade: only the length over three segments makes it shrink.
    Trail trail(3, 20, 10.0f, 0.0f);
    trail.at(Vector2f(1, 0));
    int checked = 0;
    for (int i = 1; i < 120; ++i) {
        const int oldest = trail.tail.oldest();
        const bool overLong = trail.tail.count > 3;
        const VQ::TailSegment before = trail.tail.segments[size_t(oldest)];
        trail.at(Vector2f(1.0f + float(i) * 8.0f, 0));
        if (!overLong || before.length <= 8.0f || trail.tail.oldest() != oldest)
            continue;
        // 8 pixels this frame: the oldest end moves 7.2.
        EXPECT_NEAR(trail.tail.segments[size_t(oldest)].start.x - before.start.x, 7.2f, 1e-3f) << i;
        ++checked;
    }
    EXPECT_GT(checked, 5);
}

TEST(ParticleTail, ATailThatShrinksAwayMovesNothing)
{
    Trail trail(17, 20, 10.0f, 1e6f);
    trail.at(Vector2f(1, 0));
    trail.at(Vector2f(5, 0));
    const VQ::TailSegment head = trail.tail.segments[size_t(trail.tail.head)];
    trail.at(Vector2f(5, 0));  // the whole tail shrinks away
    EXPECT_EQ(trail.tail.count, 0);
    EXPECT_EQ(trail.tail.segments[size_t(head.active ? trail.tail.head : 0)].start, head.start);
}

TEST(ParticleTail, TheTextureRunsFromTheHeadDownTheTail)
{
    for (int headTexels : {16, 128}) {
        Trail trail(17, 20, 10.0f, 0.0f);
        trail.settings.mHeadSizeTex = headTexels;
        for (int i = 0; i <= 12; ++i)
            trail.at(Vector2f(float(i) * 8.0f, 0));
        trail.at(Vector2f(97, 0));  // the texture is spread before a new segment is added
        VQ::ParticleTail& tail = trail.tail;
        ASSERT_GE(tail.count, 4);
        const VQ::TailSegment& head = tail.segments[size_t(tail.head)];
        EXPECT_EQ(head.u0, 128.0f - float(headTexels));
        EXPECT_EQ(head.u1, 128.0f);
        const float r = 128.0f - float(headTexels);
        EXPECT_EQ(tail.segments[size_t(tail.wrap(tail.head - 1))].u1, r);
        EXPECT_NEAR(tail.segments[size_t(tail.oldest())].u0, 0.0f, 1e-4f);
        // With the head taking the whole strip, the tail gets 0 .. 0.
        if (headTexels == 128) {
            for (int k = 1; k < tail.count; ++k)
                EXPECT_EQ(tail.segments[size_t(tail.wrap(tail.head - k))].u1, 0.0f);
        }
    }
}

}  // namespace
