#pragma once
// A content folder of a test's own: a temporary working folder holding
// "VQ.log" and "media/" (the content root), with the log system and the file
// system created over it. Tests copy fixture folders in or write files, then
// load the configuration and the package map as the engine start-up does.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "config_manager.h"
#include "file_system.h"
#include "log_system.h"
#include "support/test_support.h"

namespace TestSupport {

// The source tree's folder of test fixtures.
std::string fixturePath(const std::string& relative);

class ContentTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Copies a fixture folder (relative to the fixture root) into media/.
    void copyFixture(const std::string& relative);
    // Writes a file under media/.
    void writeContent(const std::string& path, const std::string& text);
    std::string contentPath(const std::string& path) const { return mDir.path() + "/media/" + path; }

    // Replaces the file system by a new one, which opens the archives
    // written into the content root since.
    void restartFileSystem();

    // Creates the configuration manager and loads "/config.lua".
    void loadConfig();
    // loadConfig, then the package map.
    void loadAll();

    // The log's lines without their time prefix.
    std::vector<std::string> logLines() const;
    // How many log lines equal `line`.
    int countLogLines(const std::string& line) const;

    // Reads (package, name) whole as text; "<null>" when it does not open.
    std::string readResource(const std::string& package, const std::string& name);

    TempDir mDir;
    std::filesystem::path mOldCwd;
    std::string mOldContentRoot;
    std::unique_ptr<VQ::LogSystem> mLog;
    std::unique_ptr<VQ::FileSystem> mFileSystem;
    std::unique_ptr<VQ::ConfigManager> mConfig;
};

}  // namespace TestSupport
