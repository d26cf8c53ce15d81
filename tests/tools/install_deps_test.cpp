// The set-up script as a user without root: on a machine where the packages
// are present it needs nothing; where one is missing and there is no sudo,
// it prints the command for root and stops. The machine is played by stub
// commands on a PATH of their own.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "support/test_support.h"

using namespace TestSupport;

namespace {

const std::string SCRIPT = std::string(LANTERRA_SOURCE_DIR) + "/scripts/install-deps.sh";

void writeStub(const TempDir& dir, const std::string& name, const std::string& body)
{
    writeFile(dir.file("bin/" + name), "#!/bin/sh\n" + body + "\n");
    chmod(dir.file("bin/" + name).c_str(), 0755);
}

// A user of id 1000 without sudo; dpkg-query reports every package
// installed, or every one but `absent`.
ProcessResult runAsUser(const TempDir& dir, const std::string& set, const std::string& absent)
{
    std::filesystem::create_directories(dir.file("bin"));
    std::filesystem::remove(dir.file("bin/grep"));
    std::filesystem::create_symlink("/usr/bin/grep", dir.file("bin/grep"));
    writeStub(dir, "id", "echo 1000");
    writeStub(dir, "dpkg-query", "for p; do :; done\n[ \"$p\" = '" + absent + "' ] || printf 'install ok installed'");
    writeStub(dir, "apt-get", "echo apt-get ran >> \"$(dirname \"$0\")/../apt.log\"");
    return runProcess("/bin/bash", {SCRIPT, set}, dir.path(), {{"PATH", dir.file("bin")}});
}

TEST(InstallDeps, WithoutRootOrSudoAMissingPackageIsNamedInTheCommandForRoot)
{
    TempDir dir;
    ProcessResult run = runAsUser(dir, "game", "");
    EXPECT_TRUE(run.exited);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output, "");

    for (const char* set : {"game", "test"}) {
        SCOPED_TRACE(set);
        run = runAsUser(dir, set, "libsdl2-dev");
        EXPECT_EQ(run.exitCode, 1) << run.output;
        EXPECT_NE(run.output.find("sudo is not installed"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find("\n  apt-get install -y --no-install-recommends libsdl2-dev\n"), std::string::npos)
            << run.output;
    }
    // The game's set leaves the test packages alone.
    EXPECT_EQ(runAsUser(dir, "game", "libgtest-dev").exitCode, 0);
    EXPECT_EQ(runAsUser(dir, "test", "libgtest-dev").exitCode, 1);
    EXPECT_EQ(runAsUser(dir, "", "").exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("apt.log")));
}

}  // namespace
