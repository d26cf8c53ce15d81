#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>

#include "object_factory.h"
#include "support/test_support.h"
#include "timed_value_interval.h"
#include "xml_iarchive.h"
#include "xml_oarchive.h"

using TestSupport::catchFatal;
using FloatCurve = VQ::TimedValueInterval<float>;
using ColorCurve = VQ::TimedValueInterval<VQ::Color>;

namespace {

FloatCurve keyed(std::initializer_list<std::pair<int, float>> keys)
{
    FloatCurve curve;
    for (const auto& [time, value] : keys)
        curve.addValue(0, time, value);
    return curve;
}

VQ::Color grey(uint8_t v)
{
    return VQ::Color::fromBytes(v, v, v, v);
}

TEST(TimedValueInterval, EvaluatesBetweenItsKeys)
{
    struct Case {
        const char* what;
        FloatCurve curve;
        int percent;
        float exact;  // calcValue
        float cached;  // getValue on a fresh copy
    };
    const FloatCurve ramp = keyed({{0, 0}, {100, 100}});
    const FloatCurve steps = keyed({{20, 1}, {60, 3}});
    const Case cases[] = {
        {"flat from bounds", FloatCurve(0.0f, 5.0f), 37, 2.5f, 2.5f},
        {"ramp middle", ramp, 50, 50, 50},
        {"ramp near the end: the sample at 96", ramp, 98, 98, 96},
        {"ramp between the first samples", ramp, 2, 2, 2},
        {"before the first key", steps, 10, 1, 1},
        {"at the first key", steps, 20, 1, 1},
        {"between keys", steps, 40, 2, 2},
        {"after the last key", steps, 90, 3, 3},
        {"one key", keyed({{50, 7}}), 3, 7, 7},
        // The cache blends the samples at 48 and 52 there.
        {"two keys at one time: the later", keyed({{0, 0}, {52, 1}, {52, 9}, {100, 9}}), 52, 9, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_NEAR(c.curve.calcValue(0, c.percent), c.exact, 1e-4f);
        FloatCurve copy = c.curve;
        EXPECT_NEAR(copy.getValue(0, c.percent), c.cached, 1e-4f);
        EXPECT_NEAR(copy.getAverageValue(c.percent), c.cached, 1e-4f);
    }
    FloatCurve empty;
    empty.mValues.emplace_back();
    EXPECT_EQ(empty.calcValue(0, 50), 0.0f);
}

TEST(TimedValueInterval, ColourBoundsMeetHalfwayWithWrappingBytes)
{
    EXPECT_EQ(ColorCurve(VQ::Color(0.0f), VQ::Color(1.0f)).calcValue(0, 0), grey(127));
    // 0 - 255 wraps to 1, and 1 / 2 is 0: the line lies on the minimum.
    EXPECT_EQ(ColorCurve(VQ::Color(1.0f), VQ::Color(0.0f)).calcValue(0, 0), grey(255));

    ColorCurve fade;
    fade.addValue(0, 0, grey(200));
    fade.addValue(0, 100, grey(0));
    // Modulated weights: (1 - t) x next + t x prev, per channel.
    EXPECT_EQ(fade.calcValue(0, 50), VQ::Color(0.5f) * grey(0) + VQ::Color(0.5f) * grey(200));
    EXPECT_EQ(fade.getAverageColor(0), grey(200));
}

TEST(TimedValueInterval, LinesPastTheFirstAreNotBuiltAndNotAveraged)
{
    FloatCurve two;
    two.mLinesCount = 2;
    const VQ::FatalReport report = catchFatal([&] { two.addValue(1, 0, 1.0f); });
    EXPECT_EQ(report.description, "[TimedValueInterval] Only one line supported");
    EXPECT_EQ(report.file, "timed_value_interval");
    EXPECT_EQ(report.line, 201);

    // Loaded with two different lines: the cache filled for line 0 serves
    // line 1 too.
    VQ::ObjectFactory factory;
    VQ::XmlIArchive in(R"(<root><c>
        <mValues sz="2">
          <e0 sz="1"><e0><time v="0"/><value v="2"/></e0></e0>
          <e1 sz="1"><e0><time v="0"/><value v="8"/></e0></e1>
        </mValues>
        <mLinesCount v="2"/></c></root>)");
    FloatCurve loaded;
    in.load(VQ::nvp("c", loaded));
    EXPECT_FLOAT_EQ(loaded.calcValue(1, 0), 8.0f);
    EXPECT_FLOAT_EQ(loaded.getAverageValue(0), 2.0f);

    FloatCurve single = keyed({{0, 4}});
    single.mLinesCount = 3;
    single.mSingleLine = true;
    EXPECT_FLOAT_EQ(single.getAverageValue(10), 4.0f);  // line 0 divided by 1
}

TEST(TimedValueInterval, CurvesWithoutTheirLines)
{
    // A declared line the curve does not store evaluates as empty.
    FloatCurve declared;
    declared.mLinesCount = 3;
    declared.addValue(0, 0, 5.0f);
    EXPECT_EQ(declared.calcValue(2, 50), 0.0f);

    // A line past the declared count is the curve's fatal report; so is the
    // spawn colour of a curve read without any line.
    FloatCurve none;
    none.mLinesCount = 0;
    VQ::FatalReport report = catchFatal([&] { none.calcValue(0, 0); });
    EXPECT_EQ(report.description, "");
    EXPECT_EQ(report.file, "timed_value_interval");
    EXPECT_EQ(report.line, 265);
    EXPECT_TRUE(std::isnan(none.getAverageValue(0)));
    ColorCurve colours;
    colours.mLinesCount = 0;
    report = catchFatal([&] { colours.getAverageColor(0); });
    EXPECT_EQ(report.line, 265);
}

TEST(TimedValueInterval, ExtremePercentsAndTimesStayInRange)
{
    FloatCurve wide = keyed({{INT_MIN, -1}, {INT_MAX, 1}});
    EXPECT_TRUE(std::isfinite(wide.calcValue(0, 0)));
    FloatCurve ramp = keyed({{0, 0}, {100, 100}});
    EXPECT_FLOAT_EQ(ramp.getValue(0, INT_MAX), 96.0f);
    EXPECT_TRUE(std::isfinite(ramp.getValue(0, INT_MIN)));
}

TEST(TimedValueInterval, CopiesAreDeepAndRoundTripThroughTheArchives)
{
    FloatCurve source = keyed({{0, 1}, {100, 3}});
    source.mMinValue = -2;
    source.mSingleLine = true;
    FloatCurve copy = source;
    source.clearValues();
    EXPECT_FLOAT_EQ(copy.calcValue(0, 50), 2.0f);

    VQ::ObjectFactory factory;
    VQ::XmlOArchive out;
    out.save(VQ::nvp("c", copy));
    const pugi::xml_node saved = out.document().child("root").child("c");
    EXPECT_STREQ(saved.attribute("class_name").value(), "");
    EXPECT_TRUE(saved.attribute("class_name"));
    EXPECT_STREQ(saved.child("mValues").child("e0").attribute("sz").value(), "2");
    EXPECT_STREQ(saved.child("mValues").child("e0").child("e1").child("value").attribute("v").value(), "3.000000");

    VQ::XmlIArchive in(out.text());
    FloatCurve reread(0.0f, 9.0f);  // its own flat line goes
    in.load(VQ::nvp("c", reread));
    EXPECT_EQ(reread.mValues.size(), 1u);
    EXPECT_FLOAT_EQ(reread.calcValue(0, 50), 2.0f);
    EXPECT_FLOAT_EQ(reread.mMinValue, -2.0f);
    EXPECT_TRUE(reread.mSingleLine);
}

}  // namespace
