#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "animation.h"
#include "function.h"
#include "support/test_support.h"
#include "xml_data_reader.h"

using namespace TestSupport;
using VQ::Animation;

namespace {

// An animation with one float parameter "v" and the given frames and keys.
struct FloatAnimation {
    Animation animation;
    float value = -1;

    FloatAnimation(const std::vector<float>& durations, const std::vector<float>& keys)
    {
        animation.bindFloat("v", &value);
        for (size_t i = 0; i < durations.size(); ++i) {
            animation.addFrame(durations[i]);
            *animation.floatKeyAt("v", unsigned(i)) = keys[i];
        }
    }
    float at(float time)
    {
        animation.time = time;
        animation.update(0);
        return value;
    }
};

template <typename T>
std::unique_ptr<Animation::Container<T>> container(const std::vector<T>& keys, bool smooth)
{
    auto c = std::make_unique<Animation::Container<T>>("p");
    c->keys = keys;
    c->smooth = smooth;
    return c;
}

template <typename T>
T evaluate(const std::unique_ptr<Animation::Container<T>>& c, int i, int j, float t)
{
    T out{};
    c->targets = {&out};
    c->evaluate(i, j, t);
    return out;
}

struct Counter {
    int calls = 0;
    void bump() { ++calls; }
};

}  // namespace

TEST(Animation, FindsTheFrameAndPositionOfTheTime)
{
    // A zero-length last frame is never current; it only gives frame 1 a key
    // to move towards.
    FloatAnimation a({0.5f, 1.0f, 0.0f}, {0, 100, 200});
    EXPECT_FLOAT_EQ(a.at(0.25f), 50);
    EXPECT_FLOAT_EQ(a.at(0.75f), 125);  // frame 1, t = 0.25

    a.animation.time = 0;
    a.animation.update(0.75f);
    a.animation.update(0.75f);
    EXPECT_FLOAT_EQ(a.animation.time, 1.5f);
    EXPECT_FLOAT_EQ(a.value, 200);
    EXPECT_TRUE(a.animation.isFinished());
    a.animation.update(1.0f);  // runs on past the end without looping
    EXPECT_FLOAT_EQ(a.animation.time, 2.5f);
    EXPECT_FLOAT_EQ(a.value, 200);

    a.animation.loop = true;
    a.animation.time = 0;
    a.animation.update(1.6f);
    EXPECT_NEAR(a.animation.time, 0.1f, 1e-6);
    EXPECT_NEAR(a.value, 20, 1e-4);  // frame 0, t = 0.2
    EXPECT_FALSE(a.animation.isFinished());
}

TEST(Animation, SpeedPlayingAndNegativeTime)
{
    FloatAnimation a({1.0f, 1.0f}, {0, 10});
    a.animation.speed = 0.5f;
    a.animation.update(1.0f);
    EXPECT_FLOAT_EQ(a.animation.time, 0.5f);
    EXPECT_FLOAT_EQ(a.value, 5);

    // Not playing: the step is 0 but the current values are still written.
    a.animation.playing = false;
    a.value = -1;
    a.animation.update(1.0f);
    EXPECT_FLOAT_EQ(a.animation.time, 0.5f);
    EXPECT_FLOAT_EQ(a.value, 5);

    // Before the first frame the last frame is current.
    EXPECT_FLOAT_EQ(a.at(-1.0f), 10);
}

TEST(Animation, PlayRangesClampOrWrapInTheirDirection)
{
    FloatAnimation a({1.0f, 1.0f}, {0, 10});
    a.animation.from = 1.0f;
    a.animation.to = 0.0f;
    a.animation.time = 1.0f;
    a.animation.update(0.4f);
    EXPECT_FLOAT_EQ(a.animation.time, 0.6f);
    EXPECT_FALSE(a.animation.isFinished());
    a.animation.update(0.7f);
    EXPECT_FLOAT_EQ(a.animation.time, 0.0f);
    EXPECT_TRUE(a.animation.isFinished());
    a.animation.loop = true;
    a.animation.update(0.1f);
    EXPECT_FLOAT_EQ(a.animation.time, 1.0f);
    EXPECT_FALSE(a.animation.isFinished());

    FloatAnimation b({1.0f, 1.0f}, {0, 10});
    b.animation.from = 0.5f;
    b.animation.to = 1.5f;
    b.animation.time = 0.5f;
    b.animation.update(2.0f);
    EXPECT_FLOAT_EQ(b.animation.time, 1.5f);
    EXPECT_TRUE(b.animation.isFinished());
    b.animation.loop = true;
    b.animation.update(0.1f);
    EXPECT_FLOAT_EQ(b.animation.time, 0.5f);
}

TEST(Animation, SingleFrameAndNoFrames)
{
    FloatAnimation a({2.0f}, {7});
    a.animation.update(1.0f);
    EXPECT_FLOAT_EQ(a.value, 7);

    Animation empty;
    float v = 3;
    empty.bindFloat("v", &v);
    empty.update(1.0f);
    EXPECT_EQ(empty.time, 0.0f);
    EXPECT_EQ(v, 3);
    EXPECT_TRUE(empty.isFinished());
}

TEST(AnimationContainer, SmoothCurvePassesThroughTheMidpoints)
{
    auto c = container<float>({0, 10, 20, 30}, true);
    EXPECT_FLOAT_EQ(evaluate(c, 1, 2, 0.0f), 10);
    EXPECT_FLOAT_EQ(evaluate(c, 1, 2, 1.0f), 20);
    EXPECT_FLOAT_EQ(evaluate(c, 1, 2, 0.5f), 15);
    EXPECT_FLOAT_EQ(evaluate(c, 0, 1, 0.0f), 0);  // starts at the first key

    auto peak = container<float>({0, 10, 0}, true);
    EXPECT_FLOAT_EQ(evaluate(peak, 1, 2, 0.5f), 3.75f);
    EXPECT_FLOAT_EQ(evaluate(peak, 1, 2, 1.0f), 0);  // ends at the last key

    // Two keys, or the same key twice: linear.
    auto two = container<float>({0, 10}, true);
    EXPECT_FLOAT_EQ(evaluate(two, 0, 1, 0.25f), 2.5f);
    EXPECT_FLOAT_EQ(evaluate(peak, 2, 2, 0.5f), 0);

    auto vectors = container<VQ::Vector2f>({{0, 0}, {10, -10}, {20, -20}, {30, -30}}, true);
    EXPECT_EQ(evaluate(vectors, 1, 2, 0.5f), VQ::Vector2f(15, -15));
}

TEST(AnimationContainer, ColoursBlendInEightBitArithmetic)
{
    auto c = container<VQ::Color>({VQ::Color::fromBytes(200, 0, 255, 255), VQ::Color::fromBytes(100, 255, 0, 255)},
                                  false);
    // ((127 + 1) * 100 >> 8) + ((127 + 1) * 200 >> 8) = 50 + 100
    EXPECT_EQ(evaluate(c, 0, 1, 0.5f), VQ::Color::fromBytes(150, 127, 127, 254));
    EXPECT_EQ(evaluate(c, 0, 1, 0.0f), c->keys[0]);
    EXPECT_EQ(evaluate(c, 0, 1, 1.0f), c->keys[1]);

    // The smooth curve works on the channel values and truncates.
    auto s = container<VQ::Color>(
        {VQ::Color::fromBytes(0, 0, 0, 0), VQ::Color::fromBytes(10, 0, 0, 0), VQ::Color::fromBytes(0, 0, 0, 0)},
        true);
    EXPECT_EQ(evaluate(s, 1, 2, 0.5f).r, 3);  // 3.75
}

TEST(AnimationContainer, RectanglesAndDisabledParametersHoldTheirKey)
{
    Animation a;
    VQ::Rect r;
    a.bindRect("SrcRect0", &r);
    a.addFrame(1.0f);
    a.addFrame(1.0f);
    *a.rectKeyAt("SrcRect0", 0) = VQ::Rect(0, 0, 16, 16);
    *a.rectKeyAt("SrcRect0", 1) = VQ::Rect(16, 0, 32, 16);
    for (float t : {0.0f, 0.5f, 0.99f}) {
        a.time = t;
        a.update(0);
        EXPECT_EQ(r, VQ::Rect(0, 0, 16, 16)) << t;
    }

    auto c = container<float>({1, 2}, false);
    c->enabled = false;
    float out = -1;
    c->targets = {&out};
    c->evaluate(0, 1, 0.5f);
    EXPECT_EQ(out, -1);
}

TEST(AnimationContainer, KeyEditingAndCloning)
{
    auto c = container<float>({1, 2, 3}, false);
    c->appendKey(1);
    EXPECT_EQ(c->keys, (std::vector<float>{1, 2, 2, 3}));
    c->appendKey(-1);
    EXPECT_EQ(c->keys, (std::vector<float>{1, 2, 2, 3, 3}));
    c->removeKey(9);
    c->removeKey(0);
    EXPECT_EQ(c->keys, (std::vector<float>{2, 2, 3, 3}));
    c->clearKeys();
    c->appendKey(5);
    EXPECT_EQ(c->keys, (std::vector<float>{0}));

    auto bound = container<float>({4, 5}, true);
    float out = -1;
    bound->targets = {&out};
    bound->setters.push_back(new VQ::Function<Counter>());
    std::unique_ptr<Animation::IContainer> copy(bound->clone());
    auto* typed = static_cast<Animation::Container<float>*>(copy.get());
    EXPECT_EQ(typed->name, "p");
    EXPECT_EQ(typed->keys, bound->keys);
    EXPECT_TRUE(typed->smooth);
    EXPECT_TRUE(typed->targets.empty());
    EXPECT_TRUE(typed->setters.empty());
    copy->evaluate(0, 1, 0.5f);
    EXPECT_EQ(out, -1);
}

TEST(Animation, BindingFramesAndSetters)
{
    Animation a;
    a.smooth = true;
    float x = 0, y = 0;
    Counter counter;
    a.bindFloat("x", &x);
    a.bindFloat("x", &y);  // one parameter, two fields
    a.bindSetter("x", new VQ::Function<Counter>(&counter, &Counter::bump));
    auto* orphan = new VQ::Function<Counter>(&counter, &Counter::bump);
    a.bindSetter("nope", orphan);  // not taken
    delete orphan;
    ASSERT_EQ(a.parameters().size(), 1u);
    EXPECT_TRUE(a.parameters()[0]->smooth);

    a.addFrame(1.0f);
    *a.floatKeyAt("x", 0) = 4;
    a.addFrame(2.0f);  // starts as a copy of the last key
    EXPECT_EQ(*a.floatKeyAt("x", 1), 4);
    EXPECT_EQ(a.frameCount(), 2u);
    EXPECT_EQ(a.totalDuration(), 3.0f);
    a.update(0.5f);
    EXPECT_EQ(x, 4);
    EXPECT_EQ(y, 4);
    EXPECT_EQ(counter.calls, 1);

    // A copy keeps keys and flags and must be bound again.
    Animation copy(a);
    float z = -1;
    copy.update(0.1f);
    EXPECT_EQ(counter.calls, 1);
    copy.bindFloat("x", &z);
    copy.update(0.1f);
    EXPECT_EQ(z, 4);

    // A parameter bound after the frames has no keys: it writes nothing.
    float late = -1;
    a.bindFloat("late", &late);
    a.update(0.1f);
    EXPECT_EQ(late, -1);

    a.clearFrames();
    EXPECT_EQ(a.frameCount(), 0u);
    EXPECT_EQ(a.totalDuration(), 0.0f);
    EXPECT_EQ(a.parameters()[0]->keyCount(), 0u);
}

TEST(Animation, BadKeyAccessAndTypeMixupsAreFatal)
{
    FloatAnimation a({1.0f}, {0});
    VQ::Color color;
    const struct {
        std::function<void()> body;
        const char* description;
        int line;
    } cases[] = {
        {[&] { a.animation.floatKeyAt("nope", 0); }, "Failed to find parameter with specified name", 360},
        {[&] { a.animation.floatKeyAt("v", 1); }, "Bad frameid specified", 355},
        {[&] { a.animation.colorKeyAt("v", 0); }, "Animation parameter v holds float values, not Color", 365},
        {[&] { a.animation.bindColor("v", &color); }, "Animation parameter v holds float values, not Color", 370},
    };
    for (const auto& c : cases) {
        const VQ::FatalReport report = catchFatal(c.body);
        EXPECT_EQ(report.description, c.description);
        EXPECT_EQ(report.file, "animation");
        EXPECT_EQ(report.line, c.line);
    }
    EXPECT_EQ(a.animation.parameters().size(), 1u);
}

TEST(Animation, LoadsFramesFromXml)
{
    const std::string text = R"(<root><s_glow><Animation>
        <loop v="1"/>
        <Frames>
          <v0><duration v="0.5"/><pos v0="0" v1="0"/><color r="255" g="0" b="0" a="255"/></v0>
          <v1><duration v="0.5"/><pos v0="10" v1="20"/><color r="0" g="0" b="255" a="255"/>
              <angle v="90"/></v1>
        </Frames>
      </Animation></s_glow></root>)";
    VQ::XmlDataReader reader;
    ASSERT_TRUE(reader.loadFromMemory("glow_sxml", text.data(), text.size()));
    ASSERT_TRUE(reader.enterNode("s_glow"));

    Animation a;
    VQ::Vector2f pos;
    VQ::Color color;
    float angle = -1;
    a.bindVector2("pos", &pos);
    a.bindColor("color", &color);
    a.bindFloat("angle", &angle);  // absent from the first frame: switched off
    ASSERT_TRUE(a.loadFromXml(reader));
    EXPECT_STREQ(reader.currentNode().name(), "s_glow");
    EXPECT_TRUE(a.loop);
    EXPECT_EQ(a.speed, 1.0f);
    EXPECT_EQ(a.frameCount(), 2u);
    EXPECT_EQ(a.parameters()[2]->keyCount(), 0u);

    a.update(0.25f);
    EXPECT_EQ(pos, VQ::Vector2f(5, 10));
    EXPECT_EQ(color.b, 127);
    EXPECT_EQ(angle, -1);

    VQ::XmlDataReader other;
    const std::string noFrames = "<root><Animation/></root>";
    ASSERT_TRUE(other.loadFromMemory("x", noFrames.data(), noFrames.size()));
    Animation b;
    EXPECT_FALSE(b.loadFromXml(other));
    EXPECT_STREQ(other.currentNode().name(), "root");
}

TEST(Animation, KeyMissingFromALaterFrameIsFatal)
{
    const std::string text = R"(<root><Animation><Frames>
        <v0><duration v="1"/><angle v="1"/></v0><v1><duration v="1"/></v1>
        </Frames></Animation></root>)";
    VQ::XmlDataReader reader;
    ASSERT_TRUE(reader.loadFromMemory("x", text.data(), text.size()));
    Animation a;
    float angle = 0;
    a.bindFloat("angle", &angle);
    const VQ::FatalReport report = catchFatal([&] { a.loadFromXml(reader); });
    EXPECT_EQ(report.description, "Failed to load animation parameter angle");
    EXPECT_EQ(report.file, "animation");
    EXPECT_EQ(report.line, 109);
}
