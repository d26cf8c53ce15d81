// Loads arbitrary text as a level script through GameField::loadLevel, with
// the campaign's level rules reading their tables (limit, goals, stars), on
// the headless board over the shipped content; a board that loaded plays a
// second of game time. A level that cannot load must leave an empty, still
// board. Inputs are kept safe to run as fuzz_support.h says. Seeds: the
// shipped levels (fuzz/run.sh).

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "board_sim.h"
#include "fuzz_support.h"
#include "game_field.h"

namespace {

std::string gScriptPath;
// Deleted by an exit handler registered once the board is up: a global's
// destructor would run after the engine's own statics (the scene registry)
// are gone, and the board's scenes reach them.
BoardSim* gSim = nullptr;
std::ostringstream gOut;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("ALSOFT_DRIVERS", "null", 0);
    const std::string folder = FuzzSupport::enterScratchFolder("level_script_fuzz");
    FuzzSupport::copyShippedMedia();
    gScriptPath = folder + "/media/levels/fuzz_level.lua";
    std::ofstream(gScriptPath) << "GameField = {}\n";
    BoardSim::useSeed(1);
    gSim = new BoardSim(gOut);
    gSim->enableRules();
    if (!gSim->start("./media/", "level_1_lua"))
        std::abort();
    std::atexit([] { delete gSim; });
    VQ::FileSystem::instance()->filesOfPackage("default")["fuzz_level_lua"] = "levels/fuzz_level.lua";
    // The board's log: every input would write to it.
    VQ::LogSystem::instance()->removeStreams();
    VQ::setFatalErrorHook(FuzzSupport::throwOnFatal);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!FuzzSupport::writeDataScript(data, size, gScriptPath))
        return -1;
    try {
        GameField& field = gSim->field();
        if (field.loadLevel("fuzz_level_lua")) {
            gSim->mode().prepareLevel();
            gSim->step(1.0f);
        } else if (field.lastRow() != -1 || field.active) {
            std::abort();
        }
    } catch (const FuzzSupport::FatalRaised&) {
    }
    gOut.str("");
    return 0;
}
