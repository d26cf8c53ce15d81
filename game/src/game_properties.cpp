#include "game_properties.h"

#include "animationeditor/vector_stream.h"
#include "facebook_message_dispatcher.h"
#include "log_system.h"
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

    const int size = SaveFile::payloadSize(LAST_PROFILE_FILE);
    if (size == -1)
        return;
    std::vector<uint8_t> payload(static_cast<size_t>(size), 0);
    const int read = SaveFile::read(LAST_PROFILE_FILE, payload.data(), payload.size());
    // A file that fails its checksum or tag leaves zeros: profile 0.
    if (read >= 0)
        payload.resize(static_cast<size_t>(read));
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
    return !SaveFile::write(profileFileName(mProfile->profileId), buffer.data(), buffer.size());
}

bool GameProperties::load(uint64_t id)
{
    newProfile();
    const std::string fileName = profileFileName(id);
    const int size = SaveFile::payloadSize(fileName);
    if (size == -1)
        return false;
    std::vector<uint8_t> payload(static_cast<size_t>(size));
    const int read = SaveFile::read(fileName, payload.data(), payload.size());
    if (read == -1)
        return false;
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
        mProfile->load(stream);
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
