#include "support/content_fixture.h"

#include <algorithm>

namespace TestSupport {

std::string fixturePath(const std::string& relative)
{
    return std::string(LANTERRA_SOURCE_DIR) + "/tests/fixtures/" + relative;
}

void ContentTest::SetUp()
{
    mOldCwd = std::filesystem::current_path();
    std::filesystem::current_path(mDir.path());
    std::filesystem::create_directories(mDir.path() + "/media");
    mOldContentRoot = VQ::contentRoot();
    VQ::contentRoot() = "./media/";
    mLog = std::make_unique<VQ::LogSystem>();
    mFileSystem = std::make_unique<VQ::FileSystem>();
}

void ContentTest::TearDown()
{
    mConfig.reset();
    mFileSystem.reset();
    mLog.reset();
    VQ::contentRoot() = mOldContentRoot;
    VQ::currentPlatformName().clear();
    std::filesystem::current_path(mOldCwd);
}

void ContentTest::copyFixture(const std::string& relative)
{
    std::filesystem::copy(fixturePath(relative), mDir.path() + "/media",
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
}

void ContentTest::writeContent(const std::string& path, const std::string& text)
{
    writeFile(contentPath(path), text);
}

void ContentTest::restartFileSystem()
{
    mFileSystem.reset();
    mFileSystem = std::make_unique<VQ::FileSystem>();
}

void ContentTest::loadConfig()
{
    mConfig = std::make_unique<VQ::ConfigManager>();
    mConfig->load();
}

void ContentTest::loadAll()
{
    loadConfig();
    mFileSystem->loadFilesLocationInfo();
}

std::vector<std::string> ContentTest::logLines() const
{
    std::vector<std::string> lines;
    for (const std::string& line : splitLines(readFile(mDir.file("VQ.log"))))
        lines.push_back(stripLogPrefix(line));
    return lines;
}

int ContentTest::countLogLines(const std::string& line) const
{
    const auto lines = logLines();
    return int(std::count(lines.begin(), lines.end(), line));
}

std::string ContentTest::readResource(const std::string& package, const std::string& name)
{
    std::vector<char> data;
    if (!VQ::loadWholeResource(package, name, data))
        return "<null>";
    return std::string(data.begin(), data.end());
}

}  // namespace TestSupport
