#pragma once
// The process-wide owner of chips: reads the chip prototypes once at
// start-up, builds each level's weighted table from which new chips are
// drawn, hands out chips from a pool that reuses released ones, and caches
// the scripts that drawables read while prototypes are loaded.

#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "chip.h"
#include "chip_prototype.h"
#include "lua_script_2.h"
#include "singleton.h"
#include "user_data.h"

class ChipManager : public VQ::Singleton<ChipManager> {
public:
    static constexpr int DROP_TABLE_SIZE = 512;

    ChipManager();
    ~ChipManager() override;

    void loadPrototypes(const std::string& scriptName);
    // Builds the drop table from `available` and `totalDropRate`.
    void buildDropTable();
    // The next prototype of the drop table; null when the table has no
    // filled slot.
    ChipPrototype* nextRandomPrototype();
    Chip* allocateChip();
    // "Random" or "" draws from the drop table. Null when no prototype is
    // found.
    Chip* createChip(const std::string& type, int column, int row, int radius, const UserDataMap& data);
    Chip* createRandomChip(float x, float y);
    // The prototype of that name, or null.
    ChipPrototype* findPrototype(const std::string& name) const;

    VQ::LuaScript2* getScript(const std::string& name);
    void clearScripts();
    void clearChips();

    // The pool; released chips stay in it for reuse.
    std::vector<std::unique_ptr<Chip>> chips;
    // -1 for an empty slot, else an index into dropCandidates.
    std::vector<int> dropTable;
    int dropTableSize = DROP_TABLE_SIZE;
    int dropCursor = 0;
    // False when no slot of the table is filled: nothing can be drawn.
    bool dropTableFilled = false;
    std::map<std::string, std::unique_ptr<ChipPrototype>> prototypes;
    // The current level's prototypes (filled by the level loader).
    std::map<std::string, ChipPrototype*> available;
    float totalDropRate = 0.0f;
    std::vector<ChipPrototype*> dropCandidates;
    std::map<std::string, std::unique_ptr<VQ::LuaScript2>> scripts;
    // Names the next random chips must take, first used first.
    std::list<std::string> nextChips;

private:
    void readPrototype(VQ::LuaScript2& script, const std::string& suffix);
    Chip* makeChip(const ChipPrototype* prototype);
};
