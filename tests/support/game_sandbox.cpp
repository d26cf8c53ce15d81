#include "support/game_sandbox.h"

#include <chrono>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

namespace TestSupport {

namespace {

bool isArchive(const std::string& relative)
{
    return relative == "data.vqp" || relative == "data.zip";
}

// Mirrors the sample content with links, so that a replaced file never
// touches the repository's own.
void mirror(const fs::path& from, const fs::path& to, const std::map<std::string, std::string>& replaced,
            const fs::path& root)
{
    fs::create_directories(to);
    for (const fs::directory_entry& entry : fs::directory_iterator(from)) {
        const fs::path target = to / entry.path().filename();
        const std::string relative = fs::relative(entry.path(), root).generic_string();
        if (entry.is_directory()) {
            mirror(entry.path(), target, replaced, root);
        } else if (!replaced.count(relative) && !(isArchive(relative) && !replaced.empty())) {
            fs::create_symlink(entry.path(), target);
        }
    }
}

}  // namespace

GameSandbox::GameSandbox(const std::map<std::string, std::string>& replaced)
{
    const fs::path media = fs::path(LANTERRA_SOURCE_DIR) / "media";
    mirror(media, fs::path(mDir.path()) / "media", replaced, media);
    for (const auto& [relative, text] : replaced)
        writeFile(mDir.file("media/" + relative), text);
    fs::create_directories(mDir.file("runtime"));
    mEnv = {
        {"SDL_VIDEODRIVER", "offscreen"},
        {"ALSOFT_DRIVERS", "null"},
        {"VQ_MSGBOX_ANSWER", "cancel"},
        {"XDG_RUNTIME_DIR", mDir.file("runtime")},
        {"XDG_DATA_HOME", mDir.file("data")},
    };
}

std::vector<std::string> GameSandbox::logLines() const
{
    std::vector<std::string> lines;
    for (const std::string& line : splitLines(readFile(logPath())))
        lines.push_back(stripLogPrefix(line).empty() ? line : stripLogPrefix(line));
    return lines;
}

bool GameSandbox::logContains(const std::string& text) const
{
    return readFile(logPath()).find(text) != std::string::npos;
}

bool GameSandbox::waitForLog(const std::string& text, ChildProcess& child, int timeoutSeconds) const
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (logContains(text))
            return true;
        if (!child.running())
            return logContains(text);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

bool GameSandbox::start(ChildProcess& child, const std::string& program) const
{
    return child.start(program, {}, mDir.path(), mEnv);
}

std::string gamePath()
{
    return std::string(LANTERRA_TEST_PROGRAMS_DIR) + "/../lanterra";
}

std::string testProgramPath(const std::string& name)
{
    return std::string(LANTERRA_TEST_PROGRAMS_DIR) + "/" + name;
}

}  // namespace TestSupport
