#include <gtest/gtest.h>

#include "save_fixtures_core.h"
#include "support/content_fixture.h"

using namespace TestSupport;

// The committed fixtures are what the generator writes today, and parse
// back to the bytes it laid out.
TEST(SaveFixtures, CommittedFilesMatchTheGenerator)
{
    for (const SaveFixtures::Fixture& fixture : SaveFixtures::allFixtures()) {
        SCOPED_TRACE(fixture.fileName);
        const std::string committed = readFile(fixturePath("saves/" + fixture.fileName));
        EXPECT_EQ(committed, fixture.content.text());
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(SaveFixtures::parseHex(committed, bytes));
        EXPECT_EQ(bytes, fixture.content.bytes());
    }
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(SaveFixtures::parseHex("0g", bytes));
    EXPECT_FALSE(SaveFixtures::parseHex("012", bytes));
    EXPECT_TRUE(SaveFixtures::parseHex("# only a comment 0z\n 0A ff", bytes));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0x0A, 0xFF}));
}
