#pragma once
// A save folder of a test's own: the content folder of ContentTest with a
// platform configuration, $XDG_DATA_HOME pointing into the temporary
// folder, and the game's clock fixed. Helpers read the golden save fixtures
// (commented hex under tests/fixtures/saves) and the save folder's files.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform_config.h"
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

    std::string saveFolder() const { return mDir.path() + "/data/Carrowmere/Lanterra/"; }
    std::string savePath(const std::string& name) const { return saveFolder() + name; }
    std::vector<uint8_t> saveBytes(const std::string& name) const;
    void writeSaveBytes(const std::string& name, const std::vector<uint8_t>& bytes) const;

    std::unique_ptr<PlatformConfig> mPlatformConfig;

private:
    std::string mOldDataHome;
    bool mHadDataHome = false;
};

// The bytes of tests/fixtures/saves/<name>.
std::vector<uint8_t> saveFixture(const std::string& name);

}  // namespace TestSupport
