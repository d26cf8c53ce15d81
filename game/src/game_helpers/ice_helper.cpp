#include "game_helpers/ice_helper.h"

#include <lua.hpp>

#include <algorithm>
#include <deque>
#include <vector>

#include "behavior.h"
#include "board_renderer.h"
#include "chip.h"
#include "chip_manager.h"
#include "field_effects.h"
#include "game_field.h"
#include "lua_context.h"
#include "task_manager.h"

namespace {

bool isIce(const Chip* chip)
{
    return chip->hasBehavior(BEHAVIOR_ICE) || chip->hasBehavior(BEHAVIOR_ICE_CHIP1) ||
           chip->hasBehavior(BEHAVIOR_ICE_CHIP2) || chip->hasBehavior(BEHAVIOR_ICE_CHIP3);
}

// A number or a numeric string of the table; `fallback` otherwise.
double tableNumber(lua_State* state, int table, const char* key, double fallback)
{
    lua_getfield(state, table, key);
    const double value = lua_isnumber(state, -1) ? lua_tonumber(state, -1) : fallback;
    lua_pop(state, 1);
    return value;
}

Behavior* findLayer(Chip* chip, int type)
{
    for (Behavior* layer : chip->layers.objects)
        if (layer->type == type)
            return layer;
    return nullptr;
}

}  // namespace

IceHelper::IceHelper()
{
    frost[0].reset(createBehavior(BEHAVIOR_ICE_CHIP1, -1));
    frost[1].reset(createBehavior(BEHAVIOR_ICE_CHIP2, -1));
    frost[2].reset(createBehavior(BEHAVIOR_ICE_CHIP3, -1));
}

IceHelper::~IceHelper() = default;

void IceHelper::readLevelSettings(VQ::LuaContext& script)
{
    lua_State* state = script.state();
    VQ::LuaStackGuard guard(state);
    lua_getglobal(state, "GameField");
    const int table = lua_gettop(state);
    timed = false;
    radius = DEFAULT_RADIUS;
    if (lua_istable(state, table)) {
        // Any limit kind but moves is a timer, as the mode decides.
        timed = static_cast<int>(tableNumber(state, table, "LevelLimitType", 0.0)) != 0;
        if (timed)
            spreadCounter = static_cast<int>(tableNumber(state, table, "LevelLimit", 0.0)) - SPREAD_PERIOD;
        radius = std::max(1, static_cast<int>(tableNumber(state, table, "radius", DEFAULT_RADIUS)));
    }
    spreadPending = false;
}

void IceHelper::update(float)
{
    if (!takeSettledStep(spreadPending))
        return;
    spread();
}

void IceHelper::onLimitChanged(int, int current)
{
    if (!timed)
        return;
    if (spreadCounter >= current) {
        spread();
        spreadCounter -= SPREAD_PERIOD;
    } else if (spreadCounter + SPREAD_PERIOD < current) {
        // Time was bought: the next spread comes a period below the new time.
        spreadCounter = current - SPREAD_PERIOD;
    }
}

bool IceHelper::onNeighbourDestroyed(Chip* neighbour, Chip* destroyed)
{
    GameField* field = currentGameField();
    if (!field || isIce(destroyed) || destroyed->hasBehavior(BEHAVIOR_WALL) || destroyed->hasBehavior(BEHAVIOR_DWALL) ||
        destroyed->hasBehavior(BEHAVIOR_CWALL) || !isIce(neighbour))
        return false;
    neighbour->destroyInField(field, false, false);
    return true;
}

void IceHelper::spread()
{
    GameField* field = currentGameField();
    if (!field || !field->chipManager || field->rows.empty())
        return;
    std::vector<Chip*> targets;
    // Each cell's best remaining depth so far: a cell reached again with no
    // more depth can reach nothing new, which keeps a large radius cheap.
    std::vector<std::vector<int>> best(field->rows.size());
    for (size_t row = 0; row < field->rows.size(); ++row)
        best[row].assign(field->rows[row].size(), -1);
    struct Visit {
        int column, row, depth;
    };
    std::deque<Visit> queue;
    auto around = [&queue](int column, int row, int depth) {
        queue.push_back({column - 1, row, depth});
        queue.push_back({column + 1, row, depth});
        queue.push_back({column, row - 1, depth});
        queue.push_back({column, row + 1, depth});
    };
    for (const auto& owned : field->chipManager->chips) {
        Chip* source = owned.get();
        if (source->released || !source->hasBehavior(BEHAVIOR_ICE))
            continue;
        if (field->renderer)
            field->renderer->effectList().add(new FreezingRingEffect({source->x, source->y}, static_cast<float>(radius)));
        around(static_cast<int>(source->x), static_cast<int>(source->y), radius - 1);
        while (!queue.empty()) {
            const Visit visit = queue.front();
            queue.pop_front();
            FieldCell* cell = field->cellAt(visit.column, visit.row);
            if (!cell || cell->solidity == 0 || !cell->chip)
                continue;
            Chip* chip = cell->chip;
            if (chip->released || chip->hasBehavior(BEHAVIOR_ICE) || chip->hitThisPass)
                continue;
            if (chip->hasBehavior(BEHAVIOR_ICE_CHIP3)) {
                int& seen = best[visit.row][visit.column];
                if (visit.depth > 0 && visit.depth > seen) {
                    seen = visit.depth;
                    around(visit.column, visit.row, visit.depth - 1);
                }
            } else if (chip->hasBehavior(BEHAVIOR_SIMPLE) &&
                       std::find(targets.begin(), targets.end(), chip) == targets.end()) {
                targets.push_back(chip);
            }
        }
    }
    for (Chip* chip : targets) {
        if (chip->hitThisPass || chip == field->selectedChip)
            continue;
        int stage = 0;
        if (Behavior* layer = findLayer(chip, BEHAVIOR_ICE_CHIP2)) {
            chip->layers.remove(layer);
            delete layer;
            stage = 2;
        } else if (Behavior* layer = findLayer(chip, BEHAVIOR_ICE_CHIP1)) {
            chip->layers.remove(layer);
            delete layer;
            stage = 1;
        }
        chip->layers.add(frost[stage]->clone());
    }
}
