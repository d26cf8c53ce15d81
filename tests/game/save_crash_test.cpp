// Saving survives being killed at any instant, and a write that fails
// leaves the old file.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>

#include "support/save_fixture.h"

using namespace TestSupport;

namespace {

class SaveCrashTest : public SaveFolderTest {
protected:
    void SetUp() override
    {
        SaveFolderTest::SetUp();
        // Flushing to disk is what makes a save slow, and a kill does not
        // need it: on a memory file system the 200 runs take seconds. The
        // writes, the rename and their order are the same.
        std::string memory = "/dev/shm/lanterra-saves-XXXXXX";
        if (std::filesystem::is_directory("/dev/shm") && mkdtemp(memory.data())) {
            mMemoryFolder = memory;
            useDataHome(memory);
        }
    }
    void TearDown() override
    {
        SaveFolderTest::TearDown();
        if (!mMemoryFolder.empty())
            std::filesystem::remove_all(mMemoryFolder);
    }

    std::map<std::string, std::string> childEnv() const { return {{"XDG_DATA_HOME", dataHome()}}; }
    std::string childFolder() const
    {
        const std::string folder = mDir.path() + "/child";
        std::filesystem::create_directories(folder);
        return folder;
    }
    std::string programPath() const { return std::string(LANTERRA_TEST_PROGRAMS_DIR) + "/save_crash_program"; }

    std::string mMemoryFolder;
};

}  // namespace

TEST_F(SaveCrashTest, KilledWhileSavingLeavesOneOfTheTwoProfiles)
{
    // The program forks the savers and checks the file after each kill.
    const ProcessResult result = runProcess(programPath(), {"kills", "200", "26"}, childFolder(), childEnv(), 120);
    ASSERT_TRUE(result.exited) << result.output;
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_NE(result.output.find("kills: 200 whole"), std::string::npos) << result.output;

    // What it left reads here too.
    createSavers();
    EXPECT_TRUE(profile().silver == 111 || profile().silver == 222) << profile().silver;
}

TEST_F(SaveCrashTest, WriteCutByTheFileSizeLimitKeepsTheOldFile)
{
    const std::string folder = childFolder();
    const ProcessResult result = runProcess(programPath(), {"limit", "100"}, folder, childEnv());
    ASSERT_TRUE(result.exited) << result.output;
    EXPECT_EQ(result.exitCode, 0) << result.output;
    // The limit cuts the child's "VQ.log" as well; its console is a pipe.
    EXPECT_NE(result.output.find("ERROR: Save file '" + savePath("profile_0.dat") +
                                 "' not written: write: File too large"),
              std::string::npos)
        << result.output;

    // The file the first save wrote, whole: silver 111.
    createSavers();
    EXPECT_EQ(profile().silver, 111);
    for (const auto& entry : std::filesystem::directory_iterator(saveFolder()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
}
