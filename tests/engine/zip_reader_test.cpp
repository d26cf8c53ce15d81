#include <gtest/gtest.h>

#include <memory>
#include <regex>

#include "support/content_fixture.h"
#include "support/archive_builders.h"
#include "zip_reader.h"

using namespace TestSupport;

namespace {

std::string readAllOf(VQ::File* opened)
{
    std::unique_ptr<VQ::File> file(opened);
    std::vector<char> data;
    if (!file || !VQ::readWholeResource(*file, "test", data))
        return "<null>";
    return std::string(data.begin(), data.end());
}

}  // namespace

class ZipReaderTest : public ContentTest {
protected:
    void SetUp() override
    {
        ContentTest::SetUp();
        mOldZipPath = VQ::zipArchivePath();
        VQ::zipArchivePath().clear();
    }
    void TearDown() override
    {
        ContentTest::TearDown();
        VQ::zipArchivePath() = mOldZipPath;
    }
    void writeZipContent(const std::vector<ZipEntry>& entries)
    {
        ASSERT_TRUE(writeZip(contentPath("data.zip"), entries));
    }
    int countMatching(const std::string& pattern) const
    {
        const auto lines = logLines();
        return int(std::count_if(lines.begin(), lines.end(),
                                 [&](const std::string& l) { return std::regex_match(l, std::regex(pattern)); }));
    }

    std::string mOldZipPath;
};

TEST_F(ZipReaderTest, ArchivesAreAskedBeforeLooseFiles)
{
    // "/config.lua" in all three places, each with its own bytes.
    writeContent("config.lua", "loose");
    writeZipContent({{"config.lua", "zip"}});
    writeFile(contentPath("data.vqp"), buildVqpArchive({{"/config.lua", "vqp"}}));

    restartFileSystem();
    EXPECT_EQ(readResource("default", "config"), "vqp");

    std::filesystem::remove(contentPath("data.vqp"));
    restartFileSystem();
    EXPECT_EQ(readResource("default", "config"), "zip");

    std::filesystem::remove(contentPath("data.zip"));
    restartFileSystem();
    EXPECT_EQ(readResource("default", "config"), "loose");
}

TEST_F(ZipReaderTest, EntriesOpenByPathWithoutTheLeadingSlashAndIndexOnce)
{
    writeZipContent({{"scripts/a.lua", "-- a"}, {"big.txt", std::string(100000, 'q')}, {"raw.bin", "stored", false},
                     {"empty.txt", ""}, {"caf\xC3\xA9.txt", "accent"}});
    VQ::ZipReader reader;
    EXPECT_EQ(readAllOf(reader.open("/scripts/a.lua")), "-- a");
    EXPECT_EQ(readAllOf(reader.open("scripts/a.lua")), "-- a");
    EXPECT_EQ(readAllOf(reader.open("//scripts/a.lua")), "<null>");
    EXPECT_EQ(readAllOf(reader.open("/big.txt")), std::string(100000, 'q'));
    EXPECT_EQ(readAllOf(reader.open("raw.bin")), "stored");
    EXPECT_EQ(readAllOf(reader.open("Raw.bin")), "<null>");
    // Names match byte for byte: no code-page conversion on this platform.
    EXPECT_EQ(readAllOf(reader.open("/caf\xC3\xA9.txt")), "accent");
    EXPECT_EQ(readAllOf(reader.open("/caf\xE9.txt")), "<null>");

    std::unique_ptr<VQ::File> empty(reader.open("empty.txt"));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->size(), 0);
    char byte;
    EXPECT_EQ(empty->read(&byte, 1), 0);

    // Reading in pieces: the counts and the position follow minizip.
    std::unique_ptr<VQ::File> a(reader.open("/scripts/a.lua"));
    char piece[3];
    EXPECT_EQ(a->read(piece, 3), 3);
    EXPECT_EQ(a->tell(), 3);
    EXPECT_EQ(a->read(piece, 3), 1);
    EXPECT_EQ(a->read(piece, 3), 0);

    EXPECT_EQ(countMatching(R"(ZipReader::cacheFileLocationInfo: done in \d+\.\d\d msec)"), 1);
}

TEST_F(ZipReaderTest, HandlesReturnToThePoolAndAreReused)
{
    writeZipContent({{"a.txt", "a"}, {"b.txt", "b"}});
    VQ::ZipReader reader;
    {
        std::unique_ptr<VQ::File> a(reader.open("a.txt"));
        std::unique_ptr<VQ::File> b(reader.open("b.txt"));
        ASSERT_TRUE(a && b);
        EXPECT_EQ(reader.pooledHandles(), 0u);
        // Closing gives the handle back once; deleting after that does not
        // give it again.
        a->close();
        EXPECT_EQ(reader.pooledHandles(), 1u);
    }
    EXPECT_EQ(reader.pooledHandles(), 2u);

    std::unique_ptr<VQ::File> again(reader.open("b.txt"));
    EXPECT_EQ(reader.pooledHandles(), 1u);
    EXPECT_EQ(reader.open("nothing.txt"), nullptr);
    EXPECT_EQ(reader.pooledHandles(), 1u);
}

TEST_F(ZipReaderTest, NoArchiveAnswersNothingSilently)
{
    VQ::ZipReader reader;
    const size_t before = logLines().size();
    EXPECT_EQ(reader.open("a.txt"), nullptr);
    EXPECT_EQ(reader.open("a.txt"), nullptr);
    EXPECT_EQ(logLines().size(), before);

    // An absent archive is remembered: one written later under the same
    // path is not seen by this reader, but is under another path.
    writeZipContent({{"a.txt", "late"}});
    EXPECT_EQ(reader.open("a.txt"), nullptr);
    const std::string other = contentPath("other.zip");
    writeFile(other, readFile(contentPath("data.zip")));
    VQ::zipArchivePath() = other;
    EXPECT_EQ(readAllOf(reader.open("a.txt")), "late");
}

TEST_F(ZipReaderTest, DamagedEntriesEndInAnErrorNotInWrongBytes)
{
    const std::string text(5000, 'x');
    writeZipContent({{"deflated.txt", text}});
    std::string bytes = readFile(contentPath("data.zip"));
    // A reserved block type: the inflater stops with a data error.
    bytes[firstEntryDataOffset(bytes)] = char(0xFF);
    writeFile(contentPath("data.zip"), bytes);
    {
        VQ::ZipReader reader;
        std::unique_ptr<VQ::File> file(reader.open("deflated.txt"));
        ASSERT_TRUE(file);
        std::vector<char> buffer(8000);
        EXPECT_LT(file->read(buffer.data(), int32_t(buffer.size())), 0);
        // The file closed itself and gave its handle back.
        EXPECT_EQ(reader.pooledHandles(), 1u);
        EXPECT_EQ(file->read(buffer.data(), 10), 0);
    }

    // Stored bytes changed in place: only the CRC can tell.
    writeZipContent({{"stored.txt", "stored bytes", false}});
    bytes = readFile(contentPath("data.zip"));
    bytes[firstEntryDataOffset(bytes) + 2] ^= 1;
    writeFile(contentPath("data.zip"), bytes);
    {
        VQ::ZipReader reader;
        std::vector<char> data;
        std::unique_ptr<VQ::File> file(reader.open("stored.txt"));
        ASSERT_TRUE(file);
        EXPECT_FALSE(VQ::readWholeResource(*file, "stored_txt", data));
    }

    // A central directory that is not there: the archive does not open.
    writeFile(contentPath("data.zip"), "PK\x03\x04 not really a zip");
    VQ::ZipReader broken;
    EXPECT_EQ(broken.open("stored.txt"), nullptr);
}

TEST_F(ZipReaderTest, AnEntryWhosePositionCannotBeReachedIsNotFound)
{
    writeZipContent({{"first.txt", "first"}, {"second.txt", "second"}});
    VQ::ZipReader reader;
    std::unique_ptr<VQ::File> first(reader.open("first.txt"));
    ASSERT_TRUE(first);

    // The archive changes under the reader: the recorded position of
    // "second.txt" now points into stored data. The next open needs a new
    // handle, whose jump fails; it must not serve the archive's first entry.
    writeZipContent({{"other.txt", std::string(4000, 'q'), false}});
    EXPECT_EQ(reader.open("second.txt"), nullptr);
}
