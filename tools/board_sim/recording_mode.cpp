#include "recording_mode.h"

#include <lua.hpp>

#include <vector>

#include "chip.h"
#include "chip_selector.h"
#include "game_field.h"
#include "lua_context.h"

namespace {

// A chip by the cell under its position.
struct At {
    const Chip* chip;
};
std::ostream& operator<<(std::ostream& out, At at)
{
    return out << static_cast<int>(at.chip->x) << ',' << static_cast<int>(at.chip->y);
}

struct CellAt {
    const FieldCell* cell;
};
std::ostream& operator<<(std::ostream& out, CellAt at)
{
    return out << static_cast<int>(at.cell->column) << ',' << static_cast<int>(at.cell->row);
}

void printRun(std::ostream& out, const char* name, const std::vector<Chip*>& run)
{
    out << ' ' << name;
    for (const Chip* chip : run)
        out << ' ' << At{chip};
}

}  // namespace

// The level script's "GameField.stars"; 0 for each one missing.
void readStars(VQ::LuaContext& script, int stars[3])
{
    lua_State* state = script.state();
    VQ::LuaStackGuard guard(state);
    lua_getglobal(state, "GameField");
    if (!lua_istable(state, -1))
        return;
    lua_getfield(state, -1, "stars");
    for (int i = 0; i < 3; ++i) {
        stars[i] = 0;
        if (!lua_istable(state, -1))
            continue;
        lua_rawgeti(state, -1, i + 1);
        stars[i] = lua_isnumber(state, -1) ? static_cast<int>(lua_tonumber(state, -1)) : 0;
        lua_pop(state, 1);
    }
}

void RecordingMode::prepareLevel()
{
    if (campaign)
        campaign->prepareLevel();
}

void RecordingMode::update(float dt)
{
    if (campaign)
        campaign->update(dt);
}

void RecordingMode::onLevelBegin()
{
    mLevelBegun = true;
    mOut << "mode onLevelBegin\n";
    if (campaign)
        campaign->onLevelBegin();
}

void RecordingMode::onPlayerMove(FieldCell* a, FieldCell* b)
{
    mOut << "mode onPlayerMove " << CellAt{a} << ' ' << CellAt{b} << '\n';
    if (campaign)
        campaign->onPlayerMove(a, b);
}

void RecordingMode::setupLevelRules(VQ::LuaContext& script)
{
    mLevelBegun = false;
    mOut << "mode setupLevelRules\n";
    if (!campaign)
        return;
    readStars(script, level.starScores);
    campaign->setupLevelRules(script);
    rules->onSetUp();
    bonusRules->onSetUp();
}

void RecordingMode::onNoPossibleMoves()
{
    mOut << "mode onNoPossibleMoves\n";
    if (campaign)
        campaign->onNoPossibleMoves();
}

void RecordingMode::onChipDestroyed(const ChipSnapshot& snapshot)
{
    // Cell, colour, then the layer types bottom first.
    mOut << "mode onChipDestroyed " << snapshot.column << ',' << snapshot.row << ' ' << snapshot.colour << ' ';
    for (size_t i = 0; i < snapshot.types.size(); ++i)
        mOut << (i ? "/" : "") << snapshot.types[i];
    mOut << '\n';
    if (campaign)
        campaign->onChipDestroyed(snapshot);
}

void RecordingMode::addScore(const DestroyResult& result, Chip* chip)
{
    mOut << "mode addScore " << result.type << ' ' << result.score << ' ' << At{chip} << '\n';
    if (campaign)
        campaign->addScore(result, chip);
}

void RecordingMode::onTileHit(FieldCell* cell)
{
    // With the solidity left after the hit.
    mOut << "mode onTileHit " << CellAt{cell} << ' ' << cell->solidity << '\n';
    if (campaign)
        campaign->onTileHit(cell);
}

bool RecordingMode::onNeighbourDestroyed(Chip* destroyed, Chip* neighbour)
{
    mOut << "mode onNeighbourDestroyed " << At{destroyed} << ' ' << At{neighbour} << '\n';
    return campaign && campaign->onNeighbourDestroyed(destroyed, neighbour);
}

bool RecordingMode::onMatch(const ChipSelection& selection)
{
    mOut << "mode onMatch";
    printRun(mOut, "row", selection.rowRun);
    printRun(mOut, "column", selection.columnRun);
    mOut << '\n';
    return campaign && campaign->onMatch(selection);
}

bool RecordingMode::onBonusSwap(Chip* a, Chip* b)
{
    mOut << "mode onBonusSwap " << At{a} << ' ' << At{b} << '\n';
    return campaign && campaign->onBonusSwap(a, b);
}

GameHelper* RecordingMode::getHelper(int kind)
{
    return campaign ? campaign->getHelper(kind) : nullptr;
}
