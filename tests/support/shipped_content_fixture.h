#pragma once
// The shipped sample content brought up headless (no window, no graphics
// device, the silent sound device) through the same engine parts the
// headless board uses, with "VQ.log" in a folder of the test's own; for
// tests that need real particle effects and sprites.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "headless_engine.h"
#include "support/sound_fixtures.h"
#include "support/test_support.h"

namespace TestSupport {

class ShippedContentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        useSilentAudioDevice();
        mOldCwd = std::filesystem::current_path();
        std::filesystem::current_path(mDir.path());
        mEngine = std::make_unique<HeadlessEngine>(std::string(LANTERRA_SOURCE_DIR) + "/media");
    }
    void TearDown() override
    {
        mEngine.reset();
        std::filesystem::current_path(mOldCwd);
    }

    std::vector<std::string> logLines() const
    {
        std::vector<std::string> lines;
        for (const std::string& line : splitLines(readFile(mDir.file("VQ.log"))))
            lines.push_back(stripLogPrefix(line));
        return lines;
    }

    TempDir mDir;
    std::filesystem::path mOldCwd;
    std::unique_ptr<HeadlessEngine> mEngine;
};

}  // namespace TestSupport
