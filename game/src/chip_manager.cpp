#include "chip_manager.h"

#include "chip_selector.h"
#include "fatal_error.h"
#include "log_system.h"
#include "lua_array.h"
#include "random.h"
#include "sound_system/sound_manager.h"

ChipManager::ChipManager()
{
    chips.reserve(500);
    VQ::SoundManager::instance()->loadResources("sound_resources_lua", "default");
    loadPrototypes("chip_prototypes_lua");
}

ChipManager::~ChipManager()
{
    clearChips();
    clearScripts();
}

void ChipManager::loadPrototypes(const std::string& scriptName)
{
    VQ::LuaScript2 script;
    if (!script.load(scriptName, "default"))
        VQ::assertFailed("VQ", "Failed to load chip prototypes file", "ChipManager", 106);
    if (!script.openTable("ChipPrototypes"))
        VQ::assertFailed("VQ", "", "ChipManager", 108);
    forEachElement(script, [&] {
        if (!script.enterTable())
            VQ::assertFailed("VQ", "", "ChipManager", 111);
        if (!script.openTable("Behavior"))
            VQ::assertFailed("VQ", "", "ChipManager", 117);
        // Only the first layer decides whether the prototype comes in colours.
        bool multi = false;
        bool examined = false;
        forEachElement(script, [&] {
            if (examined || !script.enterTable())
                return;
            examined = true;
            int value = 0;
            multi = script.getInt("MultipleColors", value, 0) && value != 0;
            script.closeTable();
        });
        script.closeTable();
        if (multi) {
            for (const char* suffix : CHIP_COLOUR_SUFFIXES)
                readPrototype(script, suffix);
        } else {
            readPrototype(script, std::string());
        }
        script.closeTable();
    });
    script.closeTable();
    clearScripts();
}

void ChipManager::readPrototype(VQ::LuaScript2& script, const std::string& suffix)
{
    auto prototype = std::make_unique<ChipPrototype>();
    std::string name;
    script.getString("Name", name);
    prototype->name = name + suffix;
    prototype->colour = colourIndexOfSuffix(suffix);
    if (script.openTable("Behavior")) {
        prototype->layers.load(script, suffix);
        script.closeTable();
    }
    script.getFloat("DropRate", prototype->dropRate, 0.0f);
    prototype->dropRateInUse = prototype->dropRate;
    std::string selector;
    prototype->selector = createChipSelector(script.getString("Selector", selector)
                                                 ? selector.c_str()
                                                 : "NearestChipSameGroupSelector");
    unsigned points = 0;
    script.getUInt("GamePoints", points, 0);
    prototype->gamePoints = points;
    // A later prototype of a name already read is dropped.
    const std::string key = prototype->name;
    prototypes.emplace(key, std::move(prototype));
}

ChipPrototype* ChipManager::findPrototype(const std::string& name) const
{
    auto it = prototypes.find(name);
    return it == prototypes.end() ? nullptr : it->second.get();
}

void ChipManager::buildDropTable()
{
    dropTable.assign(DROP_TABLE_SIZE, -1);
    dropTableSize = DROP_TABLE_SIZE;
    dropCursor = 0;
    dropCandidates.clear();
    // Only the six plain colours are ever drawn at random.
    for (const char* name : {"Simple_G", "Simple_R", "Simple_B", "Simple_Y", "Simple_M", "Simple_O"}) {
        auto it = available.find(name);
        if (it != available.end())
            dropCandidates.push_back(it->second);
    }
    // A negative rate counts as none, so no share can outgrow the table, and a
    // total of 0 fills nothing rather than dividing by it.
    int filled = 0;
    if (totalDropRate > 0.0f) {
        for (size_t i = 0; i < dropCandidates.size(); ++i) {
            const float rate = dropCandidates[i]->dropRateInUse > 0.0f ? dropCandidates[i]->dropRateInUse : 0.0f;
            const float share = rate / totalDropRate * DROP_TABLE_SIZE;
            const int slots = share < DROP_TABLE_SIZE ? static_cast<int>(share) : DROP_TABLE_SIZE;
            for (int n = 0; n < slots && filled < DROP_TABLE_SIZE; ++n)
                dropTable[filled++] = static_cast<int>(i);
        }
    }
    for (int pass = 0; pass < 4; ++pass) {
        for (int j = 0; j < DROP_TABLE_SIZE; ++j)
            std::swap(dropTable[j], dropTable[VQ::rand() % DROP_TABLE_SIZE]);
    }
    dropTableFilled = filled > 0;
    if (!dropTableFilled)
        VQ::log("ERROR: The level's drop table is empty: no plain colour chip has a positive drop rate");
}

ChipPrototype* ChipManager::nextRandomPrototype()
{
    if (!dropTableFilled)
        return nullptr;
    while (dropTable[dropCursor % DROP_TABLE_SIZE] == -1)
        ++dropCursor;
    ChipPrototype* result = dropCandidates[dropTable[dropCursor % DROP_TABLE_SIZE]];
    ++dropCursor;
    return result;
}

Chip* ChipManager::allocateChip()
{
    for (auto& chip : chips) {
        if (chip->released) {
            chip->reset();
            return chip.get();
        }
    }
    chips.push_back(std::make_unique<Chip>());
    return chips.back().get();
}

Chip* ChipManager::makeChip(const ChipPrototype* prototype)
{
    Chip* chip = allocateChip();
    chip->applyPrototype(prototype);
    chip->detonateCounter = 0;
    return chip;
}

Chip* ChipManager::createChip(const std::string& type, int column, int row, int radius, const UserDataMap& data)
{
    const ChipPrototype* prototype = nullptr;
    if (type == "Random" || type.empty()) {
        prototype = nextRandomPrototype();
        if (!prototype)
            return nullptr;
    } else {
        prototype = findPrototype(type);
        if (!prototype) {
            VQ::log(VQ::formatString("WARNING: Unknown chip prototype '%s'", type.c_str()));
            return nullptr;
        }
    }
    Chip* chip = makeChip(prototype);
    chip->radius = radius;
    chip->x = column + 0.5f;
    chip->y = row + 0.5f;
    chip->userData = data;
    return chip;
}

Chip* ChipManager::createRandomChip(float x, float y)
{
    const ChipPrototype* prototype = nullptr;
    if (!nextChips.empty()) {
        const std::string name = nextChips.front();
        nextChips.pop_front();
        prototype = findPrototype(name);
        if (!prototype)
            VQ::log(VQ::formatString("WARNING: Unknown chip prototype '%s'", name.c_str()));
    }
    if (!prototype)
        prototype = nextRandomPrototype();
    if (!prototype)
        return nullptr;
    Chip* chip = makeChip(prototype);
    chip->x = x;
    chip->y = y;
    return chip;
}

VQ::LuaScript2* ChipManager::getScript(const std::string& name)
{
    auto it = scripts.find(name);
    if (it != scripts.end())
        return it->second.get();
    auto script = std::make_unique<VQ::LuaScript2>();
    if (!script->load(name, "default"))
        VQ::assertFailed("VQ", "", "ChipManager", 416);
    VQ::LuaScript2* result = script.get();
    scripts.emplace(name, std::move(script));
    return result;
}

void ChipManager::clearScripts()
{
    scripts.clear();
}

void ChipManager::clearChips()
{
    chips.clear();
}
