#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "color.h"
#include "notification_dispatcher.h"
#include "random.h"
#include "support/test_support.h"
#include "utils.h"
#include "vector2.h"

TEST(Vector2, NormalizeAndDistance)
{
    VQ::Vector2f v(3, 4);
    v.normalize();
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.y, 0.8f);
    VQ::Vector2f zero;
    zero.normalize();
    EXPECT_EQ(zero, VQ::Vector2f(0, 0));
    EXPECT_FLOAT_EQ(VQ::Vector2f(1, 1).distanceTo(VQ::Vector2f(4, 5)), 5.0f);
}

TEST(Color, FloatsTruncateAndWrapIntoBytes)
{
    EXPECT_EQ(VQ::Color(1.0f, 0.5f, 0.0f, 1.0f).argb(), 0xFFFF7F00u);
    EXPECT_EQ(VQ::Color(1.5f, 0, 0, 0).r, 126);
    EXPECT_EQ(VQ::Color(0.5f).argb(), 0x7F7F7F7Fu);
}

TEST(Color, PerChannelOperations)
{
    const VQ::Color c(0x80C8FF10u);
    EXPECT_EQ((VQ::Color(0xFFFFFFFFu) * c).argb(), c.argb());
    EXPECT_EQ((VQ::Color(0u) * c).argb(), 0u);
    EXPECT_EQ((VQ::Color(0x80808080u) * VQ::Color(0xC8C8C8C8u)).argb(), 0x64646464u);  // 128 * 200 = 100
    EXPECT_EQ((VQ::Color(0xC8C8C8C8u) + VQ::Color(0x64646464u)).argb(), 0x2C2C2C2Cu);  // 200 + 100 wraps to 44
    EXPECT_EQ((VQ::Color(0x01010101u) - VQ::Color(0x02020202u)).argb(), 0xFFFFFFFFu);
    EXPECT_EQ((VQ::Color(0x64646464u) / VQ::Color(0x03030303u)).argb(), 0x21212121u);
}

TEST(Random, FixedRangeAndRepeatableSequence)
{
    VQ::srand(1);
    // The first results of this generator from seed 1.
    EXPECT_EQ(VQ::rand(), 41);
    EXPECT_EQ(VQ::rand(), 18467);
    EXPECT_EQ(VQ::rand(), 6334);
    VQ::srand(12345);
    std::vector<int> first;
    for (int i = 0; i < 1000; ++i) {
        first.push_back(VQ::rand());
        ASSERT_GE(first.back(), 0);
        ASSERT_LE(first.back(), 32767);
    }
    VQ::srand(12345);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(VQ::rand(), first[size_t(i)]);
}

TEST(UserDataDirectory, CreatesEachLevelUnderXdgDataHome)
{
    TestSupport::TempDir dir;
    const std::string base = dir.file("data");
    const char* old = getenv("XDG_DATA_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_DATA_HOME", base.c_str(), 1);

    EXPECT_EQ(VQ::userDataDirectory("", "Carrowmere/Lanterra"), base + "/Carrowmere/Lanterra/");
    EXPECT_TRUE(std::filesystem::is_directory(base + "/Carrowmere/Lanterra"));
    EXPECT_EQ(VQ::userDataDirectory("App", "/Already/Slashed/"), base + "/Already/Slashed/App/");
    EXPECT_EQ(VQ::userDataDirectory("", nullptr), base + "/Penmorrow/Tessaly/");

    if (old)
        setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}

TEST(TextConversion, RoundTripsAndReplacesInvalidInput)
{
    const std::string text = "Lanterra \xC3\xA9\xE2\x82\xAC \xF0\x9F\x8E\xB2";
    const std::u16string wide = VQ::utf8ToWide(text);
    EXPECT_EQ(wide.size(), 14u);  // the die is a surrogate pair
    EXPECT_EQ(VQ::wideToUtf8(wide), text);

    EXPECT_EQ(VQ::utf8ToWide("a\xFF" "b"), std::u16string(u"a\uFFFDb"));
    EXPECT_EQ(VQ::wideToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    EXPECT_FALSE(VQ::isValidUtf8("\xC3"));
}

namespace {

struct RecordingListener : VQ::NotificationListener {
    std::vector<uint32_t> ids;
    void onNotification(const VQ::Notification& n) override { ids.push_back(n.id); }
};

}  // namespace

TEST(EngineNotificationDispatcher, SendsToListenersInOrderAndClearsItsInstance)
{
    RecordingListener a, b;
    {
        VQ::EngineNotificationDispatcher dispatcher;
        EXPECT_EQ(VQ::EngineNotificationDispatcher::instance(), &dispatcher);
        dispatcher.addListener(&a);
        dispatcher.addListener(&b);
        VQ::EngineNotificationDispatcher::dispatch(VQ::Notification{VQ::NOTIFICATION_APP_ACTIVATED});
        dispatcher.removeListener(&a);
        VQ::EngineNotificationDispatcher::dispatch(VQ::Notification{VQ::NOTIFICATION_DEVICE_RESET});
    }
    EXPECT_FALSE(VQ::EngineNotificationDispatcher::exists());
    EXPECT_EQ(a.ids, std::vector<uint32_t>({2}));
    EXPECT_EQ(b.ids, std::vector<uint32_t>({2, 1}));
}
