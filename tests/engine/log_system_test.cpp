#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <thread>

#include "log_system.h"
#include "support/test_support.h"

using namespace TestSupport;

namespace {

// Runs the log system inside a temporary working folder.
class LogSystemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mOldCwd = std::filesystem::current_path();
        std::filesystem::current_path(mDir.path());
        mLog = new VQ::LogSystem();
    }
    void TearDown() override
    {
        delete mLog;
        std::filesystem::current_path(mOldCwd);
    }
    std::vector<std::string> fileLines() { return splitLines(readFile(mDir.file("VQ.log"))); }

    TempDir mDir;
    std::filesystem::path mOldCwd;
    VQ::LogSystem* mLog = nullptr;
};

}  // namespace

TEST_F(LogSystemTest, FileLinesCarryTheTimePrefixAndStdoutAddsABlank)
{
    testing::internal::CaptureStdout();
    VQ::log("abc");
    VQ::log("");
    const std::string console = testing::internal::GetCapturedStdout();

    const auto lines = fileLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(std::regex_match(lines[0], std::regex(R"(\d\d:\d\d:\d\d: abc)"))) << lines[0];
    EXPECT_TRUE(std::regex_match(lines[1], std::regex(R"(\d\d:\d\d:\d\d: )"))) << lines[1];
    EXPECT_TRUE(std::regex_search(console, std::regex(R"(\d\d:\d\d:\d\d: abc \n\d\d:\d\d:\d\d:  \n)"))) << console;
}

TEST_F(LogSystemTest, EachRunStartsAnEmptyLog)
{
    VQ::log("first run");
    delete mLog;
    mLog = new VQ::LogSystem();
    EXPECT_EQ(readFile(mDir.file("VQ.log")), "");
}

TEST_F(LogSystemTest, ConcurrentWritersNeverInterleaveWithinALine)
{
    testing::internal::CaptureStdout();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 100; ++i)
                VQ::log(std::string(60, char('a' + t)));
        });
    }
    for (auto& th : threads)
        th.join();
    testing::internal::GetCapturedStdout();
    const auto lines = fileLines();
    ASSERT_EQ(lines.size(), 400u);
    for (const std::string& line : lines) {
        const std::string text = stripLogPrefix(line);
        ASSERT_EQ(text.size(), 60u) << line;
        EXPECT_EQ(text, std::string(60, text[0]));
    }
}

TEST(FormatString, CutsLongOutputAt1095Characters)
{
    const std::string longText(2000, 'x');
    EXPECT_EQ(VQ::formatString("%s", longText.c_str()), std::string(1095, 'x'));
    EXPECT_EQ(VQ::formatString("%d-%s", 7, "ok"), "7-ok");

    char buffer[VQ::FORMAT_BUFFER_SIZE];
    const std::string huge(5000, 'y');
    VQ::formatToBuffer(buffer, "%s", huge.c_str());
    EXPECT_EQ(std::string(buffer), std::string(4095, 'y'));
}

TEST(FormatString, IntegerTexts)
{
    EXPECT_EQ(VQ::intToString(-5), "-5");
    EXPECT_EQ(VQ::intToString(0), "0");
    EXPECT_EQ(VQ::intToString(INT32_MIN), "-2147483648");
    EXPECT_EQ(VQ::uintToString(4294967295u), "4294967295");
}
