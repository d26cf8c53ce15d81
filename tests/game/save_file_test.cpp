#include <gtest/gtest.h>

#include <filesystem>

#include "save_file.h"
#include "support/save_fixture.h"

using namespace TestSupport;

namespace {

using Bytes = std::vector<uint8_t>;

class SaveFileTest : public SaveFolderTest {
protected:
    // A file holding `payload` with its right checksum and this platform's tag.
    Bytes fileOf(const Bytes& payload) const
    {
        const uint32_t sum = SaveFile::checksum(payload.data(), payload.size());
        const uint32_t tag = SaveFile::tag();
        Bytes bytes;
        for (uint32_t word : {sum, tag})
            for (int i = 0; i < 4; ++i)
                bytes.push_back(uint8_t(word >> (8 * i)));
        bytes.insert(bytes.end(), payload.begin(), payload.end());
        return bytes;
    }

    int countLinesStartingWith(const std::string& prefix) const
    {
        int count = 0;
        for (const std::string& line : logLines())
            count += line.rfind(prefix, 0) == 0;
        return count;
    }
};

}  // namespace

TEST_F(SaveFileTest, StoresChecksumTagAndPayload)
{
    const Bytes one = {0x41};
    EXPECT_EQ(SaveFile::checksum(nullptr, 0), 0u);
    EXPECT_FALSE(SaveFile::write("one.dat", one.data(), one.size()));
    EXPECT_EQ(saveBytes("one.dat"), (Bytes{0x41, 0, 0, 0, 0x41, 0, 0, 0, 0x41}));

    // Bytes are summed unsigned, and the sum wraps at 2^32.
    const Bytes high(300, 0xFF);
    EXPECT_EQ(SaveFile::checksum(high.data(), high.size()), 300u * 255u);

    usePlatform(3);
    EXPECT_FALSE(SaveFile::write("three.dat", one.data(), one.size()));
    const Bytes written = saveBytes("three.dat");
    EXPECT_EQ(Bytes(written.begin() + 4, written.begin() + 8), (Bytes{0x41, 0x00, 0x03, 0x00}));
    uint8_t byte = 0;
    EXPECT_EQ(SaveFile::read("three.dat", &byte, 0), 1);
    usePlatform(0);
    // Another platform's file: its checksum is right, its tag is not.
    EXPECT_EQ(SaveFile::read("three.dat", &byte, 0), -1);
    EXPECT_EQ(countLinesStartingWith("WARNING: Save file"), 1);
}

TEST_F(SaveFileTest, ReadCopiesUpToTheCapacity)
{
    const Bytes payload = {1, 2, 3, 4, 5};
    ASSERT_FALSE(SaveFile::write("five.dat", payload.data(), payload.size()));
    EXPECT_EQ(SaveFile::payloadSize("five.dat"), 5);

    struct Case {
        size_t capacity;
        int copied;
    };
    for (const Case& c : {Case{0, 5}, Case{5, 5}, Case{9, 5}, Case{2, 2}, Case{1, 1}}) {
        SCOPED_TRACE(c.capacity);
        Bytes buffer(8, 0xEE);
        EXPECT_EQ(SaveFile::read("five.dat", buffer.data(), c.capacity), c.copied);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(buffer[i], i < c.copied ? payload[i] : 0xEE) << i;
    }
}

TEST_F(SaveFileTest, FilesThatAreNoSaveFileReadMinusOne)
{
    std::filesystem::create_directories(saveFolder());
    struct Case {
        const char* what;
        Bytes bytes;
    };
    std::vector<Case> cases;
    // Up to the checksum and tag of an empty payload.
    const Bytes header = fileOf({});
    for (size_t length = 0; length <= header.size(); ++length)
        cases.push_back({"short file", Bytes(header.begin(), header.begin() + length)});
    Bytes damaged = fileOf({1, 2, 3});
    damaged.back() ^= 0x10;
    cases.push_back({"checksum off", damaged});
    cases.push_back({"payload of 65,537 bytes", fileOf(Bytes(65537, 1))});

    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.what) + ", " + std::to_string(c.bytes.size()) + " bytes");
        writeSaveBytes("bad.dat", c.bytes);
        Bytes buffer(16, 0xEE);
        EXPECT_EQ(SaveFile::read("bad.dat", buffer.data(), buffer.size()), -1);
        EXPECT_EQ(buffer, Bytes(16, 0xEE));
        if (c.bytes.size() <= 8) {
            EXPECT_EQ(SaveFile::payloadSize("bad.dat"), -1);
        }
    }
    EXPECT_EQ(SaveFile::read("missing.dat", nullptr, 0), -1);
    EXPECT_EQ(SaveFile::payloadSize("missing.dat"), -1);

    // The largest payload still reads.
    writeSaveBytes("largest.dat", fileOf(Bytes(65536, 2)));
    Bytes largest(65536);
    EXPECT_EQ(SaveFile::payloadSize("largest.dat"), 65536);
    EXPECT_EQ(SaveFile::read("largest.dat", largest.data(), 0), 65536);
}

TEST_F(SaveFileTest, WriteReplacesWholeAndLeavesNoTemporaryFile)
{
    const Bytes first(100, 7);
    const Bytes second = {9};
    ASSERT_FALSE(SaveFile::write("file.dat", first.data(), first.size()));
    ASSERT_FALSE(SaveFile::write("file.dat", second.data(), second.size()));
    EXPECT_EQ(saveBytes("file.dat"), fileOf(second));
    for (const auto& entry : std::filesystem::directory_iterator(saveFolder()))
        EXPECT_EQ(entry.path().filename(), "file.dat");
}

TEST_F(SaveFileTest, FailedWriteIsReportedAndKeepsTheOldFile)
{
    const Bytes old = {1, 2, 3};
    ASSERT_FALSE(SaveFile::write("kept.dat", old.data(), old.size()));
    const Bytes before = saveBytes("kept.dat");

    // Payloads the reader could not take back are refused.
    const Bytes tooLarge(65537, 1);
    EXPECT_TRUE(SaveFile::write("kept.dat", tooLarge.data(), tooLarge.size()));
    EXPECT_TRUE(SaveFile::write("kept.dat", old.data(), 0));
    EXPECT_EQ(saveBytes("kept.dat"), before);

    // A folder in the file's place cannot be replaced.
    std::filesystem::create_directories(savePath("taken.dat/inside"));
    EXPECT_TRUE(SaveFile::write("taken.dat", old.data(), old.size()));
    EXPECT_TRUE(std::filesystem::is_directory(savePath("taken.dat/inside")));

    EXPECT_EQ(countLinesStartingWith("ERROR: Save file '" + savePath("kept.dat") + "' not written: "), 2);
    EXPECT_EQ(countLinesStartingWith("ERROR: Save file '" + savePath("taken.dat") + "' not written: rename: "), 1);
    for (const auto& entry : std::filesystem::directory_iterator(saveFolder()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
}
