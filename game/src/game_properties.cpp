#include "game_properties.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "animationeditor/vector_stream.h"
#include "facebook_message_dispatcher.h"
#include "log_system.h"
#include "platform/crash_safe_file.h"
#include "platform_config.h"
#include "save_file.h"
#include "save_section.h"
#include "tutorial/tutorial_registry.h"

namespace {

constexpr const char* MAIN_MODE = "MainMode";
constexpr size_t PROFILE_ID_BYTES = 8;

}  // namespace

GameProperties::GameProperties()
{
    for (const ModeDescriptor& descriptor : PlatformConfig::instance()->modes) {
        std::unique_ptr<Mode> mode = createMode(descriptor);
        // A class named twice keeps its first mode.
        if (mode && !modes.count(descriptor.className))
            modes[descriptor.className] = std::move(mode);
    }
    mProfile = std::make_unique<PlayerProfile>();

    // The program holds its single-instance lock by now, so no other copy
    // is writing: a temporary save file here is one a kill cut short.
    for (const std::string& path : VQ::removeCrashSafeTemporaries(SaveFile::path("")))
        VQ::logIfPossible(VQ::formatString("WARNING: Removed '%s', left by a save that did not finish", path.c_str()));

    loadLastProfile();
}

void GameProperties::loadLastProfile()
{
    // An absent or unreadable file names profile 0 as a damaged one does:
    // starting fresh instead would write the fresh profile over the player's.
    std::vector<uint8_t> payload(SaveFile::MAX_PAYLOAD_BYTES);
    const int read = SaveFile::read(LAST_PROFILE_FILE, payload.data(), payload.size());
    if (read < 0) {
        payload.clear();
        VQ::logIfPossible(VQ::formatString("WARNING: Save file '%s' is missing or unreadable; profile 0 is loaded",
                                           SaveFile::path(LAST_PROFILE_FILE).c_str()));
    } else {
        payload.resize(static_cast<size_t>(read));
    }
    load(readLastProfileId(payload));
}

GameProperties::~GameProperties()
{
    for (auto& [name, mode] : modes)
        mode.reset();
    modes.clear();
    mProfile.reset();
}

std::string GameProperties::profileFileName(uint64_t id)
{
    return "profile_" + formatU64(id) + ".dat";
}

uint64_t GameProperties::readLastProfileId(const std::vector<uint8_t>& payload)
{
    if (payload.size() < PROFILE_ID_BYTES)
        return 0;
    std::vector<uint8_t> idBytes(payload.begin(), payload.begin() + PROFILE_ID_BYTES);
    AE::VectorStream stream(idBytes);
    SectionReader in(stream, LAST_PROFILE_FILE);
    uint64_t id = 0;
    in.u64(id);
    return id;
}

NamedBlobs GameProperties::readSections(AE::DataStream& stream, const std::string& fileName)
{
    SectionReader in(stream, fileName);
    return readNamedBlobs(in);
}

bool GameProperties::save()
{
    std::vector<uint8_t> buffer;
    buffer.reserve(1024);
    {
        AE::VectorStream stream(buffer);
        SectionWriter(stream).u64(mProfile->profileId);
    }
    // Only the profile file's result counts: without this one the game
    // starts on profile 0, whose file is written alike.
    SaveFile::write(LAST_PROFILE_FILE, buffer.data(), buffer.size());

    NamedBlobs sections;
    {
        AE::VectorStream stream(sections[PROFILE_SECTION]);
        mProfile->save(stream);
    }
    for (const auto& [name, mode] : modes) {
        AE::VectorStream stream(sections[name]);
        mode->save(stream);
    }
    {
        AE::VectorStream stream(sections[TUTORIAL_SECTION]);
        TutorialRegistry::instance()->save(stream);
    }

    buffer.clear();
    {
        AE::VectorStream stream(buffer);
        SectionWriter out(stream);
        writeNamedBlobs(out, sections);
    }
    const std::string fileName = profileFileName(mProfile->profileId);
    if (mRejected.count(fileName) && !moveAside(fileName))
        return false;
    return !SaveFile::write(fileName, buffer.data(), buffer.size());
}

bool GameProperties::moveAside(const std::string& fileName)
{
    const std::string path = SaveFile::path(fileName);
    const std::string bad = path + ".bad";
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0) {
        // Gone already: nothing is lost by writing.
        mRejected.erase(fileName);
        return true;
    }
    // An older copy gives way to the newer damage.
    std::error_code ignored;
    std::filesystem::remove_all(bad, ignored);
    if (std::rename(path.c_str(), bad.c_str()) != 0) {
        VQ::logIfPossible(VQ::formatString("ERROR: Save file '%s' not written: the damaged file could not be moved "
                                           "aside (%s)",
                                           path.c_str(), std::strerror(errno)));
        return false;
    }
    VQ::logIfPossible(VQ::formatString("WARNING: Save file '%s' failed its checks; kept as '%s'", path.c_str(),
                                       bad.c_str()));
    mRejected.erase(fileName);
    return true;
}

bool GameProperties::load(uint64_t id)
{
    newProfile();
    const std::string fileName = profileFileName(id);
    mRejected.erase(fileName);
    struct stat info;
    if (::lstat(SaveFile::path(fileName).c_str(), &info) != 0)
        return false;
    // Whatever fails from here is kept aside before the first save over it;
    // the reader logs the reason.
    std::vector<uint8_t> payload(SaveFile::MAX_PAYLOAD_BYTES);
    const int read = SaveFile::read(fileName, payload.data(), payload.size());
    if (read == -1) {
        mRejected.insert(fileName);
        return false;
    }
    payload.resize(static_cast<size_t>(read));

    NamedBlobs sections;
    {
        AE::VectorStream stream(payload);
        sections = readSections(stream, fileName);
    }
    {
        // A file without the section reads it as empty: the profile keeps
        // its reset values.
        AE::VectorStream stream(sections[PROFILE_SECTION]);
        if (!mProfile->load(stream)) {
            mRejected.insert(fileName);
            newProfile();
            return false;
        }
    }
    for (const auto& [name, mode] : modes) {
        if (auto found = sections.find(name); found != sections.end()) {
            AE::VectorStream stream(found->second);
            mode->load(stream);
        }
    }
    if (auto found = sections.find(TUTORIAL_SECTION); found != sections.end()) {
        AE::VectorStream stream(found->second);
        TutorialRegistry::instance()->load(stream);
    }
    return true;
}

void GameProperties::resetProgress()
{
    mProfile->resetProgress();
    for (const auto& [name, mode] : modes)
        mode->resetProgress(true);
}

void GameProperties::newProfile()
{
    mProfile->reset();
    for (const auto& [name, mode] : modes)
        mode->resetProgress(false);
}

void GameProperties::startModes()
{
    for (const auto& [name, mode] : modes)
        mode->start();
}

void GameProperties::registerMainModeSocialListener()
{
    auto found = modes.find(MAIN_MODE);
    if (found == modes.end())
        return;
    if (auto* listener = dynamic_cast<FacebookMessageListener*>(found->second.get())) {
        // The campaign may be the first to listen; the application ends the
        // dispatcher with the rest of the social layer.
        if (!FacebookMessageDispatcher::exists())
            new FacebookMessageDispatcher();
        FacebookMessageDispatcher::instance()->addListener(listener);
    }
}
