#include "support/game_sandbox.h"

#include <chrono>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "animationeditor/vector_stream.h"
#include "game_properties.h"
#include "player_profile.h"
#include "save_fixtures_core.h"

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

std::string saveFolder(const GameSandbox& sandbox)
{
    return sandbox.file("data/Carrowmere/Lanterra/");
}

std::vector<uint8_t> bytesOf(const std::string& path)
{
    const std::string text = readFile(path);
    return std::vector<uint8_t>(text.begin(), text.end());
}

namespace {

void writeProfileFile(const GameSandbox& sandbox, const std::vector<uint8_t>& file)
{
    const std::string folder = saveFolder(sandbox);
    writeFile(folder + "profile_0.dat", std::string(file.begin(), file.end()));
    SaveFixtures::HexText id;
    id.u64(0, "profileId");
    const std::vector<uint8_t> last = SaveFixtures::saveFile(id).bytes();
    writeFile(folder + "last_profile.dat", std::string(last.begin(), last.end()));
}

}  // namespace

void writeProfile(const GameSandbox& sandbox, const SaveFixtures::ProfileValues& values)
{
    writeProfileFile(sandbox, SaveFixtures::profileFileOf(values).bytes());
}

void writeProfile(const GameSandbox& sandbox, const SaveFixtures::ProfileValues& values,
                  const SaveFixtures::MainModeValues& campaign)
{
    writeProfileFile(sandbox, SaveFixtures::profileFileOf(values, campaign).bytes());
}

std::unique_ptr<PlayerProfile> profileIn(const std::vector<uint8_t>& file)
{
    using Bytes = std::vector<uint8_t>;
    auto profile = std::make_unique<PlayerProfile>();
    if (file.size() < 9 || file[4] != 0x41 || file[5] || file[6] || file[7]) {
        ADD_FAILURE() << "not a save file of platform 0";
        return profile;
    }
    uint32_t sum = 0;
    for (size_t i = 8; i < file.size(); ++i)
        sum += file[i];
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 4),
              (Bytes{uint8_t(sum), uint8_t(sum >> 8), uint8_t(sum >> 16), uint8_t(sum >> 24)}));
    Bytes payload(file.begin() + 8, file.end());
    AE::VectorStream stream(payload);
    NamedBlobs sections = GameProperties::readSections(stream, "profile_0.dat");
    EXPECT_EQ(sections.count("profile"), 1u);
    EXPECT_EQ(sections.count("tutorial"), 1u);
    AE::VectorStream section(sections["profile"]);
    profile->load(section);
    return profile;
}

}  // namespace TestSupport
