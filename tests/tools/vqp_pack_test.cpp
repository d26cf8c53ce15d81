#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "support/content_fixture.h"

using namespace TestSupport;

namespace {

}  // namespace

// The packer runs in a folder of its own, "work", where it also writes its
// log; the test's content root and log stay apart.
class VqpPackTest : public ContentTest {
protected:
    void SetUp() override
    {
        ContentTest::SetUp();
        std::filesystem::create_directories(work(""));
    }
    std::string work(const std::string& name) { return mDir.file("work/" + name); }
    ProcessResult runPacker(const std::vector<std::string>& args)
    {
        return runProcess(LANTERRA_VQP_PACK, args, work(""), {});
    }

    // The fixture content tree, outside the test's content root.
    std::string sourceTree()
    {
        const std::string source = mDir.file("source");
        std::filesystem::copy(fixturePath("content"), source, std::filesystem::copy_options::recursive);
        return source;
    }
};

TEST_F(VqpPackTest, PackedContentOpensThroughTheFileSystemWithTheSameBytes)
{
    const std::string source = sourceTree();
    const ProcessResult packed = runPacker({"pack", contentPath("data.vqp"), "--content", source});
    ASSERT_TRUE(packed.exited && packed.exitCode == 0) << packed.output;
    // Listed paths with no file are reported and left out.
    EXPECT_NE(packed.output.find("'lists/missing.lua' is listed but has no file; left out"), std::string::npos);
    EXPECT_NE(packed.output.find("'data/not_there.txt' is listed but has no file; left out"), std::string::npos);
    const ProcessResult verified = runPacker({"verify", contentPath("data.vqp"), "--content", source});
    EXPECT_TRUE(verified.exited && verified.exitCode == 0) << verified.output;

    // The content root holds only the archive: configuration, lists and
    // resources all come from it.
    restartFileSystem();
    loadAll();
    int opened = 0;
    for (const std::string& package : mFileSystem->packageNames()) {
        for (const auto& [name, path] : mFileSystem->filesOfPackage(package)) {
            SCOPED_TRACE(package + "/" + name);
            const std::string loose = source + "/" + path;
            if (!std::filesystem::exists(loose)) {
                EXPECT_EQ(readResource(package, name), "<null>");
                continue;
            }
            EXPECT_EQ(readResource(package, name), readFile(loose));
            ++opened;
        }
    }
    EXPECT_GE(opened, 12);
    EXPECT_EQ(readResource("localization", "greeting_txt"), "hello from en");
    EXPECT_EQ(readResource("default", "replaced_txt"), "new");
    // Exactly the map's paths that exist: config, file list, four lists and
    // six data files (the overridden "data/replaced_old.txt" is not asked for).
    EXPECT_EQ(countLogLines("VQP Archive total files: 12"), 1);
    EXPECT_EQ(countLogLines("initHashTable done"), 1);
}

TEST_F(VqpPackTest, OutputIsReproducibleAndCarriesOurHeader)
{
    writeFile(work("a.txt"), "alpha");
    writeFile(work("b.txt"), std::string(300, 'b'));
    const std::vector<std::string> sources = {"/b=b.txt", "a=a.txt", "dir/c=a.txt"};
    std::vector<std::string> first = {"pack", "one.vqp"}, second = {"pack", "two.vqp"};
    first.insert(first.end(), sources.begin(), sources.end());
    second.insert(second.end(), sources.rbegin(), sources.rend());
    ASSERT_EQ(runPacker(first).exitCode, 0);
    ASSERT_EQ(runPacker(second).exitCode, 0);

    const std::string bytes = readFile(work("one.vqp"));
    EXPECT_EQ(bytes, readFile(work("two.vqp")));
    EXPECT_EQ(bytes.substr(0, 12), std::string("LVQP\x01\0\0\0\x03\0\0\0", 12));
    EXPECT_EQ(bytes.size(), 12 + 3 * 136 + 5 + 300 + 5);

    // list shows every slot; extract writes the entries back.
    const ProcessResult listed = runPacker({"list", "one.vqp"});
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_TRUE(std::regex_search(listed.output, std::regex(R"(\d+ +\d+ +300 /b\n)"))) << listed.output;
    ASSERT_EQ(runPacker({"extract", "one.vqp", "out"}).exitCode, 0);
    EXPECT_EQ(readFile(work("out/b")), std::string(300, 'b'));
    EXPECT_EQ(readFile(work("out/dir/c")), "alpha");

    // verify notices a source that no longer matches.
    writeFile(work("a.txt"), "alphA");
    const ProcessResult verified = runPacker({"verify", "one.vqp", "a=a.txt", "/b=b.txt", "dir/c=b.txt"});
    EXPECT_EQ(verified.exitCode, 1);
    EXPECT_NE(verified.output.find("'a' differs from its source"), std::string::npos) << verified.output;
    EXPECT_NE(verified.output.find("'dir/c' differs from its source"), std::string::npos);
    EXPECT_EQ(runPacker({"verify", "one.vqp", "a=a.txt"}).exitCode, 1);
}

TEST_F(VqpPackTest, RefusesWhatTheArchiveCannotHoldAndKeepsTheOldArchive)
{
    writeFile(work("a.txt"), "alpha");
    writeFile(work("old.vqp"), "previous archive");
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"pack", "old.vqp", std::string(128, 'n') + "=a.txt"}, "must be 1 to 127 bytes"},
        {{"pack", "old.vqp", "=a.txt"}, "must be 1 to 127 bytes"},
        {{"pack", "old.vqp", "a=a.txt", "a=a.txt"}, "'a' is given twice"},
        {{"pack", "old.vqp"}, "nothing to pack"},
        {{"pack", "old.vqp", "a=missing.txt"}, "cannot open 'a'"},
        {{"pack", "old.vqp", "a.txt"}, "expected NAME=FILE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const ProcessResult result = runPacker(c.args);
        EXPECT_TRUE(result.exited);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_NE(result.output.find(c.message), std::string::npos) << result.output;
        EXPECT_EQ(readFile(work("old.vqp")), "previous archive");
    }
    EXPECT_EQ(runPacker({"pack", "ok.vqp", std::string(127, 'n') + "=a.txt"}).exitCode, 0);
    for (const auto& entry : std::filesystem::directory_iterator(work("")))
        EXPECT_EQ(entry.path().string().find(".tmp-"), std::string::npos) << entry.path();

    // extract never writes outside its folder.
    ASSERT_EQ(runPacker({"pack", "evil.vqp", "../escaped=a.txt", "fine=a.txt"}).exitCode, 0);
    const ProcessResult extracted = runPacker({"extract", "evil.vqp", "out"});
    EXPECT_EQ(extracted.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(mDir.file("escaped")));
    EXPECT_EQ(readFile(work("out/fine")), "alpha");
}
