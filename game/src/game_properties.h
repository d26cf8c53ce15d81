#pragma once
// The game's persistent state: the game modes of the platform
// configuration by class name, the one running, and the player's profile.
// Writes and reads the two profile files: "last_profile.dat" (whose profile
// was saved last) and "profile_<id>.dat" (the profile, every mode's
// progress and the tutorial's, as named sections in name order).

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "mode.h"
#include "player_profile.h"
#include "save_section.h"
#include "singleton.h"

class GameProperties : public VQ::Singleton<GameProperties> {
public:
    static constexpr const char* LAST_PROFILE_FILE = "last_profile.dat";
    static constexpr const char* PROFILE_SECTION = "profile";
    static constexpr const char* TUTORIAL_SECTION = "tutorial";

    // Removes the temporary files of saves cut short, builds the modes and
    // loads the profile saved last (profile 0 when "last_profile.dat" is
    // missing or unreadable).
    GameProperties();
    ~GameProperties() override;

    // Loads the profile "last_profile.dat" names (profile 0 when that file
    // is missing or unreadable, with a "WARNING: " naming it).
    void loadLastProfile();
    // Writes "last_profile.dat" and the profile file; true when the profile
    // file was written.
    bool save();
    // Resets the profile and every mode, then reads the profile file of
    // `id`; true when it was read. A file that exists but fails its checks
    // is moved aside as "<name>.bad" before the first save over it.
    bool load(uint64_t id);
    // The options' progress reset (the modes are told true).
    void resetProgress();
    // A new profile (the modes are told false).
    void newProfile();
    // Every mode's start, in name order; once, after the game's set-up.
    void startModes();
    // The "MainMode", when there is one, hears the social messages.
    void registerMainModeSocialListener();

    PlayerProfile* profile() const { return mProfile.get(); }

    // "profile_<id>.dat".
    static std::string profileFileName(uint64_t id);
    // The sections of a profile file's payload (the stream), by name. Reads what the
    // table holds whole; a table that breaks off keeps the sections before
    // the break (one "WARNING: " naming `fileName`).
    static NamedBlobs readSections(AE::DataStream& stream, const std::string& fileName);
    // The id a "last_profile.dat" payload names; 0 when it holds fewer than
    // 8 bytes.
    static uint64_t readLastProfileId(const std::vector<uint8_t>& payload);

    std::map<std::string, std::unique_ptr<Mode>> modes;
    Mode* currentMode = nullptr;  // not owned; set by the mode itself

private:
    // Renames a rejected profile file to "<name>.bad" (replacing an older
    // one); false, logged, when it cannot be moved.
    bool moveAside(const std::string& fileName);

    std::unique_ptr<PlayerProfile> mProfile;
    // Profile files that exist but failed their checks when loaded.
    std::set<std::string> mRejected;
};
