#include "game_field.h"

#include <lua.hpp>

#include <algorithm>
#include <cstddef>

#include "animation.h"
#include "board_renderer.h"
#include "chip.h"
#include "chip_appearence.h"
#include "chip_manager.h"
#include "chip_selector.h"
#include "drawable.h"
#include "fatal_error.h"
#include "game_level.h"
#include "log_system.h"
#include "lua_context.h"
#include "lua_script_2.h"
#include "mode.h"
#include "move_hint.h"
#include "random.h"
#include "random_seed.h"
#include "sound_system/sound_manager.h"
#include "task_manager.h"

namespace {

constexpr int MAX_GRID_WIDTH = 256;   // columns are stored in a byte
constexpr int MAX_GRID_HEIGHT = 255;  // so are rows, and row 0 comes on top
constexpr int PLACEMENT_ATTEMPTS = 10;
constexpr float APPEARANCE_SPEED = 0.85f;
const char* const COLOUR_LETTERS[6] = {"R", "G", "B", "M", "Y", "O"};

// A number or a numeric string, truncated.
bool intField(lua_State* state, int table, const char* key, int& out)
{
    lua_getfield(state, table, key);
    const bool numeric = lua_isnumber(state, -1) != 0;
    if (numeric)
        out = VQ::luaNumberToInt(lua_tonumber(state, -1));
    lua_pop(state, 1);
    return numeric;
}

// A string, or a number taken as text.
bool textValue(lua_State* state, int index, std::string& out)
{
    const int type = lua_type(state, index);
    if (type != LUA_TSTRING && type != LUA_TNUMBER)
        return false;
    // lua_tolstring would turn a number key into a string in place; copy it.
    lua_pushvalue(state, index);
    size_t length = 0;
    const char* text = lua_tolstring(state, -1, &length);
    out.assign(text, length);
    lua_pop(state, 1);
    return true;
}

bool textField(lua_State* state, int table, const char* key, std::string& out)
{
    lua_getfield(state, table, key);
    const bool found = textValue(state, -1, out);
    lua_pop(state, 1);
    return found;
}

// Calls body(index of the element) for every table element of the array at
// `list`, in array order.
template <typename Body>
void forEachTableElement(lua_State* state, int list, Body body)
{
    const int count = static_cast<int>(lua_objlen(state, list));
    for (int i = 1; i <= count; ++i) {
        VQ::LuaStackGuard guard(state);
        lua_rawgeti(state, list, i);
        if (lua_istable(state, -1))
            body(lua_gettop(state));
    }
}

struct LevelChipRecord {
    std::string type;
    int column = 0;
    int row = 0;
    int radius = 1;
    UserDataMap data;
};

}  // namespace

FieldCell::FieldCell() = default;
FieldCell::~FieldCell() = default;
FieldCell::FieldCell(FieldCell&&) noexcept = default;
FieldCell& FieldCell::operator=(FieldCell&&) noexcept = default;

void AppearanceSequence::clear()
{
    for (ChipAppearence* appearance : appearances)
        delete appearance;
    appearances.clear();
    current = 0;
}

ChipAppearence* AppearanceSequence::currentAppearance() const
{
    return current < appearances.size() ? appearances[current] : nullptr;
}

bool AppearanceSequence::isRunning() const
{
    const ChipAppearence* appearance = currentAppearance();
    return appearance && !appearance->isFinished();
}

GameField::GameField() = default;

GameField::GameField(GameLevel* owner) : level(owner)
{
    initialize();
}

GameField::~GameField()
{
    if (chipManager)
        clearBoard();
    moveHint.reset();
    taskManager.reset();
    appearance.reset();
    deleteEffectDrawables();
    chipManager = nullptr;
}

void GameField::initialize()
{
    chipManager = ChipManager::instance();
    VQ::log("void GameField::initialize() -begin");
    VQ::log("ChipManager initialized...");
    taskManager = std::make_unique<TaskManager>();
    appearance = std::make_unique<AppearanceSequence>(this);
    moveHint = std::make_unique<MoveHint>(this);
    effectDrawables.reserve(100);
    VQ::log("void GameField::initialize() -end");
    createWaveEffects();

    VQ::SoundManager* sound = VQ::SoundManager::instance();
    tileSound = sound->acquireResource("tile_destroy_sound");
    if (tileSound == 0) {
        VQ::SoundDescription description;
        description.filename = "tile_destroy_sound";
        description.group = 0;
        description.volume = 1.0f;
        description.looped = 0;
        description.priority = 11;
        tileSound = sound->registerResource(description);
    }
    readParameters();
}

void GameField::readParameters()
{
    gridWidth = 21;
    gridHeight = 15;
    cellSize = 43;
    chipInitialMovingSpeed = CHIP_START_FALL_SPEED;
    float estimateSuspendTime = 0.0f;
    chipAcceleration = 20.0f;
    int drawAll = 1;
    maxChipOffset = 0.5f;
    chipHotspotPeriod = 5.0f;
    chipHotspotAnimationSpeed = 1.0f;
    cellHotspotPeriod = 5.0f;
    progressbarFlaskHeight = 440.0f;
    hintPeriod = 5.0f;
    chipHotspotDelayCoeff = 1.0f;
    comboTimerAttenuation = 1.0f;
    comboTimerInitialValue = 1.0f;
    fallShaking = 0.08f;
    fallShakingTime = 0.15f;
    boomShakePower = 0.75f;
    boomShakeTime = 0.6f;

    VQ::LuaScript2 script;
    if (!script.load("gamefield_lua", "default"))
        VQ::assertFailed("VQ", "Failed to load config file", "GameField", 247);
    if (!script.openTable("Parameters"))
        VQ::assertFailed("VQ", "", "GameField", 248);
    // Each key keeps its value when absent or not numeric.
    script.getInt("gridWidth", gridWidth, gridWidth);
    script.getInt("gridHeight", gridHeight, gridHeight);
    script.getInt("cellSize", cellSize, cellSize);
    script.getFloat("chipInitialMovingSpeed", chipInitialMovingSpeed, chipInitialMovingSpeed);
    script.getFloat("estimateSuspendTime", estimateSuspendTime, estimateSuspendTime);
    script.getFloat("chipAcceleration", chipAcceleration, chipAcceleration);
    script.getInt("drawBehaviors", drawAll, drawAll);
    script.getFloat("maxChipOffset", maxChipOffset, maxChipOffset);
    script.getFloat("chipHotspotPeriod", chipHotspotPeriod, chipHotspotPeriod);
    script.getFloat("chipHotspotAnimationSpeed", chipHotspotAnimationSpeed, chipHotspotAnimationSpeed);
    script.getFloat("cellHotspotPeriod", cellHotspotPeriod, cellHotspotPeriod);
    script.getFloat("progressbarFlaskHeight", progressbarFlaskHeight, progressbarFlaskHeight);
    script.getFloat("hintPeriod", hintPeriod, hintPeriod);
    script.getFloat("chipHotspotDelayCoeff", chipHotspotDelayCoeff, chipHotspotDelayCoeff);
    script.getFloat("comboTimerAttenuation", comboTimerAttenuation, comboTimerAttenuation);
    script.getFloat("comboTimerInitialValue", comboTimerInitialValue, comboTimerInitialValue);
    script.getFloat("fallShaking", fallShaking, fallShaking);
    script.getFloat("fallShakingTime", fallShakingTime, fallShakingTime);
    script.getFloat("boomShakePower", boomShakePower, boomShakePower);
    script.getFloat("boomShakeTime", boomShakeTime, boomShakeTime);
    script.closeTable();
    drawBehaviors = drawAll != 0;
    suspendTime = estimateSuspendTime;

    // Cells keep their column and row in bytes, and every position in cell
    // units is divided by nothing but scaled by the cell size.
    if (gridWidth < 1 || gridWidth > MAX_GRID_WIDTH || gridHeight < 1 || gridHeight > MAX_GRID_HEIGHT ||
        cellSize < 1)
        VQ::assertFailed("VQ",
                         VQ::formatString("Failed to load config file: gridWidth %d (1 to %d), gridHeight %d "
                                          "(1 to %d), cellSize %d (at least 1)",
                                          gridWidth, MAX_GRID_WIDTH, gridHeight, MAX_GRID_HEIGHT, cellSize),
                         "GameField", 247);
}

void GameField::clearBoard()
{
    // The appearances point at chips that are about to go.
    if (appearance)
        appearance->clear();
    rows.clear();
    if (taskManager)
        taskManager->clear();
    chipManager->available.clear();
    chipManager->clearChips();
    selectedChip = nullptr;
}

void GameField::countGoalUnits()
{
    goalUnits = 0;
    for (const auto& row : rows)
        for (const FieldCell& cell : row)
            if (cell.solidity > 1)
                goalUnits += cell.solidity - 1;
    // Placements the loader replaced stay in the pool, released but with
    // their layers; they are off the board and count for nothing.
    for (const auto& chip : chipManager->chips)
        if (!chip->released)
            goalUnits += chip->layers.countLevelGoals();
}

void GameField::deleteEffectDrawables()
{
    for (EffectDrawable& entry : effectDrawables)
        delete entry.drawable;
    effectDrawables.clear();
}

bool GameField::loadLevel(const std::string& name)
{
    selectedChip = nullptr;
    Chip::landingCounter = 0;
    VQ::log(VQ::formatString("Loading level '%s'", name.c_str()));
    clearBoard();
    if (renderer)
        renderer->clearDrawList();
    deleteEffectDrawables();
    // A level that fails to load leaves the board still.
    active = false;
    levelName = name;

    VQ::LuaContext lua;
    lua_State* state = lua.state();
    std::string error;
    if (!lua.runFile(name, &error)) {
        VQ::log(VQ::formatString("ERROR: Level '%s' could not be loaded or run%s%s", name.c_str(),
                                 error.empty() ? " (not found)" : ": ", error.c_str()));
        return false;
    }
    if (Mode* current = mode())
        current->setupLevelRules(lua);
    {
        VQ::LuaStackGuard guard(state);
        lua_getglobal(state, "GameField");
        if (!lua_istable(state, -1)) {
            VQ::log(VQ::formatString("ERROR: Level '%s' has no GameField table", name.c_str()));
            return false;
        }
        if (!readLevelTables(state, lua_gettop(state)))
            return false;
    }
    countGoalUnits();
    VQ::log("Loading done.");

    startAppearance();
    hotspotTime = chipHotspotPeriod;
    idleTime = 0.0f;
    buildCellAppearAnimations();
    if (ChipAppearence* current = appearance->currentAppearance())
        current->update(0.0f);
    moveHint->reset();
    if (renderer) {
        renderer->clearDistortionSources();
        renderer->effectList().clear();
    }
    holdTime = 0.0f;
    active = spawnEnabled = gravityEnabled = true;
    levelBeginReported = false;
    if (renderer)
        renderer->createCellHighlights();
    return true;
}

bool GameField::readLevelTables(lua_State* state, int table)
{
    fallDelays.clear();
    lua_getfield(state, table, "Grid");
    const int grid = lua_gettop(state);
    if (!lua_istable(state, grid)) {
        // Every later step walks the cells.
        VQ::log(VQ::formatString("ERROR: Level '%s' has no Grid table", levelName.c_str()));
        return false;
    }
    buildGrid();
    lua_getfield(state, grid, "Cells");
    if (lua_istable(state, -1))
        readCells(state, lua_gettop(state));
    relinkChips();

    lua_getfield(state, table, "AvailableChips");
    if (lua_istable(state, -1))
        readAvailableChips(state, lua_gettop(state));
    chipManager->buildDropTable();

    lua_getfield(state, table, "Chips");
    if (lua_istable(state, -1))
        placeLevelChips(state, lua_gettop(state));
    return true;
}

void GameField::buildGrid()
{
    rows.clear();
    rows.reserve(static_cast<std::size_t>(gridHeight) + 1);
    for (int row = 0; row <= gridHeight; ++row) {
        std::vector<FieldCell> cells(static_cast<std::size_t>(gridWidth));
        for (int column = 0; column < gridWidth; ++column) {
            cells[column].column = static_cast<uint8_t>(column);
            cells[column].row = static_cast<uint8_t>(row);
        }
        rows.push_back(std::move(cells));
    }
}

void GameField::readCells(lua_State* state, int cells)
{
    forEachTableElement(state, cells, [&](int entry) {
        int column = 0, row = 0, solidity = 1;
        intField(state, entry, "PosX", column);
        intField(state, entry, "PosY", row);
        intField(state, entry, "Solidity", solidity);
        if (column >= 0 && column < gridWidth && row >= 1 && row <= gridHeight)
            rows[row][column].solidity = solidity;
    });
}

void GameField::readAvailableChips(lua_State* state, int list)
{
    chipManager->totalDropRate = 0.0f;
    const int count = static_cast<int>(lua_objlen(state, list));
    for (int i = 1; i <= count; ++i) {
        VQ::LuaStackGuard guard(state);
        lua_rawgeti(state, list, i);
        std::string name;
        if (!textValue(state, -1, name))
            continue;
        ChipPrototype* prototype = chipManager->findPrototype(name);
        if (!prototype) {
            VQ::log(VQ::formatString("WARNING: Level '%s' offers the unknown chip '%s'", levelName.c_str(),
                                     name.c_str()));
            continue;
        }
        chipManager->available[name] = prototype;
        chipManager->totalDropRate += prototype->dropRateInUse;
    }
}

void GameField::placeLevelChips(lua_State* state, int list)
{
    seedRandomFromCounter();
    std::vector<LevelChipRecord> records;
    forEachTableElement(state, list, [&](int entry) {
        LevelChipRecord record;
        if (!textField(state, entry, "Type", record.type) || !intField(state, entry, "PosX", record.column) ||
            !intField(state, entry, "PosY", record.row)) {
            VQ::log(VQ::formatString("WARNING: Level '%s' has a chip without a Type, PosX or PosY; skipped",
                                     levelName.c_str()));
            return;
        }
        intField(state, entry, "Radius", record.radius);
        lua_getfield(state, entry, "data");
        const int data = lua_gettop(state);
        if (lua_istable(state, data)) {
            std::vector<const char*> keys;
            if (record.type.compare(0, 9, "ChainBomb") == 0)
                keys = {"limit", "chains"};
            else if (record.type == "ChipGenerator")
                keys = {"limit", "radius"};
            for (const char* key : keys) {
                int value = 0;
                if (intField(state, data, key, value))
                    record.data[key] = DataSlot(value);
            }
        }
        if (record.column >= 0 && record.column < gridWidth && record.row >= 1 && record.row <= gridHeight)
            records.push_back(std::move(record));
    });

    const int candidates = static_cast<int>(chipManager->dropCandidates.size());
    auto lineThrough = [&](Chip* chip) {
        return chip && chip->selector && matchCount(chip->selector->select(this, chip)) > 0;
    };
    for (int attemptsLeft = PLACEMENT_ATTEMPTS; attemptsLeft > 0; --attemptsLeft) {
        for (const LevelChipRecord& record : records) {
            FieldCell& cell = rows[record.row][record.column];
            if (cell.chip)
                cell.chip->released = true;
            cell.chip = chipManager->createChip(record.type, record.column, record.row, record.radius, record.data);
            if (record.type != "Random" && !record.type.empty())
                continue;
            for (int k = 0; k < candidates && lineThrough(cell.chip); ++k) {
                cell.chip->released = true;
                cell.chip = chipManager->createChip(VQ::formatString("Simple_%s", COLOUR_LETTERS[k % 6]),
                                                    record.column, record.row, record.radius, record.data);
            }
        }
        bool lineFound = false;
        for (const LevelChipRecord& record : records) {
            if (lineThrough(rows[record.row][record.column].chip)) {
                lineFound = true;
                break;
            }
        }
        FieldCell* pair[2] = {nullptr, nullptr};
        moveHint->findMove(pair);
        if (!lineFound && pair[0])
            break;
    }
}

void GameField::startAppearance()
{
    appearance->clear();
    appearance->appearances.push_back(new ChipAppearenceCross(APPEARANCE_SPEED));
    appearance->appearances.push_back(new ChipAppearenceLine(APPEARANCE_SPEED));
    const int size = static_cast<int>(appearance->appearances.size());
    appearance->current = static_cast<unsigned>(std::min(size - 1, VQ::rand() * size / VQ::RAND_MAX_VALUE));
    appearance->appearances[appearance->current]->apply(this);
}

void GameField::buildCellAppearAnimations()
{
    const float span = static_cast<float>(gridHeight + gridWidth);
    const VQ::Color transparentWhite(0x00FFFFFFu);
    const VQ::Color opaqueWhite(0xFFFFFFFFu);
    for (int row = lastRow(); row >= 1; --row) {
        for (int column = 0; column < columnCount(); ++column) {
            FieldCell& cell = rows[row][column];
            cell.screenPosition = VQ::Vector2f(static_cast<float>(cellSize * column), static_cast<float>(cellSize * row));
            auto animation = std::make_unique<VQ::Animation>();
            animation->loop = false;
            animation->speed = 1.0f;
            animation->bindVector2("pos", &cell.screenPosition);
            animation->bindVector2("scale", &cell.scale);
            animation->bindFloat("angle", &cell.angle);
            animation->bindColor("color", &cell.color);
            const float wait = 1.0f - static_cast<float>(column + row) / span;
            for (float duration : {wait, 0.25f, 0.25f, 0.0f})
                animation->addFrame(duration);
            const VQ::Vector2f at = cell.screenPosition;
            const VQ::Vector2f away(at.x - 256.0f, at.y - 128.0f);
            const struct {
                VQ::Vector2f pos, scale;
                float angle;
                VQ::Color color;
            } keys[4] = {
                {away, {0.0f, 0.0f}, 180.0f, transparentWhite},
                {away, {0.0f, 0.0f}, 180.0f, transparentWhite},
                {{at.x, at.y - 128.0f}, {0.5f, 0.5f}, 90.0f, transparentWhite},
                {at, {1.0f, 1.0f}, 0.0f, opaqueWhite},
            };
            for (unsigned frame = 0; frame < 4; ++frame) {
                *animation->vector2KeyAt("pos", frame) = keys[frame].pos;
                *animation->vector2KeyAt("scale", frame) = keys[frame].scale;
                *animation->floatKeyAt("angle", frame) = keys[frame].angle;
                *animation->colorKeyAt("color", frame) = keys[frame].color;
            }
            animation->playing = true;
            cell.appearAnimation = std::move(animation);
        }
    }
}

FieldCell* GameField::cellAt(float x, float y)
{
    // Compared before converting, as a far or NaN position has no int; the
    // conversion truncates toward zero, so -0.5 is column 0.
    if (!(x > -1.0f && y > -1.0f && x < static_cast<float>(gridWidth) && y < static_cast<float>(gridHeight + 1)))
        return nullptr;
    return cellAt(static_cast<int>(x), static_cast<int>(y));
}

Mode* GameField::mode() const
{
    return level ? level->mode : nullptr;
}

int GameField::levelBusyCount() const
{
    return level ? level->busyCount : 0;
}
