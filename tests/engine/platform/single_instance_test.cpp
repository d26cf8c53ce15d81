#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/single_instance_posix.h"
#include "support/test_support.h"

using namespace VQ;

namespace {

// Points the runtime folder at a fresh folder for the test's lifetime.
class RuntimeDirScope {
public:
    explicit RuntimeDirScope(const std::string& path)
    {
        if (const char* old = getenv("XDG_RUNTIME_DIR"))
            mOld = old;
        setenv("XDG_RUNTIME_DIR", path.c_str(), 1);
    }
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
