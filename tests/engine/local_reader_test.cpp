#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "local_file.h"
#include "local_reader.h"
#include "support/content_fixture.h"

using namespace TestSupport;

using LocalReaderTest = ContentTest;

TEST_F(LocalReaderTest, ReadsInChunksAndSeeks)
{
    writeContent("ten.bin", "0123456789");
    std::unique_ptr<VQ::File> file(VQ::LocalReader().open("ten.bin"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->size(), 10);
    char buffer[4];
    EXPECT_EQ(file->read(buffer, 4), 4);
    EXPECT_EQ(file->tell(), 4);
    EXPECT_EQ(file->read(buffer, 4), 4);
    EXPECT_EQ(file->read(buffer, 4), 2);
    EXPECT_EQ(std::string(buffer, 2), "89");
    EXPECT_EQ(file->read(buffer, 4), 0);

    auto* local = static_cast<VQ::LocalFile*>(file.get());
    EXPECT_EQ(local->seek(3), 0);
    EXPECT_EQ(local->tell(), 3);
    EXPECT_EQ(file->read(buffer, 2), 2);
    EXPECT_EQ(std::string(buffer, 2), "34");
}

TEST_F(LocalReaderTest, EmptyFileOpensWithSizeZero)
{
    writeContent("empty.txt", "");
    std::unique_ptr<VQ::File> file(VQ::LocalReader().open("empty.txt"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->size(), 0);
    char buffer[4];
    EXPECT_EQ(file->read(buffer, 4), 0);
}

TEST_F(LocalReaderTest, DirectoriesAndMissingFilesDoNotOpen)
{
    std::filesystem::create_directories(contentPath("folder"));
    EXPECT_EQ(VQ::LocalReader().open("folder"), nullptr);
    EXPECT_EQ(VQ::LocalReader().open("absent.txt"), nullptr);
    EXPECT_EQ(VQ::LocalReader().open(""), nullptr);
    VQ::LocalFile file;
    EXPECT_FALSE(file.open(mDir.path()));
}

TEST_F(LocalReaderTest, FallsBackToRelativePathsOnly)
{
    // In the working folder, outside the content root.
    writeFile(mDir.file("loose.txt"), "loose");
    std::unique_ptr<VQ::File> relative(VQ::LocalReader().open("loose.txt"));
    ASSERT_TRUE(relative);
    EXPECT_EQ(relative->size(), 5);

    // "/<absolute path>" is tried as "./media//<absolute path>" and never as
    // the absolute path itself.
    EXPECT_EQ(VQ::LocalReader().open(mDir.file("loose.txt")), nullptr);

    // The doubled slash of a leading-slash path still finds the content file.
    writeContent("rooted.txt", "rooted");
    std::unique_ptr<VQ::File> rooted(VQ::LocalReader().open("/rooted.txt"));
    ASSERT_TRUE(rooted);
    EXPECT_EQ(rooted->size(), 6);
}
