#pragma once
// A save folder of a test's own: the content folder of ContentTest with a
// platform configuration, $XDG_DATA_HOME pointing into the temporary
// folder, and the game's clock fixed. Helpers read the golden save fixtures
// (commented hex under tests/fixtures/saves) and the save folder's files.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game_properties.h"
#include "platform_config.h"
#include "player_profile.h"
#include "progress_saver.h"
#include "save_fixtures_core.h"
#include "support/content_fixture.h"

namespace TestSupport {

class SaveFolderTest : public ContentTest {
public:
    // The clock the game reads; tests may move it.
    static int64_t& now();

protected:
    void SetUp() override;
    void TearDown() override;

    // Replaces the platform configuration by one with this code and the
    // given "modes" table text.
    void usePlatform(int code, const std::string& modes = "{}");

    // Moves $XDG_DATA_HOME (the temporary folder's "data" at first).
    void useDataHome(const std::string& path);
    const std::string& dataHome() const { return mDataHome; }
    std::string saveFolder() const { return mDataHome + "/Carrowmere/Lanterra/"; }
    std::string savePath(const std::string& name) const { return saveFolder() + name; }
    std::vector<uint8_t> saveBytes(const std::string& name) const;
    void writeSaveBytes(const std::string& name, const std::vector<uint8_t>& bytes) const;

    // GameProperties (which loads the profile saved last), ProgressSaver and
    // RemoteStorage, as the game's set-up makes them; gone at tear-down.
    void createSavers();
    PlayerProfile& profile() { return *mProperties->profile(); }

    std::unique_ptr<PlatformConfig> mPlatformConfig;
    std::unique_ptr<GameProperties> mProperties;
    std::unique_ptr<ProgressSaver> mSaver;
    std::unique_ptr<RemoteStorage> mRemote;

private:
    std::string mDataHome;
    std::string mOldDataHome;
    bool mHadDataHome = false;
};

// The bytes of tests/fixtures/saves/<name>.
std::vector<uint8_t> saveFixture(const std::string& name);

// A profile's saved fields in the fixtures' terms (the current form: 3
// booster entries, 4 bonus counts, flags in key order), and back.
SaveFixtures::ProfileValues valuesOf(const PlayerProfile& profile);
void assignValues(PlayerProfile& profile, const SaveFixtures::ProfileValues& values);

// The "profile" section the profile writes, and a load from given bytes.
std::vector<uint8_t> savedSection(const PlayerProfile& profile);
bool loadSection(PlayerProfile& profile, std::vector<uint8_t> bytes);

}  // namespace TestSupport
