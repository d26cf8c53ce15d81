#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <regex>

#include "fatal_error.h"
#include "log_system.h"
#include "notification_dispatcher.h"
#include "support/test_support.h"

using namespace TestSupport;

namespace {

const char* kReport =
    "Name:\n  VQ\n\nDescription:\n  boom\n\nFile:\n  file_system\n\nLine:\n  116";

std::vector<std::string> logTexts(const std::string& dir)
{
    std::vector<std::string> texts;
    for (const std::string& line : splitLines(readFile(dir + "/VQ.log")))
        texts.push_back(stripLogPrefix(line));
    return texts;
}

}  // namespace

TEST(FatalError, ReportTextIsLaidOutWithIndentedValues)
{
    EXPECT_EQ(VQ::buildFatalReportText("VQ", "boom", "file_system", 116), kReport);
}

TEST(FatalError, HookSeesTheReportAndMissingSingletonNamesTheClass)
{
    ASSERT_FALSE(VQ::EngineNotificationDispatcher::exists());
    const VQ::FatalReport report =
        catchFatal([] { VQ::EngineNotificationDispatcher::dispatch(VQ::Notification{2}); });
    EXPECT_EQ(report.name, "VQ");
    EXPECT_EQ(report.file, "singleton");
    EXPECT_EQ(report.line, 40);
    EXPECT_EQ(report.description, "Singleton not initialized: VQ::EngineNotificationDispatcher");
}

TEST(FatalError, CancelExitsWith255AfterLoggingTheReport)
{
    TempDir dir;
    const ProcessResult result = runTestProgram("fatal_report_program", {}, dir.path(), {{"VQ_MSGBOX_ANSWER", "cancel"}});
    ASSERT_TRUE(result.exited) << result.output;
    EXPECT_EQ(result.exitCode, 255);
    const std::string log = readFile(dir.file("VQ.log"));
    EXPECT_NE(log.find(std::string("ERROR: Assert occured\n ") + kReport + "\n"), std::string::npos) << log;
    EXPECT_FALSE(std::filesystem::exists(dir.file("VQ.dmp")));
}

TEST(FatalError, OkEndsThroughTheCrashReport)
{
    TempDir dir;
    const ProcessResult result = runTestProgram("fatal_report_program", {}, dir.path(), {{"VQ_MSGBOX_ANSWER", "ok"}});
    EXPECT_FALSE(result.exited);
    EXPECT_EQ(result.signal, SIGTRAP);
    const std::string log = readFile(dir.file("VQ.log"));
    EXPECT_NE(log.find("ERROR: Assert occured"), std::string::npos);
    EXPECT_NE(log.find("* ERROR: Unhandled exception occured! *"), std::string::npos);
    EXPECT_NE(log.find("ExceptionCode:                 0000000080000003"), std::string::npos) << log;
    EXPECT_TRUE(std::filesystem::exists(dir.file("VQ.dmp")));
}

TEST(FatalError, ReportWithoutLogSystemDoesNotRecurse)
{
    TempDir dir;
    const ProcessResult result =
        runTestProgram("fatal_report_program", {"nolog"}, dir.path(), {{"VQ_MSGBOX_ANSWER", "cancel"}});
    ASSERT_TRUE(result.exited) << result.output;
    EXPECT_EQ(result.exitCode, 255);
    EXPECT_NE(result.output.find("Singleton not initialized: VQ::LogSystem"), std::string::npos) << result.output;
}

TEST(CrashHandler, NullDereferenceWritesDumpAndReportInOrder)
{
    TempDir dir;
    const ProcessResult result = runTestProgram("crash_program", {"null"}, dir.path(), {});
    EXPECT_FALSE(result.exited);
    EXPECT_EQ(result.signal, SIGSEGV);
    EXPECT_NE(result.output.find("VQ dump created."), std::string::npos) << result.output;

    const std::string dump = readFile(dir.file("VQ.dmp"));
    ASSERT_GT(dump.size(), 32u);
    EXPECT_EQ(dump.substr(0, 4), "MDMP");

    const auto texts = logTexts(dir.path());
    auto find = [&](const std::string& prefix, size_t from) {
        for (size_t i = from; i < texts.size(); ++i) {
            if (texts[i].rfind(prefix, 0) == 0)
                return i;
        }
        return texts.size();
    };
    const size_t banner = find("* ERROR: Unhandled exception occured! *", 0);
    const size_t code = find("ExceptionCode:", banner);
    const size_t registers = find("Registers:", code);
    const size_t stack = find("Stack (top: 0x", registers);
    const size_t modules = find("Modules: ", stack);
    ASSERT_LT(modules, texts.size()) << readFile(dir.file("VQ.log"));
    EXPECT_NE(texts[code].find("C0000005"), std::string::npos) << texts[code];
    EXPECT_TRUE(std::regex_match(texts[registers + 1], std::regex(R"(EDI: [0-9A-F]{8,} ESI: [0-9A-F]{8,} EBX: [0-9A-F]{8,})")));
    EXPECT_TRUE(std::regex_match(texts[stack + 1], std::regex(R"(0x[0-9A-F]{16}: (0x[0-9a-f]{8} ?){7})"))) << texts[stack + 1];
    ASSERT_LT(modules + 1, texts.size());
    EXPECT_NE(texts[modules + 1].find("crash_program Handle (0x"), std::string::npos) << texts[modules + 1];
}

TEST(CrashHandler, SignalsMapToTheirExceptionCodes)
{
    struct Case {
        const char* kind;
        int signal;
        const char* code;
    };
    for (const Case& c : {Case{"divide", SIGFPE, "C0000094"}, Case{"abort", SIGABRT, "40000015"},
                          Case{"thread", SIGSEGV, "C0000005"}}) {
        TempDir dir;
        const ProcessResult result = runTestProgram("crash_program", {c.kind}, dir.path(), {});
        EXPECT_EQ(result.signal, c.signal) << c.kind;
        const std::string log = readFile(dir.file("VQ.log"));
        EXPECT_NE(log.find(std::string("ExceptionCode:                 00000000") + c.code), std::string::npos)
            << c.kind << "\n" << log;
        EXPECT_TRUE(std::filesystem::exists(dir.file("VQ.dmp"))) << c.kind;
    }
}

// The fault may interrupt the allocator while it holds its lock: a report
// that allocated would hang the crashed game for good.
TEST(CrashHandler, ReportAndDumpAllocateNothing)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address checker's allocator cannot be stood in for";
#endif
    TempDir dir;
    const ProcessResult result = runTestProgram("crash_program", {"no-allocation"}, dir.path(), {});
    EXPECT_EQ(result.signal, SIGSEGV);
    EXPECT_EQ(result.output.find("allocation inside the crash handler"), std::string::npos) << result.output;
    EXPECT_EQ(result.output.find("crash report timed out"), std::string::npos) << result.output;
    const std::string log = readFile(dir.file("VQ.log"));
    EXPECT_NE(log.find("* ERROR: Unhandled exception occured! *"), std::string::npos) << log;
    EXPECT_NE(log.find("crash_program Handle (0x"), std::string::npos) << log;
    EXPECT_EQ(readFile(dir.file("VQ.dmp")).substr(0, 4), "MDMP");
}

TEST(CrashHandler, AReportThatCannotFinishStillEndsTheProcess)
{
    TempDir dir;
    const ProcessResult result = runTestProgram("crash_program", {"blocked-log"}, dir.path(), {});
    EXPECT_FALSE(result.exited);
    EXPECT_EQ(result.signal, SIGSEGV) << result.output;
    EXPECT_NE(result.output.find("ERROR: crash report timed out"), std::string::npos) << result.output;
    EXPECT_EQ(readFile(dir.file("VQ.dmp")).substr(0, 4), "MDMP");
}
