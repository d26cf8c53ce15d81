#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>

#include "file_system.h"
#include "lua_script_2.h"
#include "support/content_fixture.h"

using namespace TestSupport;

namespace {

// A file that reports `size` but delivers at most `chunk` bytes a read and
// `available` bytes in all.
class ScriptedFile : public VQ::File {
public:
    ScriptedFile(int32_t size, int32_t available, int32_t chunk) : mSize(size), mAvailable(available), mChunk(chunk) {}
    int32_t read(void* buffer, int32_t count) override
    {
        const int32_t n = std::min({count, mChunk, mAvailable - mPosition});
        std::memset(buffer, 'x', size_t(std::max(n, 0)));
        mPosition += std::max(n, 0);
        return n;
    }
    void close() override {}
    int32_t size() override { return mSize; }
    int32_t tell() override { return mPosition; }
    bool open(const std::string&) override { return true; }

private:
    int32_t mSize, mAvailable, mChunk, mPosition = 0;
};

// A back end that answers every path and counts how often it was asked.
class CountingReader : public VQ::FileReader {
public:
    explicit CountingReader(std::atomic<int>& calls) : mCalls(calls) {}
    VQ::File* open(const std::string&) override
    {
        ++mCalls;
        return new ScriptedFile(3, 3, 3);
    }

private:
    std::atomic<int>& mCalls;
};

std::string warningFor(const std::string& name, const std::string& package)
{
    return "WARNING: Failed to find '" + name + "' in package '" + package + "'. Content directory: ./media/";
}

}  // namespace

using FileSystemTest = ContentTest;

TEST_F(FileSystemTest, ConfigAndFileListOpenBeforeAnyListIsRead)
{
    writeContent("config.lua", "-- config");
    writeContent("filelist.lua", "-- list");
    EXPECT_EQ(readResource("default", "config"), "-- config");
    EXPECT_EQ(readResource("default", "filelist.lua"), "-- list");
    EXPECT_TRUE(mFileSystem->contains("default", "config"));
    EXPECT_FALSE(mFileSystem->contains("default", "Config"));
}

TEST_F(FileSystemTest, PackageMapResolvesLocalizationDefaultsAndOverrides)
{
    copyFixture("content");
    loadAll();

    // The current language's package first, then "default".
    EXPECT_EQ(readResource("localization", "greeting_txt"), "hello from en");
    EXPECT_EQ(readResource("default", "greeting_txt"), "hello from default");
    EXPECT_EQ(readResource("localization", "shared_txt"), "shared");
    // A package the map does not know falls back to "default" too.
    EXPECT_EQ(readResource("Default", "shared_txt"), "shared");
    EXPECT_FALSE(mFileSystem->contains("Default", "shared_txt"));

    // A later list naming the same resource wins; numbers are names too.
    EXPECT_EQ(readResource("default", "replaced_txt"), "new");
    EXPECT_EQ(readResource("default", "42"), "shared");

    // Every list read is itself a resource of "default".
    EXPECT_TRUE(mFileSystem->contains("default", "lists/en.lua"));
    EXPECT_TRUE(mFileSystem->contains("default", "lists/override.lua"));
    EXPECT_TRUE(mFileSystem->contains("default", "config"));

    // Unknown keys and names written in another case: null, and no log line.
    const size_t before = logLines().size();
    EXPECT_EQ(mFileSystem->openFile("localization", "nothing_txt"), nullptr);
    EXPECT_EQ(mFileSystem->openFile("default", "Shared_txt"), nullptr);
    EXPECT_EQ(logLines().size(), before);

    const auto lines = logLines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) {
                                float msec = -1.0f;
                                char unit[8] = {};
                                return std::sscanf(l.c_str(), "Filesystem:: load files location info in %f %7s", &msec,
                                                   unit) == 2 &&
                                       msec >= 0.0f && std::string(unit) == "msec" &&
                                       l.find('.') == l.size() - 8;
                            }),
              1);
    EXPECT_EQ(countLogLines("Current platform: test"), 1);
    EXPECT_EQ(countLogLines("Current language: en"), 1);
}

TEST_F(FileSystemTest, MissingAndFailingListsAreSkippedWithOneWarningEach)
{
    copyFixture("content");
    loadAll();

    EXPECT_EQ(countLogLines(warningFor("lists/missing.lua", "default")), 1);
    const auto lines = logLines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) {
                                return l.rfind("WARNING: Package list 'lists/broken.lua' failed to run", 0) == 0;
                            }),
              1);
    // Nothing of the failed list reaches the map; the lists after it load.
    EXPECT_FALSE(mFileSystem->contains("default", "from_broken_txt"));
    EXPECT_TRUE(mFileSystem->contains("default", "replaced_txt"));
}

TEST_F(FileSystemTest, KnownKeyWithoutFileWarnsOnceNamingThePackageUsed)
{
    copyFixture("content");
    loadAll();
    EXPECT_EQ(mFileSystem->openFile("default", "lost_txt"), nullptr);
    EXPECT_EQ(countLogLines(warningFor("lost_txt", "default")), 1);
    // Through the fallback the warning names the package actually asked.
    EXPECT_EQ(mFileSystem->openFile("localization", "lost_txt"), nullptr);
    EXPECT_EQ(countLogLines(warningFor("lost_txt", "default")), 2);
}

TEST_F(FileSystemTest, RebuildStartsFromScratch)
{
    copyFixture("content");
    loadAll();
    mFileSystem->filesOfPackage("extra")["stray"] = "data/shared.txt";
    mFileSystem->filesOfPackage("default").erase("config");
    mFileSystem->loadFilesLocationInfo();
    EXPECT_FALSE(mFileSystem->contains("extra", "stray"));
    EXPECT_TRUE(mFileSystem->contains("default", "config"));
    EXPECT_TRUE(mFileSystem->contains("default", "greeting_txt"));
}

TEST_F(FileSystemTest, NoMatchingPlatformLeavesOnlyTheBuiltInEntries)
{
    copyFixture("content");
    loadConfig();
    VQ::currentPlatformName() = "ghost";
    mFileSystem->loadFilesLocationInfo();
    EXPECT_TRUE(mFileSystem->contains("default", "config"));
    EXPECT_TRUE(mFileSystem->contains("default", "filelist.lua"));
    EXPECT_FALSE(mFileSystem->contains("default", "lists/default.lua"));
    const auto lines = logLines();
    EXPECT_TRUE(std::none_of(lines.begin(), lines.end(),
                             [](const std::string& l) { return l.rfind("Filesystem::", 0) == 0; }));
}

TEST_F(FileSystemTest, MalformedFileListsStopWithTheirReport)
{
    struct Case {
        const char* fileList;  // null: no filelist.lua at all
        const char* list;      // the one package list "lists/a.lua"
        int line;
        const char* description;
    };
    const char* goodFileList = "directories = { base = { { 'lists/a.lua' } } }";
    const char* goodList = "name = 'default' filelist = { }";
    const Case cases[] = {
        {nullptr, goodList, 115, "Failed to load filelist.lua"},
        {"directories = {", goodList, 115, "Failed to load filelist.lua"},
        {"other = {}", goodList, 116, ""},
        {"directories = { elsewhere = {} }", goodList, 117, ""},
        {"directories = { base = { 'lists/a.lua' } }", goodList, 121, ""},
        {"directories = { base = { { true } } }", goodList, 123, ""},
        {goodFileList, "filelist = { }", 145, ""},
        {goodFileList, "name = 'default'", 146, ""},
        {goodFileList, "name = 'default' filelist = { 'x' }", 152, ""},
        {goodFileList, "name = 'default' filelist = { { filename = 'x' } }", 153, ""},
        {goodFileList, "name = 'default' filelist = { { name = 'x' } }", 154, ""},
    };
    writeContent("config.lua",
                 "config = { platforms = { { name = 'p', directories = { 'base' }, resolution = { 4, 3 } } }, "
                 "currentPlatform = 'p' }");
    loadConfig();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::filesystem::remove(contentPath("filelist.lua"));
        if (c.fileList)
            writeContent("filelist.lua", c.fileList);
        writeContent("lists/a.lua", c.list);
        const VQ::FatalReport report = catchFatal([&] { mFileSystem->loadFilesLocationInfo(); });
        EXPECT_EQ(report.line, c.line);
        EXPECT_EQ(report.file, "file_system");
        EXPECT_EQ(report.name, "VQ");
        EXPECT_EQ(report.description, c.description);
    }
    // After a stop the file system is still usable.
    writeContent("filelist.lua", goodFileList);
    writeContent("lists/a.lua", "name = 'default' filelist = { { name = 'n', filename = 'n.txt' } }");
    mFileSystem->loadFilesLocationInfo();
    EXPECT_TRUE(mFileSystem->contains("default", "n"));
}

TEST_F(FileSystemTest, ReadWholeFileHandsOutATerminatedBuffer)
{
    writeContent("shader.txt", "void main() {}");
    writeContent("empty.txt", "");
    mFileSystem->filesOfPackage("default")["shader"] = "shader.txt";
    mFileSystem->filesOfPackage("default")["empty"] = "empty.txt";

    char* buffer = new char[8];
    EXPECT_EQ(mFileSystem->readWholeFile("shader", buffer), 0);
    ASSERT_NE(buffer, nullptr);
    EXPECT_STREQ(buffer, "void main() {}");

    EXPECT_EQ(mFileSystem->readWholeFile("empty", buffer), 1);
    EXPECT_EQ(buffer, nullptr);
    EXPECT_EQ(mFileSystem->readWholeFile("absent", buffer), 1);
    EXPECT_EQ(buffer, nullptr);
}

TEST_F(FileSystemTest, WholeResourceReadsNeedEveryByte)
{
    std::vector<char> out;
    ScriptedFile chunked(10, 10, 3);
    EXPECT_TRUE(VQ::readWholeResource(chunked, "chunked", out));
    EXPECT_EQ(out, std::vector<char>(10, 'x'));

    ScriptedFile shortFile(10, 4, 10);
    EXPECT_FALSE(VQ::readWholeResource(shortFile, "short_bin", out));
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(countLogLines("WARNING: Failed to read 'short_bin': 4 of 10 bytes arrived"), 1);

    ScriptedFile unmeasured(-1, 4, 10);
    EXPECT_FALSE(VQ::readWholeResource(unmeasured, "unmeasured_bin", out));
    EXPECT_EQ(countLogLines("WARNING: Failed to read 'unmeasured_bin': 0 of -1 bytes arrived"), 1);

    ScriptedFile empty(0, 0, 0);
    EXPECT_TRUE(VQ::readWholeResource(empty, "empty_bin", out));
    EXPECT_TRUE(out.empty());
}

TEST_F(FileSystemTest, AddedBackEndsAreAskedAfterLooseFiles)
{
    std::atomic<int> calls{0};
    mFileSystem->addReader(new CountingReader(calls));
    writeContent("here.txt", "here");
    mFileSystem->filesOfPackage("default")["here"] = "here.txt";
    mFileSystem->filesOfPackage("default")["elsewhere"] = "elsewhere.txt";

    EXPECT_EQ(readResource("default", "here"), "here");
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(readResource("default", "elsewhere"), "xxx");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(countLogLines(warningFor("elsewhere", "default")), 0);
}

TEST_F(FileSystemTest, ThreadsOpenFilesWhileTheMapIsRebuilt)
{
    copyFixture("content");
    loadAll();
    std::atomic<bool> failed{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                std::vector<char> data;
                if (!VQ::loadWholeResource("localization", "greeting_txt", data) ||
                    std::string(data.begin(), data.end()) != "hello from en")
                    failed = true;
            }
        });
    }
    for (int i = 0; i < 5; ++i)
        mFileSystem->loadFilesLocationInfo();
    for (auto& thread : threads)
        thread.join();
    EXPECT_FALSE(failed);
}
