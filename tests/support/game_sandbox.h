#pragma once
// Whole-program runs: a working folder with its own "media" (the sample
// content, with chosen files replaced), its own runtime and data folders,
// and the headless environment; helpers to read its "VQ.log".

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/test_support.h"

class PlayerProfile;
namespace SaveFixtures {
struct ProfileValues;
struct MainModeValues;
}

namespace TestSupport {

class GameSandbox {
public:
    // `replaced` maps paths inside media/ to the text they get instead. The
    // archives are asked before loose files, so a sandbox with replaced
    // files leaves them out and runs on the loose files alone.
    explicit GameSandbox(const std::map<std::string, std::string>& replaced = {});

    const std::string& path() const { return mDir.path(); }
    std::string file(const std::string& name) const { return mDir.file(name); }
    std::string logPath() const { return mDir.file("VQ.log"); }
    // The headless environment; tests may add to it.
    std::map<std::string, std::string>& env() { return mEnv; }

    // The log's lines without their time prefix.
    std::vector<std::string> logLines() const;
    bool logContains(const std::string& text) const;
    // Waits until the log holds `text` (false on timeout or when `child`
    // ends first).
    bool waitForLog(const std::string& text, ChildProcess& child, int timeoutSeconds = 30) const;

    bool start(ChildProcess& child, const std::string& program) const;

private:
    TempDir mDir;
    std::map<std::string, std::string> mEnv;
};

// The save folder of a sandbox's runs.
std::string saveFolder(const GameSandbox& sandbox);
std::vector<uint8_t> bytesOf(const std::string& path);
// Writes "profile_0.dat" holding `values` and "last_profile.dat" naming it.
void writeProfile(const GameSandbox& sandbox, const SaveFixtures::ProfileValues& values);
// The same with the campaign's progress.
void writeProfile(const GameSandbox& sandbox, const SaveFixtures::ProfileValues& values,
                  const SaveFixtures::MainModeValues& campaign);
// The profile a profile file holds (its container checked by hand: the
// sample content's platform code is 0).
std::unique_ptr<PlayerProfile> profileIn(const std::vector<uint8_t>& file);

// The game program and the test programs of the build.
std::string gamePath();
std::string testProgramPath(const std::string& name);

}  // namespace TestSupport
