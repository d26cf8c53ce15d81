// The vector byte stream and its C strings.

#include <gtest/gtest.h>

#include "animationeditor/vector_stream.h"
#include "support/test_support.h"

using TestSupport::catchFatal;

TEST(VectorStream, WritesAppendAndReadsFollowTheCursor)
{
    std::vector<uint8_t> bytes = {9};
    AE::VectorStream out(bytes);
    AE::writeValue<int32_t>(out, -2);
    AE::writeBool(out, true);
    AE::writeCString(out, "");
    AE::writeCString(out, "ab");
    EXPECT_EQ(bytes, (std::vector<uint8_t>{9, 0xFE, 0xFF, 0xFF, 0xFF, 1, 0, 'a', 'b', 0}));
    EXPECT_EQ(out.size(), 10);

    AE::VectorStream in(bytes);
    EXPECT_EQ(AE::readValue<uint8_t>(in), 9);
    EXPECT_EQ(AE::readValue<int32_t>(in), -2);
    EXPECT_TRUE(AE::readBool(in));
    std::string text = "stale";
    AE::readCString(text, in);
    EXPECT_EQ(text, "");
    AE::readCString(text, in);
    EXPECT_EQ(text, "ab");
    EXPECT_EQ(in.bytesLeft(), 0);
}

TEST(VectorStream, ReadsPastTheEndStopBeforeCopyingAByte)
{
    struct Case {
        std::vector<uint8_t> bytes;
        size_t skip;
        size_t length;
    };
    const Case cases[] = {
        {{}, 0, 4},                       // empty stream
        {{1, 2, 3, 4, 5, 6, 7, 8}, 4, 8},  // 8 wanted, 4 left
        {{1, 2}, 2, 1},                    // at the end
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = c.bytes;
        AE::VectorStream in(bytes);
        in.readPosition = c.skip;
        uint8_t out[8] = {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
        const VQ::FatalReport report = catchFatal([&] { in.read(out, c.length); });
        EXPECT_EQ(report.description, "Read data from out of range!");
        EXPECT_EQ(report.file, "vector_stream");
        EXPECT_EQ(out[0], 0xAA);
        EXPECT_EQ(in.readPosition, c.skip);
    }
}

TEST(VectorStream, AStringWithoutItsZeroByteStopsAtTheEnd)
{
    std::vector<uint8_t> bytes = {'a', 'b'};
    AE::VectorStream in(bytes);
    std::string text;
    EXPECT_EQ(catchFatal([&] { AE::readCString(text, in); }).description, "Read data from out of range!");
}

TEST(VectorStream, ACountPromisingMoreBytesThanRemainIsRefused)
{
    std::vector<uint8_t> bytes(12);
    AE::VectorStream in(bytes);
    in.readPosition = 4;
    EXPECT_EQ(catchFatal([&] { AE::requireBytes(in, 8); }).line, -1);
    EXPECT_EQ(catchFatal([&] { AE::requireBytes(in, 9); }).description, "Read data from out of range!");
}
