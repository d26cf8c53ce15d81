#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <unistd.h>

#include "platform/single_instance_posix.h"
#include "support/test_support.h"

using namespace VQ;

namespace {

// Points the runtime folder at `path` (null: unset) for the scope's
// lifetime.
class RuntimeDirScope {
public:
    explicit RuntimeDirScope(const char* path)
    {
        if (const char* old = getenv("XDG_RUNTIME_DIR"))
            mOld = old;
        if (path)
            setenv("XDG_RUNTIME_DIR", path, 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
    }
    explicit RuntimeDirScope(const std::string& path) : RuntimeDirScope(path.c_str()) {}
    ~RuntimeDirScope()
    {
        if (mOld.empty())
            unsetenv("XDG_RUNTIME_DIR");
        else
            setenv("XDG_RUNTIME_DIR", mOld.c_str(), 1);
    }

private:
    std::string mOld;
};

}  // namespace

TEST(SingleInstance, SecondCopyAsksTheFirstToRaiseItsWindow)
{
    TestSupport::TempDir dir;
    RuntimeDirScope scope(dir.path());
    {
        SingleInstance first("Lanterra Title/with slash");
        EXPECT_EQ(first.lockPath().rfind(dir.path() + "/", 0), 0u);
        ASSERT_EQ(first.acquire(), SingleInstance::Result::Acquired);
        EXPECT_FALSE(first.takeRaiseRequest());

        SingleInstance second("Lanterra Title/with slash");
        EXPECT_EQ(second.acquire(), SingleInstance::Result::AlreadyRunning);
        EXPECT_TRUE(first.takeRaiseRequest());
        EXPECT_FALSE(first.takeRaiseRequest());

        // Another program's name is another lock.
        SingleInstance other("Other");
        EXPECT_EQ(other.acquire(), SingleInstance::Result::Acquired);
    }
    // Released with its holder: the next start runs.
    SingleInstance again("Lanterra Title/with slash");
    EXPECT_EQ(again.acquire(), SingleInstance::Result::Acquired);
}

TEST(SingleInstance, StaleSocketOfACrashedRunIsReplaced)
{
    TestSupport::TempDir dir;
    RuntimeDirScope scope(dir.path());
    SingleInstance first("Lanterra");
    TestSupport::writeFile(first.socketPath(), "left behind");
    ASSERT_EQ(first.acquire(), SingleInstance::Result::Acquired);
    SingleInstance second("Lanterra");
    EXPECT_EQ(second.acquire(), SingleInstance::Result::AlreadyRunning);
    EXPECT_TRUE(first.takeRaiseRequest());
}

TEST(SingleInstance, WithoutAUsableRuntimeFolderTheLockIsTheUsersInTheTemporaryFolder)
{
    TestSupport::TempDir dir;
    TestSupport::writeFile(dir.file("plain_file"), "");
    const std::string name = "LanterraLockTest-" + std::to_string(getpid());
    const std::string expected =
        std::filesystem::temp_directory_path().string() + "/" + name + "-" + std::to_string(getuid()) + ".lock";
    const std::string notAFolder = dir.file("plain_file");
    const char* cases[] = {nullptr, "", "relative/runtime", "/no/such/runtime/folder", notAFolder.c_str()};
    for (const char* runtime : cases) {
        SCOPED_TRACE(runtime ? runtime : "(unset)");
        RuntimeDirScope scope(runtime);
        SingleInstance first(name);
        EXPECT_EQ(first.lockPath(), expected);
        ASSERT_EQ(first.acquire(), SingleInstance::Result::Acquired);
        SingleInstance second(name);
        EXPECT_EQ(second.acquire(), SingleInstance::Result::AlreadyRunning);
    }
    std::filesystem::remove(expected);
}