#include "recording_mode.h"

#include <vector>

#include "chip.h"
#include "chip_selector.h"
#include "game_field.h"
#include "game_helpers/bonus_gold_helper.h"
#include "game_helpers/goals_helper.h"
#include "game_helpers/ice_helper.h"
#include "game_helpers/passive_bonus.h"

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

void RecordingMode::prepareLevel()
{
    if (rules)
        rules->prepareLevel();
    if (bonusRules)
        bonusRules->prepareLevel();
}

void RecordingMode::onLevelBegin()
{
    mLevelBegun = true;
    mOut << "mode onLevelBegin\n";
    if (rules)
        rules->onLevelBegin();
    if (bonusRules)
        bonusRules->onLevelBegin();
}

void RecordingMode::onPlayerMove(FieldCell* a, FieldCell* b)
{
    mOut << "mode onPlayerMove " << CellAt{a} << ' ' << CellAt{b} << '\n';
    if (rules)
        rules->onPlayerMove(b);
}

void RecordingMode::setupLevelRules(VQ::LuaContext& script)
{
    mLevelBegun = false;
    mOut << "mode setupLevelRules\n";
    if (rules)
        rules->setupLevelRules(script);
    if (bonusRules)
        bonusRules->setupLevelRules();
}

void RecordingMode::onNoPossibleMoves()
{
    mOut << "mode onNoPossibleMoves\n";
}

void RecordingMode::onChipDestroyed(const ChipSnapshot& snapshot)
{
    // Cell, colour, then the layer types bottom first.
    mOut << "mode onChipDestroyed " << snapshot.column << ',' << snapshot.row << ' ' << snapshot.colour << ' ';
    for (size_t i = 0; i < snapshot.types.size(); ++i)
        mOut << (i ? "/" : "") << snapshot.types[i];
    mOut << '\n';
    if (rules)
        rules->onChipDestroyed(snapshot);
}

void RecordingMode::addScore(const DestroyResult& result, Chip* chip)
{
    mOut << "mode addScore " << result.type << ' ' << result.score << ' ' << At{chip} << '\n';
    if (rules)
        rules->addScore(result, chip);
}

void RecordingMode::onTileHit(FieldCell* cell)
{
    // With the solidity left after the hit.
    mOut << "mode onTileHit " << CellAt{cell} << ' ' << cell->solidity << '\n';
    if (rules)
        rules->onTileHit(cell);
}

bool RecordingMode::onNeighbourDestroyed(Chip* destroyed, Chip* neighbour)
{
    mOut << "mode onNeighbourDestroyed " << At{destroyed} << ' ' << At{neighbour} << '\n';
    return rules && rules->onNeighbourDestroyed(destroyed, neighbour);
}

bool RecordingMode::onMatch(const ChipSelection& selection)
{
    mOut << "mode onMatch";
    printRun(mOut, "row", selection.rowRun);
    printRun(mOut, "column", selection.columnRun);
    mOut << '\n';
    return bonusRules && bonusRules->onMatch(selection);
}

bool RecordingMode::onBonusSwap(Chip* a, Chip* b)
{
    mOut << "mode onBonusSwap " << At{a} << ' ' << At{b} << '\n';
    return bonusRules && bonusRules->onBonusSwap(a, b);
}

GameHelper* RecordingMode::getHelper(int kind)
{
    if (!rules)
        return nullptr;
    LimitHelper* limit = rules->limit();
    switch (kind) {
    case 1:
    case 2:
        return limit && limit->getType() == kind ? limit : nullptr;
    case 4:
        return bonusRules ? bonusRules->panel() : nullptr;
    case 5:
        return rules->ice();
    case 6:
        return bonusRules ? bonusRules->boosters() : nullptr;
    case 7:
        return rules->goals();
    default:
        return nullptr;
    }
}
