#include "chip_selector.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "chip.h"
#include "game_field.h"

namespace {

enum MemberState { STOP = 0, MEMBER = 1, CANCEL = 2 };

MemberState memberState(const Chip* candidate, const Chip* reference)
{
    // The colour first: it turns most neighbours away, and costs least.
    if (candidate->colour != reference->colour || candidate->layers.empty() || candidate->released ||
        !candidate->canIterateWithGroup())
        return STOP;
    if (candidate->falling && !candidate->hasUserData("lock"))
        return CANCEL;
    return MEMBER;
}

// How many members a run has from the chip in one direction (`limit` cells
// at most), without building it; -1 when a chip still falling cuts the axis
// off, which then holds no run at all.
int reach(GameField* field, const Chip* chip, int column, int row, int dx, int dy, int limit)
{
    int members = 0;
    for (int d = 1; d < limit; ++d) {
        const FieldCell* cell = field->cellAt(column + dx * d, row + dy * d);
        const MemberState state = cell && cell->chip ? memberState(cell->chip, chip) : STOP;
        if (state == STOP)
            break;
        if (state == CANCEL)
            return -1;
        ++members;
    }
    return members;
}

// The length of the run along one axis, as collectRuns would build it.
int axisLength(GameField* field, const Chip* chip, int column, int row, int dx, int dy, int limit)
{
    const int forward = reach(field, chip, column, row, dx, dy, limit);
    const int backward = forward < 0 ? -1 : reach(field, chip, column, row, -dx, -dy, limit);
    return backward < 0 ? 0 : 1 + forward + backward;
}

std::map<std::string, std::unique_ptr<ChipSelector>>& selectorCache()
{
    static std::map<std::string, std::unique_ptr<ChipSelector>> cache;
    return cache;
}

}  // namespace

int matchCount(const ChipSelection& selection)
{
    const int row = static_cast<int>(selection.rowRun.size());
    const int column = static_cast<int>(selection.columnRun.size());
    return (row >= 3 ? row : 0) + (column >= 3 ? column : 0);
}

ChipSelection collectRuns(GameField* field, Chip* chip)
{
    if (!chip || chip->released || chip->falling || chip->layers.empty() || !chip->canIterateWithGroup() ||
        chip->hasUserData("lock"))
        return {};
    const int column = static_cast<int>(chip->x);
    const int row = static_cast<int>(chip->y);
    const int limit = std::max(field->gridWidth, field->gridHeight + 1);
    // Most chips of a settled board are in no run: a count along each axis
    // tells so without building one.
    if (axisLength(field, chip, column, row, 1, 0, limit) < 3 && axisLength(field, chip, column, row, 0, 1, limit) < 3)
        return {};
    ChipSelection selection;
    selection.rowRun.push_back(chip);
    selection.columnRun.push_back(chip);

    struct Direction {
        int dx, dy;
        bool open;
    };
    // Right, left, down, up: the order in which runs list chips at equal
    // distance.
    Direction directions[4] = {{1, 0, true}, {-1, 0, true}, {0, 1, true}, {0, -1, true}};
    for (int d = 1; d < limit; ++d) {
        bool anyOpen = false;
        for (Direction& direction : directions)
            anyOpen = anyOpen || direction.open;
        if (!anyOpen)
            break;
        for (int i = 0; i < 4; ++i) {
            Direction& direction = directions[i];
            if (!direction.open)
                continue;
            const bool horizontal = direction.dy == 0;
            const FieldCell* cell = field->cellAt(column + direction.dx * d, row + direction.dy * d);
            const MemberState state = cell && cell->chip ? memberState(cell->chip, chip) : STOP;
            if (state == STOP) {
                direction.open = false;
            } else if (state == MEMBER) {
                (horizontal ? selection.rowRun : selection.columnRun).push_back(cell->chip);
            } else {
                // A chip still falling into the run may yet change it: the
                // whole axis is given up, the starting chip included.
                (horizontal ? selection.rowRun : selection.columnRun).clear();
                directions[horizontal ? 0 : 2].open = false;
                directions[horizontal ? 1 : 3].open = false;
            }
        }
    }
    if (matchCount(selection) > 0)
        return selection;
    return {};
}

ChipSelection NearestChipSameGroupSelector::select(GameField* field, Chip* chip)
{
    const ChipSelection own = collectRuns(field, chip);
    if (matchCount(own) == 0)
        return {};
    ChipSelection best = own;
    int bestCount = matchCount(best);
    for (const std::vector<Chip*>* run : {&own.rowRun, &own.columnRun}) {
        for (Chip* member : *run) {
            ChipSelection other = collectRuns(field, member);
            const int count = matchCount(other);
            if (count > bestCount) {
                best = std::move(other);
                bestCount = count;
            }
        }
    }
    return best;
}

ChipSelector* createChipSelector(const char* name)
{
    auto& cache = selectorCache();
    auto it = cache.find(name);
    if (it != cache.end())
        return it->second.get();
    std::unique_ptr<ChipSelector> selector;
    if (std::strcmp(name, "AllChipsSameGroupSelector") == 0)
        selector = std::make_unique<AllChipsSameGroupSelector>();
    else
        selector = std::make_unique<NearestChipSameGroupSelector>();
    ChipSelector* result = selector.get();
    cache.emplace(name, std::move(selector));
    return result;
}

void clearChipSelectorCache()
{
    selectorCache().clear();
}
