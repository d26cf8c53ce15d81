// Save files on arbitrary bytes: the container reader, the id of
// "last_profile.dat", the profile file's section table, the profile
// section reader of every version and the campaign's "MainMode" section
// reader of every layout (over the shipped campaign) must reject or read a
// damaged or forged file within its bounds, never crash, hang, leak or read
// out of bounds.
//
// The input is read three ways: as a whole save file (checksum and tag
// checked), as a payload handed to the readers directly (the checksum would
// stop almost every mutation before the readers), and as the payload of a
// valid container on the game's own load path. The profile and campaign
// section readers also get the input as a section of their own, so every
// version is reached.
// Seeds: the golden save fixtures (fuzz/run.sh).

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "animationeditor/vector_stream.h"
#include "file_system.h"
#include "fuzz_support.h"
#include "game_properties.h"
#include "game_time.h"
#include "main_mode.h"
#include "platform_config.h"
#include "save_file.h"
#include "tutorial/tutorial_registry.h"
#include "tutorial/tutorial_lesson.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string gMemoryFolder;
MainMode* gMainMode = nullptr;
// Built once: its campaign mode reads the catalogue and every level's star
// scores, far slower than any input.
GameProperties* gProperties = nullptr;

void removeMemoryFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(gMemoryFolder, ignored);
}

int64_t fixedClock()
{
    return 1700000000;
}

void writeBytes(const std::string& path, const Bytes& header, const uint8_t* data, size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(header.data()), std::streamsize(header.size()));
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
}

// The checksum and this build's tag of a payload.
Bytes headerOf(const uint8_t* data, size_t size)
{
    Bytes header;
    for (uint32_t word : {SaveFile::checksum(data, size), SaveFile::tag()})
        for (int i = 0; i < 4; ++i)
            header.push_back(uint8_t(word >> (8 * i)));
    return header;
}

// A lesson that never acts: the section reader only places sequences.
class QuietLesson : public TutorialLesson {
public:
    QuietLesson() : TutorialLesson(nullptr) {}
    void onEvent(GameEvent*) override {}
};

// The shipped sequences' names, with a few lessons each, so that the
// "tutorial" section has positions to restore.
void addTutorialSequences()
{
    TutorialRegistry::destroy();
    for (const auto& [name, count] : {std::pair{"tutorial_basics_lua", 4}, {"tutorial_bonus_lua", 1},
                                      {"tutorial_booster_lua", 1}}) {
        std::vector<std::unique_ptr<TutorialLesson>> lessons;
        for (int i = 0; i < count; ++i)
            lessons.push_back(std::make_unique<QuietLesson>());
        TutorialRegistry::instance()->add(new TutorialSequence(name, std::move(lessons)));
    }
}

void readPayload(const Bytes& input)
{
    GameProperties::readLastProfileId(input);
    Bytes payload = input;
    AE::VectorStream stream(payload);
    NamedBlobs sections = GameProperties::readSections(stream, "input");
    PlayerProfile profile;
    AE::VectorStream profileSection(sections["profile"]);
    profile.load(profileSection);
    if (auto tutorial = sections.find("tutorial"); tutorial != sections.end()) {
        addTutorialSequences();
        AE::VectorStream tutorialSection(tutorial->second);
        TutorialRegistry::instance()->load(tutorialSection);
        // What was read saves whole.
        Bytes saved;
        AE::VectorStream out(saved);
        TutorialRegistry::instance()->save(out);
    }
    {
        // The input as a "tutorial" section of its own.
        addTutorialSequences();
        Bytes whole = input;
        AE::VectorStream tutorialSection(whole);
        TutorialRegistry::instance()->load(tutorialSection);
    }
    Bytes whole = input;
    AE::VectorStream wholeSection(whole);
    profile.load(wholeSection);

    for (Bytes* section : {&sections["MainMode"], &whole}) {
        gMainMode->resetProgress(false);
        AE::VectorStream stream(*section);
        gMainMode->load(stream);
        // What was read saves and reads back whole.
        Bytes saved;
        AE::VectorStream out(saved);
        gMainMode->save(out);
        AE::VectorStream back(saved);
        gMainMode->load(back);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const std::string folder = FuzzSupport::enterScratchFolder("save_file_fuzz");
    std::filesystem::create_directories("media");
    std::ofstream("media/platform_config.lua") << "platformCode = 0\nmodes = { { class = \"MainMode\" } }\n";
    std::filesystem::copy_file(std::string(LANTERRA_SOURCE_DIR) + "/media/scripts/main_mode.lua", "media/main_mode.lua",
                               std::filesystem::copy_options::overwrite_existing);
    VQ::contentRoot() = "./media/";
    // Every input is written to files: a memory file system keeps that quick.
    std::string dataHome = "/dev/shm/save_file_fuzz_XXXXXX";
    if (mkdtemp(dataHome.data())) {
        gMemoryFolder = dataHome;
        std::atexit(removeMemoryFolder);
    } else {
        dataHome = folder + "/data";
    }
    setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
    setTimeSource(fixedClock);
    VQ::setFatalErrorHook(FuzzSupport::throwOnFatal);
    // The readers warn about nearly every input: the log goes nowhere (the
    // fuzzer's own reports are on the standard error).
    FuzzSupport::startSilentLog();
    // The platform code and the campaign are all the save files need of
    // the engine. The campaign's level scripts are left out: without them
    // every level has the default star scores, which the section does not
    // hold.
    auto* fileSystem = new VQ::FileSystem();
    fileSystem->filesOfPackage("default")["platform_config_lua"] = "platform_config.lua";
    fileSystem->filesOfPackage("default")["main_mode_lua"] = "main_mode.lua";
    new PlatformConfig();
    gMainMode = new MainMode("");
    gProperties = new GameProperties();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > SaveFile::HEADER_BYTES + SaveFile::MAX_PAYLOAD_BYTES + 16)
        return -1;
    const std::string folder = SaveFile::path("");

    // As a whole file.
    writeBytes(folder + "input.dat", {}, data, size);
    SaveFile::payloadSize("input.dat");
    Bytes buffer(SaveFile::MAX_PAYLOAD_BYTES);
    SaveFile::read("input.dat", buffer.data(), 0);
    SaveFile::read("input.dat", buffer.data(), 3);

    // As a payload, straight to the readers.
    const Bytes input(data, data + size);
    readPayload(input);

    // As the payload of valid files, on the game's own load path: the first
    // 8 bytes name the profile file, which is the input itself.
    if (size > 0 && size <= SaveFile::MAX_PAYLOAD_BYTES) {
        const Bytes header = headerOf(data, size);
        const std::string profileFile =
            folder + GameProperties::profileFileName(GameProperties::readLastProfileId(input));
        writeBytes(folder + "last_profile.dat", header, data, size);
        writeBytes(profileFile, header, data, size);
        gProperties->loadLastProfile();
        std::filesystem::remove(profileFile);
    }
    TutorialRegistry::destroy();
    return 0;
}
