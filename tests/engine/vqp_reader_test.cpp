#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <regex>
#include <thread>

#include "support/archive_builders.h"
#include "support/content_fixture.h"
#include "vqp_reader.h"

using namespace TestSupport;

namespace {

void putWord(std::string& bytes, size_t at, uint32_t value)
{
    VQ::vqp::writeLE32(reinterpret_cast<unsigned char*>(bytes.data()) + at, value);
}

std::string readSome(VQ::File& file, int32_t count)
{
    std::string buffer(size_t(std::max(count, 0)), '\0');
    const int32_t got = file.read(buffer.data(), count);
    return got > 0 ? buffer.substr(0, size_t(got)) : std::string();
}

}  // namespace

TEST(VqpHashTable, HashUsesSignedBytesAndMatchesKnownValues)
{
    EXPECT_EQ(VQ::vqp::hashName(""), 0u);
    EXPECT_EQ(VQ::vqp::hashName("a"), 97u);
    EXPECT_EQ(VQ::vqp::hashName("ab"), 97u * 31 + 98);
    EXPECT_EQ(VQ::vqp::hashName("/config.lua"), 2273013947u);
    EXPECT_EQ(VQ::vqp::hashName("/filelist.lua"), 3401755091u);
    // Bytes above 0x7F count as negative numbers.
    EXPECT_EQ(VQ::vqp::hashName("\xE9"), 0xFFFFFFE9u);
    EXPECT_EQ(VQ::vqp::hashName("a\xFF"), 97u * 31 - 1);
}

TEST(VqpHashTable, CollidingNamesProbeOnwardAndWrapToSlotZero)
{
    // Both names have home slot 2 in a table of three.
    VQ::HashTable table;
    table.reset(3);
    for (const char* name : {"/config.lua", "/filelist.lua"}) {
        VQ::TableEntry entry;
        std::strcpy(entry.name, name);
        ASSERT_TRUE(table.insert(entry));
    }
    EXPECT_STREQ(table.entries()[2].name, "/config.lua");
    EXPECT_STREQ(table.entries()[0].name, "/filelist.lua");
    EXPECT_EQ(table.find("/filelist.lua"), &table.entries()[0]);
    EXPECT_EQ(table.find("/config.lua"), &table.entries()[2]);
    EXPECT_EQ(table.find("/Config.lua"), nullptr);
    // An empty name never matches the free slot.
    EXPECT_EQ(table.find(""), nullptr);

    // A miss searches the whole table, the home slot twice.
    for (uint32_t count : {1u, 3u, 7u}) {
        int visits = 0;
        EXPECT_EQ(VQ::vqp::probe(5, count, [&](uint32_t) { return ++visits, false; }), -1);
        EXPECT_EQ(visits, int(count) + 1);
    }
}

using VqpReaderTest = ContentTest;

TEST_F(VqpReaderTest, ReadsEntriesInPiecesAndClampsSeeks)
{
    writeFile(mDir.file("a.vqp"),
              buildVqpArchive({{"ten.bin", "0123456789"}, {"empty", ""}, {"caf\xC3\xA9.txt", "accent"}, {"z", "zz"}}));
    VQ::VQPReader reader(mDir.file("a.vqp"));
    ASSERT_EQ(reader.table().count(), 4u);

    std::unique_ptr<VQ::File> ten(reader.open("ten.bin"));
    ASSERT_TRUE(ten);
    EXPECT_EQ(ten->size(), 10);
    EXPECT_EQ(readSome(*ten, 4), "0123");
    EXPECT_EQ(readSome(*ten, 4), "4567");
    EXPECT_EQ(readSome(*ten, 4), "89");
    EXPECT_EQ(ten->read(nullptr, 4), 0);
    EXPECT_EQ(ten->tell(), 10);

    auto* seekable = static_cast<VQ::VQPFile*>(ten.get());
    seekable->seek(10);
    EXPECT_EQ(ten->tell(), 9);
    EXPECT_EQ(readSome(*ten, 4), "9");
    seekable->seek(-5);
    EXPECT_EQ(ten->tell(), 0);
    EXPECT_EQ(ten->read(nullptr, 0), 0);
    EXPECT_EQ(ten->read(nullptr, -3), 0);
    EXPECT_EQ(ten->tell(), 0);

    // An empty entry never reaches the bytes in front of it.
    std::unique_ptr<VQ::File> empty(reader.open("empty"));
    ASSERT_TRUE(empty);
    static_cast<VQ::VQPFile*>(empty.get())->seek(3);
    EXPECT_EQ(empty->tell(), 0);
    char byte = 'x';
    EXPECT_EQ(empty->read(&byte, 1), 0);
    EXPECT_EQ(byte, 'x');

    std::unique_ptr<VQ::File> accent(reader.open("caf\xC3\xA9.txt"));
    ASSERT_TRUE(accent);
    EXPECT_EQ(readSome(*accent, 100), "accent");
    EXPECT_EQ(reader.open("TEN.bin"), nullptr);
    EXPECT_EQ(reader.open("ten.bi"), nullptr);

    const auto lines = logLines();
    const std::vector<std::string> expected = {"sizeof(TableEntry) = 136", "VQP Archive total files: 4",
                                               "VQP Hash table size: 560"};
    const auto start = std::search(lines.begin(), lines.end(), expected.begin(), expected.end());
    ASSERT_NE(start, lines.end());
    ASSERT_GE(lines.end() - start, 5);
    EXPECT_TRUE(std::regex_match(start[3], std::regex(R"(hash table loaded in \d+\.\d\d)"))) << start[3];
    EXPECT_EQ(start[4], "initHashTable done");
}

TEST_F(VqpReaderTest, DamagedArchivesAreRejectedAsAWhole)
{
    const std::string good = buildVqpArchive({{"a.txt", "alpha"}, {"b.txt", "beta"}});
    auto withWord = [&](size_t at, uint32_t value) {
        std::string bytes = good;
        putWord(bytes, at, value);
        return bytes;
    };
    const size_t firstEntry = VQ::vqp::HEADER_BYTES;
    std::string unterminated = good;
    for (size_t i = 0; i < VQ::TableEntry::NAME_BYTES; ++i)
        unterminated[firstEntry + i] = 'n';

    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"shorter than its header", good.substr(0, 10)},
        {"table cut short", good.substr(0, VQ::vqp::HEADER_BYTES + 200)},
        {"count wraps to 0 in 32 bits", withWord(8, 0x80000000u)},
        {"count far beyond the file", withWord(8, 0xF0F0F0F1u)},
        {"name without its NUL", unterminated},
        {"data beyond the end", withWord(firstEntry + 128, uint32_t(good.size()) - 2)},
        {"offset plus size wraps", withWord(firstEntry + 132, 0xFFFFFFF0u)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(mDir.file("bad.vqp"), c.bytes);
        const int errorsBefore = countLogLines("ERROR: Failed to open VQP archive.");
        VQ::VQPReader reader(mDir.file("bad.vqp"));
        EXPECT_TRUE(reader.table().empty());
        EXPECT_EQ(reader.open("a.txt"), nullptr);
        EXPECT_EQ(reader.open("b.txt"), nullptr);
        EXPECT_EQ(countLogLines("ERROR: Failed to open VQP archive."), errorsBefore + 1);
    }

    const int errorsBefore = countLogLines("ERROR: Failed to open VQP archive.");
    VQ::VQPReader missing(mDir.file("no_such.vqp"));
    EXPECT_EQ(missing.open("a.txt"), nullptr);
    EXPECT_EQ(countLogLines("ERROR: Failed to open VQP archive."), errorsBefore + 1);
}

TEST_F(VqpReaderTest, AnArchiveWithNoFilesIsFatal)
{
    std::string bytes(VQ::vqp::HEADER_BYTES, '\0');
    writeFile(mDir.file("zero.vqp"), bytes);
    const VQ::FatalReport report = catchFatal([&] { VQ::VQPReader reader(mDir.file("zero.vqp")); });
    EXPECT_EQ(report.name, "VQ");
    EXPECT_EQ(report.description, "VQP must contain at least one file");
    EXPECT_EQ(report.file, "vqp_reader");
    EXPECT_EQ(report.line, 54);
}

TEST_F(VqpReaderTest, FilesSharingTheStreamReadInParallel)
{
    std::vector<StoredFile> files;
    for (int i = 0; i < 4; ++i)
        files.push_back({"f" + std::to_string(i), std::string(4000 + i, char('a' + i))});
    writeFile(mDir.file("p.vqp"), buildVqpArchive(files));
    VQ::VQPReader reader(mDir.file("p.vqp"));

    std::vector<std::thread> threads;
    std::atomic<int> mismatches{0};
    for (int i = 0; i < 4; ++i) {
        std::unique_ptr<VQ::File> file(reader.open(files[size_t(i)].name));
        ASSERT_TRUE(file);
        threads.emplace_back([&, i, f = file.release()] {
            std::unique_ptr<VQ::File> owned(f);
            for (int round = 0; round < 50; ++round) {
                static_cast<VQ::VQPFile*>(owned.get())->seek(0);
                std::string data;
                char chunk[7];
                for (int32_t got; (got = owned->read(chunk, sizeof(chunk))) > 0;)
                    data.append(chunk, size_t(got));
                if (data != files[size_t(i)].data)
                    ++mismatches;
            }
        });
    }
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(mismatches, 0);
}
