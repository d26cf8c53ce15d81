// Loads arbitrary text as a lesson script through TutorialSequence, then
// hands the lessons the events that open no window (a chip destroyed, the
// start window shown, a bonus used, the screen turned) and asks them about
// board cells, as a level would; inputs are kept to data as fuzz_support.h
// says.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "chip.h"
#include "fatal_error.h"
#include "file_system.h"
#include "fuzz_support.h"
#include "game_event.h"
#include "tutorial/tutorial_registry.h"

namespace {
std::string gScriptPath;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    gScriptPath = FuzzSupport::startScriptFuzz("tutorial_lessons_fuzz", "tutorial_fuzz_lua", "tutorial_fuzz.lua");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!FuzzSupport::writeDataScript(data, size, gScriptPath))
        return -1;
    try {
        TutorialRegistry* registry = TutorialRegistry::instance();
        registry->add(new TutorialSequence("tutorial_fuzz_lua"));
        Chip chip;
        for (int cell = 0; cell < 4; ++cell) {
            chip.x = static_cast<float>(cell);
            chip.y = static_cast<float>(cell);
            registry->dispatchEvent(new DestroyChipGameEvent(ChipSnapshot(chip)));
            const int asked[2] = {cell, cell + 1};
            registry->isCellAllowed(asked);
        }
        registry->dispatchEvent(new PlayLevelWindowGameEvent(nullptr));
        for (int action = 0; action < 3; ++action)
            registry->dispatchEvent(new BonusEvent(action, action));
        registry->dispatchEvent(new GameEvent(GameEvent::ORIENTATION_CHANGED));
        registry->update(0.016f);
        registry->isLessonActive();
        registry->reset();
    } catch (const FuzzSupport::FatalRaised&) {
    }
    TutorialRegistry::destroy();
    return 0;
}
