// Tracks (value rules, binding, key access) and the node animation (time,
// looping, segments, easing, key-frame editing).

#include <gtest/gtest.h>

#include "animationeditor/scene_node_animation.h"
#include "lua_script_2.h"
#include "support/test_support.h"

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

using AE::SceneNodeAnimation;
using TestSupport::catchFatal;
using VQ::Color;
using VQ::Vector2f;

namespace {

template <typename T>
struct Segment {
    T a{};
    T b{};
    float t = 0.0f;
    bool interpolate = true;
    bool smoothA = false;
    T tangentA{};
    bool smoothB = false;
    T tangentB{};
    float weight = 0.5f;
};

template <typename T>
T evaluate(const Segment<T>& s)
{
    SceneNodeAnimation::Container<T> track("p");
    track.interpolate = s.interpolate;
    track.addKey(0, false);
    track.addKey(24, false);
    track.keys[0] = {s.a, s.tangentA, s.weight, 0, s.smoothA};
    track.keys[1] = {s.b, s.tangentB, 0.5f, 24, s.smoothB};
    return track.evaluate(0, 1, s.t);
}

Color grey(uint8_t v)
{
    return Color::fromBytes(v, v, v, v);
}

// Key frames 0 and 24 with posX 0 and 10, bound to a field.
struct TwoKeys {
    SceneNodeAnimation animation{true};
    float x = -1.0f;
    TwoKeys()
    {
        animation.bind("posX", &x);
        animation.addKeyframe(0);
        animation.addKeyframe(24);
        animation.floatKeyAt("posX", 1).value = 10.0f;
    }
};

}  // namespace

// The linear, Bezier and step rules of every value type.
TEST(SceneNodeTrack, ValueRulesOfEveryType)
{
    struct FloatCase {
        Segment<float> s;
        float expected;
    };
    const FloatCase floats[] = {
        {{0, 10, 0.25f}, 2.5f},
        {{0, 10, 0.25f, false}, 0.0f},                      // step
        {{0, 0, 0.5f, true, true, 4.0f}, 1.5f},             // left handle: 3 * 0.5 * 0.25 * 4
        {{0, 0, 0.5f, true, false, 0, true, 4.0f}, -1.5f},  // right handle pulls down
        {{0, 0, 0.5f, true, true, 4.0f, false, 0, 0.0f}, 0.75f},  // weight 0: factor 1 - |1 - 0.5|
        {{3, 3, 0.7f}, 3.0f},
    };
    for (const auto& c : floats)
        EXPECT_FLOAT_EQ(evaluate(c.s), c.expected) << c.s.t;

    struct IntCase {
        Segment<int> s;
        int expected;
    };
    const IntCase ints[] = {
        {{0, 100, 0.5f}, 50},
        {{0, 100, 0.3333f}, 33},
        {{0, 10000, 0.5f}, 5000},  // beyond 2147 the 32-bit product overflows
        {{-3000000, 3000000, 0.75f}, 1500000},
        {{0, 100, 0.9f, false}, 0},
        {{0, 0, 0.5f, true, true, 5}, 1},  // handle 5, curve 1.875 truncated
    };
    for (const auto& c : ints)
        EXPECT_EQ(evaluate(c.s), c.expected) << c.s.b << " at " << c.s.t;

    struct BoolCase {
        Segment<bool> s;
        bool expected;
    };
    const BoolCase bools[] = {
        {{true, false, 0.5f}, true},
        {{true, false, 1.0f}, false},
        {{false, true, 0.0f}, false},
        {{true, false, 0.99f, false}, true},                // step
        {{false, false, 0.5f, true, true, true}, true},     // a handle lifts the curve
        {{false, false, 0.0f, true, true, true}, false},    // ... not where only P0 weighs
    };
    for (const auto& c : bools)
        EXPECT_EQ(evaluate(c.s), c.expected) << c.s.t;

    struct ColorCase {
        Segment<Color> s;
        Color expected;
    };
    const ColorCase colors[] = {
        {{grey(0), grey(255), 0.5f}, grey(127)},  // (128 * 255) >> 8
        {{grey(0), grey(255), 1.0f}, grey(255)},
        {{grey(0), grey(255), 0.5f, false}, grey(0)},
        {{grey(9), grey(9), 0.5f}, grey(9)},
        {{grey(0), grey(0), 0.5f, true, true, grey(255)}, grey(95)},  // W(0.375) x white
    };
    for (const auto& c : colors)
        EXPECT_EQ(evaluate(c.s).argb(), c.expected.argb()) << c.s.t;

    struct VectorCase {
        Segment<Vector2f> s;
        Vector2f expected;
    };
    const VectorCase vectors[] = {
        {{{0, 0}, {10, 20}, 0.25f}, {2.5f, 5.0f}},
        {{{1, 0}, {1, 8}, 0.5f}, {1.0f, 4.0f}},
        {{{0, 0}, {10, 20}, 0.25f, false}, {0.0f, 0.0f}},
        {{{0, 0}, {0, 0}, 0.5f, true, true, {4, 0}}, {1.5f, 0.0f}},
    };
    for (const auto& c : vectors) {
        const Vector2f v = evaluate(c.s);
        EXPECT_FLOAT_EQ(v.x, c.expected.x);
        EXPECT_FLOAT_EQ(v.y, c.expected.y);
    }
}

TEST(SceneNodeTrack, LerpHelpersKeepTheirRoundingOverTheWholeRange)
{
    EXPECT_EQ(AE::lerpInt(0, 2147, 0.5f), 1073);
    EXPECT_EQ(AE::lerpInt(100, 0, 0.001f), 99);
    EXPECT_EQ(AE::lerpInt(INT32_MIN, INT32_MAX, 1.0f), INT32_MAX);
    EXPECT_EQ(AE::lerpColor(Color(0xFF000000u), Color(0xFFFFFFFFu), 0.0f).argb(), 0xFF000000u);
}

TEST(SceneNodeTrack, BindingWritesEveryTargetAndBoolTracksStep)
{
    SceneNodeAnimation animation(false);
    float x = 0;
    bool flag = false;
    animation.bind("posX", &x);
    animation.bind("posX", &x);
    animation.bind("on", &flag);
    ASSERT_EQ(animation.tracks.size(), 2u);
    auto* posX = dynamic_cast<SceneNodeAnimation::Container<float>*>(animation.tracks[0].get());
    ASSERT_NE(posX, nullptr);
    EXPECT_EQ(posX->targets, (std::vector<float*>{&x, &x}));
    EXPECT_FALSE(animation.tracks[1]->interpolate);

    animation.addKeyframe(0);
    animation.addKeyframe(24);
    animation.keyAt<bool>("on", 0).value = true;
    for (float time : {0.0f, 0.5f, 0.99f, 1.0f, 2.0f}) {
        animation.time = time;
        animation.update(0);
        EXPECT_EQ(flag, time < 1.0f) << time;
    }

    float other = 0;
    animation.bind("posX", &other);
    animation.unbind("posX", &x);
    EXPECT_EQ(posX->targets, (std::vector<float*>{&other}));
    animation.unbind("absent", &x);  // nothing

    int frame = 0;
    animation.bind("frameIndex", &frame, false);
    animation.interpolationFlag("frameIndex") = true;
    EXPECT_TRUE(animation.tracks[2]->interpolate);
}

TEST(SceneNodeTrack, BadAccessStopsWithItsReport)
{
    SceneNodeAnimation animation(false);
    float x = 0;
    animation.bind("posX", &x);
    animation.addKeyframe(0);
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[&] { animation.keyAt<float>("absent", 0); }, "Failed to find parameter with specified name"},
        {[&] { animation.interpolationFlag("absent"); }, "Failed to find parameter with specified name"},
        {[&] { animation.keyAt<float>("posX", 1); }, "Bad frameIndex specified"},
        {[&] { animation.tangentAt("posX", -1); }, "Bad frameIndex specified"},
        {[&] { animation.keyAt<int>("posX", 0); }, "Bad type specified"},
        {[&] { animation.unbind<int>("posX", nullptr); }, "Bad type specified"},
        {[&] { animation.bind<Color>("posX", nullptr); }, "Bad type specified"},
        {[&] { animation.interpolationFlag("posX"); }, "Bad type specified"},
    };
    for (const auto& [body, message] : cases) {
        const VQ::FatalReport report = catchFatal(body);
        EXPECT_EQ(report.description, message);
        EXPECT_EQ(report.file, "scene_node_animation");
    }
}

TEST(SceneNodeTrack, LoadKeyFromAScriptSkipsAMissingFirstKeyAndStopsOnALaterGap)
{
    VQ::LuaScript2 script;
    ASSERT_EQ(luaL_dostring(script.state(), "k0 = {posX = 1.5, c = {1, 2, 3, 4}} k1 = {posX = 2} k2 = {c = {5, 6, 7, 8}}"),
              0);
    SceneNodeAnimation::Container<float> posX("posX");
    SceneNodeAnimation::Container<Color> c("c");
    SceneNodeAnimation::Container<Vector2f> absent("absent");
    auto loadFrame = [&](const char* table, uint32_t frame) {
        ASSERT_TRUE(script.openTable(table));
        posX.loadKey(script, frame);
        absent.loadKey(script, frame);
        if (std::string(table) != "k1")
            c.loadKey(script, frame);
        script.closeTable();
    };
    loadFrame("k0", 0);
    loadFrame("k1", 10);
    ASSERT_EQ(posX.keys.size(), 2u);
    EXPECT_FLOAT_EQ(posX.keys[1].value, 2.0f);
    EXPECT_EQ(posX.keys[1].frame, 10u);
    EXPECT_EQ(c.keys[0].value, Color::fromBytes(1, 2, 3, 4));
    EXPECT_FALSE(absent.present);
    EXPECT_TRUE(absent.keys.empty());

    const VQ::FatalReport report = catchFatal([&] { loadFrame("k2", 20); });
    EXPECT_EQ(report.description, "Failed to load animation parameter posX");
}

TEST(SceneNodeAnimation, TimeSegmentsAndLooping)
{
    TwoKeys k;
    SceneNodeAnimation& a = k.animation;

    SceneNodeAnimation empty(true);
    float untouched = 7;
    empty.bind("posX", &untouched);
    empty.update(1.0f);
    EXPECT_EQ(untouched, 7);

    a.update(0.5f);
    EXPECT_FLOAT_EQ(k.x, 5.0f);
    EXPECT_EQ(a.currentKeyFrame, 0u);
    a.update(1.0f);  // past the last key, not looped: the last key holds
    EXPECT_FLOAT_EQ(a.time, 1.5f);
    EXPECT_FLOAT_EQ(k.x, 10.0f);
    EXPECT_EQ(a.currentKeyFrame, 24u);

    a.looped = true;
    a.time = 0.9f;
    a.update(0.3f);
    EXPECT_NEAR(a.time, 0.2f, 1e-5f);
    EXPECT_NEAR(k.x, 2.0f, 1e-4f);

    a.looped = false;
    a.time = 0.0f;
    a.update(-0.5f);  // time below zero is not wrapped: the first key shows
    EXPECT_FLOAT_EQ(a.time, -0.5f);
    EXPECT_EQ(a.keyIndexAt(), -1);
    EXPECT_FLOAT_EQ(k.x, 0.0f);

    a.playing = false;
    a.time = 0.25f;
    a.update(10.0f);
    EXPECT_FLOAT_EQ(a.time, 0.25f);
    EXPECT_FLOAT_EQ(k.x, 2.5f);
}

TEST(SceneNodeAnimation, BeforeTheFirstKeyAndASingleKeyShowKeyZero)
{
    SceneNodeAnimation a(true);
    float x = -1;
    a.bind("posX", &x);
    a.addKeyframe(10);
    a.floatKeyAt("posX", 0).value = 3.0f;
    for (float time : {0.0f, 5.0f}) {
        a.time = time;
        a.update(0);
        EXPECT_FLOAT_EQ(x, 3.0f);
    }
    a.addKeyframe(20);
    a.floatKeyAt("posX", 1).value = 9.0f;
    a.time = 0.1f;  // frame 2.4
    a.update(0);
    EXPECT_EQ(a.keyIndexAt(), -1);
    EXPECT_FLOAT_EQ(x, 3.0f);

    // Inside segments that start after frame 0: the parameter runs from
    // each segment's own first key.
    a.addKeyframe(40);
    a.floatKeyAt("posX", 2).value = 19.0f;
    a.time = 0.5f;  // frame 12: a fifth of the way from 10 to 20
    a.update(0);
    EXPECT_EQ(a.keyIndexAt(), 0);
    EXPECT_FLOAT_EQ(x, 4.2f);
    a.time = 1.25f;  // frame 30: halfway from 20 to 40
    a.update(0);
    EXPECT_EQ(a.keyIndexAt(), 1);
    EXPECT_FLOAT_EQ(x, 14.0f);
}

TEST(SceneNodeAnimation, EasingScalesTheParameter)
{
    TwoKeys k;
    SceneNodeAnimation& a = k.animation;
    a.time = 0.5f;
    a.update(0);
    EXPECT_FLOAT_EQ(k.x, 5.0f);  // an easing without keys leaves t alone
    EXPECT_FLOAT_EQ(a.lerpCoeff, 1.0f);

    a.easing->addKeyframe(0);
    a.easing->floatKeyAt("mLerpCoeff", 0).value = 0.5f;
    a.update(0);
    EXPECT_FLOAT_EQ(a.lerpCoeff, 0.5f);
    EXPECT_FLOAT_EQ(k.x, 2.5f);

    a.easing->floatKeyAt("mLerpCoeff", 0).value = 4.0f;  // clamped to 1
    a.update(0);
    EXPECT_FLOAT_EQ(k.x, 10.0f);
}

TEST(SceneNodeAnimation, KeyFrameEditingKeepsTracksInStep)
{
    TwoKeys k;
    SceneNodeAnimation& a = k.animation;
    EXPECT_TRUE(a.addKeyframe(12));
    EXPECT_FALSE(a.addKeyframe(12));
    EXPECT_EQ(a.keyFrames, (std::vector<uint32_t>{0, 12, 24}));
    // The new key takes the last key's value, sorted into place.
    EXPECT_FLOAT_EQ(a.floatKeyAt("posX", 1).value, 10.0f);
    EXPECT_EQ(a.floatKeyAt("posX", 1).frame, 12u);
    a.floatKeyAt("posX", 1).value = 1.0f;

    a.addKeyframe(13);
    EXPECT_TRUE(a.moveKeyframe(0, 12));  // 12 and 13 taken: lands on 14
    EXPECT_EQ(a.keyFrames, (std::vector<uint32_t>{12, 13, 14, 24}));
    EXPECT_FLOAT_EQ(a.floatKeyAt("posX", 2).value, 0.0f);
    EXPECT_EQ(a.floatKeyAt("posX", 2).frame, 14u);
    EXPECT_FALSE(a.moveKeyframe(99, 3));
    EXPECT_FALSE(a.moveKeyframe(12, 12));

    a.removeKeyframe(0);
    a.removeKeyframe(9);  // invalid: nothing
    EXPECT_EQ(a.keyFrames, (std::vector<uint32_t>{13, 14, 24}));
    ASSERT_EQ(a.tracks[0]->keyCount(), 3u);
    EXPECT_EQ(a.floatKeyAt("posX", 1).frame, 14u);
}

TEST(SceneNodeAnimation, CopyClonesTracksAndEasingWithoutTargets)
{
    TwoKeys k;
    k.animation.easing->addKeyframe(0);
    k.animation.easing->floatKeyAt("mLerpCoeff", 0).value = 0.5f;
    k.animation.time = 0.5f;
    SceneNodeAnimation copy(k.animation);
    float y = 0;
    copy.bind("posX", &y);
    copy.update(0);
    EXPECT_FLOAT_EQ(y, 2.5f);
    EXPECT_FLOAT_EQ(copy.lerpCoeff, 0.5f);
    EXPECT_FLOAT_EQ(k.animation.lerpCoeff, 1.0f);  // the source's field is not written
    EXPECT_FLOAT_EQ(k.x, -1.0f);
}
