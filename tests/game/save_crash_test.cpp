// Saving survives being killed at any instant, and a write that fails
// leaves the old file.

#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "save_file.h"
#include "support/save_fixture.h"

using namespace TestSupport;

namespace {

using Bytes = std::vector<uint8_t>;

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
    std::string programPath() const { return std::string(LANTERRA_TEST_PROGRAMS_DIR) + "/save_limit_program"; }

    Bytes payloadOf(const std::string& name)
    {
        Bytes payload(SaveFile::MAX_PAYLOAD_BYTES);
        const int read = SaveFile::read(name, payload.data(), 0);
        payload.resize(read > 0 ? size_t(read) : 0);
        return payload;
    }

    std::string mMemoryFolder;
};

}  // namespace

TEST_F(SaveCrashTest, KilledWhileSavingLeavesOneOfTheTwoProfiles)
{
    // The two payloads the child writes in turn.
    createSavers();
    profile().silver = 111;
    ASSERT_TRUE(mProperties->save());
    const Bytes first = payloadOf("profile_0.dat");
    profile().silver = 222;
    ASSERT_TRUE(mProperties->save());
    const Bytes second = payloadOf("profile_0.dat");
    ASSERT_NE(first, second);

    // A forked child (a new program would spend most of the time starting)
    // saves in a loop and tells the parent once its first save is done.
    std::mt19937 random(26);
    std::uniform_int_distribution<int> delayMicroseconds(0, 2000);
    for (int kill = 0; kill < 200; ++kill) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(ready[0]);
            for (long i = 0;; ++i) {
                profile().silver = i % 2 ? 111 : 222;
                mProperties->save();
                if (i == 0 && write(ready[1], "r", 1) != 1)
                    _exit(1);
            }
        }
        close(ready[1]);
        char byte = 0;
        const bool started = read(ready[0], &byte, 1) == 1;
        close(ready[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(started) << "kill " << kill;
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "kill " << kill;

        const Bytes payload = payloadOf("profile_0.dat");
        ASSERT_TRUE(payload == first || payload == second) << "after kill " << kill;
        ASSERT_EQ(payloadOf("last_profile.dat"), Bytes(8, 0)) << "after kill " << kill;
    }
}

TEST_F(SaveCrashTest, WriteCutByTheFileSizeLimitKeepsTheOldFile)
{
    const std::string folder = childFolder();
    const ProcessResult result = runProcess(programPath(), {"100"}, folder, childEnv());
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
